#include "shell/review_dock.h"

#include <algorithm>

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/game_review.h"
#include "shell/board_painter.h"
#include "shell/vell_view.h"

namespace vell {

namespace {

// The texts of the review.
const char* const ReviewTitle = "対局の検討";
const char* const ReviewText = "対局の検討(&K)";
const char* const ReviewPrompt = "画面の対局を一手ずつ検討します";
const char* const CandidateText = "候補手の評価値(&E)";
const char* const CandidatePrompt = "検討した局面で打てる手の評価値を盤に表示します";
const char* const ProgressText = "検討しています… %1 / %2 手";
const char* const DoneText = "黒 平均損失 %1 悪手 %2　白 平均損失 %3 悪手 %4";
const char* const IdleText = "研究メニューの「対局の検討」で検討します";
const char* const CancelText = "中止";
const char* const BestText = "最善";

// The graph's range: values beyond +-20 stones are drawn at its edge.
constexpr int GraphLimit = 20000;

// A loss (never negative) in stones, without a sign.
QString LossText(int loss) {
    const QString text = StonesText(loss);
    return text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
}

QString SquareText(int square) {
    return QString::asprintf("%d%d", square / 8 + 1, square % 8 + 1);
}

}  // namespace

ReviewGraph::ReviewGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("reviewGraph"));
    setMinimumHeight(120);
}

void ReviewGraph::SetValues(std::vector<int> newValues, int newShown) {
    if (newValues == values && newShown == shown) return;
    values = std::move(newValues);
    shown = newShown;
    update();
}

QSize ReviewGraph::sizeHint() const {
    return {280, 160};
}

void ReviewGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 96, 48));
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    const double middle = area.center().y();
    painter.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
    if (values.empty()) return;
    const int count = static_cast<int>(values.size());
    auto x = [&](int i) {
        return count == 1 ? area.center().x() : area.left() + area.width() * i / (count - 1);
    };
    auto y = [&](int value, int sign) {
        const int v = std::clamp(value * sign, -GraphLimit, GraphLimit);
        return middle - area.height() / 2 * v / GraphLimit;
    };
    if (shown >= 0 && shown < count) {
        painter.setPen(QPen(QColor(255, 220, 0), 2));
        painter.drawLine(QPointF(x(shown), area.top()), QPointF(x(shown), area.bottom()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Black's curve dark, white's (the mirror) light.
    for (const auto& [sign, colour] :
         {std::pair{1, QColor(20, 20, 20)}, std::pair{-1, QColor(250, 250, 250)}}) {
        painter.setPen(QPen(colour, 2));
        for (int i = 1; i < count; ++i)
            painter.drawLine(QPointF(x(i - 1), y(values[i - 1], sign)),
                             QPointF(x(i), y(values[i], sign)));
    }
}

void ReviewGraph::mousePressEvent(QMouseEvent* event) {
    const int count = static_cast<int>(values.size());
    if (count == 0 || event->button() != Qt::LeftButton) return;
    const double width = std::max(1, this->width() - 8);
    const double at = (event->position().x() - 4) / width * (count - 1);
    Q_EMIT MoveChosen(std::clamp(static_cast<int>(at + 0.5), 0, count - 1));
}

ReviewDock::ReviewDock(CVellView* boardView, QWidget* parent)
    : QDockWidget(QString::fromUtf8(ReviewTitle), parent), view(boardView) {
    setObjectName(QStringLiteral("reviewDock"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    auto* top = new QHBoxLayout;
    status = new QLabel(body);
    status->setWordWrap(true);
    cancel = new QPushButton(QString::fromUtf8(CancelText), body);
    cancel->setObjectName(QStringLiteral("reviewCancel"));
    top->addWidget(status, 1);
    top->addWidget(cancel);
    column->addLayout(top);
    chart = new ReviewGraph(body);
    column->addWidget(chart);
    lines = new QListWidget(body);
    QFont fixed = lines->font();
    fixed.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    fixed.setStyleHint(QFont::Monospace);
    lines->setFont(fixed);
    lines->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(lines, 1);
    setWidget(body);
    connect(cancel, &QPushButton::clicked, view, &CVellView::CancelReview);
    connect(lines, &QListWidget::currentRowChanged, this, &ReviewDock::MoveChosen);
    connect(chart, &ReviewGraph::MoveChosen, this, &ReviewDock::MoveChosen);
    connect(view, &CVellView::FlowChanged, this, &ReviewDock::Refresh);
    Refresh();
}

void ReviewDock::Refresh() {
    const ReviewRunner& runner = view->reviewRunner();
    const GameReview* review = runner.Result();
    refreshing = true;
    cancel->setVisible(runner.Running());
    if (runner.Running()) {
        status->setText(QString::fromUtf8(ProgressText).arg(runner.Reviewed()).arg(runner.Total()));
    } else if (review) {
        const SideReview& black = review->sides[Black];
        const SideReview& white = review->sides[White];
        status->setText(QString::fromUtf8(DoneText)
                            .arg(LossText(black.AverageLoss()))
                            .arg(black.marks)
                            .arg(LossText(white.AverageLoss()))
                            .arg(white.marks));
    } else {
        status->setText(QString::fromUtf8(IdleText));
    }
    if (review != shownReview) {
        shownReview = review;
        lines->clear();
        if (review) {
            for (const MoveReview& move : review->moves) {
                const char letter = move.side == Black ? 'x' : 'o';
                QString text = QString::asprintf("%2d %c ", move.moveNumber, letter) +
                               SquareText(move.played) + QLatin1Char(' ') +
                               StonesText(move.playedValue).rightJustified(5) +
                               QLatin1String("  ") + QString::fromUtf8(BestText) +
                               QLatin1Char(' ') + SquareText(move.best) + QLatin1Char(' ') +
                               StonesText(move.bestValue).rightJustified(5) + QLatin1Char(' ') +
                               QString::fromUtf8(MarkText(move.mark).data());
                lines->addItem(text);
            }
        }
    }
    std::vector<int> values;
    if (review)
        for (const MoveReview& move : review->moves)
            values.push_back(move.side == Black ? move.bestValue : -move.bestValue);
    const int ply = view->flow().History().currentPly;
    const int shown = review && ply < static_cast<int>(review->moves.size()) ? ply : -1;
    chart->SetValues(std::move(values), shown);
    if (lines->currentRow() != shown) lines->setCurrentRow(shown);
    refreshing = false;
}

void ReviewDock::MoveChosen(int index) {
    if (refreshing || index < 0 || !shownReview) return;
    // The position before the move: where its candidates and its best move are shown.
    if (index != view->flow().History().currentPly) view->GoToPly(index);
    Refresh();
}

ReviewDock* AddReviewCommands(QMainWindow* frame, QMenu* research, QMenu* viewMenu,
                              CVellView* view) {
    auto* dock = new ReviewDock(view, frame);
    frame->addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();

    auto* start = new QAction(QString::fromUtf8(ReviewText), frame);
    start->setObjectName(QStringLiteral("reviewGameAction"));
    start->setStatusTip(QString::fromUtf8(ReviewPrompt));
    QObject::connect(start, &QAction::triggered, frame, [dock, view] {
        view->ReviewGame();
        dock->show();
        dock->raise();
    });
    QObject::connect(view, &CVellView::FlowChanged, start,
                     [start, view] { start->setEnabled(view->CanReviewGame()); });
    start->setEnabled(view->CanReviewGame());
    research->addAction(start);

    auto* values = new QAction(QString::fromUtf8(CandidateText), frame);
    values->setObjectName(QStringLiteral("candidateValuesAction"));
    values->setStatusTip(QString::fromUtf8(CandidatePrompt));
    values->setCheckable(true);
    QObject::connect(values, &QAction::toggled, view, &CVellView::ShowCandidateValues);
    viewMenu->addAction(values);
    return dock;
}

}  // namespace vell
