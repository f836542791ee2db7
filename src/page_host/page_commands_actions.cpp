// Operator actions: what a mouse or keyboard does to a control's widgets.
#include "page_host/page_runner.h"
#include "ports/command_button.h"
#include "ports/list_box.h"
#include "ports/text_box.h"
#include "ports/toolbar.h"
#include "ports/tree.h"
#include "text/encoding.h"

namespace vestrak {

namespace {

std::string KindText(WidgetKind kind)
{
    switch (kind) {
    case WidgetKind::Tree:
        return "a tree";
    case WidgetKind::Toolbar:
        return "a toolbar";
    case WidgetKind::ListBox:
        return "a list box";
    case WidgetKind::TextBox:
        return "a text box";
    case WidgetKind::PictureBox:
        return "a picture box";
    case WidgetKind::CommandButton:
        return "a command button";
    case WidgetKind::PopupMenu:
        return "a popup menu";
    }
    return "a widget";
}

[[noreturn]] void RefuseAction(const std::u16string& command, const Widget& widget)
{
    throw ScriptError(
        "cannot " + ToUtf8(command) + " " + ToUtf8(widget.name()) + ", which is " + KindText(widget.kind()));
}

void RequireWords(const std::vector<Word>& words, std::size_t count, const char* usage)
{
    if (words.size() != count)
        throw ScriptError(std::string("wrong number of arguments; use: ") + usage);
}

// A tree action needs a tree; `Action` gets the tree and returns whether the operator could act.
template<typename Action> bool OnTree(const std::u16string& command, Widget& widget, Action action)
{
    if (widget.kind() != WidgetKind::Tree)
        RefuseAction(command, widget);
    return action(dynamic_cast<Tree&>(widget));
}

} // namespace

void PageRunner::reportUnavailable(const MemberName& name)
{
    print(ToUtf8(name.controlName) + "." + ToUtf8(name.member) + " ! not available");
}

template<typename Action> void PageRunner::actOnTree(const Command& command, Action action)
{
    const MemberName name = memberNamed(command.words[1]);
    if (!OnTree(command.words[0].text, widgetNamed(name), action))
        reportUnavailable(name);
}

void PageRunner::click(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    Widget& widget = widgetNamed(name);
    bool done = false;
    switch (widget.kind()) {
    case WidgetKind::Tree:
        RequireWords(command.words, 3, "click NAME.Tree KEY");
        done = dynamic_cast<Tree&>(widget).operatorClick(command.words[2].text);
        break;
    case WidgetKind::ListBox:
        RequireWords(command.words, 3, "click NAME.List INDEX");
        done = dynamic_cast<ListBox&>(widget).operatorClick(NumberArgument(command.words[2]));
        break;
    case WidgetKind::Toolbar:
        RequireWords(command.words, 3, "click NAME.Toolbar KEY");
        done = dynamic_cast<Toolbar&>(widget).operatorClick(command.words[2].text);
        break;
    case WidgetKind::CommandButton:
        RequireWords(command.words, 2, "click NAME.Button");
        done = dynamic_cast<CommandButton&>(widget).operatorClick();
        break;
    default:
        RefuseAction(command.words[0].text, widget);
    }
    if (!done)
        reportUnavailable(name);
}

void PageRunner::rightClick(const Command& command)
{
    const std::u16string& key = command.words[2].text;
    actOnTree(command, [&key](Tree& tree) { return tree.operatorRightClick(key); });
}

void PageRunner::doubleClick(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    Widget& widget = widgetNamed(name);
    bool done = false;
    if (widget.kind() == WidgetKind::Tree)
        done = dynamic_cast<Tree&>(widget).operatorDoubleClick(command.words[2].text);
    else if (widget.kind() == WidgetKind::ListBox)
        done = dynamic_cast<ListBox&>(widget).operatorDoubleClick(NumberArgument(command.words[2]));
    else
        RefuseAction(command.words[0].text, widget);
    if (!done)
        reportUnavailable(name);
}

void PageRunner::expand(const Command& command)
{
    const std::u16string& key = command.words[2].text;
    actOnTree(command, [&key](Tree& tree) { return tree.operatorExpand(key); });
}

void PageRunner::collapse(const Command& command)
{
    const std::u16string& key = command.words[2].text;
    actOnTree(command, [&key](Tree& tree) { return tree.operatorCollapse(key); });
}

void PageRunner::mouseMove(const Command& command)
{
    actOnTree(command, [](Tree& tree) { return tree.operatorMouseMove(); });
}

void PageRunner::scroll(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    const std::int32_t position = NumberArgument(command.words[2]);
    if (!OnTree(command.words[0].text, widgetNamed(name),
            [position](Tree& tree) { return tree.operatorScroll(position); }))
        reportUnavailable(name);
}

void PageRunner::type(const Command& command)
{
    const MemberName name = memberNamed(command.words[1]);
    Widget& widget = widgetNamed(name);
    if (widget.kind() != WidgetKind::TextBox)
        RefuseAction(command.words[0].text, widget);
    if (!dynamic_cast<TextBox&>(widget).operatorType(command.words[2].text))
        reportUnavailable(name);
}

} // namespace vestrak
