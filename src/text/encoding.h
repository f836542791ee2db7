#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// Object file bytes as text: UTF-8 when the bytes are valid UTF-8 or begin with a UTF-8 byte order
// mark (which is skipped), otherwise Windows-1252, so files saved on Windows and on Linux both read.
// UTF-16 with a byte order mark is read through WithUtf16AsUtf8 or ObjectFileBytes first.
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

// The bytes of a UTF-16 file with a byte order mark (as some Windows editors save INI files) as
// UTF-8 behind a UTF-8 byte order mark; other bytes as they are.
std::string WithUtf16AsUtf8(std::string bytes);

// Tells of a text given in pieces whether it is valid UTF-8, as it would tell of the whole text.
class Utf8Check {
public:
    // False once the text so far cannot be valid UTF-8.
    bool add(std::string_view piece);
    // The whole text was valid: no sequence was left open at its end.
    [[nodiscard]] bool valid() const { return m_Valid && m_Open.empty(); }

private:
    std::string m_Open;
    bool m_Valid = true;
};

// An object file's bytes, given in pieces, as the text bytes DetectObjectFileEncoding works on:
// a UTF-8 byte order mark is left out, UTF-16 with a byte order mark becomes UTF-8 (a lone
// surrogate becomes U+FFFD).
class ObjectFileBytes {
public:
    enum class Mark { NotYetSeen, None, Utf8, Utf16LittleEndian, Utf16BigEndian };

    // The text bytes of the next piece; valid until the next call.
    std::string_view add(std::string_view piece);
    // The text bytes held back until the end of the file.
    std::string_view finish();
    // What the first bytes told; NotYetSeen until two or three bytes came.
    [[nodiscard]] Mark mark() const { return m_Mark; }

private:
    std::string_view decode(std::string_view bytes);

    Mark m_Mark = Mark::NotYetSeen;
    std::string m_Start;
    std::string m_Text;
    std::string m_OddByte;
    char16_t m_HighSurrogate = 0;
};

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Appends the UTF-8 of UTF-16 text, as ToUtf8 gives it.
void AppendAsUtf8(std::string& bytes, std::u16string_view text);
// UTF-8 to UTF-16; each invalid sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

// Takes the next line off the front of `rest`; nothing once `rest` is empty. A line ends at CR LF,
// a lone CR or a lone LF, which is not part of the line; the last line needs no line end.
std::optional<std::u16string_view> TakeTextLine(std::u16string_view& rest);
std::optional<std::string_view> TakeTextLine(std::string_view& rest);
// Every line of the text; a final line end does not start another (empty) line.
// Exported for the Qt widgets, which split tooltips with it.
std::vector<std::u16string> SplitTextLines(std::u16string_view text);

} // namespace vestrak
