#include "linux/local_file_system.h"
#include "linux/temporary_folder.h"
#include "procs/encoding.h"
#include "status_report.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vestrak::testing {
namespace {

class StatusReportTest : public ::testing::Test {
protected:
    std::pair<std::string, bool> report(const std::string& content, const std::u16string& root = {})
    {
        const auto path = folder.path() / "status.ini";
        std::ofstream(path, std::ios::binary) << content;
        std::ostringstream out;
        const bool warned = WriteStatusReport({ FromUtf8(path.string()), root }, files, out);
        return { std::move(out).str(), warned };
    }

    TemporaryFolder folder;
    LocalFileSystem files;
};

// Each object with what the file gives it, and every surprise with the number as written.
TEST_F(StatusReportTest, DescribesObjectsAndWarnsAboutStatusesTagsAndPictures)
{
    std::filesystem::copy_file(
        std::filesystem::path(VESTRAK_EXAMPLES) / "WW111.bmp", folder.path() / "A1.bmp");
    std::ofstream(folder.path() / "A2.jpg", std::ios::binary) << "not a picture";
    const auto [text, warned] = report("[TreeObjects]\n"
                                       "A = 2,,Site\n"
                                       "A1 = &H1002,TAG_1,Pump\n"
                                       "A2 = x,TAG_2,Tank\n"
                                       "A3 = 7, TAG_3,Valve\n"
                                       "A4 = &H100,TAG_1,Motor\n"
                                       "B\n"
                                       "[A1]\n"
                                       "Pump 1, 45 kW.\n");
    EXPECT_TRUE(warned);
    EXPECT_EQ(text,
        "A/0  Site  (image 2, status 2, no tag, no information, no picture)\n"
        "  A1/1  Pump  (image 2, status &H1002, tag \"TAG_1\", information [A1] 1 line, picture A1.bmp)\n"
        "  A2/2  Tank  (image 0, status x, tag \"TAG_2\", no information, picture A2.jpg)\n"
        "  A3/3  Valve  (image 0, status 7, tag \" TAG_3\", no information, no picture)\n"
        "  A4/4  Motor  (image 0, status &H100, tag \"TAG_1\", no information, no picture)\n"
        "B/5    (image 0, status , no tag, no information, no picture)\n"
        "warning: line 4: status \"x\" is not a number\n"
        "warning: line 4: picture A2.jpg cannot be read: Unsupported image format\n"
        "warning: line 5: status \"7\" shows no icon: its low byte 7 is outside 1 to 6\n"
        "warning: line 5: tag \" TAG_3\" has blanks around it: the host is asked for it so\n"
        "warning: line 6: status \"&H100\" shows no icon: its low byte 0 is outside 1 to 6\n"
        "warning: line 6: tag \"TAG_1\" is used twice (first on line 3)\n"
        "warning: line 7: no \"=\" in \"B\"\n");
}

TEST_F(StatusReportTest, CleanFileAndUnreadableFile)
{
    const auto [text, warned] = report("[TreeObjects]\nA = 1,TAG,Site\n[Other]\n", u"A");
    EXPECT_EQ(text, "A/0  Site  (image 1, status 1, tag \"TAG\", no information, no picture)\n");
    EXPECT_FALSE(warned);

    std::ostringstream out;
    EXPECT_TRUE(WriteStatusReport({ u"/nonexistent/status.ini", {} }, files, out));
    EXPECT_EQ(out.str(), "warning: cannot read /nonexistent/status.ini\n");
}

} // namespace
} // namespace vestrak::testing
