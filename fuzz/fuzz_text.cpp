// The three text procedures on arbitrary texts, checked against what must hold for any input.
#include "text/encoding.h"
#include "text/text.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    FuzzedDataProvider input(data, size);
    const auto index = input.ConsumeIntegralInRange<std::int32_t>(-2, 40);
    const std::u16string separator = FromUtf8(input.ConsumeRandomLengthString(4));
    const std::u16string pattern = FromUtf8(input.ConsumeRandomLengthString(64));
    const std::u16string text = FromUtf8(input.ConsumeRemainingBytesAsString());

    std::u16string chosenSeparator = separator;
    const std::u16string field = GetField(text, index, chosenSeparator);
    if (field.size() > text.size() || (!separator.empty() && chosenSeparator != separator)) {
        std::abort();
    }
    if (!field.empty() && text.find(field) == std::u16string::npos) {
        std::abort();
    }

    const bool listed = IsInPrefixList(pattern, text);
    const bool firstItemMatches = !pattern.empty() && pattern.front() != u','
        && IsInPrefixList(GetField(pattern, 0, std::u16string_view(u",")), text);
    if (firstItemMatches && !listed) {
        std::abort();
    }

    const bool matched = MatchWildcard(text, pattern);
    if (pattern == u"*" && !matched) {
        std::abort();
    }
    // Without wildcards a pattern is one literal that must take the whole text.
    if (pattern.find_first_of(u"*?") == std::u16string::npos
        && matched != (!text.empty() && text == pattern)) {
        std::abort();
    }
    return 0;
}
