#pragma once

#include <sys/types.h>

namespace vestrak {

// Which file a path names, and how large it is: a file replaced under the same name has another
// identity, one truncated in place a smaller size.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;

    [[nodiscard]] bool isSameFile(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode;
    }
};

} // namespace vestrak
