#pragma once

#include <QFont>
#include <QPixmap>

#include "shell/artwork.h"

class QPainter;
class QRect;

namespace vell {

class GameFlow;

// Draws the board scene as the window shows it: the background tile, the 64 cells with the
// marker, the legal moves of a person's turn and the two stone counts. Its pictures are made
// once, in the constructor, never while painting.
class BoardPainter {
  public:
    BoardPainter();

    // Paints the scene over `area` (the background fills all of it; the board and the counts
    // sit at their fixed places in client pixels).
    void Paint(QPainter& painter, const QRect& area, const GameFlow& flow) const;

  private:
    CellImages cells;
    QPixmap tile;
    QFont countFont;
};

}  // namespace vell
