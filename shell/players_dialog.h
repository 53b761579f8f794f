#pragma once

#include <QDialog>

#include "core/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace vell {

// The players dialog: each side's player type, the training and opening-mode switches and the
// two search depths, and a choice of named strengths that sets the computer's type and depths
// at once, with the seconds a move typically takes, and an optional time limit per move. It works
// on a copy of the settings; the caller stores the copy on OK. OK is refused, with a message, while
// a depth box is empty.
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
    // The strength shown for the present type of the computer side and the depths.
    void ShowStrength();
    // Gives the computer side (white when no side is a computer) the level's type and depths.
    void ChooseStrength(int level);

    Settings copy;
    QListWidget* blackList;
    QListWidget* whiteList;
    QCheckBox* openingModeCheck;
    QCheckBox* trainingCheck;
    QSpinBox* normalDepthEdit;
    QSpinBox* finalDepthEdit;
    QComboBox* strengthChoice;
    QLabel* secondsLabel;
    QSpinBox* moveTimeEdit;
};

}  // namespace vell
