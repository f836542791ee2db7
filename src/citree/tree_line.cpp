#include "citree/tree_line.h"

#include "text/line_separators.h"
#include "text/numeric.h"
#include "text/text.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

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

std::int32_t ImageOf(std::string_view asciiNumber)
{
    // Nearly always a few plain digits, which are the number as they stand.
    constexpr std::size_t MostDigitsOfInt16 = 4;
    if (const std::optional<std::int32_t> number = PlainDigitsValue(asciiNumber, MostDigitsOfInt16)) {
        return *number;
    }
    const std::u16string units(asciiNumber.begin(), asciiNumber.end());
    return RoundToInt16(LeadingNumber(units)).value_or(0);
}

// The part without the spaces around it. Nearly every part has none, which its two ends tell
// without a call.
std::string_view Trimmed(std::string_view part)
{
    return part.empty() || (part.front() != ' ' && part.back() != ' ') ? part : SpaceTrimmed(part);
}

// Where the separators ReadTreeLine takes a line apart at lie: the first two "=", the first "/"
// before the first "=" and the first "," between the two "=".
struct AsciiSeparators {
    static constexpr std::size_t NotFound = std::string_view::npos;
    std::size_t equals = NotFound;
    std::size_t secondEquals = NotFound;
    std::size_t slash = NotFound;
    std::size_t comma = NotFound;

    // False once the second "=" is found: nothing after it is read.
    bool take(std::size_t position, char separator)
    {
        if (separator == '=') {
            if (equals != NotFound) {
                secondEquals = position;
                return false;
            }
            equals = position;
        } else if (equals == NotFound) {
            if (separator == '/' && slash == NotFound) {
                slash = position;
            }
        } else if (separator == ',' && comma == NotFound) {
            comma = position;
        }
        return true;
    }
};

// The separators, found sixteen bytes at a time where the machine allows; nothing when a byte
// beyond ASCII comes before the second "=".
std::optional<AsciiSeparators> FindAsciiSeparators(std::string_view line)
{
    AsciiSeparators at;
    std::size_t position = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    constexpr std::size_t BlockBytes = 16;
    // The last piece shorter than a block is read as the line's last block, its bytes read before
    // left out, rather than byte by byte.
    for (; position < line.size() && line.size() >= BlockBytes; position += BlockBytes) {
        const std::size_t blockStart = std::min(position, line.size() - BlockBytes);
        const unsigned unread = ~((1U << (position - blockStart)) - 1);
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + blockStart));
        const auto beyondAscii = static_cast<unsigned>(_mm_movemask_epi8(block)) & unread;
        auto marks = static_cast<unsigned>(_mm_movemask_epi8(
                         _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('=')),
                                          _mm_cmpeq_epi8(block, _mm_set1_epi8('/'))),
                             _mm_cmpeq_epi8(block, _mm_set1_epi8(',')))))
            & unread;
        if (beyondAscii != 0) {
            marks &= (1U << static_cast<unsigned>(std::countr_zero(beyondAscii))) - 1;
        }
        for (; marks != 0; marks &= marks - 1) {
            const std::size_t found = blockStart + static_cast<std::size_t>(std::countr_zero(marks));
            if (!at.take(found, line[found])) {
                return at;
            }
        }
        if (beyondAscii != 0) {
            return std::nullopt;
        }
        position = blockStart;
    }
#endif
    for (; position < line.size(); ++position) {
        const char byte = line[position];
        if (static_cast<unsigned char>(byte) >= 0x80) {
            return std::nullopt;
        }
        if ((byte == '=' || byte == '/' || byte == ',') && !at.take(position, byte)) {
            return at;
        }
    }
    return at;
}

} // namespace

// What follows the second "=" is no part of what a build reads, so only the bytes before it need
// be ASCII.
std::optional<AsciiTreeLine> ReadAsciiTreeLine(std::string_view line)
{
    const std::optional<AsciiSeparators> at = FindAsciiSeparators(line);
    if (!at) {
        return std::nullopt;
    }
    AsciiTreeLine parts;
    parts.code = Trimmed(Between(line, 0, at->slash != AsciiSeparators::NotFound ? at->slash : at->equals));
    if (at->equals == AsciiSeparators::NotFound) {
        return parts;
    }
    const std::string_view value = Trimmed(Between(line, at->equals + 1, at->secondEquals));
    if (at->comma == AsciiSeparators::NotFound) {
        parts.image = ImageOf(value);
        parts.text = value;
        return parts;
    }
    const auto valueStart = static_cast<std::size_t>(value.data() - line.data());
    parts.image = ImageOf(Between(line, valueStart, at->comma));
    parts.text = Trimmed(Between(line, at->comma + 1, valueStart + value.size()));
    return parts;
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
