#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

#include "shell/artwork.h"
#include "shell/board_geometry.h"

class QPainter;
class QRect;

namespace vell {

class FlipAnimation;
class GameFlow;
struct MoveReview;

// What the view draws over the game's own picture.
struct SceneMarks {
    int hintSquare = -1;  // the hint's suggestion
    int lastMove = -1;    // the move that made the shown position
    int cursor = -1;      // the keyboard's square
    bool squareNames = true;
    // A move turning its stones over, and how far it has run; none draws the plain board.
    const FlipAnimation* flips = nullptr;
    int elapsedMs = 0;
    // Written across the board (how to begin); empty for none.
    QString boardNotice;
};

// Draws the board scene as the window shows it: the background tile, the square names, the 64
// cells with the last move marked, the legal moves of a person's turn, a hint's square, the
// keyboard's square, the two stone counts and the game's notices, at the cell size and place
// of a BoardGeometry. Its pictures are made by Prepare, never while painting.
class BoardPainter {
  public:
    BoardPainter();

    // Makes the pictures for `cellPixels` device pixels a cell, unless they are made already.
    void Prepare(int cellPixels);
    int PreparedCell() const { return cell; }

    // Paints the scene over `area` in device pixels (the background fills all of it; the board
    // and the counts sit at their places on the geometry). The pictures must be prepared for
    // the geometry's cell.
    void Paint(QPainter& painter, const QRect& area, const GameFlow& flow,
               const BoardGeometry& geometry, const SceneMarks& marks = {}) const;

    // Over a painted scene: the reviewed move's best square framed and, with `values`, every
    // legal move's value (in stones, from the mover's side) written on its square.
    void PaintReview(QPainter& painter, const MoveReview& move, const BoardGeometry& geometry,
                     bool values) const;

  private:
    int cell = 0;
    CellImages cells;
    QPixmap tile;
    QFont countFont;
    QFont labelFont;
};

}  // namespace vell
