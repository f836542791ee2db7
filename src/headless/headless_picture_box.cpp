#include "headless/headless_picture_box.h"

#include "text/encoding.h"

#include <array>
#include <fstream>
#include <string_view>

namespace vestrak {

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

} // namespace vestrak
