#include "qt_widgets/reporting_file_system.h"

#include "qt_widgets/controls_log.h"
#include "qt_widgets/qt_text.h"

#include <QFileInfo>

namespace vestrak {

namespace {

QString WhyUnreadable(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("there is no such file");
    if (file.isDir())
        return QStringLiteral("it is a folder");
    if (!file.isFile())
        return QStringLiteral("it is not an ordinary file");
    if (!file.isReadable())
        return QStringLiteral("permission denied");
    return QStringLiteral("reading it failed");
}

} // namespace

std::optional<std::string> ReportingFileSystem::readFile(const std::u16string& path)
{
    std::optional<std::string> bytes = ForwardingFileSystem::readFile(path);
    note(path, bytes.has_value());
    return bytes;
}

bool ReportingFileSystem::readFileInPieces(
    const std::u16string& path, const std::function<bool(std::string_view)>& take)
{
    const bool readable = ForwardingFileSystem::readFileInPieces(path, take);
    note(path, readable);
    return readable;
}

void ReportingFileSystem::skippedDamagedLines(
    const std::u16string& path, const std::u16string& section, const SkippedLines& lines)
{
    ForwardingFileSystem::skippedDamagedLines(path, section, lines);
    if (!m_Damaged.emplace(path, section).second) {
        return;
    }
    const QString skipped = lines.count == 1
        ? QStringLiteral("line %1 holds NUL bytes and is skipped").arg(lines.firstFileLine)
        : QStringLiteral("%1 lines hold NUL bytes and are skipped, the first at line %2")
              .arg(lines.count)
              .arg(lines.firstFileLine);
    qCWarning(vestrakControls).noquote() << QStringLiteral(
        "the object file %1 is damaged (as a crash or power cut leaves a file): in [%2], %3")
                                                .arg(toQString(path), toQString(section), skipped);
}

void ReportingFileSystem::note(const std::u16string& path, bool readable)
{
    if (readable) {
        if (m_Unreadable.erase(path) > 0 && m_ProblemsChanged)
            m_ProblemsChanged();
        return;
    }
    if (path.empty() || m_Unreadable.contains(path))
        return;
    const QString shown = toQString(path);
    const QString why = WhyUnreadable(shown);
    m_Unreadable.emplace(path, why);
    qCWarning(vestrakControls).noquote()
        << QStringLiteral("cannot read the object file %1: %2").arg(shown, why);
    if (m_ProblemsChanged)
        m_ProblemsChanged();
}

QStringList ReportingFileSystem::problems() const
{
    QStringList listed;
    for (const auto& [path, why] : m_Unreadable)
        listed.append(toQString(path) + QStringLiteral(": ") + why);
    return listed;
}

} // namespace vestrak
