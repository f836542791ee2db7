#include "cistatus/status_line.h"

#include "procs/numeric.h"
#include "procs/text.h"

#include <algorithm>

namespace vestrak {

namespace {

// The text after the second comma, trimmed; with one comma the text after it as it stands; with
// none the whole value part.
std::u16string_view ObjectText(std::u16string_view valuePart)
{
    const std::size_t firstComma = FindUnit(valuePart, u',');
    if (firstComma == std::u16string_view::npos) {
        return valuePart;
    }
    const std::size_t secondComma = FindUnit(valuePart, u',', firstComma + 1);
    if (secondComma == std::u16string_view::npos) {
        return valuePart.substr(firstComma + 1);
    }
    return SpaceTrimmed(valuePart.substr(secondComma + 1));
}

} // namespace

StatusLine ParseStatusLine(std::u16string_view line)
{
    const std::u16string_view objectPart = SpaceTrimmed(FieldView(line, 0, u"="));
    const std::u16string_view valuePart = SpaceTrimmed(FieldView(line, 1, u"="));

    StatusLine parsed;
    parsed.code = SpaceTrimmed(FieldView(objectPart, 0, u"/"));
    parsed.section = SpaceTrimmed(FieldView(parsed.code, 0, u","));
    if (const auto status = RoundToInt32(LeadingNumber(FieldView(valuePart, 0, u",")))) {
        parsed.status = *status;
    }
    parsed.tagName = FieldView(valuePart, 1, u",");
    parsed.text = ObjectText(valuePart);
    return parsed;
}

} // namespace vestrak
