#include "cistatus/cistatus_p.h"

namespace vestrak {

CiStatus::CiStatus(ControlSurface& surface, const Platform& platform)
    : d(std::make_unique<CiStatusPrivate>(*this, surface, platform))
{
}

CiStatus::~CiStatus() = default;

std::u16string CiStatus::ObjectFile() const
{
    return d->ObjectFile();
}

void CiStatus::setObjectFile(const std::u16string& value)
{
    d->setObjectFile(value);
}

std::u16string CiStatus::RootObject() const
{
    return d->RootObject();
}

void CiStatus::setRootObject(const std::u16string& value)
{
    d->setRootObject(value);
}

std::u16string CiStatus::ObjectTagName()
{
    return d->ObjectTagName();
}

std::int32_t CiStatus::ObjectStatus() const
{
    return d->ObjectStatus();
}

void CiStatus::setObjectStatus(std::int32_t value)
{
    d->setObjectStatus(value);
}

std::int32_t CiStatus::UpdateInterval() const
{
    return d->UpdateInterval();
}

void CiStatus::setUpdateInterval(std::int32_t value)
{
    d->setUpdateInterval(value);
}

std::int32_t CiStatus::Behaviour() const
{
    return d->Behaviour();
}

void CiStatus::setBehaviour(std::int32_t value)
{
    d->setBehaviour(value);
}

std::u16string CiStatus::SelectedNode() const
{
    return d->SelectedNode();
}

std::u16string CiStatus::SelectedNodeCode() const
{
    return d->SelectedNodeCode();
}

std::u16string CiStatus::SelectedNodeTagName() const
{
    return d->SelectedNodeTagName();
}

void CiStatus::setPopupMenuItem(const std::u16string& nameAndCaption)
{
    d->setPopupMenuItem(nameAndCaption);
}

std::u16string CiStatus::SelectedPopupMenuItem() const
{
    return d->SelectedPopupMenuItem();
}

std::int32_t CiStatus::BackColor() const
{
    return d->BackColor();
}

void CiStatus::setBackColor(std::int32_t value)
{
    d->setBackColor(value);
}

std::int32_t CiStatus::PictureVisible() const
{
    return d->PictureVisible();
}

void CiStatus::setPictureVisible(std::int32_t value)
{
    d->setPictureVisible(value);
}

std::int32_t CiStatus::PictureWidth() const
{
    return d->PictureWidth();
}

void CiStatus::setPictureWidth(std::int32_t value)
{
    d->setPictureWidth(value);
}

std::int32_t CiStatus::TextHeight() const
{
    return d->TextHeight();
}

void CiStatus::setTextHeight(std::int32_t value)
{
    d->setTextHeight(value);
}

void CiStatus::UserControl_Resize()
{
    d->UserControl_Resize();
}

} // namespace vestrak
