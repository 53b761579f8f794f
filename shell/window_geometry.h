#pragma once

#include <QSize>

class QMainWindow;
class QWidget;

namespace vell {

// The main window's size and place, kept between runs in QSettings (organisation
// "TolvaSoftware", application "Tamu3", group "Window"), apart from the sixteen game settings.
//
// Restores the stored geometry of `frame`; without one (or with one that no longer fits a
// screen) sizes the window so that its client `client` shows the scene as large as fits in
// about three quarters of the screen, never smaller than `baseSize`. From then on the
// geometry, with the places of the tool bar and the docks, is stored whenever the window is
// closed.
void KeepWindowGeometry(QMainWindow* frame, QWidget* client, QSize baseSize);

// The client size for a screen of `available` size: the base size scaled by the largest
// factor (at least 1) that keeps the window within three quarters of the screen, `chrome`
// being what the frame adds round its client.
QSize SensibleClientSize(QSize available, QSize chrome, QSize baseSize);

}  // namespace vell
