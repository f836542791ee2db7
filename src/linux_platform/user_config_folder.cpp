#include "linux_platform/user_config_folder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vestrak {

namespace {

std::filesystem::path homeFolder()
{
    if (auto home = environmentPath("HOME"); !home.empty()) {
        return home;
    }
    // Services started without HOME still have a home in the password database.
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr
        && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    std::error_code ignored;
    return std::filesystem::temp_directory_path(ignored);
}

} // namespace

std::filesystem::path environmentPath(const char* variableName)
{
    const char* value = std::getenv(variableName);
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

std::filesystem::path userConfigFolder()
{
    auto configHome = environmentPath("XDG_CONFIG_HOME");
    if (!configHome.is_absolute()) {
        configHome = homeFolder() / ".config";
    }
    return configHome / "VestrakControls";
}

std::error_code createUserConfigFolder()
{
    constexpr mode_t UserOnly = 0700;
    std::filesystem::path level;
    for (const std::filesystem::path& name : userConfigFolder()) {
        level /= name;
        if (mkdir(level.c_str(), UserOnly) != 0 && errno != EEXIST) {
            return { errno, std::generic_category() };
        }
    }
    std::error_code error;
    if (!std::filesystem::is_directory(level, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    return error;
}

} // namespace vestrak
