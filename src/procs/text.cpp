#include "procs/text.h"

#include <bit>
#include <cstring>
#include <optional>

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

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != prefix[i] && ToUpper(text[i]) != ToUpper(prefix[i])) {
            return false;
        }
    }
    return true;
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
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t LowBits = 0x0001000100010001ULL;
        constexpr std::uint64_t HighBits = 0x8000800080008000ULL;
        const std::uint64_t pattern = LowBits * unit;
        for (; text.size() - position >= 4; position += 4) {
            std::uint64_t word = 0;
            std::memcpy(&word, units + position, sizeof word);
            word ^= pattern;
            // The lowest marked lane is the first that held the unit; marks above it may be false.
            if (const std::uint64_t marks = (word - LowBits) & ~word & HighBits) {
                return position + static_cast<std::size_t>(std::countr_zero(marks)) / 16;
            }
        }
    }
    for (; position < text.size(); ++position) {
        if (units[position] == unit) {
            return position;
        }
    }
    return std::u16string_view::npos;
}

bool IsInPrefixList(std::u16string_view list, std::u16string_view text)
{
    std::u16string_view rest = list;
    while (true) {
        const std::size_t comma = rest.find(u',');
        const std::u16string_view item = rest.substr(0, comma);
        if (item.empty()) {
            return false;
        }
        if (StartsWithIgnoringCase(text, item)) {
            return true;
        }
        if (comma == std::u16string_view::npos) {
            return false;
        }
        rest.remove_prefix(comma + 1);
    }
}

std::u16string_view SpaceTrimmed(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
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
