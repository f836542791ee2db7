#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "page_host/page_profile.h"
#include "support/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace vestrak {
namespace {

// A page's file that exists in the current folder is read from there; other relative names keep
// the profile's rule, the folder of the user's profile, as absolute names keep theirs.
TEST(PageProfileTest, RelativeFileInTheCurrentFolderIsReadFromThere)
{
    testing::TemporaryFolder folder;
    const std::filesystem::path page = folder.path() / "page";
    std::filesystem::create_directory(page);
    for (const auto& [file, value] :
        { std::pair(page / "plant.ini", "page"), std::pair(folder.path() / "plant.ini", "profile"),
            std::pair(folder.path() / "Citect.INI", "config") })
        std::ofstream(file) << "[General]\r\nAllowedFilterGroups=" << value << "\r\n";
    LocalFileSystem files;
    IniProfile userProfile(files, (folder.path() / "win.ini").u16string());
    PageProfile profile(userProfile, files);
    const auto lookUp = [&profile](const std::u16string& fileName) {
        return profile.privateProfileString(u"General", u"AllowedFilterGroups", u"", fileName, 2048);
    };
    const testing::CurrentFolder runIn(page);
    EXPECT_EQ(lookUp(u"plant.ini"), u"page");
    EXPECT_EQ(lookUp(u"Citect.INI"), u"config");
    EXPECT_EQ(lookUp((folder.path() / "plant.ini").u16string()), u"profile");
}

} // namespace
} // namespace vestrak
