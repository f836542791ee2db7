#pragma once

#include <filesystem>
#include <system_error>

namespace vestrak {

// The folder of this library's per-user files: "$XDG_CONFIG_HOME/VestrakControls", or
// "~/.config/VestrakControls" when that variable is unset, empty or not an absolute path.
std::filesystem::path userConfigFolder();

// Creates the user's configuration folder and the folders above it that are missing, each open to
// the user only (0700), as XDG applications do; folders that exist are left as they are.
std::error_code createUserConfigFolder();

// The value of an environment variable as a path, or an empty path when it is unset or empty.
std::filesystem::path environmentPath(const char* variableName);

} // namespace vestrak
