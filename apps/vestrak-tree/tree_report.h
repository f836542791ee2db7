#pragma once

#include "ports/file_system.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vestrak {

enum class ReportShape { Tree, List };

struct TreeReportOptions {
    std::u16string file;
    std::optional<std::u16string> section;
    std::u16string root;
    ReportShape shape = ReportShape::Tree;
    // Presses the text-filter button with this text.
    std::optional<std::u16string> filterText;
    // Presses these group buttons.
    std::vector<std::u16string> groups;
};

struct TreeReport {
    // One node a line, indented two blanks per level, then the warnings; UTF-8.
    std::string text;
    bool warned = false;
};

// Builds a CiTree from the file, on the in-memory widget set with a fresh in-memory store, and
// describes what it shows and what in the file surprises, as it goes. True when it warned.
bool WriteTreeReport(const TreeReportOptions& options, FileSystem& files, std::ostream& out);

// The same report as one text.
TreeReport MakeTreeReport(const TreeReportOptions& options, FileSystem& files);

} // namespace vestrak
