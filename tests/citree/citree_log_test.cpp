#include "citree_fixture.h"
#include "diagnostics/log.h"

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
        std::filesystem::create_directories(files.folder() / "appdata");
        test.specialFolders.path = FromUtf8((files.folder() / "appdata").string());
    }
    ~Log() override
    {
        control.reset();
        ForgetLogFolderOfThisThread();
    }

    // The message of each line, between its two tabs.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> found;
        std::ifstream in(files.folder() / "appdata/Vestrak/VestrakControls/VestrakControls.log");
        for (std::string line; std::getline(in, line);) {
            const auto first = line.find('\t');
            found.push_back(line.substr(first + 1, line.rfind('\t') - first - 1));
        }
        return found;
    }
};

TEST_F(Log, ATreeBuildLogsItsSteps)
{
    build(ExampleSection, ShownTree | 0x20000);
    EXPECT_TRUE(messages().empty()) << "a higher style bit is not the log bit";
    build(ExampleSection, ShownTree | StyleDiagnosticLog, u"Q");
    EXPECT_THAT(messages(),
        ElementsAre("CiTree Property Let Style B", "CiTree Property Let Style C",
            "CiTree Property Let Style D - iLoops: 7", "CiTree Property Let Style E",
            "CiTree Property Let Style F", "CiTree Property Let Style G"));
    control->setStyle(ShownTree | StyleDiagnosticLog);
    EXPECT_EQ(messages().at(6), "CiTree Property Let Style A");
}

TEST_F(Log, EveryKindOfBuildIsLogged)
{
    build(
        "[General]\nAllowedFilterGroups=4\n[TreeObjects]\nA=4,Four\n", ShownList | StyleDiagnosticLog, u"A");
    control->setStyle(ShownTree | StyleDiagnosticLog);
    ASSERT_TRUE(groups().operatorClick(u"K4"));
    clock.advance(200);
    control.reset();
    const auto written = messages();
    ASSERT_EQ(written.size(), 4u + 7u + 9u + 1u);
    EXPECT_EQ(written.at(3), "CiTree Property Let Style G");
    EXPECT_EQ(written.at(11), "Toolbar_ButtonClick A");
    EXPECT_EQ(written.at(19), "Toolbar_ButtonClick B");
    EXPECT_EQ(written.at(20), "CiTree Terminate");
}

} // namespace
} // namespace vestrak::testing
