// Both object-file readers on arbitrary bytes: the section reader (in its three forms, which must
// agree line for line, none giving a line that holds NUL) and the key lookup through the profile
// reader; and the lines of the input kept as bytes, which come back whole and decode as a whole
// line does.
#include "fuzz_platform.h"
#include "object_file/object_file.h"
#include "object_file/section_bytes.h"
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

    // One-byte starts pass their range within a few lines, as those of a section of over 4 GB do.
    BasicSectionBytes<std::uint8_t> narrow;
    SectionBytes utf8(ObjectFileText::Encoding::Utf8);
    SectionBytes windows1252(ObjectFileText::Encoding::Windows1252);
    std::vector<std::string_view> added;
    for (std::string_view rest(bytes.data(), bytes.size()); !rest.empty();) {
        added.push_back(rest.substr(0, rest.find('\n')));
        rest.remove_prefix(std::min(rest.size(), added.back().size() + 1));
        narrow.add(added.back());
        utf8.add(added.back());
        windows1252.add(added.back());
    }
    std::u16string room;
    for (std::size_t index = 0; index < added.size(); ++index) {
        for (const SectionBytes* lines : { &utf8, &windows1252 }) {
            std::u16string whole;
            AppendDecoded(whole, added[index],
                lines == &utf8 ? ObjectFileText::Encoding::Utf8 : ObjectFileText::Encoding::Windows1252);
            if (lines->line(index, room) != whole) {
                std::abort();
            }
        }
        if (narrow.bytes(index) != added[index]) {
            std::abort();
        }
    }
    return 0;
}
