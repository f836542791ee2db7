#include "widgets/list_box_state.h"

namespace vestrak {

void ListBoxState::addItem(const std::u16string& text)
{
    m_Items.push_back({ text, 0 });
    m_NewIndex = count() - 1;
    itemAdded(m_NewIndex);
}

void ListBoxState::clear()
{
    m_Items.clear();
    m_NewIndex = -1;
    m_ListIndex = -1;
    itemsCleared();
}

std::int32_t ListBoxState::count() const
{
    return static_cast<std::int32_t>(m_Items.size());
}

std::u16string ListBoxState::itemText(std::int32_t index) const
{
    return holds(index) ? m_Items[static_cast<std::size_t>(index)].text : std::u16string();
}

bool ListBoxState::setListIndex(std::int32_t index)
{
    if (index != -1 && !holds(index))
        return false;
    if (m_ListIndex != index) {
        m_ListIndex = index;
        listIndexChanged();
    }
    return true;
}

std::int32_t ListBoxState::itemData(std::int32_t index) const
{
    return holds(index) ? m_Items[static_cast<std::size_t>(index)].data : 0;
}

bool ListBoxState::setItemData(std::int32_t index, std::int32_t data)
{
    if (!holds(index))
        return false;
    m_Items[static_cast<std::size_t>(index)].data = data;
    return true;
}

bool ListBoxState::setBackColor(std::uint32_t color)
{
    if (m_BackColor != color) {
        m_BackColor = color;
        backColorChanged();
    }
    return true;
}

void ListBoxState::clickItem(std::int32_t index)
{
    setListIndex(index);
    Click();
}

bool ListBoxState::operatorClick(std::int32_t index)
{
    if (!visible() || !holds(index))
        return false;
    clickItem(index);
    return true;
}

bool ListBoxState::operatorDoubleClick(std::int32_t index)
{
    if (!operatorClick(index))
        return false;
    DblClick();
    return true;
}

} // namespace vestrak
