#pragma once

#include <array>
#include <string_view>

namespace vestrak {

// The section a tree reads unless told otherwise; the status tree always reads it.
inline constexpr std::u16string_view TreeObjectsSection = u"TreeObjects";
// The section a list without roots reads unless told otherwise.
inline constexpr std::u16string_view ListObjectsSection = u"ListObjects";

// An object's picture is the file beside the object file named after the object's section with
// the first of these extensions that exists.
inline constexpr std::array<std::u16string_view, 4> PictureExtensions { u".bmp", u".jpg", u".gif", u".tif" };

} // namespace vestrak
