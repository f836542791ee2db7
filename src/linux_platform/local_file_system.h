#pragma once

#include "../export.h"
#include "../ports/file_system.h"

#include <chrono>
#include <functional>
#include <string>

namespace vestrak {

/// The machine's own files. Paths are UTF-16 texts, handed to the system as UTF-8.
class VESTRAK_CONTROLS_EXPORT LocalFileSystem : public FileSystem {
public:
    /// File systems take time stamps from a clock that advances in steps (a few milliseconds on
    /// Linux, two seconds on some shared drives), so a file rewritten within one step at the same
    /// size looks unchanged. A file changed less than settleTime ago gets no stamp.
    static constexpr std::chrono::seconds DefaultSettleTime { 2 };

    /// Told of each file the system refused, in a message for people.
    using ProblemReporter = std::function<void(const std::string& message)>;
    /// Writes the message to stderr, prefixed with the library's name.
    static void reportToStandardError(const std::string& message);

    /// Files changed less than settleTime ago get no stamp; refusals go to reportProblem.
    explicit LocalFileSystem(std::chrono::nanoseconds settleTime = DefaultSettleTime,
        ProblemReporter reportProblem = reportToStandardError);

    /// Only ordinary files are read, so a folder or a pipe named as an object file gives nothing.
    std::optional<std::string> readFile(const std::u16string& path) override;
    /// Pieces of at most PieceBytes, read one after the other into one buffer.
    static constexpr std::size_t PieceBytes = 1 << 17;
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override;
    /// One write per call on a file opened for appending, so lines of several processes that share
    /// a log file do not interleave. The file is created 0644 (less by the umask). Refused, and
    /// reported once per file for the whole process: anything in its place but an ordinary file of
    /// the user's (or root's) with one name (a symbolic link, a pipe, a device, a hard link), and
    /// a folder on its way, or one a symbolic link on its way leads to, that another user could
    /// change (one of theirs, or one others may write without the sticky bit). A file that cannot
    /// be opened (its folder missing, no folder, or closed to the user) is reported so too.
    bool appendToFile(const std::u16string& path, std::string_view bytes) override;
    /// Folders are created 0755 (less by the umask).
    bool createFolder(const std::u16string& path) override;
    bool isOrdinaryFile(const std::u16string& path) override;
    /// Device, inode, size, and the modification and status change times in nanoseconds: a file
    /// replaced by another, written or touched gets another stamp.
    std::optional<FileStamp> changeStamp(const std::u16string& path) override;
    /// The folder of /proc/self/exe; empty when the system does not tell it.
    std::u16string programFolder() override;

private:
    void refuse(const std::string& name, const std::string& reason);

    std::chrono::nanoseconds m_SettleTime;
    ProblemReporter m_ReportProblem;
};

} // namespace vestrak
