#pragma once

#include "cistatus/cistatus.h"
#include "headless/headless_surface.h"
#include "headless/memory_settings_store.h"
#include "headless/virtual_clock.h"
#include "text/encoding.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vestrak::testing {

// Real files in a folder of the test's own, with the ordinary-file questions recorded.
class FolderFiles final : public FileSystem {
public:
    FolderFiles()
        : m_Folder(std::filesystem::temp_directory_path()
            / ("cistatus-test-" + std::to_string(std::random_device {}())))
    {
        std::filesystem::create_directories(m_Folder);
    }
    ~FolderFiles() override { std::filesystem::remove_all(m_Folder); }

    std::u16string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_Folder / name, std::ios::binary) << bytes;
        return path(name);
    }
    [[nodiscard]] std::u16string path(const std::string& name) const
    {
        return FromUtf8((m_Folder / name).string());
    }

    std::optional<std::string> readFile(const std::u16string& path) override
    {
        std::ifstream file(ToUtf8(path), std::ios::binary);
        if (!file) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // In pieces of pieceBytes when set, so that lines are given before a later byte is read.
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override
    {
        const std::optional<std::string> bytes = readFile(path);
        if (!bytes || pieceBytes == 0) {
            return FileSystem::readFileInPieces(path, take);
        }
        const std::string_view all = *bytes;
        for (std::size_t start = 0; start < all.size() && take(all.substr(start, pieceBytes));
             start += pieceBytes) { }
        return true;
    }
    bool appendToFile(const std::u16string&, std::string_view) override { return false; }
    bool createFolder(const std::u16string&) override { return false; }
    // Tests rewrite files between steps, so every read goes to the disk.
    std::optional<FileStamp> changeStamp(const std::u16string&) override { return std::nullopt; }
    bool isOrdinaryFile(const std::u16string& path) override
    {
        askedFiles.push_back(path);
        return std::filesystem::is_regular_file(ToUtf8(path));
    }
    std::u16string programFolder() override { return {}; }

    std::vector<std::u16string> askedFiles;
    std::size_t pieceBytes = 0;

private:
    std::filesystem::path m_Folder;
};

class NoProfile final : public Profile {
public:
    std::u16string userProfileString(const std::u16string&, const std::u16string&,
        const std::u16string& defaultValue, std::size_t) override
    {
        return defaultValue;
    }
    std::u16string privateProfileString(const std::u16string&, const std::u16string&,
        const std::u16string& defaultValue, const std::u16string&, std::size_t) override
    {
        return defaultValue;
    }
};

class NoSpecialFolders final : public SpecialFolders {
public:
    std::optional<std::u16string> folderPath(std::int32_t) override { return std::nullopt; }
};

// A status tree control 4800 x 3600 twips on the in-memory widget set, in virtual time.
class CiStatusTest : public ::testing::Test {
protected:
    CiStatusTest()
        : surface(std::make_unique<HeadlessSurface>(files, 4800, 3600))
        , control(std::make_unique<CiStatus>(*surface, platform))
    {
        control->UserControl_Resize();
    }

    // Loads a "TreeObjects" section of these lines, followed by `moreSections`.
    void load(const std::vector<std::string>& lines, const std::string& moreSections = {})
    {
        std::string text = "[TreeObjects]\r\n";
        for (const auto& line : lines) {
            text += line + "\r\n";
        }
        control->setObjectFile(files.write("Objects.ini", text + moreSections));
    }

    [[nodiscard]] Tree& tree() const { return static_cast<Tree&>(*surface->widget(u"TreeView_Status")); }
    [[nodiscard]] Widget& widget(std::u16string_view name) const { return *surface->widget(name); }
    [[nodiscard]] NodeRef node(const std::u16string& key) const { return tree().find(key); }

    // The tree by keys, children in brackets: "A/0(A1/1),B/2".
    [[nodiscard]] std::string shape(const NodeRef& parent = nullptr) const
    {
        std::string text;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            const NodeRef each = tree().node(index);
            if (each->parent() != parent) {
                continue;
            }
            text += (text.empty() ? "" : ",") + ToUtf8(each->key());
            if (each->children() > 0) {
                text += "(" + shape(each) + ")";
            }
        }
        return text;
    }

    // The image of every node in node order.
    [[nodiscard]] std::vector<std::int32_t> images() const
    {
        std::vector<std::int32_t> result;
        for (std::int32_t index = 1; index <= tree().count(); ++index) {
            result.push_back(tree().node(index)->image());
        }
        return result;
    }

    FolderFiles files;
    MemorySettingsStore settings;
    VirtualClock clock;
    NoProfile profile;
    NoSpecialFolders specialFolders;
    Platform platform { settings, profile, specialFolders, files, clock, clock };
    std::unique_ptr<HeadlessSurface> surface;
    std::unique_ptr<CiStatus> control;
};

} // namespace vestrak::testing
