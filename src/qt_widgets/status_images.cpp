#include "qt_widgets/image_sets.h"
#include "qt_widgets/painted_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <optional>

namespace vestrak {

namespace {

constexpr QSize IconSize(16, 16);

// Each status has a shape of its own as well as a colour, so it reads without colour too: a grey
// disc with a question mark, a green ball, an amber triangle and a red square. The background stays
// transparent, for the selected row and dark palettes.
const QColor Grey(0xB4, 0xB4, 0xB4);
const QColor DarkMark(0x20, 0x20, 0x20);
const QColor Green(0x20, 0xB0, 0x30);
const QColor Amber(0xF0, 0xA8, 0x00);
const QColor Red(0xE0, 0x20, 0x20);

void outlineAndFill(QPainter& painter, const QColor& color, const QBrush& fill)
{
    painter.setPen(QPen(color.darker(200), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
}

void drawBall(QPainter& painter, const QColor& color)
{
    QRadialGradient shine(QPointF(6, 5.5), 8);
    shine.setColorAt(0, color.lighter(150));
    shine.setColorAt(0.45, color);
    shine.setColorAt(1, color.darker(130));
    outlineAndFill(painter, color, shine);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void drawFlatDisc(QPainter& painter, const QColor& color)
{
    outlineAndFill(painter, color, color);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void drawTriangle(QPainter& painter, const QColor& color)
{
    outlineAndFill(painter, color, color);
    painter.drawPolygon(QPolygonF({ QPointF(8, 1), QPointF(15, 14.5), QPointF(1, 14.5) }));
}

void drawSquare(QPainter& painter, const QColor& color)
{
    outlineAndFill(painter, color, color);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
}

// Marks drawn as strokes, so they look the same whatever fonts the machine has.
void strokeMark(QPainter& painter, const QPainterPath& mark, const QColor& color)
{
    painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mark);
}

QPainterPath questionMark()
{
    QPainterPath mark;
    mark.moveTo(5.8, 6);
    mark.cubicTo(5.8, 3.4, 10.2, 3.4, 10.2, 6);
    mark.cubicTo(10.2, 7.6, 8, 7.8, 8, 9.6);
    mark.moveTo(8, 12);
    mark.lineTo(8, 12.1);
    return mark;
}

QPainterPath exclamationMark(qreal top, qreal bottom)
{
    QPainterPath mark;
    mark.moveTo(8, top);
    mark.lineTo(8, bottom - 3);
    mark.moveTo(8, bottom);
    mark.lineTo(8, bottom + 0.1);
    return mark;
}

QPainterPath digitOne()
{
    QPainterPath mark;
    mark.moveTo(6.4, 5.4);
    mark.lineTo(8.4, 4);
    mark.lineTo(8.4, 12);
    return mark;
}

QPainterPath digitTwo()
{
    QPainterPath mark;
    mark.moveTo(5.6, 6);
    mark.cubicTo(5.6, 3.2, 10.4, 3.2, 10.4, 6);
    mark.cubicTo(10.4, 7.8, 5.8, 10, 5.6, 12);
    mark.lineTo(10.6, 12);
    return mark;
}

using ShapeDrawing = void (*)(QPainter&, const QColor&);

QIcon statusIcon(ShapeDrawing shape, const QColor& color,
    const std::optional<QPainterPath>& mark = std::nullopt, const QColor& markColor = Qt::white)
{
    return paintedIcon(IconSize, [shape, color, mark, markColor](QPainter& painter) {
        shape(painter, color);
        if (mark)
            strokeMark(painter, *mark, markColor);
    });
}

} // namespace

std::vector<QIcon> statusIcons()
{
    return {
        statusIcon(drawFlatDisc, Grey, questionMark(), DarkMark),
        statusIcon(drawBall, Green),
        statusIcon(drawTriangle, Amber, exclamationMark(6, 12.5), DarkMark),
        statusIcon(drawSquare, Red, exclamationMark(4.5, 11.5)),
        statusIcon(drawBall, Green, digitOne()),
        statusIcon(drawBall, Green, digitTwo()),
    };
}

} // namespace vestrak
