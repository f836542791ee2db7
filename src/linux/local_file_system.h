#pragma once

#include "ports/file_system.h"

namespace vestrak {

// The machine's own files. Paths are UTF-16 texts, handed to the system as UTF-8.
class LocalFileSystem : public FileSystem {
public:
    // Only ordinary files are read, so a folder or a pipe named as an object file gives nothing.
    std::optional<std::string> readFile(const std::u16string& path) override;
    // One write per call on a file opened for appending, so lines of several processes that share
    // a log file do not interleave.
    bool appendToFile(const std::u16string& path, std::string_view bytes) override;
    bool createFolder(const std::u16string& path) override;
    bool isOrdinaryFile(const std::u16string& path) override;
    // The folder of /proc/self/exe; empty when the system does not tell it.
    std::u16string programFolder() override;
};

} // namespace vestrak
