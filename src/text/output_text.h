#pragma once

#include <string>
#include <string_view>

namespace vestrak {

// Text as the tools print it: UTF-8 with the control characters (C0, DEL and C1) written as
// escapes, \r and \n for CR and LF and \xHH for the others, so that no text read from an object
// file, a script or the system can act on the terminal it is read on. A tab stays: it only moves
// the cursor on.
std::string PrintableText(std::u16string_view text);
// The same for text that is UTF-8 already; a byte that belongs to no UTF-8 character is shown as
// U+FFFD.
std::string PrintableText(std::string_view utf8);
// A text in double quotes, written as PrintableText() does with \t, \\ and \" besides, so that
// it reads back as a page-script string.
std::string QuotedText(std::u16string_view text);

} // namespace vestrak
