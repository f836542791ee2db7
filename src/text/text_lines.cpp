#include "text/byte_words.h"
#include "text/encoding.h"
#include "text/line_cutter.h"

#include <algorithm>
#include <bit>
#include <utility>
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

namespace vestrak {

namespace {

// Where the first CR or LF is, or the size when there is none.
std::size_t LineEndPosition(std::u16string_view text)
{
    return static_cast<std::size_t>(std::find_if(text.begin(), text.end(), [](char16_t unit) {
        return unit == u'\r' || unit == u'\n';
    }) - text.begin());
}

// The same on bytes, sixteen (or eight) at a time.
std::size_t LineEndPosition(std::string_view text)
{
    std::size_t position = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    const __m128i carriageReturns = _mm_set1_epi8('\r');
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    for (; text.size() - position >= 16; position += 16) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + position));
        const __m128i ends
            = _mm_or_si128(_mm_cmpeq_epi8(sixteen, carriageReturns), _mm_cmpeq_epi8(sixteen, lineFeeds));
        if (const int marks = _mm_movemask_epi8(ends)) {
            return position + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(marks)));
        }
    }
#endif
    for (; position + WordBytes <= text.size(); position += WordBytes) {
        const std::uint64_t word = LoadWord(text, position);
        if (const std::uint64_t ends = MarksOf(word, '\r') | MarksOf(word, '\n')) {
            return position + FirstMarked(ends);
        }
    }
    while (position < text.size() && text[position] != '\r' && text[position] != '\n') {
        ++position;
    }
    return position;
}

// The line of rest that ends at end, leaving in rest what follows its CR, LF or CR LF.
template<typename Char>
std::basic_string_view<Char> CutLineAt(std::basic_string_view<Char>& rest, std::size_t end)
{
    if (end == rest.size()) {
        return std::exchange(rest, {});
    }
    const std::basic_string_view<Char> line = rest.substr(0, end);
    const bool crLf = rest[end] == Char('\r') && end + 1 < rest.size() && rest[end + 1] == Char('\n');
    rest.remove_prefix(end + (crLf ? 2 : 1));
    return line;
}

template<typename Char>
std::optional<std::basic_string_view<Char>> TakeLine(std::basic_string_view<Char>& rest)
{
    if (rest.empty()) {
        return std::nullopt;
    }
    return CutLineAt(rest, LineEndPosition(rest));
}

// Where the first CR or LF is, or the size when there is none, noting on the way whether the
// bytes before it hold NUL or two spaces in a row: one pass instead of three.
std::size_t MarkedLineEnd(std::string_view text, LineMarks& marks)
{
    std::size_t position = 0;
    // Bits of the blocks passed, or'ed: any bit tells a NUL, or a space after a space.
    std::uint32_t nuls = 0;
    std::uint32_t pairEnds = 0;
    std::uint32_t spaceBefore = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    const __m128i carriageReturns = _mm_set1_epi8('\r');
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i spaces = _mm_set1_epi8(' ');
    for (; text.size() - position >= 16; position += 16) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + position));
        const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(sixteen, carriageReturns), _mm_cmpeq_epi8(sixteen, lineFeeds))));
        const auto blockNuls
            = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, _mm_setzero_si128())));
        const auto blockSpaces
            = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, spaces)));
        const std::uint32_t blockPairEnds = blockSpaces & ((blockSpaces << 1) | spaceBefore);
        if (ends != 0) {
            // Of this block, only what lies before the line's end counts.
            const std::uint32_t before = (ends & (0U - ends)) - 1;
            marks = { .mayHoldNul = nuls != 0 || (blockNuls & before) != 0,
                .mayHoldSpacePair = pairEnds != 0 || (blockPairEnds & before) != 0 };
            return position + static_cast<std::size_t>(std::countr_zero(ends));
        }
        nuls |= blockNuls;
        pairEnds |= blockPairEnds;
        spaceBefore = blockSpaces >> 15;
    }
#endif
    for (; position < text.size() && text[position] != '\r' && text[position] != '\n'; ++position) {
        const std::uint32_t space = text[position] == ' ' ? 1 : 0;
        nuls |= text[position] == '\0' ? 1 : 0;
        pairEnds |= space & spaceBefore;
        spaceBefore = space;
    }
    marks = { .mayHoldNul = nuls != 0, .mayHoldSpacePair = pairEnds != 0 };
    return position;
}

} // namespace

std::optional<std::string_view> TakeMarkedLine(std::string_view& rest, LineMarks& marks)
{
    if (rest.empty()) {
        return std::nullopt;
    }
    return CutLineAt(rest, MarkedLineEnd(rest, marks));
}

std::optional<std::u16string_view> TakeTextLine(std::u16string_view& rest)
{
    return TakeLine(rest);
}

std::optional<std::string_view> TakeTextLine(std::string_view& rest)
{
    return TakeLine(rest);
}

std::vector<std::u16string> SplitTextLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    while (const auto line = TakeTextLine(text)) {
        lines.emplace_back(*line);
    }
    return lines;
}

} // namespace vestrak
