#pragma once

#include <QDialog>

namespace vell {

// The program's name and version beside its icon, with an OK button.
class CAboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace vell
