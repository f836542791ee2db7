#include "headless/headless_simple_widgets.h"

#include "procs/encoding.h"

#include <array>
#include <fstream>
#include <string_view>

namespace vestrak {

bool HeadlessTextBox::operatorType(const std::u16string& characters)
{
    if (!visible())
        return false;
    for (char16_t character : characters) {
        auto code = static_cast<std::int16_t>(character);
        KeyPress(code);
        if (IsPrintable(static_cast<char16_t>(code)))
            m_Text += static_cast<char16_t>(code);
    }
    return true;
}

namespace {

bool looksLikePicture(std::string_view head)
{
    static constexpr std::array<std::string_view, 5> signatures {
        std::string_view("BM"),
        std::string_view("\xFF\xD8\xFF"),
        std::string_view("GIF8"),
        std::string_view("II*\0", 4),
        std::string_view("MM\0*", 4),
    };
    for (auto signature : signatures) {
        if (head.starts_with(signature))
            return true;
    }
    return false;
}

} // namespace

bool HeadlessPictureBox::loadPicture(const std::u16string& path)
{
    std::ifstream file(ToUtf8(path), std::ios::binary);
    std::array<char, 4> head {};
    file.read(head.data(), head.size());
    if (!looksLikePicture(std::string_view(head.data(), static_cast<std::size_t>(file.gcount()))))
        return false;
    m_PicturePath = path;
    return true;
}

bool HeadlessCommandButton::operatorClick()
{
    if (!visible())
        return false;
    Click();
    return true;
}

bool HeadlessPopupMenu::addItem(std::int32_t index)
{
    if (index != itemCount())
        return false;
    m_Captions.emplace_back();
    return true;
}

bool HeadlessPopupMenu::removeItem(std::int32_t index)
{
    if (index == 0 || index != itemCount() - 1)
        return false;
    m_Captions.pop_back();
    return true;
}

std::u16string HeadlessPopupMenu::caption(std::int32_t index) const
{
    return holds(index) ? m_Captions[static_cast<std::size_t>(index)] : std::u16string();
}

bool HeadlessPopupMenu::setCaption(std::int32_t index, const std::u16string& caption)
{
    if (!holds(index))
        return false;
    m_Captions[static_cast<std::size_t>(index)] = caption;
    return true;
}

bool HeadlessPopupMenu::operatorChoose(std::int32_t index)
{
    if (!m_Open || !holds(index))
        return false;
    m_Open = false;
    ItemClick(index);
    return true;
}

} // namespace vestrak
