#pragma once

class QString;
class QWidget;

namespace vell {

// The program's one kind of message box: modal, an OK button, the warning icon and the
// application title "Tamu3" as caption. Returns when the user has closed it.
void ShowMessageBox(QWidget* parent, const QString& text);

}  // namespace vell
