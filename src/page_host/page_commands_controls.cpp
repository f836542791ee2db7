// Placing controls, their properties, and the passing of time.
#include "page_host/control_types.h"
#include "page_host/page_runner.h"
#include "ports/control_error.h"
#include "text/encoding.h"
#include "text/output_text.h"

#include <algorithm>

namespace vestrak {

void PageRunner::create(const Command& command)
{
    const Word& name = command.words[1];
    if (!IsControlName(name.text))
        throw ScriptError("bad control name \"" + ToUtf8(name.text) + "\": use letters, digits and _");
    const bool taken = std::any_of(m_Controls.begin(), m_Controls.end(),
        [&name](const PlacedControl& placed) { return placed.name == name.text; });
    if (taken)
        throw ScriptError("a control named " + ToUtf8(name.text) + " exists already");
    std::unique_ptr<HostedControl> control
        = CreateControl(command.words[2].text, m_Widgets, m_Platform.platform());
    if (!control)
        throw ScriptError(
            "unknown control type \"" + ToUtf8(command.words[2].text) + "\": use CiTree or CiStatus");
    HostedControl& placed = *control;
    Connections events = connectEvents(name.text, placed);
    m_Controls.push_back(PlacedControl { name.text, std::move(control), std::move(events) });
    rankUnknownAboveGoodWhenFedLive(placed);
}

void PageRunner::destroy(const Command& command)
{
    const Word& name = command.words[1];
    controlNamed(name);
    if (std::find(m_RaisingControls.begin(), m_RaisingControls.end(), name.text) != m_RaisingControls.end())
        throw ScriptError("cannot destroy " + ToUtf8(name.text) + " inside its own event");
    const auto found = std::find_if(m_Controls.begin(), m_Controls.end(),
        [&name](const PlacedControl& placed) { return placed.name == name.text; });
    // Out of the page first, so that whatever its shut-down raises cannot reach it by name.
    PlacedControl ending = std::move(*found);
    m_Controls.erase(found);
    m_ShownMenus.erase(name.text);
    ending.control.reset();
}

void PageRunner::size(const Command& command)
{
    HostedControl& control = controlNamed(command.words[1]);
    const std::int32_t width = NumberArgument(command.words[2]);
    const std::int32_t height = NumberArgument(command.words[3]);
    const std::int32_t border = command.words.size() > 4 ? NumberArgument(command.words[4]) : 0;
    if (border < 0 || width < 2.0 * border || height < 2.0 * border)
        throw ScriptError("size: width and height must hold the border on both sides");
    m_Widgets.resize(control.surface(), width, height, border);
    control.resized();
}

void PageRunner::surfaceResized(ControlSurface& surface)
{
    for (const PlacedControl& placed : m_Controls) {
        if (&placed.control->surface() == &surface)
            placed.control->resized();
    }
}

void PageRunner::set(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    const PropertyBinding property = propertyNamed(name);
    if (!property.set)
        throw ScriptError(ToUtf8(command.words[1].text) + " is read-only");
    const PropertyValue value = property.type == ValueType::Number
        ? PropertyValue(NumberArgument(command.words[2]))
        : PropertyValue(command.words[2].text);
    try {
        property.set(value);
    } catch (const ControlError& error) {
        print(ToUtf8(command.words[1].text) + " ! " + error.what());
    }
    if (name.member == u"Behaviour")
        rankUnknownAboveGoodWhenFedLive(name.control);
}

void PageRunner::get(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    const PropertyBinding property = propertyNamed(name);
    if (!property.get)
        throw ScriptError(ToUtf8(command.words[1].text) + " is write-only");
    std::string shown;
    try {
        const PropertyValue value = property.get();
        if (const auto* number = std::get_if<std::int32_t>(&value))
            shown = " = " + std::to_string(*number);
        else
            shown = " = " + QuotedText(std::get<std::u16string>(value));
    } catch (const ControlError& error) {
        shown = std::string(" ! ") + error.what();
    }
    print(ToUtf8(command.words[1].text) + shown);
}

void PageRunner::tick(const Command& command)
{
    if (!m_RaisingControls.empty())
        throw ScriptError("tick cannot run inside an event handler");
    const std::optional<std::int64_t> milliseconds = ParseNumber(command.words[1].text);
    if (!milliseconds)
        throw ScriptError("bad number \"" + ToUtf8(command.words[1].text) + "\"");
    if (*milliseconds < 0)
        throw ScriptError("tick: time cannot run backwards");
    m_Platform.clock().advance(*milliseconds);
}

} // namespace vestrak
