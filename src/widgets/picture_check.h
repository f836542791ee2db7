#pragma once

#include "ports/file_system.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrak {

// The formats the picture boxes show. A picture is known by its first bytes, whatever the file is
// called: the object files name theirs .bmp, .jpg, .gif and .tif.
enum class PictureFormat { Bmp, Jpeg, Gif, Tiff };

// "BMP", "JPEG", "GIF" or "TIFF": the name people and image readers know the format by.
[[nodiscard]] std::string_view PictureFormatName(PictureFormat format);

enum class PictureBytes { HeaderOnly, WholeFile };

// A file checked as a picture: its format when a picture box shows it, else why not.
struct PictureCheck {
    std::optional<PictureFormat> format;
    // Empty when the format is known.
    std::u16string problem;
    // The whole file, when it was wanted and the file is a picture; else empty.
    std::string bytes;
};

// Reads only an ordinary file, so that a folder or a pipe of that name is not opened, and stops
// after the header when that is all that is wanted or the header is no picture's.
[[nodiscard]] PictureCheck CheckPicture(FileSystem& files, const std::u16string& path, PictureBytes wanted);

} // namespace vestrak
