#pragma once

#include <filesystem>

namespace vestrak {

// The folder of this library's per-user files: "$XDG_CONFIG_HOME/VestrakControls", or
// "~/.config/VestrakControls" when that variable is unset, empty or not an absolute path.
std::filesystem::path userConfigFolder();

// The value of an environment variable as a path, or an empty path when it is unset or empty.
std::filesystem::path environmentPath(const char* variableName);

} // namespace vestrak
