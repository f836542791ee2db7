#include "limited_file_system.h"

#include <filesystem>
#include <system_error>

namespace vestrak {

LimitedFileSystem::LimitedFileSystem(FileSystem& files, std::uint64_t largestReadBytes)
    : ForwardingFileSystem(files)
    , m_LargestReadBytes(largestReadBytes)
{
}

std::optional<std::string> LimitedFileSystem::readFile(const std::u16string& path)
{
    if (isTooLarge(path))
        return std::nullopt;
    return ForwardingFileSystem::readFile(path);
}

bool LimitedFileSystem::readFileInPieces(
    const std::u16string& path, const std::function<bool(std::string_view)>& take)
{
    return !isTooLarge(path) && ForwardingFileSystem::readFileInPieces(path, take);
}

bool LimitedFileSystem::isTooLarge(const std::u16string& path) const
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    return !error && size > m_LargestReadBytes;
}

} // namespace vestrak
