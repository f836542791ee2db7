// A CiStatus load of a fuzzed object file, then status polls answered by the host with fuzzed
// statuses while the update and flash timers tick, and the operator's clicks and menu choice. Each
// line of the file parses in one pass, from UTF-16 and from UTF-8, as it does field by field.
#include "cistatus/cistatus.h"
#include "cistatus/status_line.h"
#include "fuzz_input.h"
#include "fuzz_platform.h"
#include "headless/headless_surface.h"
#include "text/encoding.h"
#include "text/numeric.h"
#include "text/text.h"

#include <vector>

namespace {

constexpr std::int64_t TickMilliseconds = 100;
// More answers than this per poll only repeat the last one.
constexpr std::size_t MostAnswers = 16;

// A status line taken apart field by field, each field searched for anew: the reference for the
// one-pass parser, as "status|code|section|tag name|text" in UTF-8.
std::string FieldByField(std::u16string_view line)
{
    using namespace vestrak;
    constexpr std::size_t None = std::u16string_view::npos;
    const std::u16string_view valuePart = SpaceTrimmed(FieldView(line, 1, u"="));
    const std::u16string_view code = SpaceTrimmed(FieldView(SpaceTrimmed(FieldView(line, 0, u"=")), 0, u"/"));
    const std::size_t comma = valuePart.find(u',');
    const std::size_t secondComma = comma == None ? comma : valuePart.find(u',', comma + 1);
    const std::u16string_view text = comma == None ? valuePart
        : secondComma == None                      ? valuePart.substr(comma + 1)
                                                   : SpaceTrimmed(valuePart.substr(secondComma + 1));
    return std::to_string(RoundToInt32(LeadingNumber(FieldView(valuePart, 0, u","))).value_or(0)) + "|"
        + ToUtf8(code) + "|" + ToUtf8(SpaceTrimmed(FieldView(code, 0, u","))) + "|"
        + ToUtf8(FieldView(valuePart, 1, u",")) + "|" + ToUtf8(text);
}

template<typename Char> std::string Fields(const vestrak::BasicStatusLine<Char>& line)
{
    std::string joined = std::to_string(line.status);
    for (const auto field : { line.code, line.section, line.tagName, line.text }) {
        if constexpr (sizeof(Char) == 1) {
            joined += "|" + std::string(field);
        } else {
            joined += "|" + vestrak::ToUtf8(field);
        }
    }
    return joined;
}

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

    for (const std::u16string& line : SplitTextLines(DecodeObjectFile(input.objectFile))) {
        const std::string reference = FieldByField(line);
        if (Fields(ParseStatusLine(line)) != reference
            || Fields(ParseStatusLine(ToUtf8(line))) != reference) {
            std::abort();
        }
    }

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
