#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

class QLabel;
class QStatusBar;

namespace vestrak {

// The window's status bar: the page's own messages (a file it cannot read, a script error) stay
// readable for a while; the page's event lines, which may come many a second, wait meanwhile.
// The object files that cannot be read stay listed beside them until each is read again.
class StatusLine {
public:
    static constexpr std::int64_t PageMessageHoldMilliseconds = 5000;
    // Milliseconds of a steady clock.
    using Clock = std::function<std::int64_t()>;

    StatusLine(QStatusBar& bar, Clock now);
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    void showPageMessage(const QString& text);
    // Each file that cannot be read, with why; none hides the list.
    void showFileProblems(const QStringList& problems);
    // Not shown while a page message is held.
    void showEventLine(const QString& text);

private:
    void show(const QString& text);

    QStatusBar& m_Bar;
    QLabel* m_FileProblems;
    Clock m_Now;
    std::optional<std::int64_t> m_PageMessageShownAt;
};

} // namespace vestrak
