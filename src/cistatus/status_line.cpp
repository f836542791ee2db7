#include "cistatus/status_line.h"

#include "procs/numeric.h"
#include "procs/text.h"
#include "procs/unit_search.h"

namespace vestrak {

namespace {

constexpr std::size_t NotFound = std::u16string_view::npos;

// Where a status line's separators lie, found in one pass: its first two "=", the first "/"
// before the first "=", the first "," before that "/" (or "="), and the first two "," between
// the two "=".
struct Separators {
    std::size_t equals = NotFound;
    std::size_t secondEquals = NotFound;
    std::size_t slash = NotFound;
    std::size_t codeComma = NotFound;
    std::size_t comma = NotFound;
    std::size_t secondComma = NotFound;
};

Separators FindSeparators(std::u16string_view line)
{
    Separators found;
    ForEachUnitOf(line, u'=', u'/', u',', [&](std::size_t position) {
        const char16_t unit = line[position];
        if (unit == u'=') {
            if (found.equals != NotFound) {
                found.secondEquals = position;
                return false;
            }
            found.equals = position;
        } else if (found.equals == NotFound) {
            if (unit == u'/' && found.slash == NotFound) {
                found.slash = position;
            } else if (unit == u',' && found.slash == NotFound && found.codeComma == NotFound) {
                found.codeComma = position;
            }
        } else if (unit == u',') {
            if (found.comma == NotFound) {
                found.comma = position;
            } else if (found.secondComma == NotFound) {
                found.secondComma = position;
            }
        }
        return true;
    });
    return found;
}

// The part from start up to end (NotFound: the end of the text).
std::u16string_view Between(std::u16string_view text, std::size_t start, std::size_t end)
{
    return text.substr(start, end == NotFound ? NotFound : end - start);
}

} // namespace

StatusLine ParseStatusLine(std::u16string_view line)
{
    // Views into the line: "code/name = status, tag name, text", every part trimmed of spaces
    // but the tag name, and the text trimmed only after a second comma.
    const Separators at = FindSeparators(line);
    StatusLine parsed;
    parsed.code = SpaceTrimmed(Between(line, 0, at.slash != NotFound ? at.slash : at.equals));
    parsed.section = at.codeComma == NotFound ? parsed.code : SpaceTrimmed(Between(line, 0, at.codeComma));
    if (at.equals == NotFound) {
        return parsed;
    }
    const std::u16string_view value = SpaceTrimmed(Between(line, at.equals + 1, at.secondEquals));
    const auto valueStart = static_cast<std::size_t>(value.data() - line.data());
    const std::size_t valueEnd = valueStart + value.size();
    if (at.comma == NotFound) {
        parsed.status = RoundToInt32(LeadingNumber(value)).value_or(0);
        parsed.text = value;
        return parsed;
    }
    // The commas lie inside the trimmed value: they are no spaces.
    parsed.status = RoundToInt32(LeadingNumber(Between(line, valueStart, at.comma))).value_or(0);
    if (at.secondComma == NotFound) {
        parsed.tagName = Between(line, at.comma + 1, valueEnd);
        parsed.text = parsed.tagName;
        return parsed;
    }
    parsed.tagName = Between(line, at.comma + 1, at.secondComma);
    parsed.text = SpaceTrimmed(Between(line, at.secondComma + 1, valueEnd));
    return parsed;
}

} // namespace vestrak
