#include "text/text.h"

#include "text/byte_words.h"
#include "text/encoding.h"

#include <bit>
#include <optional>
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

namespace vestrak {

namespace {

constexpr char16_t Tab = u'\t';
constexpr char16_t Apostrophe = u'\'';

// A tab when the text holds one, else an apostrophe when it holds one, else nothing.
std::optional<char16_t> AutomaticSeparator(std::u16string_view text)
{
    for (const char16_t candidate : { Tab, Apostrophe }) {
        if (text.find(candidate) != std::u16string_view::npos) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace

std::u16string GetField(const std::u16string& text, std::int32_t index, std::u16string& separator)
{
    if (separator.empty()) {
        if (const auto chosen = AutomaticSeparator(text)) {
            separator.assign(1, *chosen);
        }
    }
    return GetField(text, index, std::u16string_view(separator));
}

std::u16string GetField(const std::u16string& text, std::int32_t index, std::u16string_view separator)
{
    return std::u16string(FieldView(text, index, separator));
}

std::u16string_view FieldView(std::u16string_view text, std::int32_t index, std::u16string_view separator)
{
    // Without a separator every field is empty: the search never moves past the first position.
    if (index < 0 || separator.empty()) {
        return {};
    }
    // Separators are mostly one character, which is found without comparing a text at each place.
    const auto next = [&](std::size_t from) {
        return separator.size() == 1 ? FindUnit(text, separator.front(), from) : text.find(separator, from);
    };
    std::size_t start = 0;
    for (std::int32_t skipped = 0; skipped < index; ++skipped) {
        const std::size_t position = next(start);
        if (position == std::u16string_view::npos) {
            return {};
        }
        start = position + separator.size();
    }
    const std::size_t end = next(start);
    return text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
}

std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from)
{
    if (from >= text.size()) {
        return std::u16string_view::npos;
    }
    const char16_t* units = text.data();
    std::size_t position = from;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
    const __m128i pattern = _mm_set1_epi16(static_cast<short>(unit));
    for (; text.size() - position >= 8; position += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + position));
        if (const int marks = _mm_movemask_epi8(_mm_cmpeq_epi16(eight, pattern))) {
            return position + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(marks))) / 2;
        }
    }
#endif
    for (; position < text.size(); ++position) {
        if (units[position] == unit) {
            return position;
        }
    }
    return std::u16string_view::npos;
}

bool IsInPrefixList(std::u16string_view list, std::u16string_view text)
{
    // Each item is compared as it is read, so a list of one code is read once.
    std::size_t itemStart = 0;
    while (itemStart < list.size() && list[itemStart] != u',') {
        std::size_t position = itemStart;
        std::size_t compared = 0;
#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
        // Eight equal units that are no comma at a time: the codes of one branch share their
        // start, written alike.
        const __m128i commas = _mm_set1_epi16(static_cast<short>(u','));
        while (list.size() - position >= 8 && text.size() - compared >= 8) {
            const __m128i listed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(list.data() + position));
            const __m128i given = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + compared));
            const __m128i alike
                = _mm_andnot_si128(_mm_cmpeq_epi16(listed, commas), _mm_cmpeq_epi16(listed, given));
            if (_mm_movemask_epi8(alike) != 0xFFFF) {
                break;
            }
            position += 8;
            compared += 8;
        }
#endif
        for (; position < list.size() && list[position] != u','; ++position, ++compared) {
            if (compared == text.size()
                || (list[position] != text[compared] && ToUpper(list[position]) != ToUpper(text[compared]))) {
                break;
            }
        }
        if (position == list.size() || list[position] == u',') {
            return true;
        }
        const std::size_t comma = FindUnit(list, u',', position);
        if (comma == std::u16string_view::npos) {
            return false;
        }
        itemStart = comma + 1;
    }
    // The first empty item ends the list.
    return false;
}

bool IsInPrefixList(std::string_view list, std::string_view text)
{
    std::size_t itemStart = 0;
    while (itemStart < list.size() && list[itemStart] != ',') {
        std::size_t position = itemStart;
        std::size_t compared = 0;
        while (position < list.size() && list[position] != ',' && compared < text.size()) {
            // Eight bytes at a time up to the first that differs or is a comma: the codes of one
            // branch share their start, written alike.
            if (list.size() - position >= WordBytes && text.size() - compared >= WordBytes) {
                const std::uint64_t listed = LoadWord(list, position);
                const std::uint64_t stops
                    = ~MarksOf(listed ^ LoadWord(text, compared), '\0') | MarksOf(listed, ',');
                const std::size_t alike = (stops & HighBits) == 0 ? WordBytes : FirstMarked(stops & HighBits);
                position += alike;
                compared += alike;
                if (alike == WordBytes) {
                    continue;
                }
                if (list[position] == ',') {
                    break;
                }
            }
            const char listed = list[position];
            const char given = text[compared];
            if (listed != given) {
                // Characters beyond ASCII may differ in case, in bytes of other lengths.
                if (((static_cast<unsigned char>(listed) | static_cast<unsigned char>(given)) & 0x80U) != 0) {
                    return IsInPrefixList(FromUtf8(list), FromUtf8(text));
                }
                if (!SameAsciiLetterIgnoringCase(listed, given)) {
                    break;
                }
            }
            ++position;
            ++compared;
        }
        if (position == list.size() || list[position] == ',') {
            return true;
        }
        const std::size_t comma = list.find(',', position);
        if (comma == std::string_view::npos) {
            return false;
        }
        itemStart = comma + 1;
    }
    // The first empty item ends the list.
    return false;
}

std::u16string TrimSpaces(std::u16string_view text)
{
    return std::u16string(SpaceTrimmed(text));
}

std::vector<std::u16string> SplitAtNul(const std::u16string& text)
{
    std::vector<std::u16string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t nul = text.find(u'\0', start);
        if (nul == std::u16string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, nul - start));
        start = nul + 1;
    }
}

} // namespace vestrak
