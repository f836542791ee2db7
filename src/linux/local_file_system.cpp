#include "linux/local_file_system.h"

#include "procs/encoding.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vestrak {

namespace {

std::filesystem::path systemPath(const std::u16string& path)
{
    return ToUtf8(path);
}

// Closes a POSIX file descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor)
        : m_Descriptor(descriptor)
    {
    }
    ~FileDescriptor()
    {
        if (m_Descriptor >= 0) {
            close(m_Descriptor);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const { return m_Descriptor; }

private:
    int m_Descriptor = -1;
};

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

LocalFileSystem::LocalFileSystem(std::chrono::nanoseconds settleTime)
    : m_SettleTime(settleTime)
{
}

std::optional<std::string> LocalFileSystem::readFile(const std::u16string& path)
{
    // Not blocking, so that opening a pipe does not wait for a writer before it is turned away.
    const FileDescriptor file(open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status { };
    if (file.get() < 0 || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
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

bool LocalFileSystem::appendToFile(const std::u16string& path, std::string_view bytes)
{
    const FileDescriptor file(open(ToUtf8(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (file.get() < 0) {
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

bool LocalFileSystem::createFolder(const std::u16string& path)
{
    return mkdir(ToUtf8(path).c_str(), 0777) == 0;
}

bool LocalFileSystem::isOrdinaryFile(const std::u16string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(systemPath(path), error);
}

std::optional<FileStamp> LocalFileSystem::changeStamp(const std::u16string& path)
{
    struct stat status { };
    timespec now {};
    if (stat(ToUtf8(path).c_str(), &status) != 0 || !S_ISREG(status.st_mode)
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
