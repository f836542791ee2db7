#include "citree/tree_line.h"

#include "text/line_separators.h"
#include "text/numeric.h"
#include "text/text.h"

namespace vestrak {

TreeLine ReadTreeLine(std::u16string_view line)
{
    TreeLine result;
    ReadTreeLine(line, result);
    return result;
}

namespace {

constexpr std::size_t NotFound = LineSeparators::NotFound;

} // namespace

void ReadTreeLine(std::u16string_view line, TreeLine& into)
{
    // Views into the line, found in one pass over it: only the upper-cased code is written.
    const LineSeparators at = FindLineSeparators(line);
    const std::u16string_view objectPart = Between(line, 0, at.equals);
    ToUpper(SpaceTrimmed(Between(objectPart, 0, at.slash)), into.code);
    into.extraInfo = at.slash == NotFound ? std::u16string_view()
                                          : SpaceTrimmed(Between(objectPart, at.slash + 1, at.secondSlash));
    const std::u16string_view value = at.equals == NotFound
        ? std::u16string_view()
        : SpaceTrimmed(Between(line, at.equals + 1, at.secondEquals));
    if (at.comma == NotFound) {
        into.image = RoundToInt16(LeadingNumber(value)).value_or(0);
        into.text = value;
        return;
    }
    // The comma lies inside the trimmed value: it is no space.
    const auto valueStart = static_cast<std::size_t>(value.data() - line.data());
    into.image = RoundToInt16(LeadingNumber(Between(line, valueStart, at.comma))).value_or(0);
    into.text = SpaceTrimmed(Between(line, at.comma + 1, valueStart + value.size()));
}

std::u16string_view ValueText(std::u16string_view value)
{
    const std::size_t comma = FindUnit(value, u',');
    if (comma == NotFound) {
        return value;
    }
    return SpaceTrimmed(value.substr(comma + 1));
}

std::u16string DecimalText(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return { digits.begin(), digits.end() };
}

} // namespace vestrak
