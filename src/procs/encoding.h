#pragma once

#include "../export.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// Object file bytes as text: UTF-8 when the bytes are valid UTF-8 or begin with a UTF-8 byte order
// mark (which is skipped), otherwise Windows-1252, so files saved on Windows and on Linux both read.
std::u16string DecodeObjectFile(std::string_view bytes);

// The bytes of an object file's text (after a UTF-8 byte order mark) and how they are decoded,
// as DecodeObjectFile chooses. The characters that give the file its layout (line ends, spaces,
// brackets, ";", "=") are single bytes in both encodings and never part of a longer UTF-8
// sequence, so a file may be cut into lines and fields before it is decoded.
struct ObjectFileText {
    enum class Encoding { Utf8, Windows1252 };
    std::string_view bytes;
    Encoding encoding = Encoding::Utf8;
};
ObjectFileText DetectObjectFileEncoding(std::string_view bytes);
// The bytes after a UTF-8 byte order mark, or all of them; the text DetectObjectFileEncoding
// gives, without settling the encoding.
std::string_view WithoutByteOrderMark(std::string_view bytes);
// Appends the bytes decoded; an invalid UTF-8 sequence becomes U+FFFD.
void AppendDecoded(std::u16string& text, std::string_view bytes, ObjectFileText::Encoding encoding);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; each invalid sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

// Takes the next line off the front of `rest`; nothing once `rest` is empty. A line ends at CR LF,
// a lone CR or a lone LF, which is not part of the line; the last line needs no line end.
std::optional<std::u16string_view> TakeTextLine(std::u16string_view& rest);
std::optional<std::string_view> TakeTextLine(std::string_view& rest);
// Every line of the text; a final line end does not start another (empty) line.
// Exported for the Qt widgets, which split tooltips with it.
VESTRAK_CONTROLS_EXPORT std::vector<std::u16string> SplitTextLines(std::u16string_view text);

} // namespace vestrak
