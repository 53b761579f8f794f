#pragma once

#include <vector>

#include <QDockWidget>

class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QScrollArea;

namespace vell {

class CVellView;
struct GameReview;
class ReviewGraph;

// The result of "対局の検討": the progress while the review runs (with a cancel button), then
// each side's summary, the graph and one line per move with its value, the best move, the loss
// and its mark, in stones and square names. The line of the shown position's move is
// selected; choosing a line, a point of the graph or one of the summary's worst moves shows the
// position before that move, as the move list's navigation would.
class ReviewDock : public QDockWidget {
    Q_OBJECT

  public:
    ReviewDock(CVellView* view, QWidget* parent = nullptr);

    QListWidget* list() const { return lines; }
    ReviewGraph* graph() const { return chart; }
    QLabel* summary() const { return sides; }
    QSize sizeHint() const override;

  public Q_SLOTS:
    void Refresh();

  private:
    void MoveChosen(int index);

    CVellView* view;
    QLabel* status;
    QLabel* sides;
    QLabel* heading;
    QPushButton* cancel;
    ReviewGraph* chart;
    QListWidget* lines;
    const GameReview* shownReview = nullptr;
    bool refreshing = false;
};

// Adds "対局の検討(&K)" to `research` and "候補手の評価値(&E)" to `viewMenu`, and the review
// dock (hidden until a review starts) to `frame`.
ReviewDock* AddReviewCommands(QMainWindow* frame, QMenu* research, QMenu* viewMenu,
                              CVellView* view);

}  // namespace vell
