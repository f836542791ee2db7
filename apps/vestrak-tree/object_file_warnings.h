#pragma once

#include "ports/tree.h"
#include "procs/object_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vestrak {

// Something in an object file that surprises integrators, at a line of the file (0: the file).
struct ObjectFileWarning {
    std::int32_t fileLine = 0;
    std::u16string message;
};

enum class LineImages { Checked, Ignored };

// Lines without "=", codes used twice, and (for trees) images the image list lacks.
std::vector<ObjectFileWarning> CheckSectionLines(const NumberedSectionLines& lines, LineImages images);

// Top nodes whose code extends the code of an earlier node: the prefix search, which only goes
// up from the node added last, did not find their branch.
std::vector<ObjectFileWarning> CheckTopNodes(const Tree& tree, const NumberedSectionLines& lines);

} // namespace vestrak
