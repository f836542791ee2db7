#pragma once

#include "ports/file_system.h"

#include <set>

namespace vestrak {

// The files of another file system, with every object file that cannot be read reported once
// on the log category vestrak.controls (the file and why), until it can be read again. The
// controls read nothing but object files through it.
class ReportingFileSystem final : public FileSystem {
public:
    explicit ReportingFileSystem(FileSystem& files)
        : m_Files(files)
    {
    }

    std::optional<std::string> readFile(const std::u16string& path) override;
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override;
    bool appendToFile(const std::u16string& path, std::string_view bytes) override
    {
        return m_Files.appendToFile(path, bytes);
    }
    bool createFolder(const std::u16string& path) override { return m_Files.createFolder(path); }
    bool isOrdinaryFile(const std::u16string& path) override { return m_Files.isOrdinaryFile(path); }
    std::optional<FileStamp> changeStamp(const std::u16string& path) override
    {
        return m_Files.changeStamp(path);
    }
    std::u16string programFolder() override { return m_Files.programFolder(); }

private:
    void note(const std::u16string& path, bool readable);

    FileSystem& m_Files;
    std::set<std::u16string> m_Unreadable;
};

} // namespace vestrak
