#include "page_host/output_text.h"

#include "text/encoding.h"

#include <cstdio>

namespace vestrak {

namespace {

std::string EscapeFor(char16_t unit)
{
    switch (unit) {
    case u'\\':
        return "\\\\";
    case u'"':
        return "\\\"";
    case u'\t':
        return "\\t";
    case u'\r':
        return "\\r";
    case u'\n':
        return "\\n";
    default:
        break;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(unit));
    return escape;
}

bool NeedsEscape(char16_t unit)
{
    return unit < 32 || unit == u'\\' || unit == u'"';
}

} // namespace

std::string QuotedText(std::u16string_view text)
{
    std::string quoted = "\"";
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!NeedsEscape(text[i]))
            continue;
        quoted += ToUtf8(text.substr(plainStart, i - plainStart));
        quoted += EscapeFor(text[i]);
        plainStart = i + 1;
    }
    quoted += ToUtf8(text.substr(plainStart));
    quoted += '"';
    return quoted;
}

} // namespace vestrak
