#pragma once

#include <QString>
#include <string>

class QWidget;

namespace vestrak {

// A tooltip as plain text: each line break of the text starts a new line, and lines wider than
// 300 pixels in the widget's font break between words. A text Qt would take for rich text is
// given escaped, as rich text, so that it still shows as written.
QString toolTipText(const std::u16string& text, const QWidget& widget);

// The widget's tooltip, and the same words as its description for screen readers, which would
// otherwise read a rich tooltip's markup.
void setToolTipAndDescription(QWidget& widget, const std::u16string& text);

} // namespace vestrak
