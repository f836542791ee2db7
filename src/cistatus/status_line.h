#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vestrak {

// One line of the status tree's object section: "code/name = status, tag name, text".
// Every part is a view into the line read.
struct StatusLine {
    // The whole code, a comma list of prefixes, as the tree structure sees it.
    std::u16string_view code;
    // The first item of the code, which starts it: names the object's information section and
    // picture.
    std::u16string_view section;
    std::int32_t status = 0;
    // Kept as written, blanks included; empty for an object the host is never asked about.
    std::u16string_view tagName;
    std::u16string_view text;
};

StatusLine ParseStatusLine(std::u16string_view line);

} // namespace vestrak
