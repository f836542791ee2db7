#pragma once

#include "ports/file_system.h"

#include <cstdint>

namespace vestrak {

// A file system that reads no file above a size, as if it could not be read; everything else
// goes to the file system it wraps.
class LimitedFileSystem final : public FileSystem {
public:
    LimitedFileSystem(FileSystem& files, std::uint64_t largestReadBytes);

    std::optional<std::string> readFile(const std::u16string& path) override;
    bool appendToFile(const std::u16string& path, std::string_view bytes) override;
    bool createFolder(const std::u16string& path) override;
    bool isOrdinaryFile(const std::u16string& path) override;
    std::optional<FileStamp> changeStamp(const std::u16string& path) override;
    std::u16string programFolder() override;

private:
    FileSystem& m_Files;
    std::uint64_t m_LargestReadBytes;
};

} // namespace vestrak
