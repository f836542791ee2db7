#include "cistatus/status_line.h"

#include "procs/numeric.h"
#include "procs/text.h"

#include <algorithm>

namespace vestrak {

namespace {

// The text after the second comma, trimmed; with one comma the text after it as it stands; with
// none the whole value part.
std::u16string ObjectText(std::u16string_view valuePart)
{
    const std::size_t firstComma = valuePart.find(u',');
    if (firstComma == std::u16string_view::npos) {
        return std::u16string(valuePart);
    }
    const std::size_t secondComma = valuePart.find(u',', firstComma + 1);
    if (secondComma == std::u16string_view::npos) {
        return std::u16string(valuePart.substr(firstComma + 1));
    }
    return TrimSpaces(valuePart.substr(secondComma + 1));
}

} // namespace

StatusLine ParseStatusLine(std::u16string_view line)
{
    const std::u16string_view objectPart = SpaceTrimmed(FieldView(line, 0, u"="));
    const std::u16string_view valuePart = SpaceTrimmed(FieldView(line, 1, u"="));

    StatusLine parsed;
    parsed.code = TrimSpaces(FieldView(objectPart, 0, u"/"));
    parsed.section = TrimSpaces(FieldView(parsed.code, 0, u","));
    if (const auto status = RoundToInt32(LeadingNumber(FieldView(valuePart, 0, u",")))) {
        parsed.status = *status;
    }
    parsed.tagName = FieldView(valuePart, 1, u",");
    parsed.text = ObjectText(valuePart);
    return parsed;
}

} // namespace vestrak
