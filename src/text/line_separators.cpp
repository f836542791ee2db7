#include "text/line_separators.h"

#include "text/unit_search.h"

namespace vestrak {

LineSeparators FindLineSeparators(std::u16string_view line)
{
    constexpr std::size_t NotFound = LineSeparators::NotFound;
    LineSeparators found;
    ForEachUnitOf(line, u'=', u'/', u',', [&](std::size_t position) {
        const char16_t unit = line[position];
        if (unit == u'=') {
            if (found.equals != NotFound) {
                found.secondEquals = position;
                return false;
            }
            found.equals = position;
        } else if (found.equals == NotFound) {
            if (unit == u'/') {
                if (found.slash == NotFound) {
                    found.slash = position;
                } else if (found.secondSlash == NotFound) {
                    found.secondSlash = position;
                }
            } else if (found.slash == NotFound && found.codeComma == NotFound) {
                found.codeComma = position;
            }
        } else if (unit == u',') {
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

} // namespace vestrak
