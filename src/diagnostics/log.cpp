#include "diagnostics/log.h"

#include "diagnostics/paths.h"
#include "text/encoding.h"

#include <cmath>
#include <string>

namespace vestrak {

namespace {

// The log folder of this thread, with its folder end; empty until the thread's first line.
thread_local std::u16string m_LogFolder;

constexpr std::int32_t CommonApplicationData
    = static_cast<std::int32_t>(SpecialFolderId::CommonApplicationData);
constexpr float LongestReferenceAgeSeconds = 100000;

std::u16string CreateLogFolder(LogServices& services)
{
    const std::u16string fallback = WithFolderEnd(services.files.programFolder()) + u"Vestrak";
    std::u16string folder = GetSpecialFolder(fallback, CommonApplicationData, services.specialFolders);
    // Normally there already; when the fallback serves, its first level is missing too.
    services.files.createFolder(folder);
    folder += u"Vestrak";
    services.files.createFolder(folder);
    folder += u"/VestrakControls";
    services.files.createFolder(folder);
    return folder + u"/";
}

float SecondsSinceMidnight(Clock& clock)
{
    return static_cast<float>(clock.secondsSinceMidnight());
}

// Written in full, never in exponent form; a clock gone wrong gives 0 rather than nonsense.
std::u16string WholeMillisecondsText(float milliseconds)
{
    const bool sensible = milliseconds >= 0 && milliseconds <= 1e12F;
    const std::string digits = std::to_string(sensible ? static_cast<std::int64_t>(milliseconds) : 0);
    return { digits.begin(), digits.end() };
}

} // namespace

void WriteLog(
    const std::int32_t& flags, float& timeReference, const std::u16string& message, LogServices& services)
{
    if ((flags & DiagnosticLogFlag) == 0) {
        return;
    }
    if (m_LogFolder.empty()) {
        m_LogFolder = CreateLogFolder(services);
    }
    const float now = SecondsSinceMidnight(services.clock);
    const float referenceAge = now - timeReference;
    if (timeReference == 0 || !(referenceAge >= 0 && referenceAge <= LongestReferenceAgeSeconds)) {
        timeReference = now;
    }
    const float lineTime = SecondsSinceMidnight(services.clock);
    if (lineTime < timeReference) {
        // Midnight passed between the two readings: the count starts over.
        timeReference = lineTime;
    }
    const float elapsedMilliseconds = std::floor((lineTime - timeReference) * 1000.0F);
    const std::u16string line = services.clock.dateText() + u" " + services.clock.timeText() + u"\t" + message
        + u"\t" + WholeMillisecondsText(elapsedMilliseconds) + u" msec\r\n";
    services.files.appendToFile(m_LogFolder + u"VestrakControls.log", ToUtf8(line));
}

void ForgetLogFolderOfThisThread()
{
    m_LogFolder.clear();
}

} // namespace vestrak
