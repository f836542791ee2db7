#include "qt_widgets/painted_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <utility>

namespace vestrak {

namespace {

void drawScaled(QPainter& painter, const QRectF& target, QSize designSize, const PictureDrawing& drawing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / designSize.width(), target.height() / designSize.height());
    drawing(painter);
    painter.restore();
}

class PaintedIconEngine final : public QIconEngine {
public:
    PaintedIconEngine(QSize designSize, PictureDrawing drawing)
        : m_DesignSize(designSize)
        , m_Drawing(std::move(drawing))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        drawScaled(*painter, rect, m_DesignSize, m_Drawing);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        painter.end();
        return QPixmap::fromImage(std::move(image));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return m_DesignSize.scaled(size, Qt::KeepAspectRatio);
    }

    // QIcon takes ownership of the copy.
    QIconEngine* clone() const override { return new PaintedIconEngine(m_DesignSize, m_Drawing); }

private:
    QSize m_DesignSize;
    PictureDrawing m_Drawing;
};

} // namespace

QIcon paintedIcon(QSize designSize, PictureDrawing drawing)
{
    return QIcon(new PaintedIconEngine(designSize, std::move(drawing)));
}

QImage paintedImage(QSize designSize, qreal devicePixelRatio, const PictureDrawing& drawing)
{
    QImage image(designSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        drawScaled(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), designSize, drawing);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

} // namespace vestrak
