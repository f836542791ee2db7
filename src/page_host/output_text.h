#pragma once

#include <string>
#include <string_view>

namespace vestrak {

// A text as the container prints it: in double quotes, with \\ \" \t \r \n for those characters
// and \xHH for the other characters below 32; everything from 127 up as it is, in UTF-8.
std::string QuotedText(std::u16string_view text);

} // namespace vestrak
