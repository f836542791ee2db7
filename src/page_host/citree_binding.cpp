#include "citree/citree.h"
#include "page_host/bound_control.h"
#include "page_host/control_bindings.h"

namespace vestrak {

namespace {

BindingTable<CiTree> MakeCiTreeTable()
{
    BindingTable<CiTree> table;
    table.typeName = u"CiTree";
    table.properties = {
        { u"ObjectFile", ReadWrite<CiTree>(&CiTree::ObjectFile, &CiTree::setObjectFile) },
        { u"ObjectFileSection",
            ReadWrite<CiTree>(&CiTree::ObjectFileSection, &CiTree::setObjectFileSection) },
        { u"RootObject", ReadWrite<CiTree>(&CiTree::RootObject, &CiTree::setRootObject) },
        { u"Style", ReadWrite<CiTree>(&CiTree::Style, &CiTree::setStyle) },
        { u"BackColor", ReadWrite<CiTree>(&CiTree::BackColor, &CiTree::setBackColor) },
        { u"SelectedObject", ReadWrite<CiTree>(&CiTree::SelectedObject, &CiTree::setSelectedObject) },
        { u"SelectedObjectExtraInfo",
            ReadWrite<CiTree>(&CiTree::SelectedObjectExtraInfo, &CiTree::setSelectedObjectExtraInfo) },
        { u"SelectedObjectExtraKey", ReadOnly<CiTree>(&CiTree::SelectedObjectExtraKey) },
        { u"CollapseTime", ReadWrite<CiTree>(&CiTree::CollapseTime, &CiTree::setCollapseTime) },
        { u"ExpandedWidth", WriteOnly(&CiTree::setExpandedWidth) },
        { u"ExpandedHeight", WriteOnly(&CiTree::setExpandedHeight) },
        { u"Visible", WriteOnly(&CiTree::setVisible) },
    };
    table.events = {
        { u"Click", &CiTree::Click },
        { u"NodeClick", &CiTree::NodeClick },
        { u"NodeDoubleClick", &CiTree::NodeDoubleClick },
    };
    return table;
}

} // namespace

std::unique_ptr<HostedControl> CreateCiTree(std::unique_ptr<ControlSurface> surface, const Platform& platform)
{
    static const BindingTable<CiTree> table = MakeCiTreeTable();
    return std::make_unique<BoundControl<CiTree>>(table, std::move(surface), platform);
}

} // namespace vestrak
