#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vell {

// The scene at its base size, in pixels: 32-pixel cells with the board's top-left corner at
// (64, 64). Everything in the scene sits on this grid of cells: the board in columns and rows
// 0..7, the stone counts in cell columns 10..19 of rows 2 and 3.
constexpr int CellWidth = 32;
constexpr int CellHeight = 32;
constexpr int BoardLeft = 64;
constexpr int BoardTop = 64;
// The client area at the base size: the board and the counts with the margins round them.
constexpr int SceneWidth = BoardLeft + 20 * CellWidth;
constexpr int SceneHeight = 2 * BoardTop + 8 * CellHeight;

// Where the scene lies on a window of a given size: the whole scene scaled, proportions kept,
// to the largest whole number of device pixels per cell that fits, anchored at the top left.
// At the base size on a screen of pixel ratio 1 this is the scene as drawn at 32 pixels (32 pixels
// a cell); the scene never shrinks below its base size, so a smaller window shows part of it.
class BoardGeometry {
  public:
    BoardGeometry() = default;
    // The geometry for a window of `logical` size on a screen of `devicePixelRatio`.
    static BoardGeometry Fit(QSize logical, double devicePixelRatio);
    // The geometry with `cellPixels` device pixels a cell (at least 1).
    static BoardGeometry WithCell(int cellPixels, double devicePixelRatio = 1.0);

    // Device pixels per cell, and the ratio of device to logical pixels.
    int Cell() const { return cell; }
    double DevicePixelRatio() const { return ratio; }
    // The one-pixel lines of the base size (the highlight's border) in device pixels, at least 1.
    int Line() const;

    // A cell of the scene's grid (the board's cells are columns and rows 0..7), in device pixels.
    QRect CellRect(int column, int row) const;
    // The square (column * 8 + row) under a point in logical window coordinates, or -1 when the
    // point lies off the board. Left and top edges belong to their cell: the board's left edge
    // is column 0, a point left of it is no square.
    int SquareAt(QPointF logical) const;
    // The logical window size that shows the whole scene at this geometry.
    QSize LogicalSceneSize() const;

    bool operator==(const BoardGeometry&) const = default;

  private:
    int cell = CellWidth;
    double ratio = 1.0;
};

}  // namespace vell
