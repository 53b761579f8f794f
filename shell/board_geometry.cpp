#include "shell/board_geometry.h"

#include <algorithm>
#include <cmath>

namespace vell {

namespace {

// The scene measured in cells.
constexpr int SceneColumns = SceneWidth / CellWidth;
constexpr int SceneRows = SceneHeight / CellHeight;
constexpr int BoardColumn = BoardLeft / CellWidth;
constexpr int BoardRow = BoardTop / CellHeight;

static_assert(SceneWidth % CellWidth == 0 && SceneHeight % CellHeight == 0);
static_assert(BoardLeft % CellWidth == 0 && BoardTop % CellHeight == 0);
static_assert(CellWidth == CellHeight, "the scene scales as square cells");

}  // namespace

BoardGeometry BoardGeometry::Fit(QSize logical, double devicePixelRatio) {
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int smallest = std::max(1, static_cast<int>(std::lround(CellWidth * ratio)));
    const double across = logical.width() * ratio / SceneColumns;
    const double down = logical.height() * ratio / SceneRows;
    const int fitted = static_cast<int>(std::floor(std::min(across, down)));
    return WithCell(std::max(smallest, fitted), ratio);
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

QRect BoardGeometry::CellRect(int column, int row) const {
    return QRect((BoardColumn + column) * cell, (BoardRow + row) * cell, cell, cell);
}

int BoardGeometry::SquareAt(QPointF logical) const {
    // Floor division: a point left of or above the board gives a negative cell.
    const int column = static_cast<int>(std::floor(logical.x() * ratio / cell)) - BoardColumn;
    const int row = static_cast<int>(std::floor(logical.y() * ratio / cell)) - BoardRow;
    if (column < 0 || column >= 8 || row < 0 || row >= 8) return -1;
    return column * 8 + row;
}

QSize BoardGeometry::LogicalSceneSize() const {
    return QSize(static_cast<int>(std::ceil(SceneColumns * cell / ratio)),
                 static_cast<int>(std::ceil(SceneRows * cell / ratio)));
}

}  // namespace vell
