#pragma once

#include <vector>

#include <QDockWidget>

#include "core/history.h"

class QListWidget;
class QMainWindow;
class QMenu;

namespace vell {

class CVellView;

// One line of the move list: its text and the ply that choosing it shows.
struct MoveListLine {
    QString text;
    int ply = 0;
};

// The lines for a history: the start position, then each move numbered with its colour's
// letter of the game-record diagram ("x" black, "o" white) and its square's name ("d3"), and a
// line for each pass where it happened.
std::vector<MoveListLine> MoveListLines(const GameHistory& history);

// The moves of the game so far beside the board. The line of the displayed position is
// selected; choosing a line shows its position as the navigation commands would, and a line
// that no navigation command may reach now is not taken.
class MoveListDock : public QDockWidget {
    Q_OBJECT

  public:
    MoveListDock(CVellView* view, QWidget* parent = nullptr);

    QListWidget* list() const { return lines; }

  public Q_SLOTS:
    // Follows the game: new lines when the history changed, the displayed ply selected.
    void Refresh();

  private:
    void LineChosen(int row);

    CVellView* view;
    QListWidget* lines;
    std::vector<MoveListLine> shown;
    bool refreshing = false;
};

// Adds the move list to `frame` (docked at the right) and its show/hide item to `viewMenu`.
MoveListDock* AddMoveListDock(QMainWindow* frame, QMenu* viewMenu, CVellView* view);

}  // namespace vell
