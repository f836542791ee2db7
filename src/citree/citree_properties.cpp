#include "citree/citree_p.h"
#include "text/text.h"

#include <algorithm>

namespace vestrak {

void CiTreePrivate::setObjectFile(const std::u16string& value)
{
    m_ObjectFile = value;
}

void CiTreePrivate::setObjectFileSection(const std::u16string& value)
{
    m_ObjectFileSection = value;
    m_SectionSet = true;
}

void CiTreePrivate::setRootObject(const std::u16string& value)
{
    m_RootObject = value;
}

void CiTreePrivate::setBackColor(std::int32_t value)
{
    const auto color = static_cast<std::uint32_t>(value);
    List_Objects.setBackColor(color);
    m_BackColor = color;
}

std::u16string CiTreePrivate::SelectedObject() const
{
    return GetField(m_SelectedObject, 0, u",");
}

void CiTreePrivate::setSelectedObject(const std::u16string& value)
{
    m_SelectedObject = value;
}

void CiTreePrivate::setSelectedObjectExtraInfo(const std::u16string& value)
{
    m_SelectedObjectExtraInfo = value;
}

void CiTreePrivate::setCollapseTime(std::int32_t value)
{
    m_CollapseTime = std::max(value, 0);
}

void CiTreePrivate::setExpandedWidth(std::int32_t value)
{
    m_ExpandedWidth = value;
}

void CiTreePrivate::setExpandedHeight(std::int32_t value)
{
    m_ExpandedHeight = value;
}

} // namespace vestrak
