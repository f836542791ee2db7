#include "cistatus/cistatus_p.h"

namespace vestrak {

namespace {

constexpr std::int32_t UpdateTickMilliseconds = 100;
constexpr std::int32_t FlashTickMilliseconds = 500;

// Design geometry of a control 4800 x 3600 twips with its picture box hidden.
constexpr Geometry TreeDesign { 0, 0, 4800, 2775 };
constexpr Geometry TextDesign { 0, 2775, 4800, 825 };
constexpr Geometry PictureDesign { 4800, 0, 2415, 3600 };

} // namespace

CiStatusPrivate::CiStatusPrivate(CiStatus& control, ControlSurface& surface, const Platform& platform)
    : GetStatus(control.GetStatus)
    , NodeClick(control.NodeClick)
    , NodeDblClick(control.NodeDblClick)
    , PopupMenuItemClick(control.PopupMenuItemClick)
    , m_Surface(surface)
    , m_Platform(platform)
    , TreeView_Status(surface.addTree(u"TreeView_Status", TreeDesign, ImageList::StatusIcons, true))
    , Text_Info(surface.addTextBox(u"Text_Info", TextDesign, TextBoxLines::Multiple, true))
    , Picture_Object(surface.addPictureBox(u"Picture_Object", PictureDesign, false))
    , Menu_Popup(surface.addPopupMenu(u"Menu_Popup", u"..."))
    , Timer_Update(platform.timers.createTimer(UpdateTickMilliseconds, false))
    , Timer_Flash(platform.timers.createTimer(FlashTickMilliseconds, true))
{
    connectWidgetEvents();
    UserControl_Initialize();
}

CiStatusPrivate::~CiStatusPrivate()
{
    UserControl_Terminate();
}

void CiStatusPrivate::connectWidgetEvents()
{
    m_Connections += Timer_Update->Tick.connect([this] { Timer_Update_Timer(); });
    m_Connections += Timer_Flash->Tick.connect([this] { Timer_Flash_Timer(); });
    m_Connections += TreeView_Status.NodeClick.connect(
        [this](const NodeRef& node) { TreeView_Status_NodeClick(node); });
    m_Connections += TreeView_Status.DblClick.connect([this] { TreeView_Status_DblClick(); });
    m_Connections += TreeView_Status.Click.connect([this] { TreeView_Status_Click(); });
    m_Connections += TreeView_Status.MouseDown.connect(
        [this](std::int16_t button, std::int16_t shift, double x, double y) {
            TreeView_Status_MouseDown(button, shift, x, y);
        });
    m_Connections
        += TreeView_Status.Expand.connect([this](const NodeRef& node) { TreeView_Status_Expand(node); });
    m_Connections
        += TreeView_Status.Collapse.connect([this](const NodeRef& node) { TreeView_Status_Collapse(node); });
    m_Connections
        += Menu_Popup.ItemClick.connect([this](std::int32_t index) { Menu_Popup_Item_Click(index); });
}

void CiStatusPrivate::UserControl_Initialize()
{
    m_BackColor = WindowBackgroundColor;
    m_UpdateInterval = 2000;
}

void CiStatusPrivate::UserControl_Terminate()
{
    Timer_Flash->setEnabled(false);
    Timer_Update->setEnabled(false);
}

} // namespace vestrak
