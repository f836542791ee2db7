#include "headless/headless_picture_box.h"

#include "widgets/picture_check.h"

namespace vestrak {

HeadlessPictureBox::HeadlessPictureBox(
    std::u16string name, const Geometry& design, bool visible, WidgetHost& host, FileSystem& files)
    : HeadlessWidget(std::move(name), design, visible, host)
    , m_Files(files)
{
}

bool HeadlessPictureBox::loadPicture(const std::u16string& path)
{
    if (!CheckPicture(m_Files, path, PictureBytes::HeaderOnly).format)
        return false;
    m_PicturePath = path;
    return true;
}

} // namespace vestrak
