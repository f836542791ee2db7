#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vestrak {

/// What tells one state of a file from another: equal stamps mean equal contents.
struct FileStamp {
    std::uint64_t device = 0; ///< The device the file is on.
    std::uint64_t inode = 0; ///< The file's number on its device.
    std::uint64_t size = 0; ///< Size in bytes.
    std::int64_t modifiedNanoseconds = 0; ///< Time of the last change of the contents.
    std::int64_t changedNanoseconds = 0; ///< Time of the last change of the file's entry.

    /// Equal stamps: the file has not changed.
    bool operator==(const FileStamp&) const = default;
};

/// Lines of one section of an object file that its readers skipped because they hold NUL bytes,
/// which is what a crash or power cut leaves in a file.
struct SkippedLines {
    std::uint64_t count = 0; ///< How many lines were skipped.
    std::int32_t firstFileLine = 0; ///< The first of them, from 1, as an editor counts lines.
};

/// The files the controls read and write. Paths are texts as the controls build them.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The whole file as bytes; nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::u16string& path) = 0;
    /// The file's bytes handed to take() piece by piece, in order, so that a reader keeps only what
    /// it needs; take() returns false to stop early. False when the file cannot be read.
    virtual bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take)
    {
        const std::optional<std::string> bytes = readFile(path);
        if (bytes) {
            take(*bytes);
        }
        return bytes.has_value();
    }
    /// Appends bytes, creating the file when missing; false when that failed.
    virtual bool appendToFile(const std::u16string& path, std::string_view bytes) = 0;
    /// Creates one folder; false when it could not be created (also when it exists already).
    virtual bool createFolder(const std::u16string& path) = 0;
    /// True when the path names an ordinary file (not a folder).
    virtual bool isOrdinaryFile(const std::u16string& path) = 0;
    /// The stamp of an ordinary file, so that what was read from it can be kept until it changes.
    /// Nothing when the file is missing, or when a later write could leave the stamp as it is (a
    /// file changed within the time stamps' granularity): such a file has to be read again.
    virtual std::optional<FileStamp> changeStamp(const std::u16string& path) = 0;
    /// The folder of the running program, which stands for the control library's own folder.
    virtual std::u16string programFolder() = 0;
    /// Told by the object-file readers, after reading a section, of the lines of it they skipped
    /// as damage; a file system that reports problems says so. The default ignores it.
    virtual void skippedDamagedLines(
        const std::u16string& /*path*/, const std::u16string& /*section*/, const SkippedLines& /*lines*/)
    {
    }
};

} // namespace vestrak
