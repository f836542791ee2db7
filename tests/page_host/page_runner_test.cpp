#include "headless/memory_settings_store.h"
#include "page_host/headless_widget_set.h"
#include "page_host/page_runner.h"
#include "support/temporary_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <list>
#include <sstream>

namespace vestrak {
namespace {

constexpr double Noon = 12 * 3600.0;

// One page on the headless widgets with settings in memory; scripts are given line by line.
class PageRunnerTest : public ::testing::Test {
protected:
    std::optional<ScriptFailure> run(std::vector<std::string> lines)
    {
        scripts.push_back(ScriptSource { "page", std::move(lines) });
        return page.run(scripts.back());
    }

    // The message a page of its own stops with.
    std::string failureOf(std::vector<std::string> lines)
    {
        PageRunner otherPage { widgets, platform, output };
        const std::optional<ScriptFailure> failure = otherPage.run(ScriptSource { "page", std::move(lines) });
        return failure ? failure->message : "(no failure)";
    }

    std::string statusFile()
    {
        const std::string path = (folder.path() / "status.ini").string();
        std::ofstream(path) << "[TreeObjects]\r\nS=2,T0,Station\r\nS1=2,T1,Pump 1\r\n";
        return path;
    }

    testing::TemporaryFolder folder;
    std::ostringstream output;
    HeadlessWidgetSet widgets;
    HostPlatform platform { std::make_unique<MemorySettingsStore>(), Noon };
    PageRunner page { widgets, platform, output };
    std::list<ScriptSource> scripts;
};

TEST_F(PageRunnerTest, MistakesStopThePageWithWhatWentWrong)
{
    const std::string load = "set s.ObjectFile " + statusFile();
    const std::string outFile = (folder.path() / "out.txt").string();
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        { { "create s CiStatus", "on s.GetStatus tick 100", load, "tick 100" },
            "tick cannot run inside an event handler (in the handler of s.GetStatus)" },
        { { "create s CiStatus", "on s.GetStatus destroy s", load, "tick 100" },
            "cannot destroy s inside its own event (in the handler of s.GetStatus)" },
        { { "create s CiStatus", "on s.GetStatus write x <<END" },
            "write cannot run inside an event handler" },
        { { "write \"" + outFile + "\\x00evil\" <<END", "A=1", "END" },
            "the file name \"" + outFile + "\\x00evil\" holds a NUL character" },
        { { "create s CiStatus", "on s.GetStatus ansver s" },
            "unknown command \"ansver\" (did you mean answer?)" },
        { { "create t CiTree", "answer t" }, "answer needs a control that asks for statuses; t is a CiTree" },
        { { "create t CiTree", "menu t 0" }, "t (CiTree) has no popup menu" },
        { { "create t.x CiTree" }, "bad control name \"t.x\": use letters, digits and _" },
        { { "create t CiTree", "create t CiStatus" }, "a control named t exists already" },
        { { "create u CiTable" }, "unknown control type \"CiTable\": use CiTree or CiStatus" },
        { { "create t CiTree", "size t 100 100 60" },
            "size: width and height must hold the border on both sides" },
    };
    for (const auto& [lines, message] : mistakes)
        EXPECT_EQ(failureOf(lines), message);
    EXPECT_FALSE(std::filesystem::exists(outFile));
}

TEST_F(PageRunnerTest, TheEndOfThePageRunsTheShutDownOfControlsStillPlaced)
{
    const std::string objects = (folder.path() / "plant.ini").string();
    std::ofstream(objects) << "[TreeObjects]\r\nP=1,Plant\r\n";
    EXPECT_FALSE(run({ "create t CiTree", "set t.ObjectFile " + objects, "set t.Style 0x1018" }));
    page.closePage();
    EXPECT_EQ(
        platform.settings().GetSetting(u"VestrakControls.CiTree", u"Settings", u"ScrollPosition"), u"0");
}

TEST_F(PageRunnerTest, APageFedLiveRanksUnknownAboveGoodInEveryStatusTree)
{
    EXPECT_FALSE(run({ "create before CiStatus", "set before.Behaviour 1", "get before.Behaviour" }));
    page.setTagSource([](const std::u16string&) { return 1; });
    EXPECT_FALSE(run({ "get before.Behaviour", "create after CiStatus", "get after.Behaviour",
        "set after.Behaviour 5", "get after.Behaviour", "create t CiTree" }));
    EXPECT_EQ(output.str(),
        "before.Behaviour = 1\n"
        "before.Behaviour = 9\n"
        "after.Behaviour = 8\n"
        "after.Behaviour = 13\n");
}

} // namespace
} // namespace vestrak
