// Both object-file readers on arbitrary bytes: the section reader (in its three forms, which must
// agree line for line, none giving a line that holds NUL) and the key lookup through the profile
// reader.
#include "fuzz_platform.h"
#include "object_file/object_file.h"
#include "text/text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The names the controls ask for, and a few that test the matching.
constexpr std::array<const char16_t*, 6> SectionNames
    = { u"TreeObjects", u"General", u"FilterGroupNames", u"treeobjects", u" TreeObjects ", u"" };
constexpr std::array<const char16_t*, 5> KeyNames
    = { u"AllowedFilterGroups", u"4", u"allowedfiltergroups", u"", u"P1/North" };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrak;
    FuzzedDataProvider input(data, size);
    const std::u16string section = SectionNames.at(input.ConsumeIntegralInRange<std::size_t>(0, 5));
    const std::u16string key = KeyNames.at(input.ConsumeIntegralInRange<std::size_t>(0, 4));
    const std::vector<char> bytes = input.ConsumeRemainingBytes<char>();
    fuzzing::FuzzPlatform fuzz(std::string_view(bytes.data(), bytes.size()));

    const std::u16string joined = ReadIniSection(section, fuzzing::ObjectFilePath, fuzz.files);
    const auto numbered = ReadIniSectionLines(section, fuzzing::ObjectFilePath, fuzz.files);
    if (numbered) {
        const auto& [lines, fileLines, skipped] = *numbered;
        if (fileLines.size() != lines.size() || !std::is_sorted(fileLines.begin(), fileLines.end())
            || (!fileLines.empty() && fileLines.front() < 1)
            || (skipped.count != 0 && skipped.firstFileLine < 1)) {
            std::abort();
        }
        std::u16string joinedFromLines;
        for (std::size_t index = 0; index < lines.size(); ++index) {
            // A line holding NUL is skipped as damage, never given.
            if (FindUnit(lines[index], u'\0') != std::u16string_view::npos) {
                std::abort();
            }
            joinedFromLines += lines[index];
            joinedFromLines += u'\0';
        }
        if (joined != joinedFromLines) {
            std::abort();
        }
    } else if (!joined.empty()) {
        std::abort();
    }
    const SectionLines kept = ReadSectionLines(section, fuzzing::ObjectFilePath, fuzz.files);
    if (kept.size() != (numbered ? numbered->lines.size() : 0)) {
        std::abort();
    }

    const std::u16string value = ReadIniValue(section, key, u"(none)", fuzzing::ObjectFilePath, fuzz.profile);
    if (value.size() > 2047) {
        std::abort();
    }
    return 0;
}
