#pragma once

#include "object_file_warnings.h"
#include "ports/tree.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// The text in UTF-8, with control characters shown as their pictures (C0 and DEL) or their code
// point (C1), so that a garbage file cannot act on the terminal the report is read on.
std::string Shown(std::u16string_view text);

// What a report adds to a node's line, after its image.
using NodeDetails = std::function<std::u16string(const TreeNode&)>;

// One line a node in node order, indented two blanks per level: key, text, image and details.
void DescribeTree(const Tree& tree, std::ostream& out, const NodeDetails& details = {});

// The warnings in file line order, each "warning: line N: MESSAGE" (no line for the whole file);
// true when there was any.
bool DescribeWarnings(std::vector<ObjectFileWarning> warnings, std::ostream& out);

} // namespace vestrak
