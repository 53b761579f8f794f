#include "shell/review_dock.h"

#include <algorithm>

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "core/square_name.h"
#include "engine/game_review.h"
#include "engine/review_text.h"
#include "shell/language.h"
#include "shell/logic_texts.h"
#include "shell/review_graph.h"
#include "shell/text.h"
#include "shell/vell_view.h"

namespace vell {

namespace {

// The texts of the review.
const char* const ReviewTitle = QT_TRANSLATE_NOOP("Vell", "対局の検討");
const char* const ReviewText = QT_TRANSLATE_NOOP("Vell", "対局の検討(&K)");
const char* const ReviewPrompt = QT_TRANSLATE_NOOP("Vell", "画面の対局を一手ずつ検討します");
const char* const CandidateText = QT_TRANSLATE_NOOP("Vell", "候補手の評価値(&E)");
const char* const CandidatePrompt =
    QT_TRANSLATE_NOOP("Vell", "検討した局面で打てる手の評価値を盤に表示します");
const char* const ProgressText = QT_TRANSLATE_NOOP("Vell", "検討しています… %1 / %2 手");
const char* const DoneText =
    QT_TRANSLATE_NOOP("Vell", "検討が終わりました。点や行を選ぶとその手の局面を表示します");
const char* const IdleText = QT_TRANSLATE_NOOP("Vell", "研究メニューの「対局の検討」で検討します");
const char* const CancelText = QT_TRANSLATE_NOOP("Vell", "中止");

// Lines the list shows at the dock's own height.
constexpr int ShownLines = 12;

// A side's summary with its worst moves as links to their positions.
QString SummaryHtml(const GameReview& review, int side) {
    QString text = LogicText(SideSummaryText(review, side)).toHtmlEscaped();
    for (const int index : SummarizeSide(review, side).worst) {
        const MoveReview& move = review.moves[static_cast<std::size_t>(index)];
        const QString name = QString::fromStdString(std::to_string(move.moveNumber) + ". " +
                                                    SquareName(move.played));
        text.replace(QRegularExpression(QStringLiteral("(^|[ 、])") +
                                        QRegularExpression::escape(name) + QStringLiteral(" ")),
                     QStringLiteral("\\1<a href=\"%1\">%2</a> ").arg(index).arg(name));
    }
    return text;
}

}  // namespace

ReviewDock::ReviewDock(CVellView* boardView, QWidget* parent)
    : QDockWidget(parent), view(boardView) {
    setObjectName(QStringLiteral("reviewDock"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    auto* top = new QHBoxLayout;
    status = new QLabel(body);
    status->setWordWrap(true);
    cancel = new QPushButton(body);
    cancel->setObjectName(QStringLiteral("reviewCancel"));
    top->addWidget(status, 1);
    top->addWidget(cancel);
    column->addLayout(top);
    sides = new QLabel(body);
    sides->setObjectName(QStringLiteral("reviewSummary"));
    sides->setWordWrap(true);
    sides->setTextFormat(Qt::RichText);
    sides->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    column->addWidget(sides);
    chart = new ReviewGraph(body);
    column->addWidget(chart);
    lines = new QListWidget(body);
    QFont fixed = lines->font();
    fixed.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                       QStringLiteral("monospace")});
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    lines->setFont(fixed);
    heading = new QLabel(body);
    heading->setFont(fixed);
    heading->setIndent(lines->frameWidth() + 4);
    column->addWidget(heading);
    // Black text on the window's own base; the selected line in the palette's highlight.
    const int lineHeight = QFontMetrics(fixed).height() + 2;
    lines->setMinimumHeight(ShownLines * lineHeight + 2 * lines->frameWidth() + 4);
    lines->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(lines, 1);
    setWidget(body);
    connect(cancel, &QPushButton::clicked, view, &CVellView::CancelReview);
    connect(lines, &QListWidget::currentRowChanged, this, &ReviewDock::MoveChosen);
    connect(chart, &ReviewGraph::MoveChosen, this, &ReviewDock::MoveChosen);
    connect(sides, &QLabel::linkActivated, this,
            [this](const QString& link) { MoveChosen(link.toInt()); });
    connect(view, &CVellView::FlowChanged, this, &ReviewDock::Refresh);
    Retranslated(this, [this] {
        setWindowTitle(Text(ReviewTitle));
        cancel->setText(Text(CancelText));
        heading->setText(LogicText(ReviewHeadingText()));
        // The review's lines are written again in the new language.
        shownReview = nullptr;
        Refresh();
        chart->update();
    });
}

void ReviewDock::Refresh() {
    const ReviewRunner& runner = view->reviewRunner();
    const GameReview* review = runner.Result();
    refreshing = true;
    cancel->setVisible(runner.Running());
    if (runner.Running()) {
        status->setText(Text(ProgressText).arg(runner.Reviewed()).arg(runner.Total()));
    } else if (review) {
        status->setText(Text(DoneText));
    } else {
        status->setText(Text(IdleText));
    }
    if (review != shownReview) {
        shownReview = review;
        lines->clear();
        sides->setVisible(review != nullptr);
        heading->setVisible(review != nullptr);
        if (review) {
            for (const MoveReview& move : review->moves)
                lines->addItem(LogicText(ReviewLineText(move)));
            // Rich text would fold the spaces between the summary's parts.
            sides->setText(QStringLiteral("<p style=\"white-space:pre-wrap\">") +
                           SummaryHtml(*review, Black) + QStringLiteral("<br>") +
                           SummaryHtml(*review, White) + QStringLiteral("</p>"));
        }
    }
    const int ply = view->flow().History().currentPly;
    const int shown = review && ply < static_cast<int>(review->moves.size()) ? ply : -1;
    chart->SetReview(review, shown);
    if (lines->currentRow() != shown) lines->setCurrentRow(shown);
    refreshing = false;
}

QSize ReviewDock::sizeHint() const {
    return QDockWidget::sizeHint().expandedTo(
        {QFontMetrics(lines->font()).horizontalAdvance(heading->text() + QStringLiteral("  ")) + 48,
         0});
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

    auto* start = new QAction(frame);
    start->setObjectName(QStringLiteral("reviewGameAction"));
    Retranslated(start, [start] {
        start->setText(Text(ReviewText));
        start->setStatusTip(Text(ReviewPrompt));
    });
    QObject::connect(start, &QAction::triggered, frame, [dock, view] {
        view->ReviewGame();
        dock->show();
        dock->raise();
    });
    QObject::connect(view, &CVellView::FlowChanged, start,
                     [start, view] { start->setEnabled(view->CanReviewGame()); });
    start->setEnabled(view->CanReviewGame());
    research->addAction(start);

    auto* values = new QAction(frame);
    values->setObjectName(QStringLiteral("candidateValuesAction"));
    Retranslated(values, [values] {
        values->setText(Text(CandidateText));
        values->setStatusTip(Text(CandidatePrompt));
    });
    values->setCheckable(true);
    QObject::connect(values, &QAction::toggled, view, &CVellView::ShowCandidateValues);
    viewMenu->addAction(values);
    return dock;
}

}  // namespace vell
