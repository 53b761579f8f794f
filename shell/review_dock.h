#pragma once

#include <vector>

#include <QDockWidget>
#include <QWidget>

class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;

namespace vell {

class CVellView;
struct GameReview;

// The evaluation graph of a review: the value of each position before a move (its best
// move's value) for black, and mirrored for white, clamped to +-20 stones, the shown
// position's move marked. A click picks the nearest move.
class ReviewGraph : public QWidget {
    Q_OBJECT

  public:
    explicit ReviewGraph(QWidget* parent = nullptr);
    // `values` black's value before each move, `shown` the index of the shown move or -1.
    void SetValues(std::vector<int> values, int shown);
    QSize sizeHint() const override;

  Q_SIGNALS:
    void MoveChosen(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::vector<int> values;
    int shown = -1;
};

// The result of "対局の検討": the progress while the review runs (with a cancel button), then
// the graph and one line per move with its value, the best move, the loss and its mark. The
// line of the shown position's move is selected; choosing a line or a point of the graph shows
// the position before that move, as the move list's navigation would.
class ReviewDock : public QDockWidget {
    Q_OBJECT

  public:
    ReviewDock(CVellView* view, QWidget* parent = nullptr);

    QListWidget* list() const { return lines; }
    ReviewGraph* graph() const { return chart; }

  public Q_SLOTS:
    void Refresh();

  private:
    void MoveChosen(int index);

    CVellView* view;
    QLabel* status;
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
