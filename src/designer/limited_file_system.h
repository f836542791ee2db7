#pragma once

#include "qt_widgets/forwarding_file_system.h"

#include <cstdint>

namespace vestrak {

// A file system that reads no file above a size, as if it could not be read, whole or in pieces;
// everything else goes to the file system it wraps.
class LimitedFileSystem final : public ForwardingFileSystem {
public:
    LimitedFileSystem(FileSystem& files, std::uint64_t largestReadBytes);

    std::optional<std::string> readFile(const std::u16string& path) override;
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override;

private:
    [[nodiscard]] bool isTooLarge(const std::u16string& path) const;

    std::uint64_t m_LargestReadBytes;
};

} // namespace vestrak
