#include "diagnostics/log.h"
#include "diagnostics/paths.h"

#include <algorithm>

namespace vestrak {

std::u16string WithFolderEnd(std::u16string path)
{
    if (!path.empty() && !path.ends_with(u'/') && !path.ends_with(u'\\')) {
        path.push_back(u'/');
    }
    return path;
}

std::u16string GetSpecialFolder(
    const std::u16string& fallbackPath, std::int32_t identifier, SpecialFolders& folders)
{
    std::u16string path = folders.folderPath(identifier).value_or(fallbackPath);
    path.resize(std::min(path.size(), path.find(u'\0')));
    return WithFolderEnd(std::move(path));
}

} // namespace vestrak
