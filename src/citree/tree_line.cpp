#include "citree/tree_line.h"

#include "procs/numeric.h"
#include "procs/text.h"

namespace vestrak {

TreeLine ReadTreeLine(const std::u16string& line)
{
    const std::u16string objectPart = GetField(line, 0, u"=");
    const std::u16string value = TrimSpaces(GetField(line, 1, u"="));
    TreeLine result;
    result.code = ToUpper(SpaceTrimmed(GetField(objectPart, 0, u"/")));
    result.extraInfo = TrimSpaces(GetField(objectPart, 1, u"/"));
    result.image = RoundToInt16(LeadingNumber(GetField(value, 0, u","))).value_or(0);
    result.text = ValueText(value);
    return result;
}

std::u16string ValueText(const std::u16string& value)
{
    const std::size_t comma = value.find(u',');
    if (comma == std::u16string::npos) {
        return value;
    }
    return TrimSpaces(std::u16string_view(value).substr(comma + 1));
}

std::u16string DecimalText(std::int64_t number)
{
    const std::string digits = std::to_string(number);
    return { digits.begin(), digits.end() };
}

} // namespace vestrak
