#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

#include "shell/artwork.h"
#include "shell/board_geometry.h"

class QPainter;
class QRect;

namespace vell {

class GameFlow;
struct MoveReview;

// Draws the board scene as the window shows it: the background tile, the 64 cells with the
// marker, the legal moves of a person's turn, a hint's square and the two stone counts, at the
// cell size of a BoardGeometry. Its pictures are made by Prepare, never while painting.
class BoardPainter {
  public:
    BoardPainter();

    // Makes the pictures for `cellPixels` device pixels a cell, unless they are made already.
    void Prepare(int cellPixels);
    int PreparedCell() const { return cell; }

    // Paints the scene over `area` in device pixels (the background fills all of it; the board
    // and the counts sit at their places on the geometry's grid). `hintSquare` (or -1) is
    // marked as the hint's suggestion. The pictures must be prepared for the geometry's cell.
    void Paint(QPainter& painter, const QRect& area, const GameFlow& flow,
               const BoardGeometry& geometry, int hintSquare = -1) const;

    // Over a painted scene: the reviewed move's best square framed and, with `values`, every
    // legal move's value (in stones, from the mover's side) written on its square.
    void PaintReview(QPainter& painter, const MoveReview& move, const BoardGeometry& geometry,
                     bool values) const;

  private:
    int cell = 0;
    CellImages cells;
    QPixmap tile;
    QFont countFont;
};

}  // namespace vell
