#pragma once

#include <array>

#include <QIcon>
#include <QPixmap>
#include <QPointF>

class QPainter;

namespace vell {

// The cell images, indexed by square value (0 black, 1 white, 2 empty) for a plain cell and by
// 3 + square value for the cell with the yellow marker frame. 32 x 32 pixels each at the
// base size.
using CellImages = std::array<QPixmap, 6>;

// The colours the board is drawn in.
inline constexpr int BoardGreen[3] = {0, 128, 0};
inline constexpr int MarkerYellow[3] = {255, 255, 0};
inline constexpr int HighlightOrange[3] = {255, 192, 0};
inline constexpr int CountTextGreen[3] = {127, 255, 127};

// All pictures are drawn by code; call these only once a QGuiApplication exists.
// `size` is the side of a cell in pixels; larger sizes are drawn afresh, not enlarged.
CellImages MakeCellImages(int size = 32);
// A stone (0 black, 1 white) centred in the square of `size` pixels at `origin`, as the cell
// images draw it; `squeeze` (0..1) narrows it across, as a stone seen turning over.
void DrawStone(QPainter& painter, QPointF origin, double size, int colour, double squeeze = 1.0);
// The tile repeated over the window behind the board, one cell in size.
QPixmap MakeBackgroundTile(int size = 32);
// The program's icon: a small board with a black and a white stone.
QIcon MakeAppIcon();

// The tool-bar pictures, 16 x 15 pixels.
enum class ToolIcon { Last, Next, Pause, Previous, First, StartGame, Players, PlayNow };
QIcon MakeToolIcon(ToolIcon which);

}  // namespace vell
