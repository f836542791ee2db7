#pragma once

#include <string>

namespace vestrak {

// The path with a folder end: "/" appended unless it is empty or already ends in "/" or "\".
std::u16string WithFolderEnd(std::u16string path);

} // namespace vestrak
