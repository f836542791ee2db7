#pragma once

#include "../ports/clock.h"
#include "../ports/file_system.h"
#include "../ports/special_folders.h"

#include <cstdint>
#include <string>

namespace vestrak {

struct LogServices {
    Clock& clock;
    FileSystem& files;
    SpecialFolders& specialFolders;
};

// The Style bit that switches the diagnostic log on.
constexpr std::int32_t DiagnosticLogFlag = 0x10000;

// Appends "date time<TAB>message<TAB>N msec" to VestrakControls.log when `flags` has the diagnostic
// log bit, N being the milliseconds since `timeReference` (seconds since midnight). A reference
// of 0, or one more than 100000 s away from now or after now, is reset to now first. The log
// folder is worked out and created at the first line of each thread; errors are ignored.
void WriteLog(
    const std::int32_t& flags, float& timeReference, const std::u16string& message, LogServices& services);

// Makes the next line of this thread work out (and create) its log folder again, as a new thread
// would. For tests that give each case its own folder.
void ForgetLogFolderOfThisThread();

// The special folder's path, or else the fallback path, ending in a folder end unless empty.
std::u16string GetSpecialFolder(
    const std::u16string& fallbackPath, std::int32_t identifier, SpecialFolders& folders);

} // namespace vestrak
