#pragma once

#include "ports/file_system.h"

#include <ostream>
#include <string>

namespace vestrak {

struct StatusReportOptions {
    std::u16string file;
    // The RootObject of the status tree.
    std::u16string root;
};

// Loads a CiStatus from the file, on the in-memory widget set with a fresh in-memory store, and
// describes each object (status, tag, information section, picture) and what in the file
// surprises: statuses that are no number or show no icon, tags used twice or written with
// blanks, pictures that cannot be read, top nodes that missed their branch. True when it warned.
bool WriteStatusReport(const StatusReportOptions& options, FileSystem& files, std::ostream& out);

} // namespace vestrak
