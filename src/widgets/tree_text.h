#pragma once

#include "ports/tree.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace vestrak {

// How a printed tree is indented: FirstIndent blanks before a top node and two more per level.
// A node deeper than DeepestIndentedDepth is indented as at that depth and its line begins with
// "(depth N) ", so that the text of a deep tree grows with the tree, not with the square of its
// depth.
struct TreeTextLayout {
    std::size_t firstIndent = 0;
    std::int32_t deepestIndentedDepth = std::numeric_limits<std::int32_t>::max();
};

// What a node's line says after its indent.
using NodeLineText = std::function<std::string(const TreeNode& node)>;
// Takes one printed line, without its line end.
using TreeLinePrinter = std::function<void(const std::string& line)>;

// Prints the nodes in node order, one line each. Returns the depth of the deepest node (top
// nodes have depth 0), or -1 for an empty tree.
std::int32_t PrintTree(const Tree& tree, const TreeTextLayout& layout, const NodeLineText& nodeText,
    const TreeLinePrinter& print);

} // namespace vestrak
