#include "citree/citree_p.h"

namespace vestrak {

static_assert(StyleDiagnosticLog == DiagnosticLogFlag);

CiTree::CiTree(ControlSurface& surface, const Platform& platform)
    : d(std::make_unique<CiTreePrivate>(*this, surface, platform))
{
}

CiTree::~CiTree() = default;

std::u16string CiTree::ObjectFile() const
{
    return d->ObjectFile();
}

void CiTree::setObjectFile(const std::u16string& value)
{
    d->setObjectFile(value);
}

std::u16string CiTree::ObjectFileSection() const
{
    return d->ObjectFileSection();
}

void CiTree::setObjectFileSection(const std::u16string& value)
{
    d->setObjectFileSection(value);
}

std::u16string CiTree::RootObject() const
{
    return d->RootObject();
}

void CiTree::setRootObject(const std::u16string& value)
{
    d->setRootObject(value);
}

std::int32_t CiTree::Style() const
{
    return d->Style();
}

void CiTree::setStyle(std::int32_t value)
{
    d->setStyle(value);
}

std::int32_t CiTree::BackColor() const
{
    return d->BackColor();
}

void CiTree::setBackColor(std::int32_t value)
{
    d->setBackColor(value);
}

std::u16string CiTree::SelectedObject() const
{
    return d->SelectedObject();
}

void CiTree::setSelectedObject(const std::u16string& value)
{
    d->setSelectedObject(value);
}

std::u16string CiTree::SelectedObjectExtraInfo() const
{
    return d->SelectedObjectExtraInfo();
}

void CiTree::setSelectedObjectExtraInfo(const std::u16string& value)
{
    d->setSelectedObjectExtraInfo(value);
}

std::u16string CiTree::SelectedObjectExtraKey() const
{
    return d->SelectedObjectExtraKey();
}

std::int32_t CiTree::CollapseTime() const
{
    return d->CollapseTime();
}

void CiTree::setCollapseTime(std::int32_t value)
{
    d->setCollapseTime(value);
}

void CiTree::setExpandedWidth(std::int32_t value)
{
    d->setExpandedWidth(value);
}

void CiTree::setExpandedHeight(std::int32_t value)
{
    d->setExpandedHeight(value);
}

void CiTree::setVisible(std::int32_t value)
{
    d->setVisible(value);
}

void CiTree::UserControl_Resize()
{
    d->UserControl_Resize();
}

} // namespace vestrak
