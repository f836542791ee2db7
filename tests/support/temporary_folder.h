#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace vestrak::testing {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        static std::atomic<int> counter = 0;
        m_Path = std::filesystem::temp_directory_path()
            / ("vestrak-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(m_Path);
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_Path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_Path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

// Makes a folder the current one and goes back to the one before on leaving.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& path)
        : m_Previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~CurrentFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_Previous, ignored);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path m_Previous;
};

// Sets (or, given nothing, unsets) an environment variable and restores it on leaving.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::optional<std::string>& value)
        : m_Name(name)
    {
        if (const char* previous = std::getenv(name)) {
            m_Previous = previous;
        }
        apply(value);
    }
    ~EnvironmentOverride() { apply(m_Previous); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    void apply(const std::optional<std::string>& value)
    {
        if (value) {
            setenv(m_Name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(m_Name.c_str());
        }
    }

    std::string m_Name;
    std::optional<std::string> m_Previous;
};

} // namespace vestrak::testing
