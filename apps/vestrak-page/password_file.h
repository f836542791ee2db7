#pragma once

#include <QString>
#include <optional>
#include <string>

namespace vestrak {

struct PasswordFileRead {
    // The file's first line; nothing when the file cannot be used.
    std::optional<QString> password;
    // Why the file cannot be used.
    std::string problem;
    // What is unsafe about a file that is used: others may read it.
    std::string warning;
};

// Reads the password from the first line of a regular file, without blocking: a FIFO, a device
// or a folder is refused, as is a first line longer than any password.
PasswordFileRead ReadPasswordFile(const std::string& path);

} // namespace vestrak
