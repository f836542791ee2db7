#pragma once

#include "plant_generator.h"
#include "ports/settings_store.h"

#include <filesystem>
#include <string>

namespace vestrak::bench {

// A navigation tree object file as written on Windows (CR LF): the filter groups 4 to 11 with
// their names, the tree lines "code/extra info=image, text" with a comment above each site and
// area, and information sections for one equipment in four after the tree.
std::string CiTreeObjectFile(const Plant& plant);

// A status tree object file: the lines "code/extra info=status,tag,text" and the same
// information sections.
std::string CiStatusObjectFile(const Plant& plant);

// Stores one node in ten as an open branch, as each control stores the branches the operator
// opened (OpenBranchPaths).
void StoreCiTreeOpenBranches(SettingsStore& store, const Plant& plant);
void StoreCiStatusOpenBranches(SettingsStore& store, const Plant& plant);

// A fresh folder below the system's temporary folder, removed with its files at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_Path; }
    // Writes the bytes to a file of that name in the folder and gives its full path.
    std::u16string write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_Path;
};

} // namespace vestrak::bench
