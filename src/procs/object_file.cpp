#include "procs/object_file.h"

#include "procs/encoding.h"
#include "procs/text.h"

namespace vestrak {

namespace {

constexpr std::size_t ProfileBufferSize = 2048;

// The name between "[" and the first "]" when the line is a section header.
std::optional<std::u16string_view> HeaderName(std::u16string_view line)
{
    if (!line.starts_with(u'[')) {
        return std::nullopt;
    }
    const std::size_t close = line.find(u']');
    if (close == std::u16string_view::npos) {
        return std::nullopt;
    }
    return line.substr(1, close - 1);
}

// One left-to-right pass: a pair of spaces becomes one, and the output is not scanned again.
void AppendHalvingDoubleSpaces(std::u16string& result, std::u16string_view line)
{
    for (std::size_t index = 0; index < line.size(); ++index) {
        result.push_back(line[index]);
        if (line[index] == u' ' && index + 1 < line.size() && line[index + 1] == u' ') {
            ++index;
        }
    }
}

bool FindSection(std::u16string_view& rest, const std::u16string& wantedUpper)
{
    while (const auto line = TakeTextLine(rest)) {
        const auto name = HeaderName(*line);
        if (name && ToUpper(*name) == wantedUpper) {
            return true;
        }
    }
    return false;
}

std::u16string SectionDataLines(std::u16string_view rest)
{
    std::u16string result;
    while (const auto line = TakeTextLine(rest)) {
        const std::u16string_view trimmed = SpaceTrimmed(*line);
        if (HeaderName(trimmed)) {
            break;
        }
        if (trimmed.empty() || trimmed.starts_with(u';')) {
            continue;
        }
        AppendHalvingDoubleSpaces(result, trimmed);
        result.push_back(u'\0');
    }
    return result;
}

} // namespace

std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    std::optional<std::string> bytes = files.readFile(fileName);
    if (!bytes) {
        return {};
    }
    const std::u16string text = DecodeObjectFile(*bytes);
    bytes.reset();
    std::u16string_view rest = text;
    if (!FindSection(rest, ToUpper(section))) {
        return {};
    }
    return SectionDataLines(rest);
}

std::u16string ReadIniValue(const std::u16string& section, const std::u16string& key,
    const std::u16string& defaultValue, const std::u16string& fileName, Profile& profile)
{
    std::u16string value
        = profile.privateProfileString(section, key, defaultValue, fileName, ProfileBufferSize);
    if (value.size() >= ProfileBufferSize) {
        value.resize(ProfileBufferSize - 1);
    }
    return value;
}

} // namespace vestrak
