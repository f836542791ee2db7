#include "procs/object_file.h"

#include "procs/byte_words.h"
#include "procs/encoding.h"
#include "procs/text.h"

namespace vestrak {

namespace {

constexpr std::size_t ProfileBufferSize = 2048;

// The name between "[" and the first "]" when the line is a section header.
std::optional<std::string_view> HeaderName(std::string_view line)
{
    if (!line.starts_with('[')) {
        return std::nullopt;
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(1, close - 1);
}

std::string_view SpaceTrimmedBytes(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

// Where the first two spaces in a row begin, eight bytes at a time: a marked space beside a
// marked space, or a space that begins a word after a space that ended the word before.
std::size_t FirstSpacePair(std::string_view line)
{
    constexpr std::uint64_t FirstByteMark = 0x80U;
    std::size_t position = 0;
    bool spaceBefore = false;
    for (; position + WordBytes <= line.size(); position += WordBytes) {
        const std::uint64_t spaces = MarksOf(LoadWord(line, position), ' ');
        if (spaceBefore && (spaces & FirstByteMark) != 0) {
            return position - 1;
        }
        if (const std::uint64_t pairs = spaces & (spaces >> 8)) {
            return position + FirstMarked(pairs);
        }
        spaceBefore = (spaces >> 63) != 0;
    }
    if (spaceBefore) {
        --position;
    }
    for (; position + 1 < line.size(); ++position) {
        if (line[position] == ' ' && line[position + 1] == ' ') {
            return position;
        }
    }
    return std::string_view::npos;
}

// One left-to-right pass: a pair of spaces becomes one, and the output is not scanned again.
// Most lines hold no pair and come back as they are, without a copy.
std::string_view HalvingDoubleSpaces(std::string_view line, std::string& halved)
{
    const std::size_t pair = FirstSpacePair(line);
    if (pair == std::string_view::npos) {
        return line;
    }
    halved.assign(line.substr(0, pair));
    for (std::size_t index = pair; index < line.size(); ++index) {
        halved.push_back(line[index]);
        if (line[index] == ' ' && index + 1 < line.size() && line[index + 1] == ' ') {
            ++index;
        }
    }
    return halved;
}

// Calls visit(dataLineBytes, fileLineNumber) for each data line of the first section of that
// name, the line trimmed and its double spaces halved; false when the file has no such section.
// The one scanner behind both section readers, so they always agree. It works on the bytes and
// leaves decoding to the visitor, so the lines of other sections are never decoded.
template<typename Visit>
bool ScanSection(const ObjectFileText& file, const std::u16string& wantedUpper, Visit visit)
{
    std::string_view rest = file.bytes;
    std::int32_t lineNumber = 0;
    bool found = false;
    std::u16string name;
    while (const auto line = TakeTextLine(rest)) {
        ++lineNumber;
        if (const auto header = HeaderName(*line)) {
            name.clear();
            AppendDecoded(name, *header, file.encoding);
            if (ToUpper(name) == wantedUpper) {
                found = true;
                break;
            }
        }
    }
    if (!found) {
        return false;
    }
    std::string halved;
    while (const auto line = TakeTextLine(rest)) {
        ++lineNumber;
        const std::string_view trimmed = SpaceTrimmedBytes(*line);
        if (HeaderName(trimmed)) {
            break;
        }
        if (trimmed.empty() || trimmed.starts_with(';')) {
            continue;
        }
        visit(HalvingDoubleSpaces(trimmed, halved), lineNumber);
    }
    return true;
}

// The data lines each followed by NUL, telling lineAdded(text, start, bytes, fileLine) of each
// line as it is added at start with its NUL, from those bytes of that line of the file. Nothing
// when the file cannot be read or has no such section.
template<typename LineAdded>
std::optional<std::u16string> ReadSectionText(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files, LineAdded lineAdded)
{
    const std::optional<std::string> bytes = files.readFile(fileName);
    if (!bytes) {
        return std::nullopt;
    }
    const ObjectFileText file = DetectObjectFileEncoding(*bytes);
    // The text never has more code units than the file has bytes. Room the section leaves unused
    // stays untouched address space, and a result far below it is given back.
    std::u16string result;
    result.reserve(file.bytes.size());
    const bool found = ScanSection(file, ToUpper(section), [&](std::string_view line, std::int32_t fileLine) {
        const std::size_t start = result.size();
        AppendDecoded(result, line, file.encoding);
        result.push_back(u'\0');
        lineAdded(result, start, line, fileLine);
    });
    if (!found) {
        return std::nullopt;
    }
    if (result.size() < result.capacity() / 2) {
        result.shrink_to_fit();
    }
    return result;
}

// Files where the line just added at start begins, and where a NUL inside it starts another: a
// NUL in a line ends a line there, as it does for every reader that splits the text at NUL. NUL
// is the zero byte in both encodings, so the line's bytes tell whether to look.
void AddLineStarts(std::vector<std::size_t>& starts, const std::u16string& text, std::size_t start, std::string_view bytes)
{
    starts.push_back(start);
    if (bytes.find('\0') == std::string_view::npos) {
        return;
    }
    // The line's own NUL, the text's last unit, ends the search.
    for (std::size_t nul = FindUnit(text, u'\0', start); nul + 1 < text.size(); nul = FindUnit(text, u'\0', nul + 1)) {
        starts.push_back(nul + 1);
    }
}

} // namespace

std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    return ReadSectionText(section, fileName, files, [](const std::u16string&, std::size_t, std::string_view, std::int32_t) {
    }).value_or(std::u16string());
}

SectionLines ReadSectionLines(const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    std::vector<std::size_t> starts;
    std::optional<std::u16string> text = ReadSectionText(section, fileName, files,
        [&starts](const std::u16string& text, std::size_t start, std::string_view bytes, std::int32_t) {
            AddLineStarts(starts, text, start, bytes);
        });
    return { std::move(text).value_or(std::u16string()), std::move(starts) };
}

bool VisitSectionLines(const std::u16string& section, const std::u16string& fileName, FileSystem& files,
    const std::function<void(std::u16string_view)>& visit)
{
    const std::optional<std::string> bytes = files.readFile(fileName);
    if (!bytes) {
        return false;
    }
    const ObjectFileText file = DetectObjectFileEncoding(*bytes);
    std::u16string line;
    return ScanSection(file, ToUpper(section), [&](std::string_view lineBytes, std::int32_t) {
        line.clear();
        AppendDecoded(line, lineBytes, file.encoding);
        // A NUL in a line ends a line there, as for the lines kept.
        if (lineBytes.find('\0') == std::string_view::npos) {
            visit(line);
            return;
        }
        std::size_t start = 0;
        for (std::size_t nul = FindUnit(line, u'\0'); nul != std::u16string::npos; nul = FindUnit(line, u'\0', start)) {
            visit(std::u16string_view(line).substr(start, nul - start));
            start = nul + 1;
        }
        visit(std::u16string_view(line).substr(start));
    });
}

std::optional<NumberedSectionLines> ReadIniSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    std::vector<std::size_t> starts;
    std::vector<std::int32_t> fileLines;
    std::optional<std::u16string> text = ReadSectionText(section, fileName, files,
        [&](const std::u16string& text, std::size_t start, std::string_view bytes, std::int32_t fileLine) {
            AddLineStarts(starts, text, start, bytes);
            fileLines.resize(starts.size(), fileLine);
        });
    if (!text) {
        return std::nullopt;
    }
    return NumberedSectionLines { SectionLines(std::move(*text), std::move(starts)), std::move(fileLines) };
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
