#include "shell/artwork.h"

#include <algorithm>

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace vell {

namespace {

constexpr int CellSize = 32;

QColor Rgb(const int (&c)[3]) {
    return QColor(c[0], c[1], c[2]);
}

// One cell image of `size` pixels. The grid line is one pixel, the marker frame two, at the
// base size of 32 pixels; both grow with the size.
QPixmap MakeCell(int value, bool framed, int size) {
    QPixmap cell(size, size);
    cell.fill(Rgb(BoardGreen));
    QPainter painter(&cell);
    // A dark grid line round each cell; neighbouring cells make it twice as wide.
    const int line = std::max(1, (size + CellSize / 2) / CellSize);
    const QColor grid(0, 80, 0);
    painter.fillRect(0, 0, size, line, grid);
    painter.fillRect(0, size - line, size, line, grid);
    painter.fillRect(0, 0, line, size, grid);
    painter.fillRect(size - line, 0, line, size, grid);
    if (value != 2) DrawStone(painter, QPointF(0, 0), size, value);
    if (framed) {
        const int frame = std::max(2, (2 * size + CellSize / 2) / CellSize);
        const QColor yellow = Rgb(MarkerYellow);
        painter.fillRect(0, 0, size, frame, yellow);
        painter.fillRect(0, size - frame, size, frame, yellow);
        painter.fillRect(0, 0, frame, size, yellow);
        painter.fillRect(size - frame, 0, frame, size, yellow);
    }
    return cell;
}

QPolygonF Triangle(double left, double right, double top, double bottom, bool pointsRight) {
    const double middle = (top + bottom) / 2;
    if (pointsRight) return QPolygonF({{left, top}, {right, middle}, {left, bottom}});
    return QPolygonF({{right, top}, {left, middle}, {right, bottom}});
}

}  // namespace

void DrawStone(QPainter& painter, QPointF origin, double size, int colour, double squeeze) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double margin = size * 3.0 / 32.0;
    const double width = (size - 2 * margin) * squeeze;
    const QRectF disc(origin.x() + size / 2 - width / 2, origin.y() + margin, width,
                      size - 2 * margin);
    painter.setPen(
        QPen(colour == 0 ? QColor(64, 64, 64) : QColor(160, 160, 160), std::max(1.0, size / 32.0)));
    painter.setBrush(colour == 0 ? QColor(0, 0, 0) : QColor(255, 255, 255));
    painter.drawEllipse(disc);
    painter.restore();
}

CellImages MakeCellImages(int size) {
    return {MakeCell(0, false, size), MakeCell(1, false, size), MakeCell(2, false, size),
            MakeCell(0, true, size),  MakeCell(1, true, size),  MakeCell(2, true, size)};
}

QPixmap MakeBackgroundTile(int size) {
    QPixmap tile(size, size);
    tile.fill(QColor(0, 96, 0));
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Drawn on the base 32-pixel grid and scaled with it, line width included.
    painter.scale(size / double(CellSize), size / double(CellSize));
    painter.setPen(QPen(QColor(192, 192, 192), 1.0));
    // A diamond through the middles of the edges, so the tiles join into a lattice.
    painter.drawPolygon(QPolygonF({{16, 0.5}, {31.5, 16}, {16, 31.5}, {0.5, 16}}));
    return tile;
}

QIcon MakeAppIcon() {
    QPixmap icon(CellSize, CellSize);
    icon.fill(Rgb(BoardGreen));
    QPainter painter(&icon);
    painter.setPen(QColor(0, 80, 0));
    painter.drawRect(0, 0, CellSize - 1, CellSize - 1);
    DrawStone(painter, QPointF(2, 2), 18, 0);
    DrawStone(painter, QPointF(12, 12), 18, 1);
    return QIcon(icon);
}

QIcon MakeToolIcon(ToolIcon which) {
    QPixmap icon(16, 15);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    switch (which) {
        case ToolIcon::Last:
            painter.drawPolygon(Triangle(3, 11, 2, 13, true));
            painter.drawRect(QRectF(11, 2, 2, 11));
            break;
        case ToolIcon::Next:
            painter.drawPolygon(Triangle(4, 12, 2, 13, true));
            break;
        case ToolIcon::PlayNow:
            // Two arrows one behind the other: on at once.
            painter.drawPolygon(Triangle(1, 8, 2, 13, true));
            painter.drawPolygon(Triangle(8, 15, 2, 13, true));
            break;
        case ToolIcon::Pause:
            painter.drawRect(QRectF(4, 2, 3, 11));
            painter.drawRect(QRectF(9, 2, 3, 11));
            break;
        case ToolIcon::Previous:
            painter.drawPolygon(Triangle(4, 12, 2, 13, false));
            break;
        case ToolIcon::First:
            painter.drawRect(QRectF(3, 2, 2, 11));
            painter.drawPolygon(Triangle(5, 13, 2, 13, false));
            break;
        case ToolIcon::StartGame:
            // A green play sign, apart from the black history arrows.
            painter.setPen(QPen(QColor(0, 64, 0), 1.0));
            painter.setBrush(QColor(0, 176, 0));
            painter.drawPolygon(Triangle(2.5, 14.5, 0.5, 14.5, true));
            break;
        case ToolIcon::Players:
            // Two people side by side: a head and shoulders each, one black and one white.
            for (int side = 0; side < 2; ++side) {
                const double x = side == 0 ? 0.5 : 8.5;
                painter.setPen(QPen(QColor(0, 0, 0), 1.0));
                painter.setBrush(side == 0 ? QColor(0, 0, 0) : QColor(255, 255, 255));
                painter.drawEllipse(QRectF(x + 1.5, 1.5, 4, 4));
                painter.drawChord(QRectF(x, 7, 7, 12), 0, 180 * 16);
            }
            break;
    }
    return QIcon(icon);
}

}  // namespace vell
