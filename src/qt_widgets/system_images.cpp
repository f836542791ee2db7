#include "qt_widgets/image_sets.h"
#include "qt_widgets/painted_icon.h"
#include "qt_widgets/qt_images.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <vector>

namespace vestrak {

namespace {

constexpr QSize IconSize(16, 16);

const std::array<QColor, 8> FlagColors {
    QColor(0xFF, 0xD8, 0x00), // yellow
    QColor(0x8B, 0x4A, 0x1C), // brown
    QColor(0x1E, 0x50, 0xDC), // blue
    QColor(0x1E, 0x9E, 0x28), // green
    QColor(0xFF, 0x8C, 0x00), // orange
    QColor(0xE0, 0x20, 0xC8), // magenta
    QColor(0xDC, 0x1E, 0x1E), // red
    QColor(0x00, 0x00, 0x00), // black
};

void drawGlobe(QPainter& painter)
{
    const QColor sea(0x1F, 0x8F, 0x3A);
    painter.setPen(QPen(sea.darker(160), 0.8));
    painter.setBrush(sea);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xB8, 0xF0, 0xB0), 0.7));
    painter.drawEllipse(QRectF(5, 1.5, 6, 13));
    painter.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
    painter.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    painter.drawLine(QPointF(2.8, 4.8), QPointF(13.2, 4.8));
    painter.drawLine(QPointF(2.8, 11.2), QPointF(13.2, 11.2));
}

void drawPlantDiagram(QPainter& painter)
{
    const QColor pipe(0x50, 0x60, 0x70);
    painter.setPen(QPen(pipe, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({ QPointF(1, 4), QPointF(6, 4), QPointF(6, 12), QPointF(15, 12) }));
    painter.drawLine(QPointF(10, 12), QPointF(10, 6));
    // A tank on the pipe, a valve in the line and a pump on the branch.
    painter.setPen(QPen(pipe, 0.8));
    painter.setBrush(QColor(0x9C, 0xC8, 0xEC));
    painter.drawRoundedRect(QRectF(7.5, 1, 6, 5), 1.5, 1.5);
    painter.setBrush(QColor(0xE0, 0x40, 0x30));
    painter.drawPolygon(QPolygonF({ QPointF(1.5, 10), QPointF(4.5, 12), QPointF(1.5, 14) }));
    painter.drawPolygon(QPolygonF({ QPointF(4.5, 10), QPointF(1.5, 12), QPointF(4.5, 14) }));
    painter.setBrush(QColor(0xF0, 0xC0, 0x30));
    painter.drawEllipse(QPointF(12.5, 12), 2, 2);
}

void drawFlag(QPainter& painter, const QColor& color)
{
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3, 1.5), QPointF(3, 15));
    painter.setPen(QPen(color == Qt::black ? QColor(0x60, 0x60, 0x60) : color.darker(150), 0.8));
    painter.setBrush(color);
    painter.drawPolygon(QPolygonF({ QPointF(3.7, 1.5), QPointF(14.5, 6), QPointF(3.7, 10.5) }));
}

void drawPage(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF(
        { QPointF(2, 0.5), QPointF(9.5, 0.5), QPointF(12.5, 3.5), QPointF(12.5, 15.5), QPointF(2, 15.5) }));
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.8));
    for (qreal y : { 4.0, 6.5, 9.0 })
        painter.drawLine(QPointF(4, y), QPointF(10.5, y));
}

void drawMagnifier(QPainter& painter, QPointF lensCentre, qreal radius)
{
    const QPointF handleStart = lensCentre + QPointF(radius * 0.7, radius * 0.7);
    painter.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handleStart, handleStart + QPointF(radius * 0.9, radius * 0.9));
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    painter.setBrush(QColor(0xB4, 0xDC, 0xFA, 0xE0));
    painter.drawEllipse(lensCentre, radius, radius);
}

} // namespace

void drawHouse(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x50, 0x30, 0x20), 0.8));
    painter.setBrush(QColor(0xF4, 0xE8, 0xC8));
    painter.drawRect(QRectF(3, 7.5, 10, 7.5));
    painter.setBrush(QColor(0xC8, 0x28, 0x20));
    painter.drawPolygon(QPolygonF({ QPointF(0.8, 8), QPointF(8, 1.2), QPointF(15.2, 8) }));
    painter.setBrush(QColor(0x7A, 0x48, 0x20));
    painter.drawRect(QRectF(6.5, 10, 3, 5));
    painter.setBrush(QColor(0x9C, 0xC8, 0xEC));
    painter.drawRect(QRectF(10.5, 9.5, 1.8, 1.8));
}

QColor flagColor(std::int32_t image)
{
    return image >= 4 && image <= 11 ? FlagColors[static_cast<std::size_t>(image - 4)] : QColor();
}

std::vector<QIcon> systemIcons()
{
    std::vector<QIcon> icons { paintedIcon(IconSize, drawGlobe), paintedIcon(IconSize, drawHouse),
        paintedIcon(IconSize, drawPlantDiagram) };
    for (const QColor& color : FlagColors)
        icons.push_back(paintedIcon(IconSize, [color](QPainter& painter) { drawFlag(painter, color); }));
    return icons;
}

std::vector<QIcon> filterToolbarIcons()
{
    return {
        paintedIcon(IconSize,
            [](QPainter& painter) {
                drawPage(painter);
                drawMagnifier(painter, QPointF(9.5, 9.5), 3.3);
            }),
        paintedIcon(IconSize, [](QPainter& painter) { drawMagnifier(painter, QPointF(6.5, 6.5), 4.8); }),
    };
}

} // namespace vestrak
