#include "text/wildcard.h"

#include "text/byte_words.h"
#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace vestrak {

namespace {

char16_t UnitOf(char16_t unit)
{
    return unit;
}

// A byte of an ASCII text as the unit of its upper case.
char16_t UnitOf(char byte)
{
    return static_cast<char16_t>(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte);
}

template<typename Char> bool StartsWithUnits(std::basic_string_view<Char> text, std::u16string_view literal)
{
    return text.size() >= literal.size()
        && std::equal(literal.begin(), literal.end(), text.begin(),
            [](char16_t unit, Char given) { return unit == UnitOf(given); });
}

std::size_t FindFirst(std::u16string_view text, char16_t unit, std::size_t from)
{
    return FindUnit(text, unit, from);
}

// The first byte whose unit is that one, eight bytes a step. A letter's unit is its upper case:
// with the bit that tells a letter's cases apart set in every byte, it is found in either case.
std::size_t FindFirst(std::string_view asciiText, char16_t unit, std::size_t from)
{
    if (unit >= 0x80 || (unit >= u'a' && unit <= u'z')) {
        return std::string_view::npos;
    }
    const bool letter = unit >= u'A' && unit <= u'Z';
    const std::uint64_t caseBits = letter ? 0x2020202020202020U : 0;
    const auto wanted = static_cast<char>(letter ? unit | 0x20 : unit);
    std::size_t at = from;
    for (; at + WordBytes <= asciiText.size(); at += WordBytes) {
        if (const std::uint64_t marks = MarksOf(LoadWord(asciiText, at) | caseBits, wanted)) {
            return at + FirstMarked(marks);
        }
    }
    for (; at < asciiText.size(); ++at) {
        if (UnitOf(asciiText[at]) == unit) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The first place of a literal in the text, found by its first unit.
template<typename Char>
std::size_t FindLiteral(std::basic_string_view<Char> text, std::u16string_view literal)
{
    constexpr std::size_t NotFound = std::basic_string_view<Char>::npos;
    for (std::size_t at = FindFirst(text, literal.front(), 0); at != NotFound;
         at = FindFirst(text, literal.front(), at + 1)) {
        if (text.size() - at < literal.size()) {
            return NotFound;
        }
        if (StartsWithUnits(text.substr(at), literal)) {
            return at;
        }
    }
    return NotFound;
}

} // namespace

WildcardPattern::WildcardPattern(std::u16string pattern)
    : m_Pattern(std::move(pattern))
{
    const std::u16string_view whole = m_Pattern;
    std::size_t position = 0;
    while (m_PartCount < MaximumParts && position < whole.size()) {
        Part& part = m_Parts[m_PartCount++];
        const std::size_t next = std::min(whole.find_first_of(u"?*", position + 1), whole.size());
        if (whole[position] == u'*') {
            part = { Part::Kind::Star, position + 1, next - position - 1 };
            position = next;
        } else if (whole[position] == u'?') {
            const std::size_t end = std::min(whole.find_first_not_of(u'?', position), whole.size());
            part = { Part::Kind::Question, position, end - position };
            position = end;
        } else {
            part = { Part::Kind::Literal, position, next - position };
            position = next;
        }
    }
}

template<typename Char> bool WildcardPattern::matchesUnits(std::basic_string_view<Char> text) const
{
    if (m_Pattern.size() == 1 && m_Pattern.front() == u'*') {
        return true;
    }
    if (text.empty()) {
        return false;
    }
    std::basic_string_view<Char> remaining = text;
    for (std::size_t index = 0; index < m_PartCount; ++index) {
        const Part& part = m_Parts[index];
        const std::u16string_view literal = literalOf(part);
        switch (part.kind) {
        case Part::Kind::Literal:
            if (!StartsWithUnits(remaining, literal)) {
                return false;
            }
            remaining.remove_prefix(literal.size());
            break;
        case Part::Kind::Question:
            if (remaining.size() < part.length) {
                return false;
            }
            remaining.remove_prefix(part.length);
            break;
        case Part::Kind::Star:
            if (!literal.empty()) {
                const std::size_t found = FindLiteral(remaining, literal);
                if (found == std::basic_string_view<Char>::npos) {
                    return false;
                }
                remaining.remove_prefix(found + literal.size());
            } else if (index + 1 == m_PartCount) {
                remaining = {};
            }
            break;
        }
    }
    return remaining.empty();
}

bool WildcardPattern::matches(std::u16string_view text) const
{
    return matchesUnits(text);
}

bool WildcardPattern::matchesUpperCased(std::string_view asciiText) const
{
    return matchesUnits(asciiText);
}

bool MatchWildcard(const std::u16string& text, const std::u16string& pattern)
{
    return WildcardPattern(pattern).matches(text);
}

} // namespace vestrak
