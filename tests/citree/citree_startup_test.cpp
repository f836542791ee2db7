#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

using StartUp = CiTreeTest;

TEST_F(StartUp, DefaultObjectFileLiesInTheRunFolderOfTheConfiguration)
{
    const std::vector<std::pair<std::optional<std::u16string>, std::string>> cases = {
        { u"/srv/project", "/srv/project/CiTree.ini" },
        { u"/srv/project/", "/srv/project/CiTree.ini" },
        { u"C:\\Project\\", "C:\\Project\\CiTree.ini" },
        { std::nullopt, "/CiTree.ini" },
    };
    profile.lastIni = u"/etc/scada/Citect.INI";
    for (const auto& [runFolder, objectFile] : cases) {
        profile.runFolder = runFolder;
        create();
        EXPECT_EQ(ToUtf8(control->ObjectFile()), objectFile);
        EXPECT_EQ(ToUtf8(profile.runFolderAskedIn), "/etc/scada/Citect.INI");
    }
    profile.lastIni.reset();
    profile.runFolder = FromUtf8(files.folder().string());
    files.write("CiTree.ini", ExampleSection);
    create();
    EXPECT_EQ(ToUtf8(profile.runFolderAskedIn), "Citect.INI");
    control->setStyle(ShownTree);
    EXPECT_EQ(tree().count(), 7);
}

TEST_F(StartUp, DestroyedControlNoLongerAnswersItsWidgets)
{
    build(ExampleSection, ShownTree);
    Tree& orphan = tree();
    control.reset();
    EXPECT_TRUE(orphan.operatorClick(u"P/0"));
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
}

} // namespace
} // namespace vestrak::testing
