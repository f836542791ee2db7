#pragma once

#include "ports/file_system.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrak {

struct ObjectPicture {
    std::u16string path;
    // The name beside the object file: the section's name and the extension found.
    std::u16string fileName;
};

// An object's picture is the file beside the object file named after the object's section with
// the first of the picture extensions that is an ordinary file; none when there is no such file.
std::optional<ObjectPicture> FindObjectPicture(
    FileSystem& files, std::u16string_view objectFile, std::u16string_view section);

} // namespace vestrak
