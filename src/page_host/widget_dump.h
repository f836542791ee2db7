#pragma once

#include "ports/control_surface.h"
#include "ports/widget.h"

#include <string>
#include <vector>

namespace vestrak {

// The lines `dump NAME.Widget` prints: a header with visibility and geometry in whole twips,
// then one indented line per node, item or button, or one line for a text, a picture or each
// menu item.
std::vector<std::string> DumpWidget(const std::u16string& controlName, const Widget& widget);

// The line `dump NAME` prints: the control's outer and inner size.
std::string DumpControl(const std::u16string& controlName, const ControlSurface& surface);

} // namespace vestrak
