#include "citree_fixture.h"

namespace vestrak::testing {
namespace {

using StartUp = CiTreeTest;

TEST_F(StartUp, DefaultObjectFileLiesInTheRunFolderOfTheConfiguration)
{
    struct Case {
        std::optional<std::u16string> runFolder;
        const char* objectFile;
    };
    const Case cases[] = {
        { u"/srv/project", "/srv/project/CiTree.ini" },
        { u"/srv/project/", "/srv/project/CiTree.ini" },
        { u"C:\\Project\\", "C:\\Project\\CiTree.ini" },
        { std::nullopt, "/CiTree.ini" },
    };
    profile.lastIni = u"/etc/scada/Citect.INI";
    for (const Case& each : cases) {
        profile.runFolder = each.runFolder;
        create();
        EXPECT_EQ(Utf8(control->ObjectFile()), each.objectFile);
        EXPECT_EQ(Utf8(profile.runFolderAskedIn), "/etc/scada/Citect.INI");
    }
    profile.lastIni.reset();
    create();
    EXPECT_EQ(Utf8(profile.runFolderAskedIn), "Citect.INI");
}

TEST_F(StartUp, TheDefaultObjectFileIsWhatABuildReads)
{
    profile.runFolder = FromUtf8(folder.path().string());
    writeFile("CiTree.ini", ExampleSection);
    create();
    control->setStyle(ShownTree);
    EXPECT_EQ(tree().count(), 7);
}

TEST_F(StartUp, StartValuesOfTheWidgetsAndMembers)
{
    EXPECT_EQ(control->BackColor(), static_cast<std::int32_t>(WindowBackgroundColor));
    EXPECT_EQ(button(u"Command_Up").left(), button(u"Command_Down").left());
    EXPECT_TRUE(button(u"Command_Home").visible());
    EXPECT_FALSE(button(u"Command_Up").visible());
    EXPECT_EQ(Utf8(control->ObjectFileSection()), "");
    ASSERT_EQ(filterToolbar().buttonCount(), 1);
    EXPECT_EQ(Utf8(filterToolbar().button(1)->key()), "Filter");
    EXPECT_EQ(filterToolbar().button(1)->image(), 1);
}

TEST_F(StartUp, CollapseAndExpandButtonsHaveTwoLineTooltips)
{
    const std::string collapse = Utf8(surface->toolTip(button(u"Command_Collapse")));
    const std::string expand = Utf8(surface->toolTip(button(u"Command_Expand")));
    EXPECT_TRUE(collapse.starts_with("Collapse Navigation Tree\r\n")) << collapse;
    EXPECT_TRUE(expand.starts_with("Expand Navigation Tree\r\n")) << expand;
    EXPECT_NE(collapse.find("VestrakControls"), std::string::npos);
    EXPECT_EQ(collapse.find('\n'), collapse.rfind('\n'));
}

TEST_F(StartUp, DestroyedControlNoLongerAnswersItsWidgets)
{
    build(ExampleSection, ShownTree);
    Tree& orphan = tree();
    destroy();
    EXPECT_TRUE(orphan.operatorClick(u"P/0"));
    EXPECT_EQ(setting(u"Selected", u"NodeName"), "(none)");
}

} // namespace
} // namespace vestrak::testing
