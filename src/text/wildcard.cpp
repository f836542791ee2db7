#include "text/wildcard.h"

#include "text/text.h"

#include <algorithm>
#include <utility>

namespace vestrak {

namespace {

// The first place of a literal in the text, found by its first unit.
std::size_t FindLiteral(std::u16string_view text, std::u16string_view literal)
{
    for (std::size_t at = FindUnit(text, literal.front()); at != std::u16string_view::npos;
         at = FindUnit(text, literal.front(), at + 1)) {
        if (text.size() - at < literal.size()) {
            return std::u16string_view::npos;
        }
        if (text.substr(at, literal.size()) == literal) {
            return at;
        }
    }
    return std::u16string_view::npos;
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

bool WildcardPattern::matches(std::u16string_view text) const
{
    if (m_Pattern == u"*") {
        return true;
    }
    if (text.empty()) {
        return false;
    }
    std::u16string_view remaining = text;
    for (std::size_t index = 0; index < m_PartCount; ++index) {
        const Part& part = m_Parts[index];
        const std::u16string_view literal = literalOf(part);
        switch (part.kind) {
        case Part::Kind::Literal:
            if (!remaining.starts_with(literal)) {
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
                if (found == std::u16string_view::npos) {
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

bool MatchWildcard(const std::u16string& text, const std::u16string& pattern)
{
    return WildcardPattern(pattern).matches(text);
}

} // namespace vestrak
