#pragma once

#include "../export.h"
#include "../ports/file_system.h"

#include <chrono>

namespace vestrak {

// The machine's own files. Paths are UTF-16 texts, handed to the system as UTF-8.
class VESTRAK_CONTROLS_EXPORT LocalFileSystem : public FileSystem {
public:
    // File systems take time stamps from a clock that advances in steps (a few milliseconds on
    // Linux, two seconds on some shared drives), so a file rewritten within one step at the same
    // size looks unchanged. A file changed less than settleTime ago gets no stamp.
    static constexpr std::chrono::seconds DefaultSettleTime { 2 };

    explicit LocalFileSystem(std::chrono::nanoseconds settleTime = DefaultSettleTime);

    // Only ordinary files are read, so a folder or a pipe named as an object file gives nothing.
    std::optional<std::string> readFile(const std::u16string& path) override;
    // One write per call on a file opened for appending, so lines of several processes that share
    // a log file do not interleave.
    bool appendToFile(const std::u16string& path, std::string_view bytes) override;
    bool createFolder(const std::u16string& path) override;
    bool isOrdinaryFile(const std::u16string& path) override;
    // Device, inode, size, and the modification and status change times in nanoseconds: a file
    // replaced by another, written or touched gets another stamp.
    std::optional<FileStamp> changeStamp(const std::u16string& path) override;
    // The folder of /proc/self/exe; empty when the system does not tell it.
    std::u16string programFolder() override;

private:
    std::chrono::nanoseconds m_SettleTime;
};

} // namespace vestrak
