#include "qt/qt_tooltip.h"

#include "procs/encoding.h"
#include "qt/qt_text.h"

#include <QFontMetrics>
#include <QStringList>
#include <QWidget>

namespace vestrak {

namespace {
constexpr int WrapWidthPixels = 300;
}

QString toolTipHtml(const std::u16string& text, const QWidget& widget)
{
    if (text.empty())
        return {};
    const QFontMetrics metrics(widget.font());
    QStringList lines;
    int widest = 0;
    for (const std::u16string& line : SplitTextLines(text)) {
        const QString shown = toQString(line);
        widest = std::max(widest, metrics.horizontalAdvance(shown));
        lines.append(shown.toHtmlEscaped());
    }
    const QString body = lines.join(QStringLiteral("<br>"));
    if (widest <= WrapWidthPixels)
        return QStringLiteral("<qt>%1</qt>").arg(body);
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>").arg(WrapWidthPixels).arg(body);
}

} // namespace vestrak
