#include "citree/citree_property_table.h"
#include "page_host/bound_control.h"
#include "page_host/control_bindings.h"

namespace vestrak {

std::unique_ptr<HostedControl> CreateCiTree(std::unique_ptr<ControlSurface> surface, const Platform& platform)
{
    static const BindingTable<CiTree> table {
        .typeName = u"CiTree",
        .properties = CiTreeProperties(),
        .events = {
            { u"Click", &CiTree::Click },
            { u"NodeClick", &CiTree::NodeClick },
            { u"NodeDoubleClick", &CiTree::NodeDoubleClick },
        },
    };
    return std::make_unique<BoundControl<CiTree>>(table, std::move(surface), platform);
}

} // namespace vestrak
