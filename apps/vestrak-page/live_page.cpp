#include "live_page.h"

#include "linux_platform/sqlite_settings_store.h"
#include "page_host/script_error.h"
#include "page_host/script_words.h"
#include "text/encoding.h"

namespace vestrak {

namespace {

constexpr int PaceMilliseconds = 10;

std::string BlankTrimmed(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

std::vector<Word> WordsOf(const std::string& line)
{
    try {
        return SplitWords(FromUtf8(line));
    } catch (const ScriptError&) {
        // The runner reports the line when it reaches it.
        return {};
    }
}

std::chrono::sys_days DateOf(const QDate& date)
{
    return std::chrono::sys_days { std::chrono::year { date.year() }
        / std::chrono::month { static_cast<unsigned>(date.month()) } / static_cast<unsigned>(date.day()) };
}

} // namespace

LineBuffer::int_type LineBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof()))
        return traits_type::not_eof(character);
    if (traits_type::to_char_type(character) == '\n') {
        m_TakeLine(m_Line);
        m_Line.clear();
    } else {
        m_Line += traits_type::to_char_type(character);
    }
    return character;
}

LivePage::LivePage(
    WidgetSet& widgets, const ScriptSource& script, LinePrinter printLine, LinePrinter reportFailure)
    : m_Platform(std::make_unique<SqliteSettingsStore>(), m_StartTime.time().msecsSinceStartOfDay() / 1000.0,
        DateOf(m_StartTime.date()))
    , m_Lines(std::move(printLine))
    , m_Output(&m_Lines)
    , m_Runner(widgets, m_Platform, m_Output)
    , m_Parts(SplitAtTicks(script))
    , m_ReportFailure(std::move(reportFailure))
{
    m_Platform.setControlFiles(m_ReportingFiles);
    QObject::connect(&m_Pacer, &QTimer::timeout, &m_Context, [this] { keepPace(); });
}

LivePage::~LivePage()
{
    m_Pacer.stop();
    m_Runner.closePage();
}

// Each part keeps every line of the script, the lines of other parts blanked, so that a failure
// names its line as the script numbers it.
std::vector<LivePage::Part> LivePage::SplitAtTicks(const ScriptSource& script)
{
    std::vector<Part> parts { Part { ScriptSource { script.name, {} }, 0 } };
    std::string blockEnd;
    for (const std::string& line : script.lines) {
        for (Part& part : parts)
            part.script.lines.emplace_back();
        Part& current = parts.back();
        if (!blockEnd.empty()) {
            current.script.lines.back() = line;
            if (BlankTrimmed(line) == blockEnd)
                blockEnd.clear();
            continue;
        }
        const std::vector<Word> words = WordsOf(line);
        const std::optional<std::int64_t> pause
            = words.size() == 2 && words[0].text == u"tick" ? ParseNumber(words[1].text) : std::nullopt;
        if (pause && *pause >= 0) {
            current.pauseAfterMilliseconds = static_cast<int>(*pause);
            parts.push_back(Part {
                ScriptSource { script.name, std::vector<std::string>(current.script.lines.size()) }, 0 });
            continue;
        }
        current.script.lines.back() = line;
        if (!words.empty() && words.front().text == u"write" && words.back().text.starts_with(u"<<"))
            blockEnd = ToUtf8(words.back().text.substr(2));
    }
    return parts;
}

void LivePage::start()
{
    m_Elapsed.start();
    m_Pacer.start(PaceMilliseconds);
    runPart(0);
}

void LivePage::runPart(std::size_t index)
{
    if (const std::optional<ScriptFailure> failure = m_Runner.run(m_Parts[index].script)) {
        m_ReportFailure("error: line " + std::to_string(failure->line) + ": " + failure->message);
        return;
    }
    if (index + 1 < m_Parts.size())
        QTimer::singleShot(
            m_Parts[index].pauseAfterMilliseconds, &m_Context, [this, index] { runPart(index + 1); });
}

// The page's time follows the real clock, so its timers fire at their real moments.
void LivePage::keepPace()
{
    m_Platform.clock().advance(m_Elapsed.elapsed() - m_Platform.clock().elapsedMilliseconds());
}

} // namespace vestrak
