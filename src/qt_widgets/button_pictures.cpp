#include "qt_widgets/painted_icon.h"
#include "qt_widgets/qt_images.h"

#include <QPainter>

namespace vestrak {

namespace {

void fillBlack(QPainter& painter, const QPolygonF& shape)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(shape);
}

PictureDrawing drawingOf(ButtonPicture picture)
{
    switch (picture) {
    case ButtonPicture::House:
        return drawHouse;
    case ButtonPicture::TriangleDown:
        return [](QPainter& painter) {
            fillBlack(painter, QPolygonF({ QPointF(3.5, 5.5), QPointF(12.5, 5.5), QPointF(8, 11) }));
        };
    case ButtonPicture::TriangleUp:
        return [](QPainter& painter) {
            fillBlack(painter, QPolygonF({ QPointF(3.5, 10.5), QPointF(12.5, 10.5), QPointF(8, 5) }));
        };
    case ButtonPicture::LowerRightCorner:
        return [](QPainter& painter) {
            fillBlack(painter, QPolygonF({ QPointF(6, 0), QPointF(6, 6), QPointF(0, 6) }));
        };
    case ButtonPicture::TriangleLeft:
        break;
    }
    return [](QPainter& painter) {
        fillBlack(painter, QPolygonF({ QPointF(5, 0), QPointF(5, 9), QPointF(0, 4.5) }));
    };
}

} // namespace

QSize buttonPictureSize(ButtonPicture picture)
{
    switch (picture) {
    case ButtonPicture::LowerRightCorner:
        return { 6, 6 };
    case ButtonPicture::TriangleLeft:
        return { 5, 9 };
    case ButtonPicture::House:
    case ButtonPicture::TriangleDown:
    case ButtonPicture::TriangleUp:
        break;
    }
    return { 16, 16 };
}

QIcon buttonPictureIcon(ButtonPicture picture)
{
    return paintedIcon(buttonPictureSize(picture), drawingOf(picture));
}

} // namespace vestrak
