#pragma once

#include "ports/tree.h"
#include "procs/object_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vestrak {

// Something in an object file that surprises integrators, at a line of the file (0: the file).
struct ObjectFileWarning {
    std::int32_t fileLine = 0;
    std::u16string message;
};

// True for a whole number as an integrator writes one: decimal digits with an optional sign, or
// &H hex / &O octal digits. The controls read any leading number; this tells a typing slip.
bool IsWholeNumberText(std::u16string_view text);

// The text in double quotes, as warnings name what the file holds.
std::u16string Quoted(std::u16string_view text);

enum class LineImages { Checked, Ignored };

// Lines without "=", codes used twice, and (for trees) images the image list lacks.
std::vector<ObjectFileWarning> CheckSectionLines(const NumberedSectionLines& lines, LineImages images);

// Top nodes whose code extends the code of an earlier node: the prefix search, which only goes
// up from the node added last, did not find their branch.
std::vector<ObjectFileWarning> CheckTopNodes(const Tree& tree, const NumberedSectionLines& lines);

} // namespace vestrak
