#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vestrak {

// A pattern of `*` and `?`, cut into its parts once so that it can be matched against many texts;
// matches as MatchWildcard does.
class WildcardPattern {
public:
    explicit WildcardPattern(std::u16string pattern);

    [[nodiscard]] bool matches(std::u16string_view text) const;
    // The same for a text of plain ASCII bytes, each read as the unit of its upper case: an
    // upper-cased pattern then matches as for the upper-cased text, which need not be written.
    [[nodiscard]] bool matchesUpperCased(std::string_view asciiText) const;

private:
    template<typename Char> [[nodiscard]] bool matchesUnits(std::basic_string_view<Char> text) const;

    static constexpr std::size_t MaximumParts = 31;

    struct Part {
        enum class Kind { Literal, Question, Star };
        Kind kind = Kind::Literal;
        // Where the literal lies in the pattern (Literal, Star), or how many characters to skip
        // (Question, in length).
        std::size_t start = 0;
        std::size_t length = 0;
    };

    [[nodiscard]] std::u16string_view literalOf(const Part& part) const
    {
        return std::u16string_view(m_Pattern).substr(part.start, part.length);
    }

    std::u16string m_Pattern;
    std::array<Part, MaximumParts> m_Parts {};
    std::size_t m_PartCount = 0;
};

} // namespace vestrak
