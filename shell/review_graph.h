#pragma once

// The review's graph: black's expected final margin in stones over the move number, one curve
// for the whole game, with its axes, the band where the game is even, the selected move's line
// and every marked move as a coloured point. Pointing anywhere shows the nearest move's text;
// a click picks it.

#include <vector>

#include <QString>
#include <QWidget>

namespace vell {

struct GameReview;
enum class ReviewMark;

class ReviewGraph : public QWidget {
    Q_OBJECT

  public:
    // One point of the curve: after `move` moves (0 the start), black's margin in tenths of a
    // stone (-640..+640); a marked move carries its mark and text.
    struct Point {
        int move = 0;
        int tenths = 0;
        ReviewMark mark{};
        QString text;
    };

    explicit ReviewGraph(QWidget* parent = nullptr);
    // The curve of `review` (null: none): the start, valued by the first move's best, then the
    // position after each move, valued by the mean of the move's played value and the next
    // move's best value (the last move by its played value alone). `selected` the index of the
    // selected move or -1.
    void SetReview(const GameReview* review, int selected);
    QSize sizeHint() const override;

    const std::vector<Point>& Points() const { return points; }
    // Where point `index` is drawn, in widget pixels.
    QPointF PointPosition(int index) const;
    // The half-height of the value axis in tenths: 100, 200, 400 or 640, the smallest that holds
    // the curve.
    int Range() const { return range; }

  Q_SIGNALS:
    // The index of the chosen move in the review's moves.
    void MoveChosen(int index);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRectF Plot() const;
    // The move (1..last, 0 without moves) whose place is nearest to `x`.
    int MoveAt(double x) const;
    double X(double move) const;
    double Y(int tenths) const;

    std::vector<Point> points;
    int range = 100;
    int selected = -1;
};

}  // namespace vell
