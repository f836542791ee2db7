#include "password_file.h"

#include "linux_platform/file_descriptor.h"

#include <QByteArray>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestrak {

namespace {

constexpr std::size_t LongestPasswordLine = 4096;

PasswordFileRead Refused(std::string problem)
{
    return { std::nullopt, std::move(problem), {} };
}

std::string SystemReason()
{
    return std::strerror(errno);
}

} // namespace

PasswordFileRead ReadPasswordFile(const std::string& path)
{
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer for ever.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return Refused("cannot read the password file " + path + ": " + SystemReason());
    struct stat status { };
    if (fstat(file.get(), &status) != 0)
        return Refused("cannot read the password file " + path + ": " + SystemReason());
    if (!S_ISREG(status.st_mode))
        return Refused("the password file " + path + " is not a regular file");
    std::array<char, LongestPasswordLine + 1> bytes {};
    std::size_t length = 0;
    while (length < bytes.size()) {
        const ssize_t count = read(file.get(), bytes.data() + length, bytes.size() - length);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Refused("cannot read the password file " + path + ": " + SystemReason());
        if (count == 0)
            break;
        length += static_cast<std::size_t>(count);
    }
    QByteArray line = QByteArray(bytes.data(), static_cast<qsizetype>(length));
    const qsizetype lineEnd = line.indexOf('\n');
    if (lineEnd < 0 && length > LongestPasswordLine)
        return Refused("the password file " + path
            + " does not start with a password: its first line is longer " + "than "
            + std::to_string(LongestPasswordLine) + " bytes");
    // The first line is the password, so a file written by an editor works.
    if (lineEnd >= 0)
        line.truncate(lineEnd);
    if (line.endsWith('\r'))
        line.chop(1);
    std::string warning;
    if ((status.st_mode & (S_IRGRP | S_IROTH)) != 0)
        warning = "the password file " + path
            + " may be read by other users; make it readable by its owner only "
              "(chmod 600)";
    return { QString::fromUtf8(line), {}, warning };
}

} // namespace vestrak
