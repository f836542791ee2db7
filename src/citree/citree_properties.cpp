#include "citree/citree.h"
#include "text/text.h"

#include <algorithm>

namespace vestrak {

void CiTree::setObjectFile(const std::u16string& value)
{
    m_ObjectFile = value;
}

void CiTree::setObjectFileSection(const std::u16string& value)
{
    m_ObjectFileSection = value;
    m_SectionSet = true;
}

void CiTree::setRootObject(const std::u16string& value)
{
    m_RootObject = value;
}

void CiTree::setBackColor(std::int32_t value)
{
    const auto color = static_cast<std::uint32_t>(value);
    List_Objects.setBackColor(color);
    m_BackColor = color;
}

std::u16string CiTree::SelectedObject() const
{
    return GetField(m_SelectedObject, 0, u",");
}

void CiTree::setSelectedObject(const std::u16string& value)
{
    m_SelectedObject = value;
}

void CiTree::setSelectedObjectExtraInfo(const std::u16string& value)
{
    m_SelectedObjectExtraInfo = value;
}

void CiTree::setCollapseTime(std::int32_t value)
{
    m_CollapseTime = std::max(value, 0);
}

void CiTree::setExpandedWidth(std::int32_t value)
{
    m_ExpandedWidth = value;
}

void CiTree::setExpandedHeight(std::int32_t value)
{
    m_ExpandedHeight = value;
}

} // namespace vestrak
