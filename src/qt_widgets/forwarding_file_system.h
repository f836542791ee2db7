#pragma once

#include "ports/file_system.h"

namespace vestrak {

// Passes every call on to another file system: the base of file systems that change only some
// of the calls and leave the rest to the files they wrap.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& files)
        : m_Files(files)
    {
    }

    std::optional<std::string> readFile(const std::u16string& path) override
    {
        return m_Files.readFile(path);
    }
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override
    {
        return m_Files.readFileInPieces(path, take);
    }
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
    void skippedDamagedLines(
        const std::u16string& path, const std::u16string& section, const SkippedLines& lines) override
    {
        m_Files.skippedDamagedLines(path, section, lines);
    }

private:
    FileSystem& m_Files;
};

} // namespace vestrak
