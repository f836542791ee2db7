#include "text/ascii_units.h"
#include "text/text.h"

namespace vestrak {

namespace {

bool IsOdd(char16_t unit)
{
    return (unit & 1U) != 0;
}

// Latin Extended-A pairs capital and small letters; which of the two is odd changes by block.
char16_t UpperLatinExtendedA(char16_t unit)
{
    if (unit == u'\u0131') {
        return u'I';
    }
    if (unit == u'\u017F') {
        return u'S';
    }
    if (unit == u'\u0138' || unit == u'\u0149') {
        return unit;
    }
    const bool smallIsOdd = unit < 0x0139 || (unit >= 0x014A && unit < 0x0179);
    const bool isSmall = IsOdd(unit) == smallIsOdd;
    if (unit == 0x0178 || !isSmall) {
        return unit;
    }
    return static_cast<char16_t>(unit - 1);
}

char16_t UpperGreek(char16_t unit)
{
    switch (unit) {
    case u'\u03AC':
        return u'\u0386';
    case u'\u03C2':
        return u'\u03A3';
    case u'\u03CC':
        return u'\u038C';
    case u'\u03CD':
    case u'\u03CE':
        return static_cast<char16_t>(unit - 0x3F);
    default:
        break;
    }
    if (unit >= 0x03AD && unit <= 0x03AF) {
        return static_cast<char16_t>(unit - 0x25);
    }
    if (unit >= 0x03B1 && unit <= 0x03CB) {
        return static_cast<char16_t>(unit - 0x20);
    }
    return unit;
}

} // namespace

char16_t ToUpper(char16_t unit)
{
    if (unit >= u'a' && unit <= u'z') {
        return static_cast<char16_t>(unit - 0x20);
    }
    if (unit < 0x00E0) {
        return unit;
    }
    if (unit <= 0x00FE) {
        return unit == 0x00F7 ? unit : static_cast<char16_t>(unit - 0x20);
    }
    if (unit == 0x00FF) {
        return u'\u0178';
    }
    if (unit >= 0x0100 && unit <= 0x017F) {
        return UpperLatinExtendedA(unit);
    }
    if (unit >= 0x03AC && unit <= 0x03CE) {
        return UpperGreek(unit);
    }
    if (unit >= 0x0430 && unit <= 0x044F) {
        return static_cast<char16_t>(unit - 0x20);
    }
    if (unit >= 0x0450 && unit <= 0x045F) {
        return static_cast<char16_t>(unit - 0x50);
    }
    return unit;
}

std::u16string ToUpper(std::u16string_view text)
{
    std::u16string upper;
    ToUpper(text, upper);
    return upper;
}

// Every build upper-cases each line's code, and a filter each line's text: nearly always plain
// ASCII, taken many units at a time.
void ToUpper(std::u16string_view text, std::u16string& upper)
{
    upper.assign(text);
    for (std::size_t at = UpperAsciiPrefix(upper.data(), upper.size()); at < upper.size(); ++at) {
        upper[at] = ToUpper(upper[at]);
    }
}

} // namespace vestrak
