#pragma once

#include <QString>
#include <string_view>

namespace vestrak {

// What a screen reader calls a control's widget, by the widget's name: "Object tree" for
// TreeView_Objects. A name not listed reads as written, underscores as spaces.
QString accessibleNameOf(std::u16string_view widgetName);

} // namespace vestrak
