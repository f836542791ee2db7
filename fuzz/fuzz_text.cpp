// The text procedures on arbitrary texts, checked against what must hold for any input, and the
// fast searches against plain ones: a disagreement aborts.
#include "containers/prefix_list_index.h"
#include "object_file/code_chain.h"
#include "text/encoding.h"
#include "text/text.h"
#include "text/wildcard.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

constexpr std::size_t MostChainUnits = 65536;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    FuzzedDataProvider input(data, size);
    const auto index = input.ConsumeIntegralInRange<std::int32_t>(-2, 40);
    const std::u16string separator = FromUtf8(input.ConsumeRandomLengthString(4));
    const std::u16string pattern = FromUtf8(input.ConsumeRandomLengthString(512));
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
    if ((firstItemMatches && !listed) || PrefixListIndex(pattern).startsWithItem(pattern, text) != listed
        || IsInPrefixList(ToUtf8(pattern), ToUtf8(text)) != listed) {
        std::abort();
    }
    // Each line of the text a code: the parent search's chain keeps what a walk back keeps. The walk
    // and the chain's index are slow on the megabyte seed, which the other checks cover.
    CodeChain chain;
    Utf8CodeChain utf8Chain;
    std::vector<std::u16string> plain;
    for (const std::u16string& code :
        text.size() > MostChainUnits ? std::vector<std::u16string>() : SplitTextLines(text)) {
        std::size_t kept = plain.size();
        while (kept > 0 && !IsInPrefixList(plain[kept - 1], code)) {
            --kept;
        }
        if (chain.linksKeptFor(code) != kept || utf8Chain.linksKeptFor(ToUtf8(code)) != kept) {
            std::abort();
        }
        plain.resize(kept);
        chain.cutTo(kept);
        utf8Chain.cutTo(kept);
        plain.push_back(code);
        chain.add(code);
        utf8Chain.add(ToUtf8(code));
    }

    // Eight units at a time, the search finds what a plain one finds.
    const char16_t wanted = separator.empty() ? u'\0' : separator.back();
    const auto from = static_cast<std::size_t>(index + 2);
    if (FindUnit(text, wanted, from) != std::u16string_view(text).find(wanted, from)) {
        std::abort();
    }

    const bool matched = MatchWildcard(text, pattern);
    // A filter's patterns move as their vector grows; a short one must not point into its old place.
    std::vector<WildcardPattern> kept;
    for (const std::u16string& each : { pattern, separator, pattern }) {
        kept.emplace_back(each);
    }
    if (kept.front().matches(text) != matched || kept.back().matches(text) != matched) {
        std::abort();
    }
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
