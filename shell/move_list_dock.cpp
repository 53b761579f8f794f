#include "shell/move_list_dock.h"

#include <algorithm>

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QStyle>

#include "core/square_name.h"
#include "shell/language.h"
#include "shell/text.h"
#include "shell/vell_view.h"

namespace vell {

namespace {

// The texts of the move list.
const char* const MoveListTitle = QT_TRANSLATE_NOOP("Vell", "棋譜");
const char* const MoveListMenuText = QT_TRANSLATE_NOOP("Vell", "棋譜一覧(&M)");
const char* const MoveListPrompt = QT_TRANSLATE_NOOP("Vell", "棋譜一覧の表示/非表示");
const char* const StartLineText = QT_TRANSLATE_NOOP("Vell", "開始局面");
const char* const PassText = QT_TRANSLATE_NOOP("Vell", "パス");

constexpr char DiagramLetters[] = "xo-";

// The side that passed after move m: the mover's opponent had no move but the mover had one.
bool PassAfter(const GameHistory& history, int m) {
    const int mover = history.sideAtPly[m - 1];
    const Board& board = history.boardAtPly[m];
    return CountLegalMoves(board, 1 - mover) == 0 && CountLegalMoves(board, mover) > 0;
}

}  // namespace

std::vector<MoveListLine> MoveListLines(const GameHistory& history) {
    std::vector<MoveListLine> result;
    result.push_back({Text(StartLineText), 0});
    for (int m = 1; m <= history.moveCount; ++m) {
        const int mover = history.sideAtPly[m - 1];
        result.push_back({QString::asprintf("%2d  %c ", m, DiagramLetters[mover & 1]) +
                              QString::fromStdString(SquareName(history.SquareOfMove(m))),
                          m});
        if (PassAfter(history, m))
            result.push_back(
                {QString::asprintf("    %c ", DiagramLetters[1 - (mover & 1)]) + Text(PassText),
                 m});
    }
    return result;
}

MoveListDock::MoveListDock(CVellView* boardView, QWidget* parent)
    : QDockWidget(parent), view(boardView) {
    setObjectName(QStringLiteral("moveList"));
    lines = new QListWidget(this);
    QFont fixed = lines->font();
    fixed.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    fixed.setStyleHint(QFont::Monospace);
    lines->setFont(fixed);
    lines->setSelectionMode(QAbstractItemView::SingleSelection);
    setWidget(lines);
    connect(lines, &QListWidget::currentRowChanged, this, &MoveListDock::LineChosen);
    connect(view, &CVellView::FlowChanged, this, &MoveListDock::Refresh);
    Retranslated(this, [this] {
        setWindowTitle(Text(MoveListTitle));
        Refresh();
    });
}

void MoveListDock::Refresh() {
    const GameHistory& history = view->flow().History();
    std::vector<MoveListLine> now = MoveListLines(history);
    refreshing = true;
    const bool same = now.size() == shown.size() &&
                      std::equal(now.begin(), now.end(), shown.begin(), [](auto& a, auto& b) {
                          return a.text == b.text && a.ply == b.ply;
                      });
    if (!same) {
        shown = std::move(now);
        lines->clear();
        for (const MoveListLine& line : shown)
            lines->addItem(line.text);
    }
    // The line of the displayed position: the move that led to it (or a pass line after it).
    const int ply = history.currentPly;
    const int row = lines->currentRow();
    if (row < 0 || row >= int(shown.size()) || shown[row].ply != ply) {
        for (int r = 0; r < int(shown.size()); ++r)
            if (shown[r].ply == ply) {
                lines->setCurrentRow(r);
                break;
            }
    }
    refreshing = false;
}

void MoveListDock::LineChosen(int row) {
    if (refreshing || row < 0 || row >= int(shown.size())) return;
    const int ply = shown[row].ply;
    if (ply != view->flow().History().currentPly) view->GoToPly(ply);
    // Refused (or done): the selection shows the displayed position again.
    Refresh();
}

MoveListDock* AddMoveListDock(QMainWindow* frame, QMenu* viewMenu, CVellView* view) {
    auto* dock = new MoveListDock(view, frame);
    frame->addDockWidget(Qt::RightDockWidgetArea, dock);
    // As wide as its lines need, so the board keeps the rest of the window; a language with a
    // longer first line widens it, never narrows it.
    const auto fit = [frame, dock](bool first) {
        const QFontMetrics metrics(dock->list()->font());
        const int width = std::max(metrics.horizontalAdvance(QStringLiteral("60  x a1 ....")),
                                   metrics.horizontalAdvance(Text(StartLineText))) +
                          dock->list()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (first || dock->width() < width) frame->resizeDocks({dock}, {width}, Qt::Horizontal);
    };
    fit(true);
    QAction* toggle = dock->toggleViewAction();
    // After the dock's own title, which the dock copies into this action.
    Retranslated(toggle, [toggle, fit] {
        toggle->setText(Text(MoveListMenuText));
        toggle->setStatusTip(Text(MoveListPrompt));
        fit(false);
    });
    toggle->setObjectName(QStringLiteral("moveListToggle"));
    viewMenu->addAction(toggle);
    return dock;
}

}  // namespace vell
