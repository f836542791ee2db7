#include "linux_platform/settings_file.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vestrak {

namespace {

// Between tries of a lock that another process holds.
constexpr std::chrono::milliseconds LockRetryPause { 10 };

// The journals SQLite keeps beside a database: the write-ahead journal, its shared index and the
// rollback journal.
constexpr std::array JournalSuffixes = { "-wal", "-shm", "-journal" };

// The size of a write-ahead journal's own header; commits follow it.
constexpr std::uintmax_t WalHeaderSize = 32;

std::string timestampForFileName()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    std::array<char, 32> text {};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return { text.data(), length };
}

} // namespace

std::optional<FileIdentity> identityOf(const std::filesystem::path& path)
{
    struct stat status { };
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity { status.st_dev, status.st_ino, status.st_size };
}

std::optional<std::string> foreignLinkProblem(const std::filesystem::path& path)
{
    struct stat link { };
    struct stat target { };
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) || stat(path.c_str(), &target) != 0
        || target.st_uid == geteuid()) {
        return std::nullopt;
    }
    std::error_code error;
    return "it is a symbolic link to " + std::filesystem::read_symlink(path, error).string()
        + ", a file of another user";
}

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
    : m_Folder(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (m_Folder >= 0) {
        if (flock(m_Folder, LOCK_EX | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR)) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_TimedOut = true;
            return;
        }
        std::this_thread::sleep_for(LockRetryPause);
    }
}

FolderLock::~FolderLock()
{
    if (m_Folder >= 0) {
        close(m_Folder);
    }
}

PrivateDatabaseCopy::PrivateDatabaseCopy(const std::filesystem::path& databasePath)
{
    std::error_code error;
    std::string folderTemplate
        = (std::filesystem::temp_directory_path(error) / "vestrak-settings-XXXXXX").string();
    if (error || mkdtemp(folderTemplate.data()) == nullptr) {
        m_Failure = "no private folder for a copy could be made";
        return;
    }
    m_Folder = folderTemplate;
    const std::filesystem::path copy = m_Folder / "settings.sqlite";
    std::filesystem::copy_file(databasePath, copy, error);
    // Without the shared index, which SQLite rebuilds from the write-ahead journal.
    for (const char* suffix : { "-wal", "-journal" }) {
        const std::filesystem::path journal = databasePath.string() + suffix;
        if (!error && std::filesystem::exists(journal)) {
            std::filesystem::copy_file(journal, copy.string() + suffix, error);
        }
    }
    if (error) {
        m_Failure = "copying it failed: " + error.message();
        return;
    }
    m_Database = copy;
}

PrivateDatabaseCopy::~PrivateDatabaseCopy()
{
    std::error_code ignored;
    if (!m_Folder.empty()) {
        std::filesystem::remove_all(m_Folder, ignored);
    }
}

bool hasJournaledCommits(const std::filesystem::path& databasePath)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(databasePath.string() + "-wal", error);
    return !error && size > WalHeaderSize;
}

std::optional<std::filesystem::path> moveDatabaseAside(
    const std::filesystem::path& databasePath, std::string& failure)
{
    const std::string baseName = databasePath.string() + ".damaged-" + timestampForFileName();
    std::filesystem::path target = baseName;
    std::error_code error;
    for (int attempt = 2; std::filesystem::exists(target, error); ++attempt) {
        target = baseName + "-" + std::to_string(attempt);
    }
    std::filesystem::rename(databasePath, target, error);
    if (error) {
        failure = "moving it aside failed: " + error.message();
        return std::nullopt;
    }
    for (const char* suffix : JournalSuffixes) {
        const std::filesystem::path journal = databasePath.string() + suffix;
        if (std::filesystem::exists(journal, error)) {
            std::filesystem::rename(journal, target.string() + suffix, error);
        }
    }
    return target;
}

} // namespace vestrak
