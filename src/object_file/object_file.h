#pragma once

#include "object_file/read_aside.h"
#include "object_file/section_bytes.h"
#include "object_file/section_lines.h"
#include "ports/file_system.h"
#include "ports/profile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The data lines of the first section of that name (compared upper-cased), each followed by NUL:
// trimmed of spaces, comments (";") and empty lines left out, double spaces halved. A missing or
// unreadable file, or a missing section, gives the empty text. A line holding NUL is damage: it is
// skipped wherever it lies (so it is no header either), and the lines of the section skipped so
// are told to the file system (FileSystem::skippedDamagedLines) by every reader below.
std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files);

// The same lines kept as views into one text, found while the section is read.
SectionLines ReadSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files);

// The same lines kept as the file's bytes, decoded one at a time when asked for. The lines of an
// earlier read given as room lend it their memory.
SectionBytes ReadSectionBytes(const std::u16string& section, const std::u16string& fileName,
    FileSystem& files, SectionBytes room = SectionBytes());

// Lines prepared on a thread of their own while the calling thread takes those prepared before,
// in batches of the lines of a piece of the file.
class SectionLineBatches {
public:
    virtual ~SectionLineBatches() = default;
    // How many batches there are: the reading thread fills one while the calling thread takes another.
    [[nodiscard]] virtual std::size_t count() const = 0;
    // On the reading thread: a line into a batch, with its place among the lines from 0. It must
    // touch nothing the calling thread uses.
    virtual void prepare(std::size_t batch, std::string_view line, std::uint32_t lineIndex) = 0;
    // On the calling thread: the lines prepared into the batch, in order. It is filled again after.
    virtual void take(std::size_t batch) = 0;
    // On the calling thread: the lines taken so far came in the wrong encoding and come again.
    virtual void forget() = 0;
};

// Where the lines of a file of that stamp are best prepared: on a thread of their own for a file
// of some tens of thousands of lines or more, or of a size not known; on the calling thread for a
// smaller one, which would not win back the thread's start and hand-overs.
[[nodiscard]] ReadAside::WorkThread WorkThreadToRead(const std::optional<FileStamp>& stamp);

// The lines ReadSectionLines gives, as the file's UTF-8 bytes, or converted to UTF-8 one line at a
// time when the file is Windows-1252, so that nothing of the section stays and a reader keeping
// bytes never decodes a line. Each line is prepared into a batch on a thread of its own, while this
// thread reads the file and takes the batches, in order: a big section costs about the larger of
// the two sides instead of both. The file system is used on this thread only. False when the file
// cannot be read or has no such section. The file is read once while it is checked for UTF-8; when
// it turns out not to be, forget() is called and the lines come again, as Windows-1252. The work
// runs on the calling thread where workThread says so (WorkThreadToRead).
bool VisitSectionUtf8LinesAside(const std::u16string& section, const std::u16string& fileName,
    FileSystem& files, SectionLineBatches& batches,
    ReadAside::WorkThread workThread = ReadAside::WorkThread::Aside);

// The lines of ReadSectionLines with the line of the file (from 1) each came from, and the lines
// skipped as damage.
struct NumberedSectionLines {
    SectionLines lines;
    std::vector<std::int32_t> fileLines;
    SkippedLines skipped;
};

// The same with file line numbers; nothing when the file cannot be read or has no section of that
// name, no lines for a section without data lines.
std::optional<NumberedSectionLines> ReadIniSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files);

// How many lines ReadIniSectionLines would give for each of those sections, read in one pass, by
// the section's name upper-cased; a section the file lacks (or a file that cannot be read) has
// no entry.
std::map<std::u16string, std::size_t> CountSectionLines(
    const std::set<std::u16string>& sections, const std::u16string& fileName, FileSystem& files);

// One key's value (at most 2047 characters) through the profile lookup, or the default.
std::u16string ReadIniValue(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& fileName, Profile& profile);

} // namespace vestrak
