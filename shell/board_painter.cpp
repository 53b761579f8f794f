#include "shell/board_painter.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "core/game_flow.h"
#include "engine/game_review.h"
#include "shell/candidate_text.h"
#include "core/player_names.h"
#include "shell/flip_animation.h"
#include "shell/logic_texts.h"
#include "shell/text.h"

namespace vell {

namespace {

// The hint's mark: a blue ring, apart from the orange highlight and the yellow marker.
const QColor HintColour(0, 96, 255);
const QColor BestMoveColour(230, 0, 80);

// The colours of the marks the view adds: the last move's dot and the keyboard's square.
const QColor LastMoveColour(230, 40, 40);
const QColor CursorColour(0, 200, 255);
const QColor LabelColour(210, 235, 210);
const QColor NoticeColour(255, 255, 160);
const QColor FrameColour(0, 56, 0);

// The count beside a stone; %1 is the number, two places wide.
const char* const CountText = QT_TRANSLATE_NOOP("Vell", "%1石");

// The count of a colour: its stone image and "%2d石" beside it (in Japanese).
void PaintCount(QPainter& painter, const BoardGeometry& geometry, const QPixmap& stone, int side,
                int count) {
    painter.drawPixmap(geometry.CountStoneRect(side).topLeft(), stone);
    painter.drawText(geometry.CountTextRect(side),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     Text(CountText).arg(QString::asprintf("%2d", count)));
}

// The game's notices below the counts: the result of the game shown at its end and a pass,
// in a face that grows with the board.
void PaintNotices(QPainter& painter, const GameFlow& flow, const BoardGeometry& geometry) {
    const QString text = LogicText(flow.ResultText() + flow.PassText()).trimmed();
    if (text.isEmpty()) return;
    QFont font = painter.font();
    font.setPixelSize(std::max(8, geometry.Cell() * 3 / 10));
    painter.setFont(font);
    painter.setPen(NoticeColour);
    painter.drawText(geometry.NoticeRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

// A notice written on a dark band across the lower rows of the board, where it leaves the
// middle of the board in view.
void PaintBoardNotice(QPainter& painter, const BoardGeometry& geometry, const QString& text) {
    const QRect board = geometry.BoardRect();
    QFont font = painter.font();
    font.setPixelSize(std::max(8, geometry.Cell() * 27 / 100));
    painter.setFont(font);
    const int margin = geometry.Cell() / 4;
    const QRect textArea(board.left() + 2 * margin, geometry.CellRect(0, 5).top(),
                         board.width() - 4 * margin, 3 * geometry.Cell());
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    const QRect needed = painter.fontMetrics().boundingRect(textArea, flags, text);
    painter.fillRect(QRect(board.left() + margin, needed.top() - margin, board.width() - 2 * margin,
                           needed.height() + 2 * margin),
                     QColor(0, 0, 0, 190));
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(textArea, flags, text);
}

// The column letters above the board and the row numbers left of it.
void PaintSquareNames(QPainter& painter, const BoardGeometry& geometry, const QFont& font) {
    painter.setFont(font);
    painter.setPen(LabelColour);
    for (int i = 0; i < 8; ++i) {
        painter.drawText(geometry.ColumnLabelRect(i), Qt::AlignCenter, QString(QChar('a' + i)));
        painter.drawText(geometry.RowLabelRect(i), Qt::AlignCenter, QString(QChar('1' + i)));
    }
}

// The last move's dot on its stone: red with a ring of the stone's opposite colour, so it
// reads on black and on white at every size.
void PaintLastMove(QPainter& painter, const QRect& cell, int colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double radius = cell.width() * 0.13;
    painter.setPen(QPen(colour == Black ? QColor(255, 255, 255) : QColor(0, 0, 0),
                        std::max(1.0, cell.width() / 32.0)));
    painter.setBrush(LastMoveColour);
    painter.drawEllipse(QRectF(cell).center(), radius, radius);
    painter.restore();
}

void PaintCursor(QPainter& painter, const QRect& cell) {
    const int width = std::max(2, cell.width() / 12);
    const QRect inner = cell.adjusted(width, width, -width, -width);
    painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), width), CursorColour);
    painter.fillRect(QRect(inner.left(), inner.bottom() - width + 1, inner.width(), width),
                     CursorColour);
    painter.fillRect(QRect(inner.left(), inner.top(), width, inner.height()), CursorColour);
    painter.fillRect(QRect(inner.right() - width + 1, inner.top(), width, inner.height()),
                     CursorColour);
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
    labelFont.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("IPAGothic")});
    labelFont.setWeight(QFont::DemiBold);
    Prepare(CellWidth);
}

void BoardPainter::Prepare(int cellPixels) {
    if (cellPixels == cell) return;
    cell = cellPixels;
    cells = MakeCellImages(cell);
    tile = MakeBackgroundTile(cell);
    countFont.setPixelSize(std::max(8, cell * 7 / 8));
    labelFont.setPixelSize(std::max(7, cell * 3 / 8));
}

void BoardPainter::Paint(QPainter& painter, const QRect& area, const GameFlow& flow,
                         const BoardGeometry& geometry, const SceneMarks& marks) const {
    painter.fillRect(area, QBrush(tile));
    painter.fillRect(geometry.FrameRect(), FrameColour);
    painter.fillRect(geometry.PanelRect(), FrameColour);
    if (marks.squareNames) PaintSquareNames(painter, geometry, labelFont);

    const Board& board = flow.CurrentBoard();
    const bool highlight =
        flow.State() == FlowState::AwaitingMove && flow.PlayerOf(flow.SideToMove()) == HumanPlayer;
    const QColor highlightColour(HighlightOrange[0], HighlightOrange[1], HighlightOrange[2]);
    const int line = geometry.Line();
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int square = x * 8 + y;
            const QRect cellRect = geometry.CellRect(x, y);
            const double turn = marks.flips ? marks.flips->Turn(square, marks.elapsedMs) : -1;
            if (turn >= 0) {
                // Seen edge-on half way, the stone shows its new colour from then on.
                painter.drawPixmap(cellRect.topLeft(), cells[Empty]);
                const int colour = turn < 0.5 ? marks.flips->Before(square) : board[square];
                const double squeeze = std::max(0.06, std::abs(std::cos(turn * std::numbers::pi)));
                DrawStone(painter, cellRect.topLeft(), cellRect.width(), colour, squeeze);
            } else {
                const bool marked = square == marks.lastMove;
                painter.drawPixmap(cellRect.topLeft(), cells[(marked ? 3 : 0) + board[square]]);
            }
            if (highlight && flow.LegalSquares()[square] != 0)
                painter.fillRect(cellRect.adjusted(line, line, -line, -line), highlightColour);
            if (square == marks.hintSquare) PaintHint(painter, cellRect);
        }
    }
    if (marks.lastMove >= 0 && board[marks.lastMove] != Empty)
        PaintLastMove(painter, geometry.CellRect(marks.lastMove / 8, marks.lastMove % 8),
                      board[marks.lastMove]);
    if (marks.cursor >= 0)
        PaintCursor(painter, geometry.CellRect(marks.cursor / 8, marks.cursor % 8));

    const StoneCounts counts = CountStones(board);
    painter.setFont(countFont);
    painter.setPen(QColor(CountTextGreen[0], CountTextGreen[1], CountTextGreen[2]));
    PaintCount(painter, geometry, cells[Black], Black, counts[Black]);
    PaintCount(painter, geometry, cells[White], White, counts[White]);
    PaintNotices(painter, flow, geometry);
    if (!marks.boardNotice.isEmpty()) PaintBoardNotice(painter, geometry, marks.boardNotice);
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
