#pragma once

#include "object_file/object_file.h"
#include "ports/file_system.h"
#include "ports/tree.h"
#include "text/text.h"

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

// The first field after the "=" of an object line as written, without the blanks around it: the
// image of a tree line, the status of a status line.
std::u16string_view FirstValueField(std::u16string_view line);

// The lines the readers skipped because they hold NUL bytes, at the first of them.
ObjectFileWarning SkippedLinesWarning(const SkippedLines& skipped);

// Calls check(line, fileLine) for each line of the section with "=", and warns of every other one
// and of the lines skipped as damage.
template<typename LineCheck>
void ForEachObjectLine(
    const NumberedSectionLines& numbered, std::vector<ObjectFileWarning>& warnings, LineCheck check)
{
    if (numbered.skipped.count != 0) {
        warnings.push_back(SkippedLinesWarning(numbered.skipped));
    }
    for (std::size_t index = 0; index < numbered.lines.size(); ++index) {
        const std::u16string_view line = numbered.lines[index];
        const std::int32_t fileLine = numbered.fileLines[index];
        if (FindUnit(line, u'=') == std::u16string_view::npos) {
            warnings.push_back({ fileLine, u"no \"=\" in " + Quoted(line) });
        } else {
            check(line, fileLine);
        }
    }
}

// Why the file gave no lines of the section: it cannot be read, or it has no such section.
ObjectFileWarning MissingSectionWarning(
    const std::u16string& file, std::u16string_view section, FileSystem& files);

enum class LineImages { Checked, Ignored };

// Lines without "=", codes used twice, and (for trees) images the image list lacks.
std::vector<ObjectFileWarning> CheckSectionLines(const NumberedSectionLines& lines, LineImages images);

// Top nodes whose code extends the code of an earlier node: the prefix search, which only goes
// up from the node added last, did not find their branch.
std::vector<ObjectFileWarning> CheckTopNodes(const Tree& tree, const NumberedSectionLines& lines);

} // namespace vestrak
