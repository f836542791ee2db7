#include "citree_fixture.h"
#include "procs/log.h"

#include <filesystem>
#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace vestrak::testing {
namespace {

class Log : public CiTreeTest {
protected:
    Log()
    {
        ForgetLogFolderOfThisThread();
        specialFolders.path = FromUtf8((folder.path() / "appdata").string());
        std::filesystem::create_directories(folder.path() / "appdata");
    }
    ~Log() override
    {
        destroy();
        ForgetLogFolderOfThisThread();
    }

    std::filesystem::path logFile() const
    {
        return folder.path() / "appdata" / "Vestrak" / "VestrakControls" / "VestrakControls.log";
    }
    // The message of each line, between the two tabs.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> found;
        std::ifstream in(logFile());
        for (std::string line; std::getline(in, line);) {
            const auto first = line.find('\t');
            found.push_back(line.substr(first + 1, line.rfind('\t') - first - 1));
        }
        return found;
    }
};

TEST_F(Log, FirstTreeBuildWritesBToGAndTheNextOneAlsoA)
{
    build(ExampleSection, ShownTree | StyleDiagnosticLog);
    EXPECT_THAT(messages(),
        ElementsAre("CiTree Property Let Style B", "CiTree Property Let Style C",
            "CiTree Property Let Style D - iLoops: 7", "CiTree Property Let Style E",
            "CiTree Property Let Style F", "CiTree Property Let Style G"));
    control->setStyle(ShownTree | StyleDiagnosticLog);
    EXPECT_EQ(messages().at(6), "CiTree Property Let Style A");
}

TEST_F(Log, MarkerDCountsTheLinesVisitedAlsoWhenRootsLeaveThemOut)
{
    build(ExampleSection, ShownTree | StyleDiagnosticLog, u"Q");
    EXPECT_EQ(messages().at(2), "CiTree Property Let Style D - iLoops: 7");
}

TEST_F(Log, ListBuildWritesNoTreeMarkersAndTerminateIsLogged)
{
    build(ExampleSection, ShownList | StyleDiagnosticLog, u"P");
    destroy();
    EXPECT_THAT(messages(),
        ElementsAre("CiTree Property Let Style B", "CiTree Property Let Style C",
            "CiTree Property Let Style F", "CiTree Property Let Style G", "CiTree Terminate"));
}

TEST_F(Log, FilterRebuildIsFramedByItsMarkers)
{
    build("[General]\nAllowedFilterGroups=4\n[TreeObjects]\nA=4,Four\n", ShownTree | StyleDiagnosticLog);
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    clock.advance(200);
    const auto written = messages();
    EXPECT_EQ(written.at(6), "Toolbar_ButtonClick A");
    EXPECT_EQ(written.back(), "Toolbar_ButtonClick B");
}

TEST_F(Log, WithoutTheStyleBitNothingIsCreated)
{
    build(ExampleSection, ShownTree);
    destroy();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "appdata" / "Vestrak"));
}

} // namespace
} // namespace vestrak::testing
