#pragma once

#include <QDialog>

namespace vell {

// "遊び方": a short page on the capture rule, passes and the end of the game, with a small
// diagram of one move.
class CRulesDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CRulesDialog(QWidget* parent = nullptr);
};

}  // namespace vell
