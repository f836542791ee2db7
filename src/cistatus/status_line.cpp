#include "cistatus/status_line.h"

#include "text/encoding.h"
#include "text/line_separators.h"
#include "text/numeric.h"
#include "text/text.h"

namespace vestrak {

namespace {

constexpr std::size_t NotFound = LineSeparators::NotFound;

std::int32_t StatusValue(std::u16string_view text)
{
    return RoundToInt32(LeadingNumber(text)).value_or(0);
}

// A status is mostly a few digits, read here; any other text as the number reader reads it.
std::int32_t StatusValue(std::string_view text)
{
    constexpr std::size_t MostDigitsInRange = 9;
    if (const std::optional<std::int32_t> value = PlainDigitsValue(text, MostDigitsInRange)) {
        return *value;
    }
    std::u16string decoded;
    AppendDecoded(decoded, text, ObjectFileText::Encoding::Utf8);
    return StatusValue(decoded);
}

template<typename Char> BasicStatusLine<Char> ParseLine(std::basic_string_view<Char> line)
{
    // Views into the line: "code/name = status, tag name, text", every part trimmed of spaces
    // but the tag name, and the text trimmed only after a second comma.
    const LineSeparators at = FindLineSeparators(line);
    BasicStatusLine<Char> parsed;
    parsed.code = SpaceTrimmed(Between(line, 0, at.slash != NotFound ? at.slash : at.equals));
    parsed.section = at.codeComma == NotFound ? parsed.code : SpaceTrimmed(Between(line, 0, at.codeComma));
    if (at.equals == NotFound) {
        return parsed;
    }
    const std::basic_string_view<Char> value = SpaceTrimmed(Between(line, at.equals + 1, at.secondEquals));
    const auto valueStart = static_cast<std::size_t>(value.data() - line.data());
    const std::size_t valueEnd = valueStart + value.size();
    if (at.comma == NotFound) {
        parsed.status = StatusValue(value);
        parsed.text = value;
        return parsed;
    }
    // The commas lie inside the trimmed value: they are no spaces.
    parsed.status = StatusValue(Between(line, valueStart, at.comma));
    if (at.secondComma == NotFound) {
        parsed.tagName = Between(line, at.comma + 1, valueEnd);
        parsed.text = parsed.tagName;
        return parsed;
    }
    parsed.tagName = Between(line, at.comma + 1, at.secondComma);
    parsed.text = SpaceTrimmed(Between(line, at.secondComma + 1, valueEnd));
    return parsed;
}

} // namespace

StatusLine ParseStatusLine(std::u16string_view line)
{
    return ParseLine(line);
}

Utf8StatusLine ParseStatusLine(std::string_view line)
{
    return ParseLine(line);
}

} // namespace vestrak
