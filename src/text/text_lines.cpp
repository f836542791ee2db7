#include "text/byte_words.h"
#include "text/encoding.h"

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

template<typename Char>
std::optional<std::basic_string_view<Char>> TakeLine(std::basic_string_view<Char>& rest)
{
    if (rest.empty()) {
        return std::nullopt;
    }
    const std::size_t end = LineEndPosition(rest);
    if (end == rest.size()) {
        return std::exchange(rest, {});
    }
    const std::basic_string_view<Char> line = rest.substr(0, end);
    const bool crLf = rest[end] == Char('\r') && end + 1 < rest.size() && rest[end + 1] == Char('\n');
    rest.remove_prefix(end + (crLf ? 2 : 1));
    return line;
}

} // namespace

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
