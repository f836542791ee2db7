#include "report_text.h"

#include "text/encoding.h"

#include <algorithm>

namespace vestrak {

std::string Shown(std::u16string_view text)
{
    constexpr char16_t FirstControlPicture = 0x2400;
    constexpr char16_t DeletePicture = 0x2421;
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit < 0x20) {
            shown += static_cast<char16_t>(FirstControlPicture + unit);
        } else if (unit == 0x7F) {
            shown += DeletePicture;
        } else if (unit >= 0x80 && unit <= 0x9F) {
            constexpr std::u16string_view Digits = u"0123456789ABCDEF";
            shown += u"<U+00";
            shown += Digits[unit >> 4];
            shown += Digits[unit & 0xF];
            shown += u'>';
        } else {
            shown += unit;
        }
    }
    return ToUtf8(shown);
}

// The order of the node collection puts a parent before its children: a node's depth is its
// parent's plus one.
void DescribeTree(const Tree& tree, std::ostream& out, const NodeDetails& details)
{
    std::vector<std::int32_t> depths(static_cast<std::size_t>(tree.count()) + 1, 0);
    bool deeperShown = false;
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        const NodeRef parent = node->parent();
        const std::int32_t depth = parent ? depths[static_cast<std::size_t>(parent->index())] + 1 : 0;
        depths[static_cast<std::size_t>(index)] = depth;
        out << std::string(2 * static_cast<std::size_t>(std::min(depth, DeepestIndentedDepth)), ' ');
        if (depth > DeepestIndentedDepth) {
            out << "(depth " << depth << ") ";
            deeperShown = true;
        }
        out << Shown(node->key()) << "  " << Shown(node->text()) << "  (image " << node->image();
        if (details) {
            out << ", " << Shown(details(*node));
        }
        out << ")\n";
    }
    if (deeperShown) {
        out << "note: nodes deeper than " << DeepestIndentedDepth << " are indented as at depth "
            << DeepestIndentedDepth << " and begin with their depth\n";
    }
}

bool DescribeWarnings(std::vector<ObjectFileWarning> warnings, std::ostream& out)
{
    std::stable_sort(
        warnings.begin(), warnings.end(), [](const ObjectFileWarning& one, const ObjectFileWarning& other) {
            return one.fileLine < other.fileLine;
        });
    for (const ObjectFileWarning& warning : warnings) {
        out << "warning: ";
        if (warning.fileLine > 0) {
            out << "line " << warning.fileLine << ": ";
        }
        out << Shown(warning.message) << "\n";
    }
    return !warnings.empty();
}

} // namespace vestrak
