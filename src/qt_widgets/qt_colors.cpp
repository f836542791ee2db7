#include "qt_widgets/qt_colors.h"

#include "ports/image_lists.h"

#include <array>

namespace vestrak {

namespace {

constexpr std::uint32_t SystemColorFlag = 0x80000000u;

// The system colours by their number, each with the palette role that plays its part in Qt.
constexpr std::array<QPalette::ColorRole, 25> SystemColorRoles {
    QPalette::Mid, // 0 scroll bars
    QPalette::Dark, // 1 desktop
    QPalette::Highlight, // 2 active title bar
    QPalette::Mid, // 3 inactive title bar
    QPalette::Window, // 4 menu bar
    QPalette::Base, // 5 window background
    QPalette::Shadow, // 6 window frame
    QPalette::WindowText, // 7 menu text
    QPalette::Text, // 8 window text
    QPalette::HighlightedText, // 9 title bar text
    QPalette::Mid, // 10 active border
    QPalette::Midlight, // 11 inactive border
    QPalette::Dark, // 12 application workspace
    QPalette::Highlight, // 13 highlight
    QPalette::HighlightedText, // 14 highlighted text
    QPalette::Button, // 15 button face
    QPalette::Dark, // 16 button shadow
    QPalette::PlaceholderText, // 17 grey text
    QPalette::ButtonText, // 18 button text
    QPalette::Mid, // 19 inactive title bar text
    QPalette::Light, // 20 button highlight
    QPalette::Shadow, // 21 3-D dark shadow
    QPalette::Midlight, // 22 3-D light
    QPalette::ToolTipText, // 23 tooltip text
    QPalette::ToolTipBase, // 24 tooltip background
};

} // namespace

QColor toQColor(std::uint32_t hostColor, const QPalette& palette)
{
    if (hostColor & SystemColorFlag) {
        const std::uint32_t number = hostColor & 0xFFFFu;
        const QPalette::ColorRole role
            = number < SystemColorRoles.size() ? SystemColorRoles[number] : QPalette::Base;
        return palette.color(QPalette::Active, role);
    }
    return { static_cast<int>(hostColor & 0xFFu), static_cast<int>(hostColor >> 8 & 0xFFu),
        static_cast<int>(hostColor >> 16 & 0xFFu) };
}

std::int32_t hostColorOf(const QColor& color)
{
    if (!color.isValid())
        return static_cast<std::int32_t>(WindowBackgroundColor);
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace vestrak
