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
    // The timers belong to the control and go with it; the widgets stay on the surface, so
    // their events find the control only while it lives.
    Timer_Update->Tick.connect([this] { Timer_Update_Timer(); });
    Timer_Flash->Tick.connect([this] { Timer_Flash_Timer(); });

    const std::weak_ptr<CiStatusPrivate*> target = m_EventTarget;
    auto forward = [target](auto handler) {
        return [target, handler](auto&&... arguments) {
            if (const auto control = target.lock()) {
                ((*control)->*handler)(arguments...);
            }
        };
    };
    TreeView_Status.NodeClick.connect(forward(&CiStatusPrivate::TreeView_Status_NodeClick));
    TreeView_Status.DblClick.connect(forward(&CiStatusPrivate::TreeView_Status_DblClick));
    TreeView_Status.Click.connect(forward(&CiStatusPrivate::TreeView_Status_Click));
    TreeView_Status.MouseDown.connect(forward(&CiStatusPrivate::TreeView_Status_MouseDown));
    TreeView_Status.Expand.connect(forward(&CiStatusPrivate::TreeView_Status_Expand));
    TreeView_Status.Collapse.connect(forward(&CiStatusPrivate::TreeView_Status_Collapse));
    Menu_Popup.ItemClick.connect(forward(&CiStatusPrivate::Menu_Popup_Item_Click));
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
