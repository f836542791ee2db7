// A CiTree build on a fuzzed object file, then the operator's filter and navigation: group
// buttons pressed, a filter text typed, nodes and list items clicked, time let pass so that the
// filter timer rebuilds and the collapse timer runs; and the vestrak-tree report on the file.
#include "citree/citree.h"
#include "fuzz_input.h"
#include "fuzz_platform.h"
#include "headless/headless_surface.h"
#include "text/encoding.h"
#include "tree_report.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char16_t*, 4> Sections = { u"", u"TreeObjects", u"ListObjects", u"General" };
constexpr std::int32_t StyleBitsUsed = 0x1FFF;
constexpr std::int64_t FilterTimerMilliseconds = 200;
// Long enough for a collapse time of up to five seconds to run out.
constexpr std::int64_t CollapseWaitMilliseconds = 6000;

template<typename Kind> Kind& WidgetNamed(vestrak::HeadlessSurface& surface, std::u16string_view name)
{
    return dynamic_cast<Kind&>(*surface.widget(name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    fuzzing::ControlInput input(data, size);
    const std::int32_t style = input.choices.ConsumeIntegral<std::int32_t>() & StyleBitsUsed;
    const auto section = input.choices.ConsumeIntegralInRange<std::size_t>(0, Sections.size() - 1);
    const auto pressedGroups = input.choices.ConsumeIntegral<std::uint16_t>();
    const bool filterButtonPressed = input.choices.ConsumeBool();
    const auto filterLength = input.choices.ConsumeIntegralInRange<std::size_t>(0, 24);
    const auto rootLength = input.choices.ConsumeIntegralInRange<std::size_t>(0, 8);
    const auto clickedNode = input.choices.ConsumeIntegralInRange<std::int32_t>(0, 64);
    const auto collapseTime = input.choices.ConsumeIntegralInRange<std::int32_t>(-1, 5);
    input.splitRemainder(filterLength + rootLength);
    const std::size_t filterEnd = std::min(filterLength, input.tail.size());
    const std::u16string filterText = DecodeObjectFile(input.tail.substr(0, filterEnd)) + u"\r";
    const std::u16string root = DecodeObjectFile(input.tail.substr(filterEnd));

    fuzzing::FuzzPlatform fuzz(input.objectFile);
    HeadlessSurface surface(fuzz.platform.files, 3000, 4500);
    CiTree control(surface, fuzz.platform);
    control.setObjectFile(fuzzing::ObjectFilePath);
    if (section != 0) {
        control.setObjectFileSection(Sections.at(section));
    }
    control.setRootObject(root);
    control.setCollapseTime(collapseTime);
    control.setStyle(style);

    auto& groups = WidgetNamed<Toolbar>(surface, u"Toolbar_SystemFilter");
    for (std::int32_t index = 1; index <= groups.buttonCount() && index <= 16; ++index) {
        if ((pressedGroups >> (index - 1) & 1U) != 0) {
            groups.operatorClick(groups.button(index)->key());
        }
    }
    if (filterButtonPressed) {
        WidgetNamed<Toolbar>(surface, u"Toolbar_Filter").operatorClick(u"Filter");
    }
    WidgetNamed<TextBox>(surface, u"Text_Filter").operatorType(filterText);
    fuzz.clock.advance(FilterTimerMilliseconds);

    auto& tree = WidgetNamed<Tree>(surface, u"TreeView_Objects");
    if (clickedNode >= 1 && clickedNode <= tree.count()) {
        const std::u16string key = tree.node(clickedNode)->key();
        tree.operatorExpand(key);
        tree.operatorClick(key);
        tree.operatorDoubleClick(key);
        tree.operatorCollapse(key);
    }
    auto& list = WidgetNamed<ListBox>(surface, u"List_Objects");
    if (clickedNode < list.count()) {
        list.operatorClick(clickedNode);
        list.operatorDoubleClick(clickedNode);
    }
    for (const char16_t* button : { u"Command_Down", u"Command_Up", u"Command_Home", u"Command_Collapse" }) {
        WidgetNamed<CommandButton>(surface, button).operatorClick();
    }
    fuzz.clock.advance(CollapseWaitMilliseconds);
    control.setStyle(style);

    TreeReportOptions report;
    report.file = fuzzing::ObjectFilePath;
    report.section = control.ObjectFileSection();
    report.root = root;
    static_cast<void>(MakeTreeReport(report, fuzz.files));
    return 0;
}
