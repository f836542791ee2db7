#include "headless/headless_list_box.h"

namespace vestrak {

void HeadlessListBox::addItem(const std::u16string& text)
{
    m_Items.push_back({ text, 0 });
    m_NewIndex = count() - 1;
}

void HeadlessListBox::clear()
{
    m_Items.clear();
    m_NewIndex = -1;
    m_ListIndex = -1;
}

std::int32_t HeadlessListBox::count() const
{
    return static_cast<std::int32_t>(m_Items.size());
}

std::u16string HeadlessListBox::itemText(std::int32_t index) const
{
    return holds(index) ? m_Items[static_cast<std::size_t>(index)].text : std::u16string();
}

bool HeadlessListBox::setListIndex(std::int32_t index)
{
    if (index != -1 && !holds(index))
        return false;
    m_ListIndex = index;
    return true;
}

std::int32_t HeadlessListBox::itemData(std::int32_t index) const
{
    return holds(index) ? m_Items[static_cast<std::size_t>(index)].data : 0;
}

bool HeadlessListBox::setItemData(std::int32_t index, std::int32_t data)
{
    if (!holds(index))
        return false;
    m_Items[static_cast<std::size_t>(index)].data = data;
    return true;
}

bool HeadlessListBox::setBackColor(std::uint32_t color)
{
    m_BackColor = color;
    return true;
}

bool HeadlessListBox::operatorClick(std::int32_t index)
{
    if (!visible() || !holds(index))
        return false;
    m_ListIndex = index;
    Click();
    return true;
}

bool HeadlessListBox::operatorDoubleClick(std::int32_t index)
{
    if (!operatorClick(index))
        return false;
    DblClick();
    return true;
}

} // namespace vestrak
