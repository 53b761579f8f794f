#pragma once

#include <QDialog>

#include "core/settings.h"

class QCheckBox;
class QListWidget;
class QSpinBox;

namespace vell {

// The players dialog: each side's player type, the training and opening-mode switches and the
// two search depths. It works on a copy of the settings; the caller stores the copy on OK.
// OK is refused, with a message, while a depth is not a whole number in its range.
class CPlayersDialog : public QDialog {
    Q_OBJECT

  public:
    CPlayersDialog(const Settings& current, QWidget* parent = nullptr);

    // The settings as the dialog left them; the depths are taken on OK only.
    const Settings& Values() const { return copy; }

    void accept() override;

  private:
    // The depth in `edit` when it is a whole number from `low` to `high`; otherwise shows the
    // message, puts the focus in the edit and gives -1.
    int CheckedDepth(QSpinBox* edit, int low, int high);

    Settings copy;
    QListWidget* blackList;
    QListWidget* whiteList;
    QCheckBox* openingModeCheck;
    QCheckBox* trainingCheck;
    QSpinBox* normalDepthEdit;
    QSpinBox* finalDepthEdit;
};

}  // namespace vell
