#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// Field `index` (from 0) of a separator-delimited text; empty when the field does not exist.
// An empty separator is replaced by a tab when the text holds one, else by an apostrophe when
// it holds one, and the choice is written back to `separator`. With no separator at all every
// field is empty.
std::u16string GetField(const std::u16string& text, std::int32_t index, std::u16string& separator);
// The same for a fixed separator; allocates nothing but the result.
std::u16string GetField(const std::u16string& text, std::int32_t index, std::u16string_view separator);
// The same as a view into the text, for callers that take lines apart without copying them.
std::u16string_view FieldView(std::u16string_view text, std::int32_t index, std::u16string_view separator);

// The first position at or after `from` holding that code unit, or npos. Looks at several units
// at a time: lines are taken apart by single-unit separators all through a build.
std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from = 0);

// Whether the text begins with an item of the comma-separated list, ignoring case. The first
// empty item ends the list; items are compared as written, spaces included.
bool IsInPrefixList(std::u16string_view list, std::u16string_view text);
// The same for a UTF-8 list and text, answered as for the two decoded: bytes are compared, and
// the two decoded only where they differ beyond ASCII.
bool IsInPrefixList(std::string_view list, std::string_view text);

// Matches `*` and `?` in one pass without backtracking: a star takes the first occurrence of the
// literal behind it. Only the first 31 parts of a pattern are looked at.
bool MatchWildcard(const std::u16string& text, const std::u16string& pattern);

// Whether two different ASCII units are one letter in its two cases.
template<typename Char> constexpr bool SameAsciiLetterIgnoringCase(Char first, Char second)
{
    const auto lower = static_cast<Char>(first | 0x20);
    return (first ^ second) == 0x20 && lower >= Char('a') && lower <= Char('z');
}

// Removes the space character (not tabs) from both ends.
std::u16string TrimSpaces(std::u16string_view text);
// Inline: taking a status line apart trims four of its parts.
template<typename Char> std::basic_string_view<Char> SpaceTrimmedUnits(std::basic_string_view<Char> text)
{
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && text[first] == Char(' ')) {
        ++first;
    }
    while (end > first && text[end - 1] == Char(' ')) {
        --end;
    }
    return text.substr(first, end - first);
}
inline std::u16string_view SpaceTrimmed(std::u16string_view text)
{
    return SpaceTrimmedUnits(text);
}
inline std::string_view SpaceTrimmed(std::string_view text)
{
    return SpaceTrimmedUnits(text);
}

// Upper-cases code unit by code unit, the same in every locale: ASCII, Latin-1, Latin
// Extended-A, basic Greek and Cyrillic letters. Positions stay where they are.
char16_t ToUpper(char16_t unit);
std::u16string ToUpper(std::u16string_view text);
// The same into a text the caller keeps, so that its room serves again.
void ToUpper(std::u16string_view text, std::u16string& upper);

// Every piece between NUL characters, including the (usually empty) piece after the last one.
std::vector<std::u16string> SplitAtNul(const std::u16string& text);

} // namespace vestrak
