#include "qt_widgets/qt_images.h"

#include "qt_widgets/image_sets.h"
#include "qt_widgets/painted_icon.h"

namespace vestrak {

namespace {

const std::vector<QIcon>& iconsOf(ImageList list)
{
    static const std::vector<QIcon> system = systemIcons();
    static const std::vector<QIcon> filter = filterToolbarIcons();
    static const std::vector<QIcon> status = statusIcons();
    switch (list) {
    case ImageList::SystemIcons:
        return system;
    case ImageList::FilterToolbar:
        return filter;
    case ImageList::StatusIcons:
        break;
    }
    return status;
}

} // namespace

QIcon imageListIcon(ImageList list, std::int32_t image)
{
    // A blank of the images' size keeps their room, so texts stay where they are when a node's
    // image goes (the dark phase of a blinking status).
    static const QIcon blank = paintedIcon(QSize(16, 16), [](QPainter&) {});
    if (image < 1 || !holdsImage(list, image))
        return blank;
    return iconsOf(list)[static_cast<std::size_t>(image) - 1];
}

} // namespace vestrak
