#include "citree/tree_line.h"

#include "procs/numeric.h"
#include "procs/text.h"

namespace vestrak {

TreeLine ReadTreeLine(std::u16string_view line)
{
    // Views into the line: only the three texts kept are copied.
    const std::u16string_view objectPart = FieldView(line, 0, u"=");
    const std::u16string_view value = SpaceTrimmed(FieldView(line, 1, u"="));
    TreeLine result;
    result.code = ToUpper(SpaceTrimmed(FieldView(objectPart, 0, u"/")));
    result.extraInfo = SpaceTrimmed(FieldView(objectPart, 1, u"/"));
    result.image = RoundToInt16(LeadingNumber(FieldView(value, 0, u","))).value_or(0);
    result.text = ValueText(value);
    return result;
}

std::u16string ValueText(std::u16string_view value)
{
    const std::size_t comma = value.find(u',');
    if (comma == std::u16string_view::npos) {
        return std::u16string(value);
    }
    return TrimSpaces(value.substr(comma + 1));
}

std::u16string DecimalText(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return { digits.begin(), digits.end() };
}

} // namespace vestrak
