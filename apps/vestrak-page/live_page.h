#pragma once

#include "page_host/host_platform.h"
#include "page_host/page_runner.h"
#include "qt_widgets/reporting_file_system.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace vestrak {

// Hands each complete line written to it to a callback.
class LineBuffer final : public std::streambuf {
public:
    explicit LineBuffer(std::function<void(const std::string&)> takeLine)
        : m_TakeLine(std::move(takeLine))
    {
    }

protected:
    int_type overflow(int_type character) override;

private:
    std::function<void(const std::string&)> m_TakeLine;
    std::string m_Line;
};

// Runs a page script live: the script's lines run at once up to each "tick MS", which becomes a
// pause of MS milliseconds of real time. The page's timers run all the while at the pace of the
// real clock, and what the operator does on the widgets raises the page's events and handlers.
class LivePage {
public:
    using LinePrinter = std::function<void(const std::string&)>;

    LivePage(
        WidgetSet& widgets, const ScriptSource& script, LinePrinter printLine, LinePrinter reportFailure);
    ~LivePage();

    void start();
    [[nodiscard]] PageRunner& runner() { return m_Runner; }
    // The object files the page's controls read, and those they could not.
    [[nodiscard]] ReportingFileSystem& controlFiles() { return m_ReportingFiles; }

private:
    struct Part {
        ScriptSource script;
        int pauseAfterMilliseconds = 0;
    };

    static std::vector<Part> SplitAtTicks(const ScriptSource& script);
    void runPart(std::size_t index);
    void keepPace();

    // One reading of the local date and time, where the page's clock starts.
    const QDateTime m_StartTime = QDateTime::currentDateTime();
    HostPlatform m_Platform;
    ReportingFileSystem m_ReportingFiles { m_Platform.files() };
    LineBuffer m_Lines;
    std::ostream m_Output;
    PageRunner m_Runner;
    std::vector<Part> m_Parts;
    LinePrinter m_ReportFailure;
    QElapsedTimer m_Elapsed;
    QTimer m_Pacer;
    QObject m_Context;
};

} // namespace vestrak
