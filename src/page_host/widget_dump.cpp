#include "page_host/widget_dump.h"

#include "ports/list_box.h"
#include "ports/picture_box.h"
#include "ports/popup_menu.h"
#include "ports/text_box.h"
#include "ports/toolbar.h"
#include "ports/tree.h"
#include "text/encoding.h"
#include "text/numeric.h"
#include "text/output_text.h"
#include "widgets/tree_text.h"

#include <cstdio>

namespace vestrak {

namespace {

constexpr const char* ElementIndent = "  ";

std::string Twips(double value)
{
    return std::to_string(RoundToInt32(value).value_or(0));
}

std::string Flag(bool value)
{
    return value ? "-1" : "0";
}

std::string Header(const std::u16string& controlName, const Widget& widget)
{
    return ToUtf8(controlName) + "." + ToUtf8(widget.name()) + " visible=" + Flag(widget.visible())
        + " left=" + Twips(widget.left()) + " top=" + Twips(widget.top()) + " width=" + Twips(widget.width())
        + " height=" + Twips(widget.height());
}

std::string ColourText(std::uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

std::string NodeLine(const TreeNode& node)
{
    std::string line = PrintableText(node.key()) + " " + QuotedText(node.text())
        + " image=" + std::to_string(node.image());
    if (node.expanded())
        line += " expanded";
    if (node.selected())
        line += " selected";
    if (node.backColor() != WindowBackgroundColor)
        line += " back=" + ColourText(node.backColor());
    return line;
}

void DumpTree(const Tree& tree, std::vector<std::string>& lines)
{
    lines.back() += " scroll=" + std::to_string(tree.scrollPosition());
    PrintTree(tree, TreeTextLayout { .firstIndent = 2 }, NodeLine,
        [&lines](const std::string& line) { lines.push_back(line); });
}

// A list or menu item: its index and its text.
std::string IndexedItem(std::int32_t index, std::u16string_view text)
{
    return std::string(ElementIndent) + "[" + std::to_string(index) + "] " + QuotedText(text);
}

void DumpList(const ListBox& list, std::vector<std::string>& lines)
{
    for (std::int32_t index = 0; index < list.count(); ++index) {
        std::string line = IndexedItem(index, list.itemText(index));
        line += " data=";
        line += std::to_string(list.itemData(index));
        if (index == list.listIndex())
            line += " selected";
        lines.push_back(line);
    }
}

void DumpToolbar(const Toolbar& toolbar, std::vector<std::string>& lines)
{
    for (std::int32_t index = 1; index <= toolbar.buttonCount(); ++index) {
        const ButtonRef button = toolbar.button(index);
        lines.push_back(std::string(ElementIndent) + PrintableText(button->key())
            + " value=" + std::to_string(button->value()) + " image=" + std::to_string(button->image())
            + " tip=" + QuotedText(button->toolTipText()));
    }
}

void DumpMenu(const PopupMenu& menu, std::vector<std::string>& lines)
{
    for (std::int32_t index = 0; index < menu.itemCount(); ++index)
        lines.push_back(IndexedItem(index, menu.caption(index)));
}

} // namespace

std::vector<std::string> DumpWidget(const std::u16string& controlName, const Widget& widget)
{
    std::vector<std::string> lines { Header(controlName, widget) };
    switch (widget.kind()) {
    case WidgetKind::Tree:
        DumpTree(dynamic_cast<const Tree&>(widget), lines);
        break;
    case WidgetKind::ListBox:
        DumpList(dynamic_cast<const ListBox&>(widget), lines);
        break;
    case WidgetKind::Toolbar:
        DumpToolbar(dynamic_cast<const Toolbar&>(widget), lines);
        break;
    case WidgetKind::TextBox:
        lines.push_back(
            std::string(ElementIndent) + "text=" + QuotedText(dynamic_cast<const TextBox&>(widget).text()));
        break;
    case WidgetKind::PictureBox:
        lines.push_back(std::string(ElementIndent)
            + "picture=" + QuotedText(dynamic_cast<const PictureBox&>(widget).picturePath()));
        break;
    case WidgetKind::PopupMenu:
        DumpMenu(dynamic_cast<const PopupMenu&>(widget), lines);
        break;
    case WidgetKind::CommandButton:
        break;
    }
    return lines;
}

std::string DumpControl(const std::u16string& controlName, const ControlSurface& surface)
{
    return ToUtf8(controlName) + " visible=-1 left=0 top=0 width=" + Twips(surface.outerWidth())
        + " height=" + Twips(surface.outerHeight()) + " inner=" + Twips(surface.innerWidth()) + ","
        + Twips(surface.innerHeight());
}

} // namespace vestrak
