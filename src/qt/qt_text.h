#pragma once

#include <QString>
#include <string>

namespace vestrak {

// Texts cross the ports as UTF-16, which is what QString holds: no conversion, only a copy.
inline QString toQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

inline std::u16string fromQString(const QString& text)
{
    return text.toStdU16String();
}

} // namespace vestrak
