#include "text/ascii_units.h"

#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#define VESTRAK_ASCII_BLOCKS 1
#endif

namespace vestrak {

bool IsAscii(std::string_view bytes)
{
    std::size_t at = 0;
#ifdef VESTRAK_ASCII_BLOCKS
    for (; at + 16 <= bytes.size(); at += 16) {
        if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at))) != 0) {
            return false;
        }
    }
#endif
    for (; at < bytes.size(); ++at) {
        if (static_cast<unsigned char>(bytes[at]) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::size_t AppendAsciiPrefix(std::u16string& text, std::string_view bytes)
{
    const std::size_t start = text.size();
    text.resize(start + bytes.size());
    char16_t* out = text.data() + start;
    std::size_t at = 0;
#ifdef VESTRAK_ASCII_BLOCKS
    const __m128i zero = _mm_setzero_si128();
    for (; at + 16 <= bytes.size(); at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
        if (_mm_movemask_epi8(block) != 0) {
            break;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8), _mm_unpackhi_epi8(block, zero));
    }
    // Eight bytes, then the last eight when nothing lies between: a block may overlap units
    // already written with the same.
    const auto widenEight = [&](std::size_t from) {
        const __m128i block = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes.data() + from));
        if ((_mm_movemask_epi8(block) & 0xFF) != 0) {
            return false;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + from), _mm_unpacklo_epi8(block, zero));
        return true;
    };
    if (at + 8 <= bytes.size() && widenEight(at)) {
        at += 8;
    }
    if (at < bytes.size() && bytes.size() >= 8 && bytes.size() - at <= 8 && widenEight(bytes.size() - 8)) {
        at = bytes.size();
    }
#endif
    for (; at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80; ++at) {
        out[at] = static_cast<char16_t>(bytes[at]);
    }
    text.resize(start + at);
    return at;
}

std::size_t UpperAsciiPrefix(char16_t* units, std::size_t count)
{
    std::size_t at = 0;
#ifdef VESTRAK_ASCII_BLOCKS
    const __m128i beyondAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i beforeSmallA = _mm_set1_epi16('a' - 1);
    const __m128i afterSmallZ = _mm_set1_epi16('z' + 1);
    const __m128i caseBit = _mm_set1_epi16(0x20);
    const __m128i zero = _mm_setzero_si128();
    // Upper-cases the eight units from start when they are plain ASCII.
    const auto upperEight = [&](std::size_t start) {
        auto* place = reinterpret_cast<__m128i*>(units + start);
        const __m128i block = _mm_loadu_si128(place);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(block, beyondAscii), zero)) != 0xFFFF) {
            return false;
        }
        const __m128i small
            = _mm_and_si128(_mm_cmpgt_epi16(block, beforeSmallA), _mm_cmplt_epi16(block, afterSmallZ));
        _mm_storeu_si128(place, _mm_sub_epi16(block, _mm_and_si128(small, caseBit)));
        return true;
    };
    for (; at + 8 <= count && upperEight(at); at += 8) { }
    // The last eight units in one block, when all before them were plain ASCII: upper-casing
    // again what the block overlaps changes nothing.
    if (at < count && at == (count & ~std::size_t { 7 }) && count >= 8 && upperEight(count - 8)) {
        at = count;
    }
#endif
    for (; at < count && units[at] < 0x80; ++at) {
        if (static_cast<char16_t>(units[at] - u'a') < 26) {
            units[at] = static_cast<char16_t>(units[at] - 0x20);
        }
    }
    return at;
}

} // namespace vestrak
