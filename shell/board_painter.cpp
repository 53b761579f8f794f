#include "shell/board_painter.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include "core/game_flow.h"
#include "core/player_names.h"

namespace vell {

namespace {

QRect CellRect(int column, int row) {
    return QRect(BoardLeft + column * CellWidth, BoardTop + row * CellHeight, CellWidth,
                 CellHeight);
}

// The count of a colour: its stone image at cell column 10 and "%2d石" from column 11 to 19 of
// its row (row 2 black, row 3 white).
void PaintCount(QPainter& painter, const QPixmap& stone, int row, int count) {
    painter.drawPixmap(CellRect(10, row).topLeft(), stone);
    const QRect text(BoardLeft + 11 * CellWidth, BoardTop + row * CellHeight, 8 * CellWidth,
                     CellHeight);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QString::asprintf("%2d", count) + QString::fromUtf8("石"));
}

// The game's notices below the counts: the result of the game just ended and a pass, in a
// smaller face so a line with the counts fits beside the board.
void PaintNotices(QPainter& painter, const GameFlow& flow) {
    const QString text = QString::fromStdString(flow.ResultText() + flow.PassText()).trimmed();
    if (text.isEmpty()) return;
    QFont font = painter.font();
    font.setPixelSize(15);
    painter.setFont(font);
    const QRect area(BoardLeft + 10 * CellWidth, BoardTop + 5 * CellHeight, 10 * CellWidth,
                     3 * CellHeight);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

}  // namespace

BoardPainter::BoardPainter() : cells(MakeCellImages()), tile(MakeBackgroundTile()) {
    // Half-width digits of 16 pixels and full-width 石 of 32 from a fixed-pitch Japanese face.
    countFont.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                           QStringLiteral("monospace")});
    countFont.setStyleHint(QFont::Monospace);
    countFont.setFixedPitch(true);
    countFont.setPixelSize(32);
    countFont.setWeight(QFont::Normal);
}

void BoardPainter::Paint(QPainter& painter, const QRect& area, const GameFlow& flow) const {
    painter.fillRect(area, QBrush(tile));

    const Board& board = flow.CurrentBoard();
    const bool highlight =
        flow.State() == FlowState::AwaitingMove && flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
    const QColor highlightColour(HighlightOrange[0], HighlightOrange[1], HighlightOrange[2]);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int square = x * 8 + y;
            const bool marked = x == flow.MarkerColumn() && y == flow.MarkerRow();
            const QRect cell = CellRect(x, y);
            painter.drawPixmap(cell.topLeft(), cells[(marked ? 3 : 0) + board[square]]);
            if (highlight && flow.LegalSquares()[square] != 0)
                painter.fillRect(cell.adjusted(1, 1, -1, -1), highlightColour);
        }
    }

    const StoneCounts counts = CountStones(board);
    painter.setFont(countFont);
    painter.setPen(QColor(CountTextGreen[0], CountTextGreen[1], CountTextGreen[2]));
    PaintCount(painter, cells[Black], 2, counts[Black]);
    PaintCount(painter, cells[White], 3, counts[White]);
    PaintNotices(painter, flow);
}

}  // namespace vell
