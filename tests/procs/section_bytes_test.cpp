#include "object_file/section_bytes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vestrak {
namespace {

// Starts kept in a byte pass its range within a few lines, as a section of over 4 GB passes the
// range of the 32-bit starts: every line must still come back whole.
TEST(SectionBytes, LinesComeBackWholeAcrossTheRangeOfTheirStarts)
{
    BasicSectionBytes<std::uint8_t> lines;
    std::vector<std::string> added;
    for (const std::size_t length : { 0, 200, 3, 255, 256, 0, 700, 1, 1 }) {
        added.push_back(std::string(length, static_cast<char>('a' + added.size())));
        lines.add(added.back());
    }

    ASSERT_EQ(lines.size(), added.size());
    for (std::size_t index = 0; index < added.size(); ++index)
        EXPECT_EQ(lines.bytes(index), added[index]) << "line " << index;
}

} // namespace
} // namespace vestrak
