#pragma once

#include <bit>
#include <cstddef>
#include <string_view>
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

namespace vestrak {

// Calls found(position) for each position of the text holding one of the three units, in order,
// until it returns false. Looks at eight units a time where the machine allows: a line is taken
// apart at its separators in one pass.
template<typename Found>
void ForEachUnitOf(std::u16string_view text, char16_t first, char16_t second, char16_t third, Found found)
{
    std::size_t position = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    const __m128i firsts = _mm_set1_epi16(static_cast<short>(first));
    const __m128i seconds = _mm_set1_epi16(static_cast<short>(second));
    const __m128i thirds = _mm_set1_epi16(static_cast<short>(third));
    // Two mask bits a unit.
    const auto marksAt = [&](std::size_t start) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + start));
        const __m128i hits
            = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(eight, firsts), _mm_cmpeq_epi16(eight, seconds)),
                _mm_cmpeq_epi16(eight, thirds));
        return static_cast<unsigned>(_mm_movemask_epi8(hits));
    };
    const auto visit = [&](std::size_t start, unsigned marks) {
        while (marks != 0) {
            const auto bit = static_cast<unsigned>(std::countr_zero(marks));
            marks &= ~(3U << bit);
            if (!found(start + bit / 2)) {
                return false;
            }
        }
        return true;
    };
    for (; text.size() - position >= 8; position += 8) {
        if (!visit(position, marksAt(position))) {
            return;
        }
    }
    // The rest in one block that ends with the text, its units already looked at left out.
    if (position < text.size() && text.size() >= 8) {
        const std::size_t start = text.size() - 8;
        visit(start, marksAt(start) & (~0U << (2 * (position - start))));
        return;
    }
#endif
    for (; position < text.size(); ++position) {
        const char16_t unit = text[position];
        if ((unit == first || unit == second || unit == third) && !found(position)) {
            return;
        }
    }
}

// The same over bytes, sixteen at a time: UTF-8 lines are taken apart without decoding them.
template<typename Found>
void ForEachUnitOf(std::string_view text, char first, char second, char third, Found found)
{
    std::size_t position = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i seconds = _mm_set1_epi8(second);
    const __m128i thirds = _mm_set1_epi8(third);
    const auto marksAt = [&](std::size_t start) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + start));
        const __m128i hits
            = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(sixteen, firsts), _mm_cmpeq_epi8(sixteen, seconds)),
                _mm_cmpeq_epi8(sixteen, thirds));
        return static_cast<unsigned>(_mm_movemask_epi8(hits));
    };
    const auto visit = [&](std::size_t start, unsigned marks) {
        for (; marks != 0; marks &= marks - 1) {
            if (!found(start + static_cast<std::size_t>(std::countr_zero(marks)))) {
                return false;
            }
        }
        return true;
    };
    for (; text.size() - position >= 16; position += 16) {
        if (!visit(position, marksAt(position))) {
            return;
        }
    }
    // The rest in one block that ends with the text, its bytes already looked at left out.
    if (position < text.size() && text.size() >= 16) {
        const std::size_t start = text.size() - 16;
        visit(start, marksAt(start) & (~0U << (position - start)));
        return;
    }
#endif
    for (; position < text.size(); ++position) {
        const char unit = text[position];
        if ((unit == first || unit == second || unit == third) && !found(position)) {
            return;
        }
    }
}

} // namespace vestrak
