#include "qt/image_sets.h"
#include "qt/painted_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <optional>

namespace vestrak {

namespace {

constexpr QSize IconSize(16, 16);

const QColor Grey(0xA0, 0xA0, 0xA0);
const QColor Green(0x20, 0xB0, 0x30);
const QColor Amber(0xF0, 0xA8, 0x00);
const QColor Red(0xE0, 0x20, 0x20);
const QColor Orange(0xFF, 0x80, 0x00);

void drawBall(QPainter& painter, const QColor& color)
{
    painter.fillRect(QRectF(0, 0, 16, 16), Qt::white);
    QRadialGradient shine(QPointF(6, 5.5), 8);
    shine.setColorAt(0, color.lighter(150));
    shine.setColorAt(0.45, color);
    shine.setColorAt(1, color.darker(130));
    painter.setPen(QPen(color.darker(170), 0.7));
    painter.setBrush(shine);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
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

QIcon ball(const QColor& color, const std::optional<QPainterPath>& mark = std::nullopt,
    const QColor& markColor = Qt::white)
{
    return paintedIcon(IconSize, [color, mark, markColor](QPainter& painter) {
        drawBall(painter, color);
        if (mark)
            strokeMark(painter, *mark, markColor);
    });
}

} // namespace

std::vector<QIcon> statusIcons()
{
    return { ball(Grey, questionMark(), Orange), ball(Green), ball(Amber), ball(Red), ball(Green, digitOne()),
        ball(Green, digitTwo()) };
}

} // namespace vestrak
