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
    // Runs the lines as one more script of the runner's page: "line N: message" where it stopped.
    std::string run(std::vector<std::string> lines, PageRunner& runner)
    {
        scripts.push_back(ScriptSource { "page", std::move(lines) });
        const std::optional<ScriptFailure> failure = runner.run(scripts.back());
        return failure ? "line " + std::to_string(failure->line) + ": " + failure->message : "";
    }

    testing::TemporaryFolder folder;
    // Pages write and name their files relative to where they run.
    testing::CurrentFolder runIn { folder.path() };
    std::ostringstream output;
    HeadlessWidgetSet widgets;
    HostPlatform platform { std::make_unique<MemorySettingsStore>(), Noon };
    PageRunner page { widgets, platform, output };
    std::list<ScriptSource> scripts;
};

// A mistake stops the page at its line (a handler's at the line that placed it); what the lines
// before printed stays, and nothing after runs.
TEST_F(PageRunnerTest, AMistakeStopsThePageAtItsLine)
{
    std::ofstream("status.ini") << "[TreeObjects]\r\nS=2,T0,Station\r\nS1=2,T1,Pump 1\r\n";
    const std::string load = "set s.ObjectFile status.ini";
    const std::string outFile = (folder.path() / "out.txt").string();
    std::string nested = "before\n";
    for (int handler = 0; handler <= 64; ++handler)
        nested += "t.NodeClick\n";
    struct Mistake {
        std::vector<std::string> page;
        std::string printed;
        std::string stop;
    };
    const Mistake mistakes[] = {
        { { "create t CiTree", "click t.Command_Home", "click t.TreeView_Objects" }, "t.Click\n",
            "line 3: wrong number of arguments; use: click NAME.Tree KEY" },
        { { "create t CiTree", "set t.Style 0x1G" }, "", "line 2: bad number \"0x1G\"" },
        { { "echo fine", "echo \"a string without its end" }, "fine\n",
            "line 2: bad string: no closing double quote" },
        { { "echo first", "write plant.ini <<END", "[TreeObjects]", "A=1,Plant" }, "first\n",
            "line 2: unterminated write block: no line \"END\" ends it" },
        { { "create t CiTree", "dump t.Command_Home", "dump t.TreeView_Object" },
            "t.Command_Home visible=-1 left=0 top=0 width=375 height=345\n",
            "line 3: unknown widget \"TreeView_Object\" of t (CiTree) (did you mean TreeView_Objects?)" },
        { { "create s CiStatus", "set s.SelectedNode \"Pump 1\"" }, "",
            "line 2: s.SelectedNode is read-only" },
        { { "create t CiTree", "set t.ExpandedWidth 400", "get t.ExpandedWidth" }, "",
            "line 3: t.ExpandedWidth is write-only" },
        { { "write plant.ini <<END", "[TreeObjects]", "A/0=1,Area", "END", "create t CiTree",
              "set t.ObjectFile plant.ini", "set t.Style 0x18", "on t.NodeClick click t.TreeView_Objects A/0",
              "echo before", "click t.TreeView_Objects A/0", "echo never printed" },
            nested,
            "line 8: event handlers nested more than 64 deep: a handler raises its own event again "
            "(t.NodeClick)" },
        { { "create s CiStatus", "on s.GetStatus answer s", "on s.GetStatus get s.ObjectStatu", load,
              "set s.UpdateInterval 100", "echo loaded", "tick 1000", "echo never printed" },
            "loaded\ns.GetStatus\n",
            "line 3: unknown property \"ObjectStatu\" of s (CiStatus) (did you mean ObjectStatus?) (in the "
            "handler of s.GetStatus)" },
        { { "create s CiStatus", "on s.GetStatus tick 100", load, "tick 100" }, "s.GetStatus\n",
            "line 2: tick cannot run inside an event handler (in the handler of s.GetStatus)" },
        { { "create s CiStatus", "on s.GetStatus destroy s", load, "tick 100" }, "s.GetStatus\n",
            "line 2: cannot destroy s inside its own event (in the handler of s.GetStatus)" },
        { { "create s CiStatus", "on s.GetStatus write x <<END" }, "",
            "line 2: write cannot run inside an event handler" },
        { { "write \"" + outFile + "\\x00evil\" <<END", "A=1", "END" }, "",
            "line 1: the file name \"" + outFile + "\\x00evil\" holds a NUL character" },
        { { "create s CiStatus", "on s.GetStatus ansver s" }, "",
            "line 2: unknown command \"ansver\" (did you mean answer?)" },
        { { "create t CiTree", "answer t" }, "",
            "line 2: answer needs a control that asks for statuses; t is a CiTree" },
        { { "create t CiTree", "menu t 0" }, "", "line 2: t (CiTree) has no popup menu" },
        { { "create t.x CiTree" }, "", "line 1: bad control name \"t.x\": use letters, digits and _" },
        { { "create t CiTree", "create t CiStatus" }, "", "line 2: a control named t exists already" },
        { { "create u CiTable" }, "", "line 1: unknown control type \"CiTable\": use CiTree or CiStatus" },
        { { "create t CiTree", "size t 100 100 60" }, "",
            "line 2: size: width and height must hold the border on both sides" },
    };
    for (const auto& [lines, printed, stop] : mistakes) {
        std::ostringstream pagePrinted;
        PageRunner ownPage { widgets, platform, pagePrinted };
        EXPECT_EQ(run(lines, ownPage), stop);
        EXPECT_EQ(pagePrinted.str(), printed) << stop;
    }
    EXPECT_FALSE(std::filesystem::exists(outFile));
}

TEST_F(PageRunnerTest, TheEndOfThePageRunsTheShutDownOfControlsStillPlaced)
{
    std::ofstream("plant.ini") << "[TreeObjects]\r\nP=1,Plant\r\n";
    EXPECT_EQ(run({ "create t CiTree", "set t.ObjectFile plant.ini", "set t.Style 0x1018" }, page), "");
    page.closePage();
    EXPECT_EQ(
        platform.settings().GetSetting(u"VestrakControls.CiTree", u"Settings", u"ScrollPosition"), u"0");
}

TEST_F(PageRunnerTest, APageFedLiveRanksUnknownAboveGoodInEveryStatusTree)
{
    EXPECT_EQ(run({ "create before CiStatus", "set before.Behaviour 1", "get before.Behaviour" }, page), "");
    page.setTagSource([](const std::u16string&) { return 1; });
    EXPECT_EQ(run({ "get before.Behaviour", "create after CiStatus", "get after.Behaviour",
                      "set after.Behaviour 5", "get after.Behaviour", "create t CiTree" },
                  page),
        "");
    EXPECT_EQ(output.str(),
        "before.Behaviour = 1\nbefore.Behaviour = 9\nafter.Behaviour = 8\nafter.Behaviour = 13\n");
}

} // namespace
} // namespace vestrak
