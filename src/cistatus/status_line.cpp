#include "cistatus/status_line.h"

#include "text/line_separators.h"
#include "text/numeric.h"
#include "text/text.h"

namespace vestrak {

namespace {

constexpr std::size_t NotFound = LineSeparators::NotFound;

} // namespace

StatusLine ParseStatusLine(std::u16string_view line)
{
    // Views into the line: "code/name = status, tag name, text", every part trimmed of spaces
    // but the tag name, and the text trimmed only after a second comma.
    const LineSeparators at = FindLineSeparators(line);
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
