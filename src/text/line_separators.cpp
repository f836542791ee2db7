#include "text/line_separators.h"

#include "text/unit_search.h"

namespace vestrak {

namespace {

// The separators are single units in UTF-16 and single bytes in UTF-8 alike.
template<typename Char> LineSeparators FindSeparators(std::basic_string_view<Char> line)
{
    constexpr std::size_t NotFound = LineSeparators::NotFound;
    LineSeparators found;
    ForEachUnitOf(line, Char('='), Char('/'), Char(','), [&](std::size_t position) {
        const Char unit = line[position];
        if (unit == Char('=')) {
            if (found.equals != NotFound) {
                found.secondEquals = position;
                return false;
            }
            found.equals = position;
        } else if (found.equals == NotFound) {
            if (unit == Char('/')) {
                if (found.slash == NotFound) {
                    found.slash = position;
                } else if (found.secondSlash == NotFound) {
                    found.secondSlash = position;
                }
            } else if (found.slash == NotFound && found.codeComma == NotFound) {
                found.codeComma = position;
            }
        } else if (unit == Char(',')) {
            if (found.comma == NotFound) {
                found.comma = position;
            } else if (found.secondComma == NotFound) {
                found.secondComma = position;
            }
        }
        return true;
    });
    return found;
}

} // namespace

LineSeparators FindLineSeparators(std::u16string_view line)
{
    return FindSeparators(line);
}

LineSeparators FindLineSeparators(std::string_view line)
{
    return FindSeparators(line);
}

} // namespace vestrak
