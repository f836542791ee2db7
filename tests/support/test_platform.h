#pragma once

#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "ports/platform.h"
#include "support/temporary_folder.h"
#include "text/encoding.h"

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What the controls need from their host, for tests, fuzz targets and benchmarks alike: files on
// the disk or in memory, settings in memory unless a store is given, scripted profile answers, and
// virtual time.
namespace vestrak::testing {

// Whether a file's change stamp lets the profile keep what it read of the file.
enum class Stamps { None, Kept };

// Hands out `bytes` in pieces of `pieceBytes` (all at once when 0), so that lines, byte order
// marks and sequences are cut anywhere.
inline void TakeInPieces(
    std::string_view bytes, std::size_t pieceBytes, const std::function<bool(std::string_view)>& take)
{
    if (pieceBytes == 0) {
        take(bytes);
        return;
    }
    for (std::size_t start = 0; start < bytes.size() && take(bytes.substr(start, pieceBytes));
         start += pieceBytes) { }
}

// Files held in memory by full path: nothing else exists and nothing can be written, so fuzzed
// and benchmarked input never touches the disk.
class MemoryFiles final : public FileSystem {
public:
    explicit MemoryFiles(Stamps stamps = Stamps::None)
        : m_Stamps(stamps)
    {
    }

    std::optional<std::string> readFile(const std::u16string& path) override
    {
        const auto found = contents.find(path);
        return found == contents.end() ? std::nullopt : std::optional(found->second);
    }
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override
    {
        const auto found = contents.find(path);
        if (found == contents.end()) {
            return false;
        }
        TakeInPieces(found->second, pieceBytes, take);
        return true;
    }
    bool appendToFile(const std::u16string&, std::string_view) override { return false; }
    bool createFolder(const std::u16string&) override { return false; }
    bool isOrdinaryFile(const std::u16string& path) override { return contents.contains(path); }
    std::optional<FileStamp> changeStamp(const std::u16string& path) override
    {
        const auto found = contents.find(path);
        if (m_Stamps == Stamps::None || found == contents.end()) {
            return std::nullopt;
        }
        return FileStamp { .size = found->second.size() };
    }
    std::u16string programFolder() override { return u"/opt/vestrak/"; }
    void skippedDamagedLines(
        const std::u16string& path, const std::u16string& section, const SkippedLines& lines) override
    {
        skipped.push_back(ToUtf8(path + u" [" + section + u"] ") + std::to_string(lines.count) + " from line "
            + std::to_string(lines.firstFileLine));
    }

    std::map<std::u16string, std::string> contents;
    std::size_t pieceBytes = 0;
    // What the readers told of lines skipped as damage.
    std::vector<std::string> skipped;

private:
    Stamps m_Stamps;
};

// The machine's files, with a scratch folder of the test's own that is also the program folder.
// Without kept stamps every read goes to the disk, as tests rewrite files between steps.
class ScratchFiles final : public LocalFileSystem {
public:
    explicit ScratchFiles(Stamps stamps = Stamps::None)
        : m_Stamps(stamps)
    {
    }

    [[nodiscard]] const std::filesystem::path& folder() const { return m_Folder.path(); }
    [[nodiscard]] std::u16string path(const std::string& name) const
    {
        return FromUtf8((folder() / name).string());
    }
    std::u16string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder() / name, std::ios::binary) << bytes;
        return path(name);
    }

    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override
    {
        if (pieceBytes == 0) {
            return LocalFileSystem::readFileInPieces(path, take);
        }
        const std::optional<std::string> bytes = readFile(path);
        if (bytes) {
            TakeInPieces(*bytes, pieceBytes, take);
        }
        return bytes.has_value();
    }
    bool isOrdinaryFile(const std::u16string& path) override
    {
        askedFiles.push_back(path);
        return LocalFileSystem::isOrdinaryFile(path);
    }
    std::optional<FileStamp> changeStamp(const std::u16string& path) override
    {
        return m_Stamps == Stamps::Kept ? LocalFileSystem::changeStamp(path) : std::nullopt;
    }
    std::u16string programFolder() override { return path(""); }

    std::size_t pieceBytes = 0;
    std::vector<std::u16string> askedFiles;

private:
    TemporaryFolder m_Folder;
    Stamps m_Stamps;
};

// Answers the two configuration values of start-up as told and records where the run folder was
// asked for; object-file lookups go to the real profile reader.
class TestProfile final : public Profile {
public:
    explicit TestProfile(FileSystem& files)
        : m_ObjectFiles(files, u"")
    {
    }

    std::u16string userProfileString(const std::u16string&, const std::u16string&,
        const std::u16string& defaultValue, std::size_t) override
    {
        return lastIni.value_or(defaultValue);
    }
    std::u16string privateProfileString(const std::u16string& section, const std::u16string& key,
        const std::u16string& defaultValue, const std::u16string& fileName, std::size_t bufferSize) override
    {
        if (section == u"CTEDIT" && key == u"RUN") {
            runFolderAskedIn = fileName;
            return runFolder.value_or(defaultValue);
        }
        if (whileLookingUp) {
            whileLookingUp();
        }
        return m_ObjectFiles.privateProfileString(section, key, defaultValue, fileName, bufferSize);
    }

    std::optional<std::u16string> lastIni;
    std::optional<std::u16string> runFolder;
    std::u16string runFolderAskedIn;
    // Runs at each object-file lookup, which happens in the middle of a tree build.
    std::function<void()> whileLookingUp;

private:
    IniProfile m_ObjectFiles;
};

// The common application data folder (the log's) as told; none by default, so the log falls back
// to the program folder.
class TestSpecialFolders final : public SpecialFolders {
public:
    std::optional<std::u16string> folderPath(std::int32_t identifier) override
    {
        return identifier == static_cast<std::int32_t>(SpecialFolderId::CommonApplicationData) ? path
                                                                                               : std::nullopt;
    }

    std::optional<std::u16string> path;
};

// Settings in memory that run a hook at each read of one value, which a tree build does at its end.
class TestSettingsStore final : public MemorySettingsStore {
public:
    std::u16string GetSetting(const std::u16string& application, const std::u16string& section,
        const std::u16string& key, const std::u16string& defaultValue = {}) override
    {
        if (whileReading) {
            whileReading();
        }
        return MemorySettingsStore::GetSetting(application, section, key, defaultValue);
    }

    std::function<void()> whileReading;
};

// The platform of one control: the files given, the settings store given or one in memory.
struct TestPlatform {
    explicit TestPlatform(FileSystem& files)
        : TestPlatform(files, memoryStore)
    {
    }
    TestPlatform(FileSystem& files, SettingsStore& store)
        : profile(files)
        , platform { store, profile, specialFolders, files, clock, clock }
    {
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    TestSettingsStore memoryStore;
    TestProfile profile;
    TestSpecialFolders specialFolders;
    VirtualClock clock;
    Platform platform;
};

} // namespace vestrak::testing
