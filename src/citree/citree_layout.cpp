#include "citree/citree_p.h"
#include "text/numeric.h"

namespace vestrak {

void CiTreePrivate::UserControl_Resize()
{
    double y = 0;
    if (Command_Home.visible()) {
        y += Command_Home.height();
    }
    if (Toolbar_SystemFilter.visible()) {
        // The filter row starts at the top even below a Home button; only the tree moves down.
        Text_Filter.setTop(0);
        Toolbar_Filter.setTop(0);
        Text_Filter.setLeft(0);
        Toolbar_SystemFilter.setTop(Text_Filter.height());
        Toolbar_SystemFilter.setLeft(0);
        Toolbar_SystemFilter.setWidth(
            Collapsible() ? m_Surface.innerWidth() - Command_Collapse.width() : m_Surface.innerWidth());
        Text_Filter.setWidth(Toolbar_SystemFilter.width() - Toolbar_Filter.width());
        Toolbar_Filter.setLeft(Text_Filter.width());
        // Read after the width was set: group buttons that wrap push the tree down.
        y = Toolbar_SystemFilter.height() + y + Text_Filter.height();
    }
    TreeView_Objects.setTop(y);
    TreeView_Objects.setHeight(m_Surface.innerHeight() - y);
    TreeView_Objects.setWidth(m_Surface.innerWidth());
    TreeView_Objects.setLeft(0);
    TreeView_Objects.setWidth(
        Collapsible() ? m_Surface.innerWidth() - Command_Collapse.width() : m_Surface.innerWidth());
    TreeView_Objects.setLeft(0);
    Command_Expand.setTop(0);
    Command_Expand.setLeft(0);
    Command_Collapse.setTop(0);
    Command_Collapse.setHeight(m_Surface.innerHeight());
    Command_Collapse.setLeft(m_Surface.innerWidth() - Command_Expand.width() - m_Surface.twipsPerPixelX());
}

void CiTreePrivate::ShowFilterRowWhenGroupsExist()
{
    Toolbar_SystemFilter.setVisible(Toolbar_SystemFilter.buttonCount() > 0);
    Toolbar_Filter.setVisible(Toolbar_SystemFilter.visible());
    Text_Filter.setVisible(Toolbar_SystemFilter.visible());
}

void CiTreePrivate::Command_Collapse_Click()
{
    // The keyboard stays with the control, on the button that expands it again, rather than
    // falling to whatever control comes next.
    const bool hadFocus = m_Surface.focusedWidget() != nullptr;
    Command_Collapse.setVisible(false);
    TreeView_Objects.setVisible(false);
    Toolbar_SystemFilter.setVisible(false);
    Toolbar_Filter.setVisible(Toolbar_SystemFilter.visible());
    Text_Filter.setVisible(Toolbar_SystemFilter.visible());
    // The border stays; the inner area becomes exactly the expand button.
    m_Surface.setOuterHeight(m_Surface.outerHeight() - m_Surface.innerHeight() + Command_Expand.height());
    m_Surface.setOuterWidth(m_Surface.outerWidth() - m_Surface.innerWidth() + Command_Expand.width());
    UserControl_Resize();
    Command_Expand.setVisible(true);
    if (hadFocus) {
        Command_Expand.setFocus();
    }
    m_Collapsed = true;
    Timer_Collapse->setEnabled(false);
}

void CiTreePrivate::Command_Expand_Click()
{
    const bool hadFocus = m_Surface.focusedWidget() != nullptr;
    if (m_ExpandedWidth < 1 || m_ExpandedHeight < 1) {
        m_Surface.setOuterWidth(m_FirstWidth);
        m_Surface.setOuterHeight(m_FirstHeight);
    } else {
        m_Surface.setSizeInPixels(m_ExpandedWidth, m_ExpandedHeight);
    }
    TreeView_Objects.setVisible(true);
    Command_Expand.setVisible(false);
    Command_Collapse.setVisible(true);
    ShowFilterRowWhenGroupsExist();
    UserControl_Resize();
    if (hadFocus) {
        TreeView_Objects.setFocus();
    }
    m_Collapsed = false;
    if (m_CollapseTime > 0) {
        m_CollapseCountdown = m_CollapseTime;
        Timer_Collapse->setEnabled(true);
    }
}

void CiTreePrivate::Timer_Collapse_Timer()
{
    const double secondsPerTick = Timer_Collapse->interval() / 1000.0;
    m_CollapseCountdown = RoundToInt32(m_CollapseCountdown - secondsPerTick).value_or(m_CollapseCountdown);
    if (m_CollapseCountdown <= 0) {
        Command_Collapse_Click();
    }
}

void CiTreePrivate::setVisible(std::int32_t value)
{
    const bool show = value != 0;
    if (HasStyle(StyleObjectTree)) {
        TreeView_Objects.setVisible(show);
        if (TreeView_Objects.visible()) {
            TreeView_Objects.setFocus();
        }
    }
    if (HasStyle(StyleObjectList)) {
        List_Objects.setVisible(show);
    }
}

} // namespace vestrak
