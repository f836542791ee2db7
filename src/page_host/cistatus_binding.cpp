#include "cistatus/cistatus_property_table.h"
#include "page_host/bound_control.h"
#include "page_host/control_bindings.h"

namespace vestrak {

std::unique_ptr<HostedControl> CreateCiStatus(
    std::unique_ptr<ControlSurface> surface, const Platform& platform)
{
    static const BindingTable<CiStatus> table {
        .typeName = u"CiStatus",
        .properties = CiStatusProperties(),
        .events = {
            { u"GetStatus", &CiStatus::GetStatus },
            { u"NodeClick", &CiStatus::NodeClick },
            { u"NodeDblClick", &CiStatus::NodeDblClick },
            { u"PopupMenuItemClick", &CiStatus::PopupMenuItemClick },
        },
    };
    return std::make_unique<BoundControl<CiStatus>>(table, std::move(surface), platform);
}

} // namespace vestrak
