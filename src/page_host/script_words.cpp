#include "page_host/script_words.h"

#include "page_host/script_error.h"
#include "text/encoding.h"

#include <charconv>

namespace vestrak {

namespace {

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t';
}

int HexDigitValue(char16_t unit)
{
    if (unit >= u'0' && unit <= u'9')
        return unit - u'0';
    if (unit >= u'a' && unit <= u'f')
        return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F')
        return unit - u'A' + 10;
    return -1;
}

// The value of exactly two hex digits at the front of `text`, or -1.
int TwoHexDigits(std::u16string_view text)
{
    if (text.size() < 2)
        return -1;
    const int high = HexDigitValue(text[0]);
    const int low = HexDigitValue(text[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Reads the quoted string that starts at `position` (on its opening quote) and moves `position`
// behind the closing quote.
std::u16string ReadQuotedString(std::u16string_view line, std::size_t& position)
{
    std::u16string text;
    ++position;
    while (position < line.size()) {
        const char16_t unit = line[position++];
        if (unit == u'"')
            return text;
        if (unit != u'\\') {
            text += unit;
            continue;
        }
        if (position >= line.size())
            break;
        const char16_t escape = line[position++];
        switch (escape) {
        case u'\\':
        case u'"':
            text += escape;
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'n':
            text += u'\n';
            break;
        case u'x': {
            const int code = TwoHexDigits(line.substr(position));
            if (code < 0)
                throw ScriptError("bad string: \\x needs two hexadecimal digits");
            text += static_cast<char16_t>(code);
            position += 2;
            break;
        }
        default:
            throw ScriptError("bad string: unknown escape \\" + ToUtf8(std::u16string(1, escape)));
        }
    }
    throw ScriptError("bad string: no closing double quote");
}

std::optional<std::int64_t> ParseHexDigits(std::u16string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char16_t unit : digits) {
        const int digit = HexDigitValue(unit);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int64_t> ParseDecimal(std::u16string_view text)
{
    std::string ascii;
    for (char16_t unit : text) {
        if (unit > 0x7F)
            return std::nullopt;
        ascii += static_cast<char>(unit);
    }
    if (ascii.empty() || ascii.starts_with('+'))
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return value;
}

} // namespace

bool IsSkippedLine(std::u16string_view line)
{
    const std::size_t first = line.find_first_not_of(u" \t");
    return first == std::u16string_view::npos || line[first] == u'#';
}

std::vector<Word> SplitWords(std::u16string_view line)
{
    std::vector<Word> words;
    std::size_t position = 0;
    while (position < line.size()) {
        if (IsBlank(line[position])) {
            ++position;
            continue;
        }
        if (line[position] == u'"') {
            words.push_back(Word { ReadQuotedString(line, position), true });
            if (position < line.size() && !IsBlank(line[position]))
                throw ScriptError("bad string: text follows the closing double quote");
            continue;
        }
        const std::size_t start = position;
        while (position < line.size() && !IsBlank(line[position]))
            ++position;
        words.push_back(Word { std::u16string(line.substr(start, position - start)), false });
    }
    return words;
}

std::optional<std::int64_t> ParseNumber(std::u16string_view text)
{
    if (text.starts_with(u"0x") || text.starts_with(u"0X") || text.starts_with(u"&H")
        || text.starts_with(u"&h"))
        return ParseHexDigits(text.substr(2));
    return ParseDecimal(text);
}

bool IsControlName(std::u16string_view name)
{
    if (name.empty())
        return false;
    for (char16_t unit : name) {
        const bool letter = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
        const bool digit = unit >= u'0' && unit <= u'9';
        if (!letter && !digit && unit != u'_')
            return false;
    }
    return true;
}

std::string DecodeBlockLine(std::string_view line)
{
    std::string bytes;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] == 'x') {
            const int code = TwoHexDigits(std::u16string {
                static_cast<unsigned char>(line[i + 2]), static_cast<unsigned char>(line[i + 3]) });
            if (code >= 0) {
                bytes += static_cast<char>(code);
                i += 3;
                continue;
            }
        }
        bytes += line[i];
    }
    return bytes;
}

} // namespace vestrak
