#pragma once

#include "object_file/object_file.h"
#include "object_file_warnings.h"
#include "ports/file_system.h"
#include "ports/profile.h"

#include <string>
#include <vector>

namespace vestrak {

// The filter groups of [General] AllowedFilterGroups against the names of [FilterGroupNames] and
// against the images the tree lines use: groups that make no button or a button that hides
// nothing, groups without a name, names without a group, images no button covers.
std::vector<ObjectFileWarning> CheckFilterGroups(
    const std::u16string& file, const NumberedSectionLines& treeLines, FileSystem& files, Profile& profile);

} // namespace vestrak
