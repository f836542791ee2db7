#pragma once

#include <QString>
#include <string>

class QWidget;

namespace vestrak {

// A tooltip as rich text: each line break of the text starts a new line, and lines wider than
// 300 pixels in the widget's font wrap.
QString toolTipHtml(const std::u16string& text, const QWidget& widget);

} // namespace vestrak
