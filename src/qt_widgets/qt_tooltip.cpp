#include "qt_widgets/qt_tooltip.h"

#include "qt_widgets/qt_text.h"
#include "text/encoding.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>

namespace vestrak {

namespace {

constexpr int WrapWidthPixels = 300;

void appendWrapped(QStringList& lines, const QString& line, const QFontMetrics& metrics)
{
    QString kept;
    for (const QString& word : line.split(QLatin1Char(' '))) {
        const QString longer = kept.isEmpty() ? word : kept + QLatin1Char(' ') + word;
        if (!kept.isEmpty() && metrics.horizontalAdvance(longer) > WrapWidthPixels) {
            lines.append(kept);
            kept = word;
        } else {
            kept = longer;
        }
    }
    lines.append(kept);
}

} // namespace

QString toolTipText(const std::u16string& text, const QWidget& widget)
{
    if (text.empty())
        return {};
    const QFontMetrics metrics(widget.font());
    QStringList lines;
    for (const std::u16string& line : SplitTextLines(text))
        appendWrapped(lines, toQString(line), metrics);
    QString plain = lines.join(QLatin1Char('\n'));
    if (!Qt::mightBeRichText(plain))
        return plain;
    return QStringLiteral("<qt>%1</qt>")
        .arg(plain.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
}

void setToolTipAndDescription(QWidget& widget, const std::u16string& text)
{
    widget.setToolTip(toolTipText(text, widget));
    QStringList lines;
    for (const std::u16string& line : SplitTextLines(text))
        lines.append(toQString(line));
    widget.setAccessibleDescription(lines.join(QLatin1Char('\n')));
}

} // namespace vestrak
