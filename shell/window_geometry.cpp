#include "shell/window_geometry.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace vell {

namespace {

const char* const Organisation = "TolvaSoftware";
const char* const Application = "Tamu3";
const char* const GeometryKey = "Window/geometry";
const char* const StateKey = "Window/state";

// Stores the window's geometry when it closes.
class GeometryKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            auto* frame = static_cast<QMainWindow*>(watched);
            QSettings store(Organisation, Application);
            store.setValue(GeometryKey, frame->saveGeometry());
            store.setValue(StateKey, frame->saveState());
        }
        return QObject::eventFilter(watched, event);
    }
};

// A stored geometry is used when it still overlaps a screen by a good part of its size.
bool OnSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(frame);
        if (common.width() >= 100 && common.height() >= 100) return true;
    }
    return false;
}

}  // namespace

QSize SensibleClientSize(QSize available, QSize chrome, QSize baseSize) {
    const double across = (available.width() * 0.75 - chrome.width()) / baseSize.width();
    const double down = (available.height() * 0.75 - chrome.height()) / baseSize.height();
    const double scale = std::max(1.0, std::min(across, down));
    return QSize(int(baseSize.width() * scale), int(baseSize.height() * scale));
}

void KeepWindowGeometry(QMainWindow* frame, QWidget* client, QSize baseSize) {
    frame->installEventFilter(new GeometryKeeper(frame));
    QSettings store(Organisation, Application);
    // The tool bar and the move list where the user left them.
    frame->restoreState(store.value(StateKey).toByteArray());
    const QByteArray stored = store.value(GeometryKey).toByteArray();
    if (!stored.isEmpty() && frame->restoreGeometry(stored) && OnSomeScreen(frame->geometry()))
        return;

    const QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
    const QSize chrome = (frame->sizeHint() - client->sizeHint()).expandedTo(QSize(0, 0));
    if (!screen) {
        frame->resize(baseSize + chrome);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize size = SensibleClientSize(available.size(), chrome, baseSize) + chrome;
    frame->resize(size);
    frame->move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace vell
