#include "text/output_text.h"

#include "text/encoding.h"

#include <algorithm>

namespace vestrak {

namespace {

enum class Quoting { Bare, InQuotes };

bool IsControlCharacter(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

bool NeedsEscape(char16_t unit, Quoting quoting)
{
    if (quoting == Quoting::Bare)
        return IsControlCharacter(unit) && unit != u'\t';
    return IsControlCharacter(unit) || unit == u'\\' || unit == u'"';
}

void AppendEscape(std::string& out, char16_t unit)
{
    switch (unit) {
    case u'\\':
        out += "\\\\";
        return;
    case u'"':
        out += "\\\"";
        return;
    case u'\t':
        out += "\\t";
        return;
    case u'\r':
        out += "\\r";
        return;
    case u'\n':
        out += "\\n";
        return;
    default:
        break;
    }
    constexpr std::string_view Digits = "0123456789ABCDEF";
    out += "\\x";
    out += Digits[(unit >> 4) & 0xF];
    out += Digits[unit & 0xF];
}

void AppendPrintable(std::string& out, std::u16string_view text, Quoting quoting)
{
    std::size_t plainStart = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (!NeedsEscape(text[index], quoting))
            continue;
        AppendAsUtf8(out, text.substr(plainStart, index - plainStart));
        AppendEscape(out, text[index]);
        plainStart = index + 1;
    }
    AppendAsUtf8(out, text.substr(plainStart));
}

} // namespace

std::string PrintableText(std::u16string_view text)
{
    std::string printable;
    AppendPrintable(printable, text, Quoting::Bare);
    return printable;
}

std::string PrintableText(std::string_view utf8)
{
    // Plain ASCII, the common case, is printable as it is.
    const bool plainAscii = std::all_of(utf8.begin(), utf8.end(), [](char byte) {
        const auto value = static_cast<unsigned char>(byte);
        return (value >= 0x20 && value < 0x7F) || value == '\t';
    });
    if (plainAscii)
        return std::string(utf8);
    return PrintableText(FromUtf8(utf8));
}

std::string QuotedText(std::u16string_view text)
{
    std::string quoted = "\"";
    AppendPrintable(quoted, text, Quoting::InQuotes);
    quoted += '"';
    return quoted;
}

} // namespace vestrak
