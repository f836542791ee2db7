#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vestrak {

// The files the controls read and write. Paths are texts as the controls build them.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file as bytes; nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::u16string& path) = 0;
    // Appends bytes, creating the file when missing; false when that failed.
    virtual bool appendToFile(const std::u16string& path, std::string_view bytes) = 0;
    // Creates one folder; false when it could not be created (also when it exists already).
    virtual bool createFolder(const std::u16string& path) = 0;
    virtual bool isOrdinaryFile(const std::u16string& path) = 0;
    // The folder of the running program, which stands for the control library's own folder.
    virtual std::u16string programFolder() = 0;
};

} // namespace vestrak
