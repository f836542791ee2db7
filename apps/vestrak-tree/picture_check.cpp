#include "picture_check.h"

#include <QImageReader>
#include <QString>

namespace vestrak {

// The picture box reads pictures with Qt's image readers, so the check asks the same readers.
std::optional<std::u16string> PictureProblem(const std::u16string& path)
{
    QImageReader reader(QString::fromStdU16String(path));
    if (!reader.read().isNull()) {
        return std::nullopt;
    }
    return reader.errorString().toStdU16String();
}

} // namespace vestrak
