#pragma once

#include "page_host/hosted_control.h"
#include "page_host/widget_set.h"
#include "ports/platform.h"

#include <memory>
#include <string_view>

namespace vestrak {

// Outer size of a newly created control, in twips, without a border.
inline constexpr double DefaultControlWidth = 4800;
inline constexpr double DefaultControlHeight = 3600;

// Creates a control of the named type ("CiTree", "CiStatus") on a new surface of the widget set,
// running its start-up; null for a type the container does not know.
std::unique_ptr<HostedControl> CreateControl(
    std::u16string_view typeName, WidgetSet& widgets, const Platform& platform);

} // namespace vestrak
