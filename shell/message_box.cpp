#include "shell/message_box.h"

#include <QMessageBox>
#include <QString>

namespace vell {

namespace {
const char* const Caption = "Tamu3";
}

void ShowMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(Caption), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace vell
