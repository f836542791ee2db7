#include "container/page_profile.h"
#include "linux/local_file_system.h"
#include "linux/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

// Remembers the file name each lookup was given.
class RecordingProfile : public Profile {
public:
    std::u16string userProfileString(const std::u16string&, const std::u16string&,
        const std::u16string& defaultValue, std::size_t) override
    {
        return defaultValue;
    }
    std::u16string privateProfileString(const std::u16string&, const std::u16string&,
        const std::u16string& defaultValue, const std::u16string& fileName, std::size_t) override
    {
        lastFileName = fileName;
        return defaultValue;
    }

    std::u16string lastFileName;
};

class PageProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::current_path(folder.path());
        std::ofstream("plant.ini") << "[General]\r\n";
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::u16string lookUp(const std::u16string& fileName)
    {
        profile.privateProfileString(u"General", u"AllowedFilterGroups", u"", fileName, 2048);
        return recorder.lastFileName;
    }

    testing::TemporaryFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
    RecordingProfile recorder;
    LocalFileSystem files;
    PageProfile profile { recorder, files };
};

// A relative name of a file in the current folder is read from there; other names keep the
// profile's rule.
TEST_F(PageProfileTest, RelativeFileInTheCurrentFolderIsReadFromThere)
{
    EXPECT_EQ(lookUp(u"plant.ini"), (folder.path() / "plant.ini").u16string());
    EXPECT_EQ(lookUp(u"Citect.INI"), u"Citect.INI");
    const std::u16string absolute = (folder.path() / "elsewhere.ini").u16string();
    EXPECT_EQ(lookUp(absolute), absolute);
}

} // namespace
} // namespace vestrak
