#include "report_text.h"

#include "text/output_text.h"
#include "widgets/tree_text.h"

#include <algorithm>

namespace vestrak {

void DescribeTree(const Tree& tree, std::ostream& out, const NodeDetails& details)
{
    const auto nodeLine = [&details](const TreeNode& node) {
        std::string line = PrintableText(node.key()) + "  " + PrintableText(node.text()) + "  (image "
            + std::to_string(node.image());
        if (details)
            line += ", " + PrintableText(details(node));
        return line + ")";
    };
    const std::int32_t deepest
        = PrintTree(tree, TreeTextLayout { .deepestIndentedDepth = DeepestIndentedDepth }, nodeLine,
            [&out](const std::string& line) { out << line << '\n'; });
    if (deepest > DeepestIndentedDepth) {
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
        out << PrintableText(warning.message) << "\n";
    }
    return !warnings.empty();
}

} // namespace vestrak
