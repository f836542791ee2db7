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

// A line's plain ASCII start is taken in blocks, and the rest decoded from where it ends.
TEST(SectionBytes, LinesDecodeAsTheWholeLineDoes)
{
    for (const auto encoding : { ObjectFileText::Encoding::Utf8, ObjectFileText::Encoding::Windows1252 }) {
        SectionBytes lines(encoding);
        std::vector<std::string> added;
        for (const std::size_t ascii : { 0, 7, 8, 15, 16, 17, 40 }) {
            added.push_back(std::string(ascii, 'a') + "K\xC3\xBChlung \xFC" + std::string(ascii, 'b'));
            lines.add(added.back());
        }
        std::u16string room;
        for (std::size_t index = 0; index < added.size(); ++index) {
            std::u16string whole;
            AppendDecoded(whole, added[index], encoding);
            EXPECT_EQ(lines.line(index, room), whole) << "line " << index;
        }
    }
}

} // namespace
} // namespace vestrak
