#include "citree/citree_p.h"
#include "citree/settings_names.h"

namespace vestrak {

namespace {

constexpr std::int32_t FilterTimerInterval = 200;
constexpr std::int32_t CollapseTimerInterval = 1000;

constexpr bool ShownAtCreation = true;
constexpr bool HiddenAtCreation = false;
constexpr bool EnabledAtCreation = true;
constexpr bool DisabledAtCreation = false;

} // namespace

CiTreePrivate::CiTreePrivate(CiTree& control, ControlSurface& surface, const Platform& platform)
    : Click(control.Click)
    , NodeClick(control.NodeClick)
    , NodeDoubleClick(control.NodeDoubleClick)
    , m_Surface(surface)
    , m_Platform(platform)
    , m_LogServices { platform.clock, platform.files, platform.specialFolders }
    , Command_Home(surface.addCommandButton(
          u"Command_Home", { 0, 0, 375, 345 }, ButtonPicture::House, ShownAtCreation))
    , Command_Down(surface.addCommandButton(
          u"Command_Down", { 360, 0, 255, 345 }, ButtonPicture::TriangleDown, ShownAtCreation))
    , Command_Up(surface.addCommandButton(
          u"Command_Up", { 660, 0, 255, 345 }, ButtonPicture::TriangleUp, HiddenAtCreation))
    , List_Objects(surface.addListBox(u"List_Objects", { 0, 330, 795, 780 }, HiddenAtCreation))
    , Text_Filter(
          surface.addTextBox(u"Text_Filter", { 72, 2088, 1848, 240 }, TextBoxLines::Single, HiddenAtCreation))
    , Toolbar_Filter(surface.addToolbar(
          u"Toolbar_Filter", { 1920, 2088, 330, 330 }, ImageList::FilterToolbar, HiddenAtCreation))
    , Toolbar_SystemFilter(surface.addToolbar(
          u"Toolbar_SystemFilter", { 0, 2418, 1935, 330 }, ImageList::SystemIcons, HiddenAtCreation))
    , TreeView_Objects(surface.addTree(
          u"TreeView_Objects", { 0, 345, 1935, 1650 }, ImageList::SystemIcons, HiddenAtCreation))
    , Command_Expand(surface.addCommandButton(
          u"Command_Expand", { 0, 1200, 195, 225 }, ButtonPicture::LowerRightCorner, HiddenAtCreation))
    , Command_Collapse(surface.addCommandButton(
          u"Command_Collapse", { 1740, 30, 195, 225 }, ButtonPicture::TriangleLeft, HiddenAtCreation))
    , Timer_Filter(platform.timers.createTimer(FilterTimerInterval, EnabledAtCreation))
    , Timer_Collapse(platform.timers.createTimer(CollapseTimerInterval, DisabledAtCreation))
{
    if (const ButtonRef filterButton = Toolbar_Filter.addButton(FilterButtonKey, 1)) {
        filterButton->setToolTipText(u"Show only the objects whose names match the filter text");
    }
    ConnectWidgetEvents();
    UserControl_Initialize();
}

CiTreePrivate::~CiTreePrivate()
{
    UserControl_Terminate();
}

void CiTreePrivate::ConnectWidgetEvents()
{
    m_Connections += TreeView_Objects.NodeClick.connect(
        [this](const NodeRef& node) { TreeView_Objects_NodeClick(node); });
    m_Connections
        += TreeView_Objects.Expand.connect([this](const NodeRef& node) { TreeView_Objects_Expand(node); });
    m_Connections += TreeView_Objects.Collapse.connect(
        [this](const NodeRef& node) { TreeView_Objects_Collapse(node); });
    m_Connections += TreeView_Objects.Click.connect([this] { TreeView_Objects_Click(); });
    m_Connections += TreeView_Objects.DblClick.connect([this] { TreeView_Objects_DblClick(); });
    m_Connections += TreeView_Objects.MouseMove.connect([this] { TreeView_Objects_MouseMove(); });
    m_Connections += TreeView_Objects.KeyDown.connect([this] { TreeView_Objects_KeyDown(); });
    m_Connections += TreeView_Objects.Scroll.connect([this] { TreeView_Objects_Scroll(); });
    m_Connections += List_Objects.Click.connect([this] { List_Objects_Click(); });
    m_Connections += List_Objects.DblClick.connect([this] { List_Objects_DblClick(); });
    m_Connections
        += Text_Filter.KeyPress.connect([this](std::int16_t& keyAscii) { Text_Filter_KeyPress(keyAscii); });
    m_Connections += Toolbar_Filter.ButtonClick.connect(
        [this](const ButtonRef& button) { Toolbar_Filter_ButtonClick(button); });
    m_Connections += Toolbar_SystemFilter.ButtonClick.connect(
        [this](const ButtonRef& button) { Toolbar_SystemFilter_ButtonClick(button); });
    m_Connections += Command_Home.Click.connect([this] { Command_Home_Click(); });
    m_Connections += Command_Up.Click.connect([this] { Command_Up_Click(); });
    m_Connections += Command_Down.Click.connect([this] { Command_Down_Click(); });
    m_Connections += Command_Collapse.Click.connect([this] { Command_Collapse_Click(); });
    m_Connections += Command_Expand.Click.connect([this] { Command_Expand_Click(); });
    m_Connections += Timer_Filter->Tick.connect([this] { Timer_Filter_Timer(); });
    m_Connections += Timer_Collapse->Tick.connect([this] { Timer_Collapse_Timer(); });
}

bool CiTreePrivate::Collapsible() const
{
    return HasStyle(StyleStartCollapsed) || HasStyle(StyleStartExpanded);
}

void CiTreePrivate::WriteMarker(const std::u16string& message)
{
    WriteLog(m_Style, m_LogTime, message, m_LogServices);
}

std::u16string CiTreePrivate::Setting(
    const std::u16string& section, const std::u16string& key, const std::u16string& defaultValue)
{
    return m_Platform.settings.GetSetting(SettingsApplication, section, key, defaultValue);
}

void CiTreePrivate::SaveSetting(
    const std::u16string& section, const std::u16string& key, const std::u16string& value)
{
    m_Platform.settings.SaveSetting(SettingsApplication, section, key, value);
}

} // namespace vestrak
