#pragma once

#include <cstddef>
#include <string_view>

namespace vestrak {

// Where the separators of an object file's data line lie, "code/name = value, more, text", found
// in one pass over it: its first two "=", the first two "/" before the first "=", the first ","
// before the first "/" (or "="), and the first two "," between the two "=". Both controls take
// their lines apart at these.
struct LineSeparators {
    static constexpr std::size_t NotFound = std::u16string_view::npos;

    std::size_t equals = NotFound;
    std::size_t secondEquals = NotFound;
    std::size_t slash = NotFound;
    std::size_t secondSlash = NotFound;
    std::size_t codeComma = NotFound;
    std::size_t comma = NotFound;
    std::size_t secondComma = NotFound;
};

LineSeparators FindLineSeparators(std::u16string_view line);
// The same for a line's UTF-8 bytes.
LineSeparators FindLineSeparators(std::string_view line);

// The part from start up to end (NotFound: the end of the text).
inline std::u16string_view Between(std::u16string_view text, std::size_t start, std::size_t end)
{
    return text.substr(start, end == LineSeparators::NotFound ? LineSeparators::NotFound : end - start);
}

inline std::string_view Between(std::string_view text, std::size_t start, std::size_t end)
{
    return text.substr(start, end == LineSeparators::NotFound ? LineSeparators::NotFound : end - start);
}

} // namespace vestrak
