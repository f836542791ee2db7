#include "cistatus/cistatus_p.h"
#include "text/text.h"

namespace vestrak {

namespace {

constexpr std::int16_t RightMouseButton = 2;

} // namespace

void CiStatusPrivate::setPopupMenuItem(const std::u16string& nameAndCaption)
{
    if (nameAndCaption.empty()) {
        m_MenuItems.assign(2, std::u16string());
        // Item 0 cannot go; it stays with its last caption and is reused by the next item.
        while (Menu_Popup.itemCount() > 1 && Menu_Popup.removeItem(Menu_Popup.itemCount() - 1)) { }
        m_SelectedPopupMenuItem.clear();
        m_MenuInUse = false;
        return;
    }
    if (m_MenuInUse) {
        Menu_Popup.addItem(Menu_Popup.itemCount());
    }
    const std::int32_t itemCount = Menu_Popup.itemCount();
    m_MenuItems.resize(static_cast<std::size_t>(itemCount) + 1);
    Menu_Popup.setCaption(itemCount - 1, GetField(nameAndCaption, 1, u"/"));
    m_MenuItems[static_cast<std::size_t>(itemCount) - 1] = GetField(nameAndCaption, 0, u"/");
    m_MenuInUse = true;
}

void CiStatusPrivate::TreeView_Status_Click()
{
    // A right click off the rows points at no object, so there is nothing to command.
    if (!m_Loading && m_MenuInUse && m_LastMouseButton == RightMouseButton && m_RightClickedNode
        && m_RightClickedNode->exists()) {
        Menu_Popup.popup();
    }
}

void CiStatusPrivate::Menu_Popup_Item_Click(std::int32_t index)
{
    // Every item the operator can reach has a name; anything else is no choice.
    if (index < 0 || index >= static_cast<std::int32_t>(m_MenuItems.size())) {
        return;
    }
    m_SelectedPopupMenuItem = m_MenuItems[static_cast<std::size_t>(index)];
    PopupMenuItemClick();
}

} // namespace vestrak
