#include "limited_file_system.h"

#include <filesystem>
#include <system_error>

namespace vestrak {

LimitedFileSystem::LimitedFileSystem(FileSystem& files, std::uint64_t largestReadBytes)
    : m_Files(files)
    , m_LargestReadBytes(largestReadBytes)
{
}

std::optional<std::string> LimitedFileSystem::readFile(const std::u16string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    if (!error && size > m_LargestReadBytes)
        return std::nullopt;
    return m_Files.readFile(path);
}

bool LimitedFileSystem::appendToFile(const std::u16string& path, std::string_view bytes)
{
    return m_Files.appendToFile(path, bytes);
}

bool LimitedFileSystem::createFolder(const std::u16string& path)
{
    return m_Files.createFolder(path);
}

bool LimitedFileSystem::isOrdinaryFile(const std::u16string& path)
{
    return m_Files.isOrdinaryFile(path);
}

std::optional<FileStamp> LimitedFileSystem::changeStamp(const std::u16string& path)
{
    return m_Files.changeStamp(path);
}

std::u16string LimitedFileSystem::programFolder()
{
    return m_Files.programFolder();
}

} // namespace vestrak
