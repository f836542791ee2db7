#include "object_file/object_picture.h"

#include "object_file/object_file_names.h"

namespace vestrak {

std::optional<ObjectPicture> FindObjectPicture(
    FileSystem& files, std::u16string_view objectFile, std::u16string_view section)
{
    // The folder keeps its end, "/" or the "\" of a path written on Windows.
    const std::size_t folderEnd = objectFile.find_last_of(u"/\\");
    const std::u16string_view folder = folderEnd == std::u16string_view::npos
        ? std::u16string_view()
        : objectFile.substr(0, folderEnd + 1);
    for (const std::u16string_view extension : PictureExtensions) {
        ObjectPicture picture;
        picture.fileName.append(section).append(extension);
        picture.path.append(folder).append(picture.fileName);
        if (files.isOrdinaryFile(picture.path)) {
            return picture;
        }
    }
    return std::nullopt;
}

} // namespace vestrak
