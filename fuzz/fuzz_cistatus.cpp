// A CiStatus load of a fuzzed object file, then status polls answered by the host with fuzzed
// statuses while the update and flash timers tick, and the operator's clicks and menu choice.
#include "cistatus/cistatus.h"
#include "fuzz_input.h"
#include "fuzz_platform.h"
#include "headless/headless_surface.h"
#include "text/encoding.h"

#include <vector>

namespace {

constexpr std::int64_t TickMilliseconds = 100;
// More answers than this per poll only repeat the last one.
constexpr std::size_t MostAnswers = 16;

template<typename Kind> Kind& WidgetNamed(vestrak::HeadlessSurface& surface, std::u16string_view name)
{
    return dynamic_cast<Kind&>(*surface.widget(name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    fuzzing::ControlInput input(data, size);
    const auto behaviour = input.choices.ConsumeIntegralInRange<std::int32_t>(0, 7);
    const auto updateInterval = input.choices.ConsumeIntegralInRange<std::int32_t>(-100, 1000);
    const auto ticks = input.choices.ConsumeIntegralInRange<std::int32_t>(0, 40);
    const auto clickedNode = input.choices.ConsumeIntegralInRange<std::int32_t>(0, 64);
    std::vector<std::int32_t> answers(input.choices.ConsumeIntegralInRange<std::size_t>(1, MostAnswers));
    for (std::int32_t& answer : answers) {
        answer = input.choices.ConsumeIntegral<std::int32_t>();
    }
    const auto rootLength = input.choices.ConsumeIntegralInRange<std::size_t>(0, 8);
    input.splitRemainder(rootLength);

    fuzzing::FuzzPlatform fuzz(input.objectFile);
    HeadlessSurface surface(fuzz.platform.files, 4800, 3600);
    CiStatus control(surface, fuzz.platform);
    control.UserControl_Resize();
    Connections connections;
    connections += control.GetStatus.connect([&control, &answers] {
        std::size_t answered = 0;
        while (!control.ObjectTagName().empty()) {
            control.setObjectStatus(answers.at(std::min(answered++, answers.size() - 1)));
        }
    });
    control.setRootObject(DecodeObjectFile(input.tail));
    control.setBehaviour(behaviour);
    control.setUpdateInterval(updateInterval);
    control.setPopupMenuItem(u"Ack/Acknowledge");
    control.setObjectFile(fuzzing::ObjectFilePath);
    for (std::int32_t tick = 0; tick < ticks; ++tick) {
        fuzz.clock.advance(TickMilliseconds);
    }

    auto& tree = WidgetNamed<Tree>(surface, u"TreeView_Status");
    if (clickedNode >= 1 && clickedNode <= tree.count()) {
        const std::u16string key = tree.node(clickedNode)->key();
        tree.operatorCollapse(key);
        tree.operatorExpand(key);
        tree.operatorClick(key);
        tree.operatorDoubleClick(key);
        tree.operatorRightClick(key);
        WidgetNamed<PopupMenu>(surface, u"Menu_Popup").operatorChoose(1);
    }
    fuzz.clock.advance(TickMilliseconds * 10);
    control.setObjectFile(fuzzing::ObjectFilePath);
    return 0;
}
