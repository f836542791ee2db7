#include "citree/tree_line.h"

#include "text/ascii_units.h"
#include "text/line_separators.h"
#include "text/numeric.h"
#include "text/text.h"

#include <algorithm>

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

namespace {

std::string_view SpaceTrimmedBytes(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view BytesBetween(std::string_view text, std::size_t start, std::size_t end)
{
    return text.substr(start, end == std::string_view::npos ? end : end - start);
}

std::int32_t ImageOf(std::string_view asciiNumber)
{
    // Nearly always a few plain digits, which are the number as they stand.
    constexpr std::size_t MostDigitsOfInt16 = 4;
    if (!asciiNumber.empty() && asciiNumber.size() <= MostDigitsOfInt16
        && std::all_of(
            asciiNumber.begin(), asciiNumber.end(), [](char byte) { return byte >= '0' && byte <= '9'; })) {
        std::int32_t number = 0;
        for (const char digit : asciiNumber) {
            number = number * 10 + (digit - '0');
        }
        return number;
    }
    const std::u16string units(asciiNumber.begin(), asciiNumber.end());
    return RoundToInt16(LeadingNumber(units)).value_or(0);
}

} // namespace

// The separators ReadTreeLine takes the value apart at: the first two "=" and the first ","
// between them.
std::optional<TreeLineFilterParts> ReadAsciiFilterParts(std::string_view line)
{
    if (!IsAscii(line)) {
        return std::nullopt;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return TreeLineFilterParts {};
    }
    const std::size_t secondEquals = line.find('=', equals + 1);
    const std::string_view value = SpaceTrimmedBytes(BytesBetween(line, equals + 1, secondEquals));
    const std::size_t comma = BytesBetween(line, 0, secondEquals).find(',', equals + 1);
    if (comma == std::string_view::npos) {
        return TreeLineFilterParts { .image = ImageOf(value), .text = value };
    }
    const auto valueStart = static_cast<std::size_t>(value.data() - line.data());
    return TreeLineFilterParts { .image = ImageOf(BytesBetween(line, valueStart, comma)),
        .text = SpaceTrimmedBytes(BytesBetween(line, comma + 1, valueStart + value.size())) };
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
