#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace vestrak {

// A host colour value as Qt draws it: 0x00BBGGRR, or, with the top bit set, the system colour of
// that number taken from the palette (0x80000005 is the window background).
QColor toQColor(std::uint32_t hostColor, const QPalette& palette);
// The host colour value of a colour, 0x00BBGGRR; an invalid colour gives the window background.
std::int32_t hostColorOf(const QColor& color);

} // namespace vestrak
