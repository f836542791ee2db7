#include "procs/text.h"

#include <algorithm>
#include <array>

namespace vestrak {

namespace {

constexpr std::size_t MaximumPatternParts = 31;

struct PatternPart {
    enum class Kind { Literal, Question, Star };
    Kind kind = Kind::Literal;
    // The text to find (Literal, Star) or the number of characters to skip (Question).
    std::u16string_view literal;
    std::size_t width = 0;
};

struct CutPattern {
    std::array<PatternPart, MaximumPatternParts> parts;
    std::size_t count = 0;
};

CutPattern CutIntoParts(std::u16string_view rest)
{
    CutPattern pattern;
    while (pattern.count < MaximumPatternParts && !rest.empty()) {
        PatternPart& part = pattern.parts[pattern.count++];
        const std::size_t next = rest.find_first_of(u"?*", 1);
        if (rest.front() == u'*') {
            part.kind = PatternPart::Kind::Star;
            part.literal = rest.substr(1, next == std::u16string_view::npos ? next : next - 1);
            rest.remove_prefix(part.literal.size() + 1);
        } else if (rest.front() == u'?') {
            part.kind = PatternPart::Kind::Question;
            part.width = std::min(rest.find_first_not_of(u'?'), rest.size());
            rest.remove_prefix(part.width);
        } else {
            part.literal = rest.substr(0, next);
            rest.remove_prefix(part.literal.size());
        }
    }
    return pattern;
}

} // namespace

bool MatchWildcard(const std::u16string& text, const std::u16string& pattern)
{
    if (pattern == u"*") {
        return true;
    }
    if (text.empty()) {
        return false;
    }
    const CutPattern cut = CutIntoParts(pattern);
    std::u16string_view remaining = text;
    for (std::size_t index = 0; index < cut.count; ++index) {
        const PatternPart& part = cut.parts[index];
        switch (part.kind) {
        case PatternPart::Kind::Literal:
            if (!remaining.starts_with(part.literal)) {
                return false;
            }
            remaining.remove_prefix(part.literal.size());
            break;
        case PatternPart::Kind::Question:
            if (remaining.size() < part.width) {
                return false;
            }
            remaining.remove_prefix(part.width);
            break;
        case PatternPart::Kind::Star:
            if (!part.literal.empty()) {
                const std::size_t found = remaining.find(part.literal);
                if (found == std::u16string_view::npos) {
                    return false;
                }
                remaining.remove_prefix(found + part.literal.size());
            } else if (index + 1 == cut.count) {
                remaining = {};
            }
            break;
        }
    }
    return remaining.empty();
}

} // namespace vestrak
