#include "container/headless_widget_set.h"
#include "container/page_runner.h"
#include "headless/memory_settings_store.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace vestrak {
namespace {

constexpr double Noon = 12 * 3600.0;

struct Rectangle {
    std::string widget;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Overlaps the layout makes whatever the style: the collapse button covers the last pixel column
// (15 twips here) of the widgets beside it, and the filter button, a toolbar row high (22
// pixels) beside a text box of 16, reaches into the group button row below it.
constexpr double OnePixel = 15;
const std::set<std::pair<std::string, std::string>> LayoutOverlaps { { "tree.Toolbar_Filter",
    "tree.Toolbar_SystemFilter" } };

bool Overlap(const Rectangle& one, const Rectangle& other)
{
    const double width
        = std::min(one.left + one.width, other.left + other.width) - std::max(one.left, other.left);
    const double height
        = std::min(one.top + one.height, other.top + other.height) - std::max(one.top, other.top);
    return width > OnePixel && height > OnePixel;
}

// The visible widgets of each control: the dump's header lines, one group after each "----".
std::vector<std::vector<Rectangle>> VisibleRectanglesOfControls(const std::string& dump)
{
    static const std::regex header(
        R"(^(\S+) visible=-1 left=(-?\d+) top=(-?\d+) width=(-?\d+) height=(-?\d+))");
    std::vector<std::vector<Rectangle>> controls;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        if (line == "----") {
            controls.emplace_back();
        } else if (std::smatch match; !controls.empty() && std::regex_search(line, match, header)) {
            controls.back().push_back({ match[1], std::stod(match[2]), std::stod(match[3]),
                std::stod(match[4]), std::stod(match[5]) });
        }
    }
    return controls;
}

// The example page is what integrators copy: no widget of its controls may lie on another, with
// the navigation tree expanded and with the status tree showing its picture. Run from the
// repository root, as the page says.
TEST(ExamplePageTest, NoWidgetOfAControlLiesOnAnother)
{
    std::ostringstream output;
    HeadlessWidgetSet widgets;
    HostPlatform platform { std::make_unique<MemorySettingsStore>(), Noon };
    PageRunner page { widgets, platform, output };
    const std::optional<ScriptSource> example = ReadScriptFile("examples/plant/plant.page");
    ASSERT_TRUE(example);
    ASSERT_FALSE(page.run(*example));

    const std::map<std::string, std::vector<std::string>> widgetsOfControls {
        { "tree",
            { "Command_Home", "Command_Up", "Command_Down", "List_Objects", "Text_Filter", "Toolbar_Filter",
                "Toolbar_SystemFilter", "TreeView_Objects", "Command_Expand", "Command_Collapse" } },
        { "status", { "TreeView_Status", "Text_Info", "Picture_Object" } },
    };
    std::vector<std::string> dumps { "click tree.Command_Expand" };
    for (const auto& [control, names] : widgetsOfControls) {
        dumps.push_back("echo ----");
        for (const std::string& name : names) {
            dumps.push_back("dump " + control + "." + name);
        }
    }
    ASSERT_FALSE(page.run(ScriptSource { "dumps", dumps }));

    const auto controls = VisibleRectanglesOfControls(output.str());
    ASSERT_EQ(controls.size(), widgetsOfControls.size());
    for (const std::vector<Rectangle>& rectangles : controls) {
        EXPECT_GE(rectangles.size(), 2u);
        for (std::size_t one = 0; one < rectangles.size(); ++one) {
            for (std::size_t other = one + 1; other < rectangles.size(); ++other) {
                const bool laidOutSo
                    = LayoutOverlaps.contains({ rectangles[one].widget, rectangles[other].widget });
                EXPECT_FALSE(!laidOutSo && Overlap(rectangles[one], rectangles[other]))
                    << rectangles[one].widget << " lies on " << rectangles[other].widget;
            }
        }
    }
}

} // namespace
} // namespace vestrak
