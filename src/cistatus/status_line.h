#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vestrak {

// One line of the status tree's object section: "code/name = status, tag name, text", as UTF-16
// or as UTF-8 bytes. Every part is a view into the line read.
template<typename Char> struct BasicStatusLine {
    // The whole code, a comma list of prefixes, as the tree structure sees it.
    std::basic_string_view<Char> code;
    // The first item of the code, which starts it: names the object's information section and
    // picture.
    std::basic_string_view<Char> section;
    std::int32_t status = 0;
    // Kept as written, blanks included; empty for an object the host is never asked about.
    std::basic_string_view<Char> tagName;
    std::basic_string_view<Char> text;
};

using StatusLine = BasicStatusLine<char16_t>;
using Utf8StatusLine = BasicStatusLine<char>;

StatusLine ParseStatusLine(std::u16string_view line);
Utf8StatusLine ParseStatusLine(std::string_view line);

} // namespace vestrak
