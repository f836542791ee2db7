#include "cistatus/cistatus_p.h"
#include "text/numeric.h"

namespace vestrak {

namespace {

std::int32_t ToPixels(double twips, double twipsPerPixel)
{
    return RoundToInt32(twips / twipsPerPixel).value_or(0);
}

} // namespace

void CiStatusPrivate::UserControl_Resize()
{
    const double width = m_Surface.innerWidth();
    const double height = m_Surface.innerHeight();

    TreeView_Status.setLeft(0);
    TreeView_Status.setTop(0);
    TreeView_Status.setHeight(height - Text_Info.height());
    TreeView_Status.setWidth(Picture_Object.visible() ? width - Picture_Object.width() : width);

    Text_Info.setLeft(0);
    Text_Info.setTop(TreeView_Status.height());
    Text_Info.setWidth(TreeView_Status.width());

    // A hidden picture box still goes to the right of the tree, just outside the control.
    Picture_Object.setLeft(TreeView_Status.width());
    Picture_Object.setTop(0);
    Picture_Object.setHeight(height);
}

std::int32_t CiStatusPrivate::PictureVisible() const
{
    return Picture_Object.visible() ? -1 : 0;
}

void CiStatusPrivate::setPictureVisible(std::int32_t value)
{
    Picture_Object.setVisible(value != 0);
    UserControl_Resize();
}

std::int32_t CiStatusPrivate::PictureWidth() const
{
    return ToPixels(Picture_Object.width(), m_Surface.twipsPerPixelX());
}

void CiStatusPrivate::setPictureWidth(std::int32_t value)
{
    Picture_Object.setWidth(value * m_Surface.twipsPerPixelX());
    UserControl_Resize();
}

std::int32_t CiStatusPrivate::TextHeight() const
{
    return ToPixels(Text_Info.height(), m_Surface.twipsPerPixelY());
}

void CiStatusPrivate::setTextHeight(std::int32_t value)
{
    Text_Info.setHeight(value * m_Surface.twipsPerPixelY());
}

} // namespace vestrak
