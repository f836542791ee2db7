#pragma once

#include <cstdint>

namespace vestrak {

/// The image lists the controls pick images from, by number from 1 (0 shows no image).
enum class ImageList {
    SystemIcons, ///< tree and group buttons: globe, house, plant diagram, eight coloured flags
    FilterToolbar, ///< the text-filter button: page with magnifier, magnifier
    StatusIcons, ///< status tree: question mark, green, amber, red, green 1, green 2
};

/// The number of images in a list.
constexpr std::int32_t imageCount(ImageList list)
{
    switch (list) {
    case ImageList::SystemIcons:
        return 11;
    case ImageList::FilterToolbar:
        return 2;
    case ImageList::StatusIcons:
        return 6;
    }
    return 0;
}

/// Whether a node or button can show the image: 0 (none) or one the list has.
constexpr bool holdsImage(ImageList list, std::int32_t image)
{
    return image >= 0 && image <= imageCount(list);
}

/// Colour values as hosts give them: 0x00BBGGRR, or a system colour when the top bit is set.
/// This one is the system colour of window backgrounds.
constexpr std::uint32_t WindowBackgroundColor = 0x80000005u;

} // namespace vestrak
