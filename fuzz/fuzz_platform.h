#pragma once

#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux_platform/ini_profile.h"
#include "ports/file_system.h"
#include "ports/platform.h"
#include "ports/special_folders.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vestrak::fuzzing {

inline const std::u16string ObjectFilePath = u"/fuzz/objects.ini";

// One object file held in memory; nothing else exists and nothing can be written, so a fuzzed
// input never touches the disk.
class OneFileSystem final : public FileSystem {
public:
    explicit OneFileSystem(std::string_view bytes)
        : m_Bytes(bytes)
    {
    }

    std::optional<std::string> readFile(const std::u16string& path) override
    {
        if (path != ObjectFilePath) {
            return std::nullopt;
        }
        return m_Bytes;
    }
    bool appendToFile(const std::u16string&, std::string_view) override { return false; }
    bool createFolder(const std::u16string&) override { return false; }
    bool isOrdinaryFile(const std::u16string& path) override { return path == ObjectFilePath; }
    // The file never changes, so what the profile keeps of it is fuzzed too.
    std::optional<FileStamp> changeStamp(const std::u16string& path) override
    {
        if (path != ObjectFilePath) {
            return std::nullopt;
        }
        return FileStamp { .size = m_Bytes.size() };
    }
    std::u16string programFolder() override { return u"/fuzz/"; }

private:
    std::string m_Bytes;
};

class NoSpecialFolders final : public SpecialFolders {
public:
    std::optional<std::u16string> folderPath(std::int32_t) override { return std::nullopt; }
};

// Everything a control needs, in memory and in virtual time, around one fuzzed object file.
struct FuzzPlatform {
    explicit FuzzPlatform(std::string_view objectFileBytes)
        : files(objectFileBytes)
    {
    }

    OneFileSystem files;
    MemorySettingsStore store;
    IniProfile profile { files, u"/fuzz/win.ini" };
    NoSpecialFolders specialFolders;
    VirtualClock clock;
    Platform platform { store, profile, specialFolders, files, clock, clock };
};

} // namespace vestrak::fuzzing
