// Events: printing them, the handlers a page sets up, status answers and the popup menu.
#include "cistatus/cistatus.h"
#include "page_host/closest_name.h"
#include "page_host/page_runner.h"
#include "ports/control_error.h"
#include "text/encoding.h"

namespace vestrak {

namespace {

// A handler that raises its own event again would nest without end.
constexpr std::size_t MostNestedHandlers = 64;

PopupMenu* FirstPopupMenu(const ControlSurface& surface)
{
    for (Widget* widget : surface.widgets()) {
        if (widget->kind() == WidgetKind::PopupMenu)
            return dynamic_cast<PopupMenu*>(widget);
    }
    return nullptr;
}

} // namespace

Connections PageRunner::connectEvents(const std::u16string& name, HostedControl& control)
{
    Connections connections;
    for (const std::u16string& eventName : control.eventNames())
        connections
            += control.event(eventName)->connect([this, name, eventName] { eventRaised(name, eventName); });
    for (Widget* widget : control.surface().widgets()) {
        if (widget->kind() != WidgetKind::PopupMenu)
            continue;
        auto* popupMenu = dynamic_cast<PopupMenu*>(widget);
        connections += popupMenu->Shown.connect([this, name, popupMenu] { menuShown(name, *popupMenu); });
    }
    return connections;
}

void PageRunner::eventRaised(const std::u16string& controlName, const std::u16string& eventName)
{
    const std::u16string eventKey = controlName + u"." + eventName;
    print(ToUtf8(eventKey));
    runHandlers(controlName, eventKey);
}

void PageRunner::menuShown(const std::u16string& controlName, PopupMenu& menu)
{
    print(ToUtf8(controlName) + "." + ToUtf8(menu.name()) + " shown");
    m_ShownMenus[controlName] = &menu;
}

void PageRunner::runHandlers(const std::u16string& controlName, const std::u16string& eventKey)
{
    const auto found = m_Handlers.find(eventKey);
    if (found == m_Handlers.end())
        return;
    // A copy: a handler may set up further handlers for this very event.
    const std::vector<Command> handlers = found->second;
    if (m_RaisingControls.size() == MostNestedHandlers) {
        fail(handlers.front().scriptName, handlers.front().line,
            "event handlers nested more than " + std::to_string(MostNestedHandlers)
                + " deep: a handler raises its own event again (" + ToUtf8(eventKey) + ")");
        return;
    }
    m_RaisingControls.push_back(controlName);
    for (const Command& handler : handlers) {
        if (m_Failure)
            break;
        try {
            execute(handler);
        } catch (const ScriptError& error) {
            fail(handler.scriptName, handler.line,
                std::string(error.what()) + " (in the handler of " + ToUtf8(eventKey) + ")");
        }
    }
    m_RaisingControls.pop_back();
}

void PageRunner::on(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    if (!name.control.event(name.member))
        throw ScriptError("unknown event \"" + ToUtf8(name.member) + "\" of " + ToUtf8(name.controlName)
            + " (" + ToUtf8(name.control.typeName()) + ")"
            + DidYouMean(name.member, name.control.eventNames()));
    Command handler { { command.words.begin() + 2, command.words.end() }, command.scriptName, command.line };
    if (handler.words.front().text == u"write")
        throw ScriptError("write cannot run inside an event handler");
    SpecOf(handler.words.front());
    m_Handlers[name.controlName + u"." + name.member].push_back(std::move(handler));
}

void PageRunner::tag(const Command& command)
{
    m_Tags[command.words[1].text] = NumberArgument(command.words[2]);
}

void PageRunner::setTagSource(TagSource source)
{
    m_TagSource = std::move(source);
    for (PlacedControl& placed : m_Controls)
        rankUnknownAboveGoodWhenFedLive(*placed.control);
}

void PageRunner::rankUnknownAboveGoodWhenFedLive(HostedControl& control)
{
    if (!m_TagSource || control.typeName() != u"CiStatus")
        return;
    const std::optional<PropertyBinding> behaviour = control.property(u"Behaviour");
    if (!behaviour || !behaviour->get || !behaviour->set)
        return;
    const std::int32_t flags = std::get<std::int32_t>(behaviour->get());
    if ((flags & CiStatus::BehaviourUnknownAboveGood) == 0)
        behaviour->set(flags | CiStatus::BehaviourUnknownAboveGood);
}

void PageRunner::forgetTag(const std::u16string& tag)
{
    m_Tags.erase(tag);
}

void PageRunner::answer(const Command& command)
{
    HostedControl& control = controlNamed(command.words[1]);
    const std::optional<PropertyBinding> tagName = control.property(u"ObjectTagName");
    const std::optional<PropertyBinding> status = control.property(u"ObjectStatus");
    if (!tagName || !tagName->get || !status || !status->set)
        throw ScriptError("answer needs a control that asks for statuses; " + ToUtf8(command.words[1].text)
            + " is a " + ToUtf8(control.typeName()));
    const std::string controlName = ToUtf8(command.words[1].text);
    for (;;) {
        std::u16string tag;
        try {
            tag = std::get<std::u16string>(tagName->get());
        } catch (const ControlError& error) {
            print(controlName + ".ObjectTagName ! " + error.what());
            return;
        }
        if (tag.empty())
            return;
        const auto known = m_Tags.find(tag);
        if (known == m_Tags.end() && !m_TagSource)
            continue;
        try {
            status->set(known != m_Tags.end() ? known->second : m_TagSource(tag));
        } catch (const ControlError& error) {
            print(controlName + ".ObjectStatus ! " + error.what());
        }
    }
}

void PageRunner::menu(const Command& command)
{
    HostedControl& control = controlNamed(command.words[1]);
    const std::int32_t index = NumberArgument(command.words[2]);
    PopupMenu* popupMenu = FirstPopupMenu(control.surface());
    if (!popupMenu)
        throw ScriptError(
            ToUtf8(command.words[1].text) + " (" + ToUtf8(control.typeName()) + ") has no popup menu");
    const auto shown = m_ShownMenus.find(command.words[1].text);
    const std::string widgetName = ToUtf8(command.words[1].text) + "." + ToUtf8(popupMenu->name());
    if (shown == m_ShownMenus.end()) {
        print(widgetName + " ! not available");
        return;
    }
    // A choice closes the menu, as the operator's click on an item does.
    PopupMenu& chosenFrom = *shown->second;
    m_ShownMenus.erase(shown);
    if (!chosenFrom.operatorChoose(index))
        print(widgetName + " ! not available");
}

} // namespace vestrak
