#include "cistatus/cistatus.h"
#include "page_host/bound_control.h"
#include "page_host/control_bindings.h"

namespace vestrak {

namespace {

BindingTable<CiStatus> MakeCiStatusTable()
{
    BindingTable<CiStatus> table;
    table.typeName = u"CiStatus";
    table.properties = {
        { u"ObjectFile", ReadWrite<CiStatus>(&CiStatus::ObjectFile, &CiStatus::setObjectFile) },
        { u"RootObject", ReadWrite<CiStatus>(&CiStatus::RootObject, &CiStatus::setRootObject) },
        { u"ObjectTagName", ReadOnly<CiStatus>(&CiStatus::ObjectTagName) },
        { u"ObjectStatus", ReadWrite<CiStatus>(&CiStatus::ObjectStatus, &CiStatus::setObjectStatus) },
        { u"UpdateInterval", ReadWrite<CiStatus>(&CiStatus::UpdateInterval, &CiStatus::setUpdateInterval) },
        { u"Behaviour", ReadWrite<CiStatus>(&CiStatus::Behaviour, &CiStatus::setBehaviour) },
        { u"SelectedNode", ReadOnly<CiStatus>(&CiStatus::SelectedNode) },
        { u"SelectedNodeCode", ReadOnly<CiStatus>(&CiStatus::SelectedNodeCode) },
        { u"SelectedNodeTagName", ReadOnly<CiStatus>(&CiStatus::SelectedNodeTagName) },
        { u"PopupMenuItem", WriteOnly(&CiStatus::setPopupMenuItem) },
        { u"SelectedPopupMenuItem", ReadOnly<CiStatus>(&CiStatus::SelectedPopupMenuItem) },
        { u"BackColor", ReadWrite<CiStatus>(&CiStatus::BackColor, &CiStatus::setBackColor) },
        { u"PictureVisible", ReadWrite<CiStatus>(&CiStatus::PictureVisible, &CiStatus::setPictureVisible) },
        { u"PictureWidth", ReadWrite<CiStatus>(&CiStatus::PictureWidth, &CiStatus::setPictureWidth) },
        { u"TextHeight", ReadWrite<CiStatus>(&CiStatus::TextHeight, &CiStatus::setTextHeight) },
    };
    table.events = {
        { u"GetStatus", &CiStatus::GetStatus },
        { u"NodeClick", &CiStatus::NodeClick },
        { u"NodeDblClick", &CiStatus::NodeDblClick },
        { u"PopupMenuItemClick", &CiStatus::PopupMenuItemClick },
    };
    return table;
}

} // namespace

std::unique_ptr<HostedControl> CreateCiStatus(
    std::unique_ptr<ControlSurface> surface, const Platform& platform)
{
    static const BindingTable<CiStatus> table = MakeCiStatusTable();
    return std::make_unique<BoundControl<CiStatus>>(table, std::move(surface), platform);
}

} // namespace vestrak
