#pragma once

#include "object_file_warnings.h"
#include "ports/tree.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// What a report adds to a node's line, after its image.
using NodeDetails = std::function<std::u16string(const TreeNode&)>;

// Nodes deeper than this are indented as at this depth (top nodes have depth 0) and their line
// begins with "(depth N)".
constexpr std::int32_t DeepestIndentedDepth = 32;

// One line a node in node order, indented two blanks per level: key, text, image and details;
// after them a note when a node was deeper than DeepestIndentedDepth.
void DescribeTree(const Tree& tree, std::ostream& out, const NodeDetails& details = {});

// The warnings in file line order, each "warning: line N: MESSAGE" (no line for the whole file);
// true when there was any.
bool DescribeWarnings(std::vector<ObjectFileWarning> warnings, std::ostream& out);

} // namespace vestrak
