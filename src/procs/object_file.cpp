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

// Calls visit(dataLine, fileLineNumber) for each data line of the first section of that name, the
// line trimmed and its double spaces halved; false when the file has no such section. The one
// scanner behind both section readers, so they always agree.
template<typename Visit>
bool ScanSection(std::u16string_view rest, const std::u16string& wantedUpper, Visit visit)
{
    std::int32_t lineNumber = 0;
    bool found = false;
    while (const auto line = TakeTextLine(rest)) {
        ++lineNumber;
        const auto name = HeaderName(*line);
        if (name && ToUpper(*name) == wantedUpper) {
            found = true;
            break;
        }
    }
    if (!found) {
        return false;
    }
    std::u16string dataLine;
    while (const auto line = TakeTextLine(rest)) {
        ++lineNumber;
        const std::u16string_view trimmed = SpaceTrimmed(*line);
        if (HeaderName(trimmed)) {
            break;
        }
        if (trimmed.empty() || trimmed.starts_with(u';')) {
            continue;
        }
        dataLine.clear();
        AppendHalvingDoubleSpaces(dataLine, trimmed);
        visit(dataLine, lineNumber);
    }
    return true;
}

std::optional<std::u16string> ReadDecodedFile(const std::u16string& fileName, FileSystem& files)
{
    std::optional<std::string> bytes = files.readFile(fileName);
    if (!bytes) {
        return std::nullopt;
    }
    return DecodeObjectFile(*bytes);
}

} // namespace

std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    const std::optional<std::u16string> text = ReadDecodedFile(fileName, files);
    if (!text) {
        return {};
    }
    std::u16string result;
    ScanSection(*text, ToUpper(section), [&result](const std::u16string& line, std::int32_t) {
        result += line;
        result.push_back(u'\0');
    });
    return result;
}

std::optional<std::vector<SectionLine>> ReadIniSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    const std::optional<std::u16string> text = ReadDecodedFile(fileName, files);
    if (!text) {
        return std::nullopt;
    }
    std::vector<SectionLine> lines;
    const bool found
        = ScanSection(*text, ToUpper(section), [&lines](const std::u16string& line, std::int32_t number) {
              lines.push_back({ line, number });
          });
    if (!found) {
        return std::nullopt;
    }
    return lines;
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
