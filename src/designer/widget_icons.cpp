#include "widget_icons.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace vestrak {

namespace {

constexpr int IconSize = 32;
constexpr std::array RowTops { 3, 13, 23 };

// Branch lines from the top row down to the two rows below it, indented.
void drawBranches(QPainter& painter)
{
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawLine(6, 9, 6, 27);
    for (const int top : { RowTops[1], RowTops[2] })
        painter.drawLine(6, top + 4, 12, top + 4);
}

QIcon iconWith(const std::array<QColor, 3>& markers, const std::array<QColor, 3>& rows)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBranches(painter);
    for (std::size_t row = 0; row < RowTops.size(); ++row) {
        const int left = row == 0 ? 2 : 12;
        painter.setPen(Qt::NoPen);
        painter.setBrush(markers[row]);
        painter.drawEllipse(QRectF(left, RowTops[row], 8, 8));
        painter.setBrush(rows[row]);
        painter.drawRect(QRectF(left + 10, RowTops[row] + 2, IconSize - left - 12, 4));
    }
    return { pixmap };
}

} // namespace

QIcon navigationTreeIcon()
{
    const QColor folder(0xd8, 0xa0, 0x30);
    const QColor text(0x50, 0x60, 0x80);
    return iconWith({ QColor(0x30, 0x70, 0xc0), folder, folder }, { text, text, text });
}

QIcon statusTreeIcon()
{
    const QColor text(0x50, 0x60, 0x80);
    return iconWith({ QColor(0x20, 0xa0, 0x40), QColor(0xe0, 0xa0, 0x00), QColor(0xd0, 0x20, 0x20) },
        { text, text, text });
}

} // namespace vestrak
