#pragma once

#include "linux_platform/file_identity.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace vestrak {

// The identity of the file at that path, following symbolic links; nothing when there is none.
std::optional<FileIdentity> identityOf(const std::filesystem::path& path);

// Why the store must not follow the path, when it is a symbolic link to a file of another user.
std::optional<std::string> foreignLinkProblem(const std::filesystem::path& path);

// An exclusive lock on a folder, held by one process of all that ask at once, for the life of
// the object. The lock is advisory: only the settings stores of this library take it.
class FolderLock {
public:
    // Waits for the lock at most that long.
    FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False only when another process held the lock for the whole wait; a folder that cannot
    // be locked at all (no lock support, no right to read it) is left to chance as before.
    [[nodiscard]] bool isHeldOrUnavailable() const { return !m_TimedOut; }

private:
    int m_Folder = -1;
    bool m_TimedOut = false;
};

// A copy of a database file and its journals in a private folder of the user, removed with the
// object: SQLite reads the copy with its journals where the original cannot be opened.
class PrivateDatabaseCopy {
public:
    explicit PrivateDatabaseCopy(const std::filesystem::path& databasePath);
    ~PrivateDatabaseCopy();
    PrivateDatabaseCopy(const PrivateDatabaseCopy&) = delete;
    PrivateDatabaseCopy& operator=(const PrivateDatabaseCopy&) = delete;

    // The copy, or an empty path when it could not be made (failure() says why).
    [[nodiscard]] const std::filesystem::path& path() const { return m_Database; }
    [[nodiscard]] const std::string& failure() const { return m_Failure; }

private:
    std::filesystem::path m_Folder;
    std::filesystem::path m_Database;
    std::string m_Failure;
};

// Whether the database has commits in its write-ahead journal, beyond the journal's header.
bool hasJournaledCommits(const std::filesystem::path& databasePath);

// Renames the database file and its journals to one free "damaged" name beside it; the name,
// or nothing with the failure.
std::optional<std::filesystem::path> moveDatabaseAside(
    const std::filesystem::path& databasePath, std::string& failure);

} // namespace vestrak
