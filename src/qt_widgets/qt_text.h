#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vestrak {

// Texts cross the ports as UTF-16, which is what QString holds: no conversion, only a copy.
inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string fromQString(const QString& text)
{
    return text.toStdU16String();
}

} // namespace vestrak
