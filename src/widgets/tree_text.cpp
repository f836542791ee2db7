#include "widgets/tree_text.h"

#include <algorithm>
#include <vector>

namespace vestrak {

// The node order puts a parent before its children: a node's depth is its parent's plus one.
std::int32_t PrintTree(const Tree& tree, const TreeTextLayout& layout, const NodeLineText& nodeText,
    const TreeLinePrinter& print)
{
    std::vector<std::int32_t> depths(static_cast<std::size_t>(tree.count()) + 1, 0);
    std::int32_t deepest = -1;
    for (std::int32_t index = 1; index <= tree.count(); ++index) {
        const NodeRef node = tree.node(index);
        const NodeRef parent = node->parent();
        const std::int32_t depth = parent ? depths[static_cast<std::size_t>(parent->index())] + 1 : 0;
        depths[static_cast<std::size_t>(index)] = depth;
        deepest = std::max(deepest, depth);
        const auto indentedDepth = static_cast<std::size_t>(std::min(depth, layout.deepestIndentedDepth));
        std::string line(layout.firstIndent + 2 * indentedDepth, ' ');
        if (depth > layout.deepestIndentedDepth)
            line += "(depth " + std::to_string(depth) + ") ";
        line += nodeText(*node);
        print(line);
    }
    return deepest;
}

} // namespace vestrak
