#pragma once

#include <string>

namespace vestrak::testing {

// The work of one writer process in the shared-store test, the same in the writer and in the
// test that checks what the writer left behind.
inline constexpr const char16_t* StressApplication = u"VestrakControls.Stress";
inline constexpr int WriterOperations = 5000;
inline constexpr int WriterKeys = 40;
// The keys each process saves when several start on one fresh file, or find it locked.
inline constexpr int StartKeys = 10;

inline std::u16string WriterSection(int writer)
{
    return u"Writer" + std::u16string(1, static_cast<char16_t>(u'0' + writer));
}

inline std::u16string WriterKey(int operation)
{
    const std::string digits = std::to_string(operation % WriterKeys);
    return u"Key\\" + std::u16string(digits.begin(), digits.end());
}

// Every seventh operation removes its key, the others write it; a read follows each.
inline bool IsDeletion(int operation)
{
    return operation % 7 == 6;
}

inline std::u16string WrittenValue(int writer, int operation)
{
    const std::string text = std::to_string(writer) + ":" + std::to_string(operation);
    return { text.begin(), text.end() };
}

} // namespace vestrak::testing
