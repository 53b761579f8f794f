#include "shell/review_graph.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "engine/game_review.h"
#include "engine/review_text.h"
#include "engine/stones.h"
#include "shell/logic_texts.h"
#include "shell/text.h"

namespace vell {

namespace {

const char* const MovesAxisText = QT_TRANSLATE_NOOP("Vell", "手数");
const char* const MarginAxisText = QT_TRANSLATE_NOOP("Vell", "黒の石差");
const char* const EvenText = QT_TRANSLATE_NOOP("Vell", "互角");

// Within 5 stones either way the verdict calls the game even.
constexpr int EvenTenths = 50;

const QColor Background(250, 250, 247);
const QColor EvenBand(222, 236, 222);
const QColor Grid(215, 215, 215);
const QColor Curve(30, 30, 30);
const QColor Selected(0, 90, 200);

QColor MarkColour(ReviewMark mark) {
    switch (mark) {
        case ReviewMark::Dubious:
            return {214, 160, 0};
        case ReviewMark::Mistake:
            return {230, 100, 0};
        case ReviewMark::Blunder:
            return {200, 0, 30};
        case ReviewMark::None:
            break;
    }
    return Curve;
}

constexpr double PointRadius = 4.0;

}  // namespace

ReviewGraph::ReviewGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("reviewGraph"));
    setMinimumHeight(150);
    setMouseTracking(false);
}

void ReviewGraph::SetReview(const GameReview* review, int newSelected) {
    std::vector<Point> newPoints;
    if (review && !review->moves.empty()) {
        const std::vector<MoveReview>& moves = review->moves;
        const auto black = [](int value, int side) { return double(BlackView(value, side)); };
        newPoints.push_back(
            {0, StoneTenths(BlackView(moves[0].bestValue, moves[0].side)), ReviewMark::None, {}});
        for (std::size_t i = 0; i < moves.size(); ++i) {
            // The played move's search and the next mover's search value the same position from
            // opposite sides of the leaves; their mean cancels what either side's evaluation
            // gives the side to move, which would make the curve swing from move to move.
            double value = black(moves[i].playedValue, moves[i].side);
            if (i + 1 < moves.size())
                value = (value + black(moves[i + 1].bestValue, moves[i + 1].side)) / 2;
            newPoints.push_back({moves[i].moveNumber,
                                 StoneTenths(static_cast<int>(std::lround(value))), moves[i].mark,
                                 LogicText(ReviewMoveText(moves[i]))});
        }
    }
    int largest = 0;
    for (const Point& p : newPoints)
        largest = std::max(largest, std::abs(p.tenths));
    int newRange = MaxStoneTenths;
    for (const int r : {100, 200, 400})
        if (largest <= r) {
            newRange = r;
            break;
        }
    const bool same =
        newPoints.size() == points.size() &&
        std::equal(newPoints.begin(), newPoints.end(), points.begin(),
                   [](const Point& a, const Point& b) {
                       return a.move == b.move && a.tenths == b.tenths && a.mark == b.mark;
                   });
    if (same && newSelected == selected) return;
    points = std::move(newPoints);
    range = newRange;
    selected = newSelected;
    update();
}

QSize ReviewGraph::sizeHint() const {
    return {320, 190};
}

QRectF ReviewGraph::Plot() const {
    const QFontMetrics metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("-64")) + 10;
    return QRectF(rect()).adjusted(left, metrics.height() + 6, -8, -2 * metrics.height() - 6);
}

double ReviewGraph::X(double move) const {
    const QRectF plot = Plot();
    const int last = points.empty() ? 1 : std::max(1, points.back().move);
    return plot.left() + plot.width() * move / last;
}

double ReviewGraph::Y(int tenths) const {
    const QRectF plot = Plot();
    return plot.center().y() - plot.height() / 2 * std::clamp(tenths, -range, range) / range;
}

QPointF ReviewGraph::PointPosition(int index) const {
    const Point& p = points[static_cast<std::size_t>(index)];
    return {X(p.move), Y(p.tenths)};
}

void ReviewGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    const QRectF plot = Plot();
    const QFontMetrics metrics(font());
    const int last = points.empty() ? 60 : std::max(1, points.back().move);

    // The even band, the grid with its stone labels and the move numbers.
    const QRectF even(plot.left(), Y(EvenTenths), plot.width(), Y(-EvenTenths) - Y(EvenTenths));
    painter.fillRect(even, EvenBand);
    painter.setPen(QColor(60, 110, 60));
    painter.drawText(even.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, Text(EvenText));
    for (const int t : {-range, -range / 2, 0, range / 2, range}) {
        painter.setPen(
            QPen(t == 0 ? QColor(90, 90, 90) : Grid, 1, t == 0 ? Qt::SolidLine : Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), Y(t)), QPointF(plot.right(), Y(t)));
        painter.setPen(Qt::black);
        const QString label = (t > 0 ? QStringLiteral("+") : QString()) + QString::number(t / 10);
        painter.drawText(
            QRectF(0, Y(t) - metrics.height() / 2.0, plot.left() - 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, label);
    }
    const int step = last > 40 ? 10 : last > 16 ? 5 : last > 6 ? 2 : 1;
    for (int m = 0; m <= last; m += step) {
        painter.setPen(Grid);
        painter.drawLine(QPointF(X(m), plot.top()), QPointF(X(m), plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(X(m) - 20, plot.bottom() + 2, 40, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(m));
    }
    painter.drawText(
        QRectF(plot.left(), plot.bottom() + 2 + metrics.height(), plot.width(), metrics.height()),
        Qt::AlignHCenter, Text(MovesAxisText));
    painter.drawText(QRectF(2, 2, width(), metrics.height()), Qt::AlignLeft, Text(MarginAxisText));
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    if (points.empty()) return;

    if (selected >= 0 && selected + 1 <= last) {
        painter.setPen(QPen(Selected, 2));
        painter.drawLine(QPointF(X(selected + 1), plot.top()),
                         QPointF(X(selected + 1), plot.bottom()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath curve;
    curve.moveTo(PointPosition(0));
    for (int i = 1; i < static_cast<int>(points.size()); ++i)
        curve.lineTo(PointPosition(i));
    painter.setPen(QPen(Curve, 2));
    painter.drawPath(curve);
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        if (points[i].mark == ReviewMark::None) continue;
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(MarkColour(points[i].mark));
        painter.drawEllipse(PointPosition(i), PointRadius, PointRadius);
    }
}

bool ReviewGraph::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    // The text of the move under the pointer, as a click there would choose it.
    const auto* help = static_cast<QHelpEvent*>(e);
    const int move = MoveAt(help->pos().x());
    if (move > 0 &&
        Plot().adjusted(-PointRadius, -PointRadius, PointRadius, PointRadius).contains(help->pos()))
        QToolTip::showText(help->globalPos(), points[static_cast<std::size_t>(move)].text, this);
    else
        QToolTip::hideText();
    return true;
}

int ReviewGraph::MoveAt(double x) const {
    if (points.size() < 2) return 0;
    const QRectF plot = Plot();
    const int last = points.back().move;
    const double at = (x - plot.left()) / plot.width() * last;
    return std::clamp(static_cast<int>(std::lround(at)), 1, last);
}

void ReviewGraph::mousePressEvent(QMouseEvent* e) {
    if (points.size() < 2 || e->button() != Qt::LeftButton) return;
    Q_EMIT MoveChosen(MoveAt(e->position().x()) - 1);
}

}  // namespace vell
