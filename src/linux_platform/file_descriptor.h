#pragma once

#include <unistd.h>

namespace vestrak {

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

} // namespace vestrak
