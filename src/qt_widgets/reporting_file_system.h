#pragma once

#include "qt_widgets/forwarding_file_system.h"

#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <utility>

namespace vestrak {

// The files of another file system, with every object file that cannot be read reported once
// on the log category vestrak.controls (the file and why), until it can be read again, and each
// section of a file whose readers skipped damaged lines reported once. The controls read their
// object files through it, and their picture boxes the pictures, which they open only when an
// ordinary file of the name exists: a picture is reported only when it exists but cannot be read.
class ReportingFileSystem final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // Each object file that could not be read at its last reading, with why: "FILE: WHY".
    [[nodiscard]] QStringList problems() const;
    // Called whenever a file joins or leaves the problems.
    void setProblemsChanged(std::function<void()> changed) { m_ProblemsChanged = std::move(changed); }

    std::optional<std::string> readFile(const std::u16string& path) override;
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override;
    void skippedDamagedLines(
        const std::u16string& path, const std::u16string& section, const SkippedLines& lines) override;

private:
    void note(const std::u16string& path, bool readable);

    // Path to why it cannot be read.
    std::map<std::u16string, QString> m_Unreadable;
    std::function<void()> m_ProblemsChanged;
    std::set<std::pair<std::u16string, std::u16string>> m_Damaged;
};

} // namespace vestrak
