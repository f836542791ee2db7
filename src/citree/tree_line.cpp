#include "citree/tree_line.h"

#include "procs/numeric.h"
#include "procs/text.h"

namespace vestrak {

TreeLine ReadTreeLine(std::u16string_view line)
{
    TreeLine result;
    ReadTreeLine(line, result);
    return result;
}

namespace {

constexpr std::size_t NotFound = std::u16string_view::npos;

// The part of text from `start` up to the next `separator` (or the end), and where that
// separator lies.
std::u16string_view PartUpTo(std::u16string_view text, std::size_t start, char16_t separator, std::size_t& end)
{
    end = FindUnit(text, separator, start);
    return text.substr(start, end == NotFound ? NotFound : end - start);
}

} // namespace

void ReadTreeLine(std::u16string_view line, TreeLine& into)
{
    // Views into the line, each separator looked for once: only the upper-cased code is written.
    std::size_t equals = 0;
    const std::u16string_view objectPart = PartUpTo(line, 0, u'=', equals);
    std::size_t secondEquals = 0;
    const std::u16string_view value
        = equals == NotFound ? std::u16string_view() : SpaceTrimmed(PartUpTo(line, equals + 1, u'=', secondEquals));
    std::size_t slash = 0;
    ToUpper(SpaceTrimmed(PartUpTo(objectPart, 0, u'/', slash)), into.code);
    std::size_t secondSlash = 0;
    into.extraInfo
        = slash == NotFound ? std::u16string_view() : SpaceTrimmed(PartUpTo(objectPart, slash + 1, u'/', secondSlash));
    std::size_t comma = 0;
    into.image = RoundToInt16(LeadingNumber(PartUpTo(value, 0, u',', comma))).value_or(0);
    into.text = comma == NotFound ? value : SpaceTrimmed(value.substr(comma + 1));
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
