#include "page_host/control_types.h"

#include "page_host/control_bindings.h"

#include <array>
#include <utility>

namespace vestrak {

namespace {

using ControlMaker = std::unique_ptr<HostedControl> (*)(std::unique_ptr<ControlSurface>, const Platform&);

constexpr std::array<std::pair<std::u16string_view, ControlMaker>, 2> ControlTypes { {
    { u"CiTree", &CreateCiTree },
    { u"CiStatus", &CreateCiStatus },
} };

} // namespace

std::unique_ptr<HostedControl> CreateControl(
    std::u16string_view typeName, WidgetSet& widgets, const Platform& platform)
{
    for (const auto& [name, make] : ControlTypes) {
        if (name == typeName)
            return make(widgets.createSurface(platform.files, DefaultControlWidth, DefaultControlHeight, 0),
                platform);
    }
    return nullptr;
}

} // namespace vestrak
