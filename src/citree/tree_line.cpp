#include "citree/tree_line.h"

#include "procs/numeric.h"
#include "procs/text.h"
#include "procs/unit_search.h"

namespace vestrak {

TreeLine ReadTreeLine(std::u16string_view line)
{
    TreeLine result;
    ReadTreeLine(line, result);
    return result;
}

namespace {

constexpr std::size_t NotFound = std::u16string_view::npos;

// Where a tree line's separators lie: its first two "=", the first two "/" before the first "=",
// and the first "," between the two "=".
struct Separators {
    std::size_t equals = NotFound;
    std::size_t secondEquals = NotFound;
    std::size_t slash = NotFound;
    std::size_t secondSlash = NotFound;
    std::size_t comma = NotFound;
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
            } else if (unit == u'/' && found.secondSlash == NotFound) {
                found.secondSlash = position;
            }
        } else if (unit == u',' && found.comma == NotFound) {
            found.comma = position;
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

void ReadTreeLine(std::u16string_view line, TreeLine& into)
{
    // Views into the line, found in one pass over it: only the upper-cased code is written.
    const Separators at = FindSeparators(line);
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
