#include "qt_widgets/painted_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <tuple>
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

    // A tree paints the same few icons on every row it shows at every flash tick: each is drawn
    // once per size and mode, then copied. A painter that scales or turns draws the shapes.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        if (painter->worldTransform().type() > QTransform::TxTranslate || !painter->device()) {
            drawInto(*painter, rect, mode);
            return;
        }
        const qreal ratio = painter->device()->devicePixelRatioF();
        const QSize pixels = (QSizeF(rect.size()) * ratio).toSize();
        QPixmap& drawn = m_Drawn[{ pixels.width(), pixels.height(), mode }];
        if (drawn.isNull()) {
            drawn = pixmap(pixels, mode, state);
            drawn.setDevicePixelRatio(ratio);
        }
        painter->drawPixmap(rect, drawn);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        (void)state;
        QPainter painter(&image);
        drawInto(painter, QRect(QPoint(0, 0), size), mode);
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
    void drawInto(QPainter& painter, const QRect& rect, QIcon::Mode mode) const
    {
        painter.save();
        if (mode == QIcon::Disabled)
            painter.setOpacity(0.4);
        drawScaled(painter, rect, m_DesignSize, m_Drawing);
        painter.restore();
    }

    QSize m_DesignSize;
    PictureDrawing m_Drawing;
    std::map<std::tuple<int, int, QIcon::Mode>, QPixmap> m_Drawn;
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
