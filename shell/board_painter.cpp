#include "shell/board_painter.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdlib>

#include "core/game_flow.h"
#include "engine/game_review.h"
#include "shell/candidate_text.h"
#include "core/player_names.h"

namespace vell {

namespace {

// The hint's mark: a blue ring, apart from the orange highlight and the yellow marker.
const QColor HintColour(0, 96, 255);
const QColor BestMoveColour(230, 0, 80);

// The count of a colour: its stone image at cell column 10 and "%2d石" from column 11 to 19 of
// its row (row 2 black, row 3 white).
void PaintCount(QPainter& painter, const BoardGeometry& geometry, const QPixmap& stone, int row,
                int count) {
    painter.drawPixmap(geometry.CellRect(10, row).topLeft(), stone);
    const QRect text = geometry.CellRect(11, row).united(geometry.CellRect(18, row));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QString::asprintf("%2d", count) + QString::fromUtf8("石"));
}

// The game's notices below the counts: the result of the game just ended and a pass, in a
// smaller face so a line with the counts fits beside the board.
void PaintNotices(QPainter& painter, const GameFlow& flow, const BoardGeometry& geometry) {
    const QString text = QString::fromStdString(flow.ResultText() + flow.PassText()).trimmed();
    if (text.isEmpty()) return;
    QFont font = painter.font();
    font.setPixelSize(geometry.Cell() * 15 / CellWidth);
    painter.setFont(font);
    const QRect area = geometry.CellRect(10, 5).united(geometry.CellRect(19, 7));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

void PaintHint(QPainter& painter, const QRect& cell) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double width = cell.width() / 8.0;
    painter.setPen(QPen(HintColour, width));
    painter.setBrush(Qt::NoBrush);
    const double inset = cell.width() / 4.0;
    painter.drawEllipse(QRectF(cell).adjusted(inset, inset, -inset, -inset));
    painter.restore();
}

}  // namespace

BoardPainter::BoardPainter() {
    // Half-width digits of half a cell and a full-width 石 of a cell from a fixed-pitch
    // Japanese face.
    countFont.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                           QStringLiteral("monospace")});
    countFont.setStyleHint(QFont::Monospace);
    countFont.setFixedPitch(true);
    countFont.setWeight(QFont::Normal);
    Prepare(CellWidth);
}

void BoardPainter::Prepare(int cellPixels) {
    if (cellPixels == cell) return;
    cell = cellPixels;
    cells = MakeCellImages(cell);
    tile = MakeBackgroundTile(cell);
    countFont.setPixelSize(cell);
}

void BoardPainter::Paint(QPainter& painter, const QRect& area, const GameFlow& flow,
                         const BoardGeometry& geometry, int hintSquare) const {
    painter.fillRect(area, QBrush(tile));

    const Board& board = flow.CurrentBoard();
    const bool highlight =
        flow.State() == FlowState::AwaitingMove && flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
    const QColor highlightColour(HighlightOrange[0], HighlightOrange[1], HighlightOrange[2]);
    const int line = geometry.Line();
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int square = x * 8 + y;
            const bool marked = x == flow.MarkerColumn() && y == flow.MarkerRow();
            const QRect cellRect = geometry.CellRect(x, y);
            painter.drawPixmap(cellRect.topLeft(), cells[(marked ? 3 : 0) + board[square]]);
            if (highlight && flow.LegalSquares()[square] != 0)
                painter.fillRect(cellRect.adjusted(line, line, -line, -line), highlightColour);
            if (square == hintSquare) PaintHint(painter, cellRect);
        }
    }

    const StoneCounts counts = CountStones(board);
    painter.setFont(countFont);
    painter.setPen(QColor(CountTextGreen[0], CountTextGreen[1], CountTextGreen[2]));
    PaintCount(painter, geometry, cells[Black], 2, counts[Black]);
    PaintCount(painter, geometry, cells[White], 3, counts[White]);
    PaintNotices(painter, flow, geometry);
}

void BoardPainter::PaintReview(QPainter& painter, const MoveReview& move,
                               const BoardGeometry& geometry, bool values) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (move.best >= 0) {
        const QRect best = geometry.CellRect(move.best / 8, move.best % 8);
        const double width = best.width() / 12.0;
        painter.setPen(QPen(BestMoveColour, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(best).adjusted(width, width, -width, -width));
    }
    if (values) {
        QFont font = painter.font();
        font.setPixelSize(std::max(6, geometry.Cell() * 3 / 10));
        font.setBold(true);
        painter.setFont(font);
        for (int s = 0; s < 64; ++s) {
            if (move.values[s] == NoMove) continue;
            const QRect square = geometry.CellRect(s / 8, s % 8);
            painter.setPen(CandidateColour(s == move.best));
            painter.drawText(square, Qt::AlignCenter, CandidateText(move.values[s]));
        }
    }
    painter.restore();
}

}  // namespace vell
