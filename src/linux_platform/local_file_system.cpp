#include "linux_platform/local_file_system.h"

#include "linux_platform/file_descriptor.h"
#include "text/encoding.h"
#include "text/output_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vestrak {

namespace {

// The name the system is given; nothing for a name holding NUL, which the system would cut short
// there and so reach another file.
std::optional<std::string> systemName(const std::u16string& path)
{
    if (path.find(u'\0') != std::u16string::npos) {
        return std::nullopt;
    }
    return ToUtf8(path);
}

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// Not blocking, so that opening a pipe does not wait for a writer before it is turned away; -1
// for anything but an ordinary file.
int openOrdinaryFile(const std::u16string& path, struct stat& status)
{
    const std::optional<std::string> name = systemName(path);
    if (!name) {
        return -1;
    }
    const int descriptor = open(name->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor >= 0 && (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

// Why a file in this place could be swapped by another user: a level on its way that belongs to
// someone else than the user and root, or a folder that others may write without the sticky bit
// that keeps them from renaming what is not theirs. Nothing when the place is safe.
std::optional<std::string> unsafeLevelOf(const std::filesystem::path& folderPath)
{
    const uid_t user = geteuid();
    std::filesystem::path folder;
    for (const std::filesystem::path& part : folderPath) {
        folder /= part;
        struct stat status { };
        if (lstat(folder.c_str(), &status) != 0) {
            return std::nullopt;
        }
        if (status.st_uid != user && status.st_uid != 0) {
            return "the folder " + folder.string() + " belongs to another user";
        }
        if (S_ISDIR(status.st_mode) && (status.st_mode & S_IWOTH) != 0 && (status.st_mode & S_ISVTX) == 0) {
            return "others may change the folder " + folder.string();
        }
    }
    return std::nullopt;
}

// The levels of the name as written, then, when some of them are symbolic links, the folders
// they lead to: a link of the user's own may still point into a folder open to all.
std::optional<std::string> unsafeFolderOf(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(name).parent_path();
    if (std::optional<std::string> danger = unsafeLevelOf(folder)) {
        return danger;
    }
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(folder.empty() ? "." : folder, error);
    if (error || resolved == folder) {
        return std::nullopt;
    }
    return unsafeLevelOf(resolved);
}

std::string kindOfEntry(mode_t mode)
{
    if (S_ISLNK(mode)) {
        return "it is a symbolic link";
    }
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (S_ISFIFO(mode)) {
        return "it is a pipe, not an ordinary file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not an ordinary file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not an ordinary file";
    }
    return {};
}

// Why a file opened for appending must not be written: something else than an ordinary file, a
// file with other names (any of which may be one the user would not want written), or a file
// another user may swap or read. Nothing when it is the user's own (or root's) ordinary file.
std::optional<std::string> unsafeFileOf(const struct stat& status)
{
    if (std::string kind = kindOfEntry(status.st_mode); !kind.empty()) {
        return kind;
    }
    if (status.st_nlink > 1) {
        return "it has " + std::to_string(status.st_nlink) + " names (hard links)";
    }
    if (status.st_uid != geteuid() && status.st_uid != 0) {
        return "it belongs to another user";
    }
    return std::nullopt;
}

bool mayWriteIn(const std::filesystem::path& folder)
{
    return faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Why a file could not be opened for appending, the open's errno given: what stands in its place,
// or the first level of its folder that is missing, no folder, or closed to the user.
std::string whyNotOpened(const std::string& name, int openError)
{
    struct stat status { };
    if (lstat(name.c_str(), &status) == 0) {
        if (std::string kind = kindOfEntry(status.st_mode); !kind.empty()) {
            return kind;
        }
    }
    const std::filesystem::path folderPath = std::filesystem::path(name).parent_path();
    std::filesystem::path folder;
    for (const std::filesystem::path& part : folderPath) {
        const std::filesystem::path above = folder;
        folder /= part;
        if (stat(folder.c_str(), &status) != 0) {
            if (errno == EACCES) {
                return "the user may not enter the folder " + above.string();
            }
            if (errno != ENOENT) {
                break;
            }
            if (!mayWriteIn(above)) {
                return "the folder " + folder.string() + " is missing, and the user may not write in "
                    + above.string() + " to create it";
            }
            return "the folder " + folder.string() + " is missing";
        }
        if (!S_ISDIR(status.st_mode)) {
            return folder.string() + " is not a folder";
        }
    }
    if (openError == EACCES || openError == EPERM) {
        return mayWriteIn(folderPath) ? "the user may not write it"
                                      : "the user may not write in the folder " + folderPath.string();
    }
    return std::strerror(openError);
}

// Each file is refused once for the whole process, however many file systems write to it.
bool firstRefusalOf(const std::string& name)
{
    static std::mutex guard;
    static std::set<std::string> refusedFiles;
    const std::lock_guard lock(guard);
    return refusedFiles.insert(name).second;
}

} // namespace

LocalFileSystem::LocalFileSystem(std::chrono::nanoseconds settleTime, ProblemReporter reportProblem)
    : m_SettleTime(settleTime)
    , m_ReportProblem(std::move(reportProblem))
{
}

void LocalFileSystem::reportToStandardError(const std::string& message)
{
    std::cerr << "VestrakControls: " << PrintableText(message) << '\n';
}

std::optional<std::string> LocalFileSystem::readFile(const std::u16string& path)
{
    struct stat status { };
    const FileDescriptor file(openOrdinaryFile(path, status));
    if (file.get() < 0) {
        return std::nullopt;
    }
    // Read in one go at the size the file has; a file that grows meanwhile is read to its end.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

bool LocalFileSystem::readFileInPieces(
    const std::u16string& path, const std::function<bool(std::string_view)>& take)
{
    struct stat status { };
    const FileDescriptor file(openOrdinaryFile(path, status));
    if (file.get() < 0) {
        return false;
    }
    std::string piece(std::min(PieceBytes, static_cast<std::size_t>(status.st_size) + 1), '\0');
    while (true) {
        const ssize_t got = read(file.get(), piece.data(), piece.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0 || !take(std::string_view(piece.data(), static_cast<std::size_t>(got)))) {
            return true;
        }
        // A file that grows meanwhile is read to its end.
        if (piece.size() < PieceBytes) {
            piece.resize(PieceBytes);
        }
    }
}

bool LocalFileSystem::appendToFile(const std::u16string& path, std::string_view bytes)
{
    const std::optional<std::string> name = systemName(path);
    if (!name) {
        return false;
    }
    if (const std::optional<std::string> danger = unsafeFolderOf(*name)) {
        refuse(*name, *danger);
        return false;
    }
    // Never through a link someone planted in the file's place, and without waiting for a reader
    // of a pipe planted there: what was opened is looked at before anything is written.
    const FileDescriptor file(open(
        name->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644));
    if (file.get() < 0) {
        refuse(*name, whyNotOpened(*name, errno));
        return false;
    }
    struct stat status { };
    if (fstat(file.get(), &status) != 0) {
        refuse(*name, std::strerror(errno));
        return false;
    }
    if (const std::optional<std::string> danger = unsafeFileOf(status)) {
        refuse(*name, *danger);
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = write(file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void LocalFileSystem::refuse(const std::string& name, const std::string& reason)
{
    if (firstRefusalOf(name)) {
        m_ReportProblem("nothing is written to " + name + ": " + reason);
    }
}

bool LocalFileSystem::createFolder(const std::u16string& path)
{
    const std::optional<std::string> name = systemName(path);
    return name && mkdir(name->c_str(), 0755) == 0;
}

bool LocalFileSystem::isOrdinaryFile(const std::u16string& path)
{
    const std::optional<std::string> name = systemName(path);
    struct stat status { };
    return name && stat(name->c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<FileStamp> LocalFileSystem::changeStamp(const std::u16string& path)
{
    const std::optional<std::string> name = systemName(path);
    struct stat status { };
    timespec now {};
    if (!name || stat(name->c_str(), &status) != 0 || !S_ISREG(status.st_mode)
        || clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return std::nullopt;
    }
    const FileStamp stamp { static_cast<std::uint64_t>(status.st_dev),
        static_cast<std::uint64_t>(status.st_ino), static_cast<std::uint64_t>(status.st_size),
        nanoseconds(status.st_mtim), nanoseconds(status.st_ctim) };
    // The status change time moves with every write, rename or touch, and never backwards.
    if (nanoseconds(now) - stamp.changedNanoseconds < m_SettleTime.count()) {
        return std::nullopt;
    }
    return stamp;
}

std::u16string LocalFileSystem::programFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return FromUtf8(program.parent_path().string());
}

} // namespace vestrak
