#include "widgets/popup_menu_state.h"

namespace vestrak {

bool PopupMenuState::addItem(std::int32_t index)
{
    if (index != itemCount())
        return false;
    m_Captions.emplace_back();
    itemAdded(index);
    return true;
}

bool PopupMenuState::removeItem(std::int32_t index)
{
    if (index == 0 || index != itemCount() - 1)
        return false;
    m_Captions.pop_back();
    itemRemoved(index);
    return true;
}

std::u16string PopupMenuState::caption(std::int32_t index) const
{
    return holds(index) ? m_Captions[static_cast<std::size_t>(index)] : std::u16string();
}

bool PopupMenuState::setCaption(std::int32_t index, const std::u16string& caption)
{
    if (!holds(index))
        return false;
    m_Captions[static_cast<std::size_t>(index)] = caption;
    captionChanged(index);
    return true;
}

void PopupMenuState::popup()
{
    m_Open = true;
    opened();
    Shown();
}

bool PopupMenuState::operatorChoose(std::int32_t index)
{
    if (!m_Open || !holds(index))
        return false;
    m_Open = false;
    closed();
    ItemClick(index);
    return true;
}

} // namespace vestrak
