#include "object_file/object_file.h"

#include "object_file/read_aside.h"
#include "text/byte_words.h"
#include "text/encoding.h"
#include "text/line_cutter.h"
#include "text/text.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <map>
#include <set>
#include <utility>

#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
#include <emmintrin.h>
#endif

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

// The upper-cased name of a section header: one begins a section only at the very start of its
// line.
std::optional<std::u16string> HeaderNameUpper(std::string_view line, ObjectFileText::Encoding encoding)
{
    const auto header = HeaderName(line);
    if (!header) {
        return std::nullopt;
    }
    std::u16string name;
    AppendDecoded(name, *header, encoding);
    return ToUpper(name);
}

// A line inside a section: a header ends the section, blanks around it allowed; otherwise its data
// trimmed of spaces, empty for a blank or comment line.
struct LineInSection {
    bool endsSection = false;
    std::string_view data;
};

LineInSection ReadLineInSection(std::string_view line)
{
    const std::string_view trimmed = SpaceTrimmedBytes(line);
    if (HeaderName(trimmed)) {
        return { .endsSection = true, .data = {} };
    }
    if (trimmed.empty() || trimmed.starts_with(';')) {
        return {};
    }
    return { .endsSection = false, .data = trimmed };
}

// Where the first two spaces in a row begin, eight bytes at a time: a marked space beside a
// marked space, or a space that begins a word after a space that ended the word before.
std::size_t FirstSpacePairByWords(std::string_view line)
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

#if defined(__SSE2__) && !defined(VESTRAK_SCALAR_ONLY)
// The bytes of a block of sixteen that are spaces, one bit each.
std::uint32_t SpaceMarks(std::string_view line, std::size_t position)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + position));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(' '))));
}

// Where the first two spaces in a row begin, sixteen bytes at a time where the machine allows:
// a space beside a space in one block, or a space that begins a block after a space that ended
// the block before. The last block ends with the line, overlapping the one before it.
std::size_t FirstSpacePair(std::string_view line)
{
    constexpr std::size_t BlockBytes = 16;
    if (line.size() >= BlockBytes) {
        std::uint32_t spaceBefore = 0;
        for (std::size_t position = 0;; position += BlockBytes) {
            const std::size_t start = std::min(position, line.size() - BlockBytes);
            const std::uint32_t marks = SpaceMarks(line, start);
            // A bit for each space whose byte before is a space too; the overlapped bytes hold
            // no pair, or it would have been found.
            if (const std::uint32_t pairEnds = marks & ((marks << 1) | spaceBefore)) {
                return start + static_cast<std::size_t>(std::countr_zero(pairEnds)) - 1;
            }
            if (start + BlockBytes == line.size()) {
                return std::string_view::npos;
            }
            spaceBefore = marks >> (BlockBytes - 1);
        }
    }
    return FirstSpacePairByWords(line);
}
#else
std::size_t FirstSpacePair(std::string_view line)
{
    return FirstSpacePairByWords(line);
}
#endif

// The line from the first pair of spaces on with each pair made one, left to right: the output
// is not scanned again.
std::string_view HalvedFrom(std::string_view line, std::size_t pair, std::string& halved)
{
    halved.assign(line.substr(0, pair));
    for (std::size_t index = pair; index < line.size(); ++index) {
        halved.push_back(line[index]);
        if (line[index] == ' ' && index + 1 < line.size() && line[index + 1] == ' ') {
            ++index;
        }
    }
    return halved;
}

// Most lines hold no pair and come back as they are, without a copy.
inline std::string_view HalvingDoubleSpaces(std::string_view line, std::string& halved)
{
    const std::size_t pair = FirstSpacePair(line);
    return pair == std::string_view::npos ? line : HalvedFrom(line, pair, halved);
}

// The file's size as its stamp gives it, 0 when unknown: the most bytes a section of it holds,
// so that a reader can ask for its room once.
std::size_t KnownFileBytes(const std::u16string& fileName, FileSystem& files)
{
    const std::optional<FileStamp> stamp = files.changeStamp(fileName);
    return stamp ? static_cast<std::size_t>(stamp->size) : 0;
}

// How the file's text is decoded, from a first reading of all of it: valid UTF-8 can be told only
// at the end. Nothing when the file cannot be read.
std::optional<ObjectFileText::Encoding> FileEncoding(const std::u16string& fileName, FileSystem& files)
{
    ObjectFileBytes text;
    Utf8Check check;
    // A byte order mark settles it at once, and so does the first invalid sequence.
    const bool read = files.readFileInPieces(fileName, [&](std::string_view piece) {
        const std::string_view bytes = text.add(piece);
        return text.mark() == ObjectFileBytes::Mark::NotYetSeen
            || (text.mark() == ObjectFileBytes::Mark::None && check.add(bytes));
    });
    if (!read) {
        return std::nullopt;
    }
    const std::string_view rest = text.finish();
    if (text.mark() != ObjectFileBytes::Mark::None) {
        return ObjectFileText::Encoding::Utf8;
    }
    check.add(rest);
    return check.valid() ? ObjectFileText::Encoding::Utf8 : ObjectFileText::Encoding::Windows1252;
}

// A line holding NUL is what a crash or power cut leaves in a file: damage, neither a header nor a
// data line. NUL is the zero byte in every encoding read, UTF-16 turned into UTF-8 included.
bool HoldsNul(std::string_view line)
{
    return line.find('\0') != std::string_view::npos;
}

// Lines past the range of a file line number all get the last one.
void CountFileLine(std::int32_t& lineNumber)
{
    if (lineNumber < std::numeric_limits<std::int32_t>::max()) {
        ++lineNumber;
    }
}

// Finds the first section of that name, line by line, and hands its data lines to visit(bytes,
// fileLineNumber), trimmed and their double spaces halved. It works on the bytes and leaves
// decoding to the visitor, so the lines of other sections are never decoded. The section's lines
// holding NUL are skipped and counted.
template<typename Visit> class SectionScanner {
public:
    SectionScanner(std::u16string wantedUpper, ObjectFileText::Encoding encoding, Visit& visit)
        : m_WantedUpper(std::move(wantedUpper))
        , m_Encoding(encoding)
        , m_Visit(visit)
    {
    }

    // Before the section only a header of the wanted name's length matters: "[", at most three
    // bytes per character, "]".
    [[nodiscard]] std::size_t wantedLineBytes() const
    {
        return m_Found ? std::string::npos : 3 * m_WantedUpper.size() + 2;
    }

    // False once the section has ended.
    bool line(std::string_view bytes, const LineMarks& marks)
    {
        CountFileLine(m_LineNumber);
        if (marks.mayHoldNul && HoldsNul(bytes)) {
            if (m_Found && m_Skipped.count++ == 0) {
                m_Skipped.firstFileLine = m_LineNumber;
            }
            return true;
        }
        if (!m_Found) {
            if (const auto name = HeaderNameUpper(bytes, m_Encoding)) {
                m_Found = *name == m_WantedUpper;
            }
            return true;
        }
        const LineInSection line = ReadLineInSection(bytes);
        if (line.endsSection) {
            return false;
        }
        if (!line.data.empty()) {
            m_Visit(
                marks.mayHoldSpacePair ? HalvingDoubleSpaces(line.data, m_Halved) : line.data, m_LineNumber);
        }
        return true;
    }

    [[nodiscard]] bool found() const { return m_Found; }
    [[nodiscard]] const SkippedLines& skipped() const { return m_Skipped; }

private:
    std::u16string m_WantedUpper;
    ObjectFileText::Encoding m_Encoding;
    Visit& m_Visit;
    std::string m_Halved;
    std::int32_t m_LineNumber = 0;
    bool m_Found = false;
    SkippedLines m_Skipped;
};

// Counts the data lines of the first section of each wanted name in one reading of the file, as
// the section readers would give them one section at a time: lines holding NUL are not counted.
class SectionCounter {
public:
    SectionCounter(const std::set<std::u16string>& wantedUpper, ObjectFileText::Encoding encoding)
        : m_WantedUpper(wantedUpper)
        , m_Encoding(encoding)
    {
        for (const std::u16string& name : m_WantedUpper) {
            m_HeaderBytes = std::max(m_HeaderBytes, 3 * name.size() + 2);
        }
    }

    [[nodiscard]] std::size_t wantedLineBytes() const
    {
        return m_Counting ? std::string::npos : m_HeaderBytes;
    }

    bool line(std::string_view bytes)
    {
        if (HoldsNul(bytes)) {
            return true;
        }
        if (m_Counting) {
            const LineInSection line = ReadLineInSection(bytes);
            if (!line.endsSection) {
                if (!line.data.empty()) {
                    ++*m_Counting;
                }
                return true;
            }
            m_Counting = nullptr;
        }
        if (auto name = HeaderNameUpper(bytes, m_Encoding)) {
            if (m_WantedUpper.contains(*name) && !m_Counts.contains(*name)) {
                m_Counting = &m_Counts[std::move(*name)];
            }
        }
        return true;
    }

    [[nodiscard]] std::map<std::u16string, std::size_t> counts() && { return std::move(m_Counts); }

private:
    const std::set<std::u16string>& m_WantedUpper;
    ObjectFileText::Encoding m_Encoding;
    std::size_t m_HeaderBytes = 2;
    std::map<std::u16string, std::size_t> m_Counts;
    std::size_t* m_Counting = nullptr;
};

// Calls visit(dataLineBytes, fileLineNumber) for each data line of the first section of that
// name, its bytes read as the encoding says, and tells of the lines skipped as damage; false when
// the file cannot be read or has no such section. The file is read in pieces, so what stays in
// memory is the section, not the file.
template<typename Visit>
bool ScanSectionAs(const ReadAside::ReadFile& readPieces, const std::u16string& section,
    ObjectFileText::Encoding encoding, Visit& visit, SkippedLines& skipped)
{
    SectionScanner<Visit> scanner(ToUpper(section), encoding, visit);
    LineCutter<SectionScanner<Visit>> cutter(scanner, LinesWithNul::CutAtFirstNul);
    ObjectFileBytes text;
    bool ended = false;
    const bool read = readPieces([&](std::string_view piece) {
        ended = !cutter.add(text.add(piece));
        return !ended;
    });
    if (read && !ended && cutter.add(text.finish())) {
        cutter.finish();
    }
    skipped = scanner.skipped();
    return read && scanner.found();
}

// The same, learning the encoding as it goes: the one scanner behind every section reader, so
// they always agree. The section is scanned as UTF-8 while the whole file is checked, so a UTF-8
// file is read once. Only a file that turns out not to be UTF-8 is read again, as Windows-1252,
// after restart(), which tells the visitor to forget the lines it was given. The lines of the
// section skipped as damage are told to skipped.
template<typename Visit, typename Restart>
bool ScanSectionPieces(const ReadAside::ReadFile& readPieces, const std::u16string& section,
    ObjectFileText::Encoding& encoding, Visit visit, Restart restart, SkippedLines& skipped)
{
    SectionScanner<Visit> scanner(ToUpper(section), ObjectFileText::Encoding::Utf8, visit);
    LineCutter<SectionScanner<Visit>> cutter(scanner, LinesWithNul::CutAtFirstNul);
    ObjectFileBytes text;
    Utf8Check check;
    bool ended = false;
    const auto take = [&](std::string_view bytes) {
        // Without a byte order mark every byte counts, the section's end or not.
        const bool checking = text.mark() == ObjectFileBytes::Mark::None;
        if (checking && !check.add(bytes)) {
            return false;
        }
        if (!ended) {
            ended = !cutter.add(bytes);
        }
        return !ended || checking;
    };
    const bool read = readPieces([&](std::string_view piece) { return take(text.add(piece)); });
    if (!read) {
        return false;
    }
    if (take(text.finish()) && !ended) {
        cutter.finish();
    }
    bool found = false;
    if (text.mark() == ObjectFileBytes::Mark::None && !check.valid()) {
        restart();
        encoding = ObjectFileText::Encoding::Windows1252;
        found = ScanSectionAs(readPieces, section, encoding, visit, skipped);
    } else {
        encoding = ObjectFileText::Encoding::Utf8;
        found = scanner.found();
        skipped = scanner.skipped();
    }
    return found;
}

// The same for a file of the file system, which is told of the lines skipped as damage.
template<typename Visit, typename Restart>
bool ScanSection(const std::u16string& fileName, FileSystem& files, const std::u16string& section,
    ObjectFileText::Encoding& encoding, Visit visit, Restart restart, SkippedLines& skipped)
{
    const bool found = ScanSectionPieces(
        [&](const ReadAside::TakePiece& take) { return files.readFileInPieces(fileName, take); }, section,
        encoding, visit, restart, skipped);
    if (skipped.count != 0) {
        files.skippedDamagedLines(fileName, section, skipped);
    }
    return found;
}

// Lines of the file's bytes as UTF-8: as they are in a UTF-8 file, converted one at a time from
// any other encoding.
class Utf8Lines {
public:
    explicit Utf8Lines(const ObjectFileText::Encoding& encoding)
        : m_Encoding(encoding)
    {
    }

    // Valid until the next line.
    std::string_view operator()(std::string_view lineBytes)
    {
        if (m_Encoding == ObjectFileText::Encoding::Utf8) {
            return lineBytes;
        }
        m_Decoded.clear();
        AppendDecoded(m_Decoded, lineBytes, m_Encoding);
        m_Converted.clear();
        AppendAsUtf8(m_Converted, m_Decoded);
        return m_Converted;
    }

private:
    const ObjectFileText::Encoding& m_Encoding;
    std::u16string m_Decoded;
    std::string m_Converted;
};

// The data lines each followed by NUL, telling lineAdded(start, fileLine) of each line as it is
// added at start with its NUL, from that line of the file, and forget() when the lines told so
// far were read in the wrong encoding and come again. Nothing when the file cannot be read or has
// no such section.
template<typename LineAdded, typename Forget>
std::optional<std::u16string> ReadSectionText(const std::u16string& section, const std::u16string& fileName,
    FileSystem& files, LineAdded lineAdded, Forget forget, SkippedLines& skipped)
{
    std::u16string result;
    bool roomAsked = false;
    ObjectFileText::Encoding encoding = ObjectFileText::Encoding::Utf8;
    const bool found = ScanSection(
        fileName, files, section, encoding,
        [&](std::string_view line, std::int32_t fileLine) {
            // A section decodes to at most a unit per byte of the file, each line's NUL taking
            // its line break's place: room asked for once, so that the text is not moved as it
            // grows. Pages the text does not reach are never touched.
            if (!std::exchange(roomAsked, true)) {
                result.reserve(KnownFileBytes(fileName, files) + 1);
            }
            const std::size_t start = result.size();
            AppendDecoded(result, line, encoding);
            result.push_back(u'\0');
            lineAdded(start, fileLine);
        },
        [&] {
            result.clear();
            forget();
        },
        skipped);
    if (!found) {
        return std::nullopt;
    }
    if (result.size() < result.capacity() / 2) {
        result.shrink_to_fit();
    }
    return result;
}

} // namespace

std::u16string ReadIniSection(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    SkippedLines skipped;
    return ReadSectionText(
        section, fileName, files, [](std::size_t, std::int32_t) {}, [] {}, skipped)
        .value_or(std::u16string());
}

SectionLines ReadSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    std::vector<std::size_t> starts;
    SkippedLines skipped;
    std::optional<std::u16string> text = ReadSectionText(
        section, fileName, files, [&starts](std::size_t start, std::int32_t) { starts.push_back(start); },
        [&starts] { starts.clear(); }, skipped);
    return { std::move(text).value_or(std::u16string()), std::move(starts) };
}

SectionBytes ReadSectionBytes(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files, SectionBytes room)
{
    ObjectFileText::Encoding encoding = ObjectFileText::Encoding::Utf8;
    bool started = false;
    SkippedLines skipped;
    const bool found = ScanSection(
        fileName, files, section, encoding,
        [&](std::string_view line, std::int32_t) {
            if (!std::exchange(started, true)) {
                room.restart(encoding);
                room.reserveBytes(KnownFileBytes(fileName, files));
            }
            room.add(line);
        },
        [&started] { started = false; }, skipped);
    if (!found || !started) {
        return {};
    }
    room.fitToSize();
    return room;
}

ReadAside::WorkThread WorkThreadToRead(const std::optional<FileStamp>& stamp)
{
    constexpr std::uint64_t SmallestFileReadAside = std::uint64_t { 2 } << 20;
    return stamp && stamp->size < SmallestFileReadAside ? ReadAside::WorkThread::Calling
                                                        : ReadAside::WorkThread::Aside;
}

bool VisitSectionUtf8LinesAside(const std::u16string& section, const std::u16string& fileName,
    FileSystem& files, SectionLineBatches& batches, ReadAside::WorkThread workThread)
{
    bool found = false;
    SkippedLines skipped;
    ReadAside::Run(
        batches.count(),
        [&](const ReadAside::TakePiece& take) { return files.readFileInPieces(fileName, take); },
        [&](std::size_t batch) {
            if (batch == ReadAside::Forget) {
                batches.forget();
            } else {
                batches.take(batch);
            }
        },
        [&](ReadAside::Side& side) {
            std::size_t batch = side.freeBatch();
            bool filled = false;
            // A batch goes to the calling thread at the end of each piece, and a free one takes
            // its place.
            const auto handFilled = [&] {
                if (std::exchange(filled, false)) {
                    side.hand(batch);
                    return true;
                }
                return false;
            };
            const auto handFilledForAnother = [&] {
                if (handFilled()) {
                    batch = side.freeBatch();
                }
            };
            ObjectFileText::Encoding encoding = ObjectFileText::Encoding::Utf8;
            Utf8Lines utf8(encoding);
            std::uint32_t lineIndex = 0;
            found = ScanSectionPieces(
                [&](const ReadAside::TakePiece& take) {
                    return side.readPieces([&](std::string_view piece) {
                        const bool more = take(piece);
                        handFilledForAnother();
                        return more;
                    });
                },
                section, encoding,
                [&](std::string_view lineBytes, std::int32_t) {
                    batches.prepare(batch, utf8(lineBytes), lineIndex++);
                    filled = true;
                },
                [&] {
                    lineIndex = 0;
                    handFilledForAnother();
                    side.hand(ReadAside::Forget);
                },
                skipped);
            handFilled();
        },
        workThread);
    if (skipped.count != 0) {
        files.skippedDamagedLines(fileName, section, skipped);
    }
    return found;
}

std::optional<NumberedSectionLines> ReadIniSectionLines(
    const std::u16string& section, const std::u16string& fileName, FileSystem& files)
{
    std::vector<std::size_t> starts;
    std::vector<std::int32_t> fileLines;
    SkippedLines skipped;
    std::optional<std::u16string> text = ReadSectionText(
        section, fileName, files,
        [&](std::size_t start, std::int32_t fileLine) {
            starts.push_back(start);
            fileLines.push_back(fileLine);
        },
        [&] {
            starts.clear();
            fileLines.clear();
        },
        skipped);
    if (!text) {
        return std::nullopt;
    }
    return NumberedSectionLines { SectionLines(std::move(*text), std::move(starts)), std::move(fileLines),
        skipped };
}

std::map<std::u16string, std::size_t> CountSectionLines(
    const std::set<std::u16string>& sections, const std::u16string& fileName, FileSystem& files)
{
    const std::optional<ObjectFileText::Encoding> encoding = FileEncoding(fileName, files);
    if (!encoding || sections.empty()) {
        return {};
    }
    std::set<std::u16string> wantedUpper;
    for (const std::u16string& section : sections) {
        wantedUpper.insert(ToUpper(section));
    }
    SectionCounter counter(wantedUpper, *encoding);
    LineCutter<SectionCounter> cutter(counter, LinesWithNul::CutAtFirstNul);
    ObjectFileBytes text;
    if (files.readFileInPieces(fileName, [&](std::string_view piece) { return cutter.add(text.add(piece)); })
        && cutter.add(text.finish())) {
        cutter.finish();
    }
    return std::move(counter).counts();
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
