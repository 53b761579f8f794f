#include "shell/board_geometry.h"

#include <algorithm>
#include <cmath>

namespace vell {

namespace {

// The scene in half cells: the board of 16 in a frame one half cell wide all round (the labels
// stand in its top and left bands), then a gap of one and the count panel of seven.
constexpr int LabelHalves = 1;
constexpr int BoardHalves = 16;
constexpr int GapHalves = 1;
constexpr int PanelHalves = 7;
constexpr int SceneHalvesAcross = 2 * LabelHalves + BoardHalves + GapHalves + PanelHalves;
constexpr int SceneHalvesDown = 2 * LabelHalves + BoardHalves;

static_assert(SceneWidth * 2 == SceneHalvesAcross * CellWidth);
static_assert(SceneHeight * 2 == SceneHalvesDown * CellHeight);
static_assert(CellWidth == CellHeight, "the scene scales as square cells");

// Half-cell lengths in device pixels: an odd cell leaves the extra pixel to the board's side.
int Halves(int cell, int halves) {
    return halves / 2 * cell + (halves % 2) * (cell / 2);
}

}  // namespace

BoardGeometry BoardGeometry::Fit(QSize logical, double devicePixelRatio) {
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const double width = logical.width() * ratio;
    const double height = logical.height() * ratio;
    // The largest whole cell whose scene fits both ways.
    const int across = static_cast<int>(std::floor(width * 2 / SceneHalvesAcross));
    const int down = static_cast<int>(std::floor(height * 2 / SceneHalvesDown));
    int fitted = std::max(MinimumCell, std::min(across, down));
    while (fitted > MinimumCell &&
           (Halves(fitted, SceneHalvesAcross) > width || Halves(fitted, SceneHalvesDown) > height))
        --fitted;
    BoardGeometry geometry = WithCell(fitted, ratio);
    // Centred; a window smaller than the scene shows its top-left part.
    const QSize scene = geometry.SceneRect().size();
    geometry.origin = QPoint(std::max(0, static_cast<int>(width - scene.width()) / 2),
                             std::max(0, static_cast<int>(height - scene.height()) / 2));
    return geometry;
}

BoardGeometry BoardGeometry::WithCell(int cellPixels, double devicePixelRatio) {
    BoardGeometry geometry;
    geometry.cell = std::max(1, cellPixels);
    geometry.ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return geometry;
}

int BoardGeometry::Line() const {
    return std::max(1, (cell + CellWidth / 2) / CellWidth);
}

QRect BoardGeometry::BoardRect() const {
    return QRect(CellRect(0, 0).topLeft(), QSize(8 * cell, 8 * cell));
}

QRect BoardGeometry::CellRect(int column, int row) const {
    const int band = Halves(cell, LabelHalves);
    return QRect(origin.x() + band + column * cell, origin.y() + band + row * cell, cell, cell);
}

QRect BoardGeometry::ColumnLabelRect(int column) const {
    const QRect square = CellRect(column, 0);
    const int band = Halves(cell, LabelHalves);
    return QRect(square.left(), square.top() - band, cell, band);
}

QRect BoardGeometry::RowLabelRect(int row) const {
    const QRect square = CellRect(0, row);
    const int band = Halves(cell, LabelHalves);
    return QRect(square.left() - band, square.top(), band, cell);
}

QRect BoardGeometry::CountStoneRect(int side) const {
    return QRect(PanelRect().left() + cell / 4, CellRect(0, 2 + side).top(), cell, cell);
}

QRect BoardGeometry::CountTextRect(int side) const {
    const QRect stone = CountStoneRect(side);
    // Two half-width digits and a full-width 石, a quarter cell after the stone.
    return QRect(stone.right() + 1 + cell / 4, stone.top(), 2 * cell, cell);
}

QRect BoardGeometry::NoticeRect() const {
    const QRect panel = PanelRect();
    const int top = CellRect(0, 5).top();
    return QRect(panel.left() + cell / 4, top, panel.width() - cell / 2, panel.bottom() + 1 - top);
}

QRect BoardGeometry::FrameRect() const {
    const int band = Halves(cell, LabelHalves);
    return BoardRect().adjusted(-band, -band, band, band);
}

QRect BoardGeometry::PanelRect() const {
    const QRect frame = FrameRect();
    const int left = frame.right() + 1 + Halves(cell, GapHalves);
    return QRect(left, frame.top(), SceneRect().right() + 1 - left, frame.height());
}

QRect BoardGeometry::SceneRect() const {
    return QRect(origin, QSize(Halves(cell, SceneHalvesAcross), Halves(cell, SceneHalvesDown)));
}

int BoardGeometry::SquareAt(QPointF logical) const {
    // Floor division: a point left of or above the board gives a negative cell.
    const QRect board = BoardRect();
    const int column =
        static_cast<int>(std::floor((logical.x() * ratio - board.left()) / double(cell)));
    const int row =
        static_cast<int>(std::floor((logical.y() * ratio - board.top()) / double(cell)));
    if (column < 0 || column >= 8 || row < 0 || row >= 8) return -1;
    return column * 8 + row;
}

QPointF BoardGeometry::SquareCentre(int square) const {
    const QRect rect = CellRect(square / 8, square % 8);
    return QPointF(rect.left() + cell / 2.0, rect.top() + cell / 2.0) / ratio;
}

QSize BoardGeometry::LogicalSceneSize() const {
    return QSize(static_cast<int>(std::ceil(Halves(cell, SceneHalvesAcross) / ratio)),
                 static_cast<int>(std::ceil(Halves(cell, SceneHalvesDown) / ratio)));
}

}  // namespace vell
