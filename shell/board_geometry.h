#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vell {

// The scene at its base size, in pixels: 32-pixel cells, the board 8 cells square in a frame of
// half a cell that holds the labels, and four cells for the counts beside it. The window's
// size hint and its first size are measured from it.
constexpr int CellWidth = 32;
constexpr int CellHeight = 32;
constexpr int SceneWidth = 13 * CellWidth;
constexpr int SceneHeight = 9 * CellHeight;

// Where the scene lies on a window of a given size. The scene is a square board with a band for
// the column letters above it and the row numbers left of it, and the count panel right of it;
// the whole is as large as the window allows at a whole number of device pixels a cell, and
// centred, the background filling the rest. The board's side is at least 85% of the window's
// height, or of its width less the panel when the window is narrow.
class BoardGeometry {
  public:
    BoardGeometry() = default;
    // The geometry for a window of `logical` size on a screen of `devicePixelRatio`. The cell
    // never falls below MinimumCell device pixels; a smaller window shows part of the scene.
    static BoardGeometry Fit(QSize logical, double devicePixelRatio);
    // The scene with `cellPixels` device pixels a cell (at least 1), its corner at the origin.
    static BoardGeometry WithCell(int cellPixels, double devicePixelRatio = 1.0);
    static constexpr int MinimumCell = 12;

    // Device pixels per cell, and the ratio of device to logical pixels.
    int Cell() const { return cell; }
    double DevicePixelRatio() const { return ratio; }
    // The one-pixel lines of the base size (the highlight's border) in device pixels, at least 1.
    int Line() const;

    // The board (8 x 8 cells) and a cell of it by column and row (0..7; others lie on the
    // same grid beyond the board), in device pixels.
    QRect BoardRect() const;
    QRect CellRect(int column, int row) const;
    // Where a column's letter (a-h) and a row's number (1-8) are written.
    QRect ColumnLabelRect(int column) const;
    QRect RowLabelRect(int row) const;
    // The count of `side` (0 black, 1 white): its stone and its "%2d石" text.
    QRect CountStoneRect(int side) const;
    QRect CountTextRect(int side) const;
    // Below the counts: the game's notices (a pass, the result).
    QRect NoticeRect() const;
    // The board with its label band all round, and the panel behind the counts and notices.
    QRect FrameRect() const;
    QRect PanelRect() const;
    // The whole scene: labels, board and panel.
    QRect SceneRect() const;

    // The square (column * 8 + row) under a point in logical window coordinates, or -1 when the
    // point lies off the board. Left and top edges belong to their cell: the board's left edge
    // is column 0, a point left of it is no square.
    int SquareAt(QPointF logical) const;
    // The centre of a square in logical window coordinates.
    QPointF SquareCentre(int square) const;
    // The logical window size that shows the whole scene at this cell size.
    QSize LogicalSceneSize() const;

    bool operator==(const BoardGeometry&) const = default;

  private:
    int cell = CellWidth;
    double ratio = 1.0;
    QPoint origin;  // the scene's top-left corner, device pixels
};

}  // namespace vell
