#include "object_file/code_chain.h"
#include "object_file/object_file.h"
#include "object_file/section_bytes.h"
#include "support/test_platform.h"
#include "text/encoding.h"
#include "text/line_cutter.h"
#include "text/text.h"

#include <bit>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <stdexcept>

namespace vestrak {
namespace {

using testing::MemoryFiles;

// Data lines are written with "|" where the reader puts NUL.
std::u16string Lines(std::u16string text)
{
    std::replace(text.begin(), text.end(), u'|', u'\0');
    return text;
}

template<typename Lines> std::u16string Joined(const Lines& lines)
{
    std::u16string joined;
    std::u16string room;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if constexpr (std::is_same_v<Lines, SectionBytes>) {
            joined += lines.line(index, room);
        } else {
            joined += lines[index];
        }
        joined += u'\0';
    }
    return joined;
}

std::string Utf16File(std::u16string_view text, std::endian order)
{
    std::string bytes;
    for (const char16_t unit : u"\uFEFF" + std::u16string(text)) {
        const std::string pair { static_cast<char>(unit & 0xFFU), static_cast<char>(unit >> 8U) };
        bytes += order == std::endian::little ? pair : std::string(pair.rbegin(), pair.rend());
    }
    return bytes;
}

// The lines prepared aside, each with its place, in two batches so that the reading thread waits
// for the calling thread to take one.
struct VisitedLines final : SectionLineBatches {
    std::size_t count() const override { return 2; }
    void prepare(std::size_t batch, std::string_view line, std::uint32_t lineIndex) override
    {
        if (line == "throw on reading") {
            throw std::runtime_error("prepare");
        }
        batches[batch].emplace_back(FromUtf8(line), lineIndex);
    }
    void take(std::size_t batch) override
    {
        for (const auto& [line, lineIndex] : batches[batch]) {
            if (line == u"throw on taking") {
                throw std::runtime_error("take");
            }
            EXPECT_EQ(lineIndex, taken++);
            lines += line + u'\0';
        }
        batches[batch].clear();
    }
    void forget() override
    {
        lines.clear();
        taken = 0;
    }
    std::vector<std::pair<std::u16string, std::uint32_t>> batches[2];
    std::u16string lines;
    std::uint32_t taken = 0;
};

// A line holding NUL is skipped as damage wherever it lies, and every reader of the section tells
// of the lines it skipped there: how many, from which line of the file.
TEST(ReadIniSection, Table)
{
    struct Row {
        std::string file;
        std::u16string section;
        std::u16string expected;
        SkippedLines skipped {};
    };
    const std::string nuls(5000, '\0');
    const Row rows[] = { { "[TREEOBJECTS]\r\na=1\r\n", u"TreeObjects", u"a=1|" },
        { "[ TreeObjects ]\r\na=1\r\n", u"TreeObjects", u"" }, { "[S]\r\n  a=1,  b\r\n", u"S", u"a=1, b|" },
        { "[S]\r\nw  x   y    z     q\r\n", u"S", u"w x  y  z   q|" },
        { "[S]\r\n   ; note\r\n\t\r\n\r\n    \r\n", u"S", u"\t|" }, { "[S]\r\na\r\nb", u"S", u"a|b|" },
        { "[S]\r\na\r\n[S]\r\nb\r\n", u"S", u"a|" }, { "[S] old\r\na\r\n[T] x\r\nb\r\n", u"S", u"a|" },
        { "[T]\r\na\r\n", u"S", u"" }, { "[S]\r\n", u"S", u"" }, { "", u"S", u"" },
        { "[S]\r\na\r\n  [T]\r\nb\r\n", u"S", u"a|" }, { "  [S]\r\na\r\n", u"S", u"" },
        { "[S]\r\n[no close\r\n", u"S", u"[no close|" }, { "a=1\r\n[S]\r\nb\r\n", u"S", u"b|" },
        { "[S]\na\rb\n", u"S", u"a|b|" }, { "[\xC3\xA4\xC3\xB6]\r\nx\r\n", u"ÄÖ", u"x|" },
        { "[S]\r\ncaf\xE9\r\n", u"s", u"café|" }, { "[S]x]\r\na\r\n", u"S", u"a|" },
        { "[S]\r\n\xC3\xA4\r\n\xE9", u"S", u"Ã¤|é|" }, { "[S]\r\n\xC3\xA4\r\n\xC3", u"S", u"Ã¤|Ã|" },
        // A byte that is not UTF-8 after the section still makes the whole file Windows-1252.
        { "[S]\r\nb\xC3\xA4\r\n[T]\r\n\xE9\r\n", u"S", u"bÃ¤|" },
        { "[S\xC3\xBC]\r\na\r\n[T]\r\n\xE9\r\n", u"SÜ", u"" }, { "[S\xDC]\r\na\r\n", u"sü", u"a|" },
        { Utf16File(u"[S]\r\nä \U0001F600  x\r\n", std::endian::little), u"S", u"ä \U0001F600 x|" },
        { Utf16File(u"[ÄÖ]\r\na\r\n", std::endian::big), u"äö", u"a|" },
        { Utf16File(u"[S]\r\n", std::endian::little) + std::string("\x00\xD8\r", 3), u"S", u"\uFFFD|" },
        { std::string("[S]\r\na\0b\r\n\0\0c\0\r\nd\r\n", 19), u"S", u"d|", { 2, 2 } },
        { std::string("[S]\0\r\na\r\n[S]\r\nb\r\n", 17), u"S", u"b|" },
        { std::string("[S]\r\na\r\n  [T]\0\r\nb\r\n;\0\r\n", 23), u"S", u"a|b|", { 2, 3 } },
        { "[S]\r\na\r\n" + nuls, u"S", u"a|", { 1, 3 } },
        { "[S]\r\n" + nuls + "x\r\nb\r\n" + nuls + "\r\n", u"S", u"b|", { 2, 2 } },
        { "[S]\r\n\xE9" + nuls + "\r\nb\xE9\r\n", u"S", u"bé|", { 1, 2 } },
        { Utf16File(std::u16string(u"[S]\r\na\0b\r\nc\r\n", 13), std::endian::little), u"S", u"c|",
            { 1, 2 } } };
    // Each read into the room of the read before, whatever that one's length and encoding.
    SectionBytes room;
    for (const Row& row : rows) {
        for (const std::size_t pieceBytes : { 0, 1, 2, 3, 5 }) {
            SCOPED_TRACE(
                row.file + " <- " + ToUtf8(row.section) + " in pieces of " + std::to_string(pieceBytes));
            MemoryFiles files;
            files.contents[u"/p/plant.ini"] = row.file;
            files.pieceBytes = pieceBytes;
            room = ReadSectionBytes(row.section, u"/p/plant.ini", files, std::move(room));
            const auto numbered = ReadIniSectionLines(row.section, u"/p/plant.ini", files);
            // Cut on a thread of its own, and on this one, as when the system gives no thread.
            VisitedLines visited;
            VisitSectionUtf8LinesAside(row.section, u"/p/plant.ini", files, visited);
            VisitedLines visitedHere;
            VisitSectionUtf8LinesAside(
                row.section, u"/p/plant.ini", files, visitedHere, ReadAside::WorkThread::Calling);
            // Every reader gives the same lines.
            EXPECT_EQ((std::vector<std::u16string> { ReadIniSection(row.section, u"/p/plant.ini", files),
                          Joined(ReadSectionLines(row.section, u"/p/plant.ini", files)),
                          Joined(ReadSectionBytes(row.section, u"/p/plant.ini", files)), Joined(room),
                          visited.lines, visitedHere.lines, numbered ? Joined(numbered->lines) : u"" }),
                std::vector(7, Lines(row.expected)));
            const auto counts = CountSectionLines({ row.section }, u"/p/plant.ini", files);
            EXPECT_EQ(counts.empty() ? std::nullopt : std::optional(counts.begin()->second),
                numbered ? std::optional(numbered->lines.size()) : std::nullopt);
            const std::string told = "/p/plant.ini [" + ToUtf8(row.section) + "] "
                + std::to_string(row.skipped.count) + " from line "
                + std::to_string(row.skipped.firstFileLine);
            EXPECT_EQ(files.skipped, std::vector<std::string>(row.skipped.count == 0 ? 0 : 7, told));
            EXPECT_EQ(numbered ? numbered->skipped.count : 0, row.skipped.count);
        }
    }
}

// Runs of spaces of every length at every place of lines of every length up to seventy bytes: the
// search for two spaces in a row looks at sixteen bytes at a time, its last block overlapping the
// one before, and at shorter lines eight bytes and then one at a time.
TEST(ReadIniSection, HalvesDoubleSpacesWhereverTheyLie)
{
    std::mt19937 random(17);
    std::string file = "[S]\n";
    std::u16string expected;
    for (int lineNumber = 0; lineNumber < 3000; ++lineNumber) {
        std::string line;
        for (const std::size_t length = random() % 71; line.size() < length;) {
            line.append(random() % 4 + 1, random() % 2 == 0 ? ' ' : 'x');
        }
        file += line + "\n";
        std::u16string halved;
        for (std::size_t index = 0; index < line.size(); index += line.compare(index, 2, "  ") == 0 ? 2 : 1) {
            halved += static_cast<char16_t>(line[index]);
        }
        if (!TrimSpaces(halved).empty()) {
            expected += TrimSpaces(halved) + u'\0';
        }
    }
    MemoryFiles files;
    files.contents[u"/p/plant.ini"] = file;
    EXPECT_EQ(ReadIniSection(u"S", u"/p/plant.ini", files), expected);
}

// Counted together, sections end and begin where each reader alone would see them.
TEST(CountSectionLines, CountsEverySectionInOneReading)
{
    MemoryFiles files;
    files.contents[u"/p/plant.ini"]
        = std::string("[S]\na\n  [T]\nb\n[t]\nc\0d\n;x\n[U] old\n[S]\ne\n[V]\n[W]\0\n", 49);
    const auto counts = CountSectionLines({ u"s", u"T", u"U", u"V", u"W" }, u"/p/plant.ini", files);
    EXPECT_EQ(counts,
        (std::map<std::u16string, std::size_t> { { u"S", 1 }, { u"T", 0 }, { u"U", 0 }, { u"V", 0 } }));
}

// A line that fails on either thread fails the reading, with both threads ended, wherever in the
// file it lies.
TEST(ReadIniSection, AFailureAsideReachesTheCaller)
{
    for (const std::string failing : { "throw on reading", "throw on taking" }) {
        for (const std::size_t before : { 0, 1000 }) {
            MemoryFiles files;
            files.contents[u"/p/plant.ini"] = "[S]\n" + std::string(before, 'x') + "\n" + failing + "\nz\n";
            files.pieceBytes = 7;
            VisitedLines visited;
            EXPECT_THROW(
                VisitSectionUtf8LinesAside(u"S", u"/p/plant.ini", files, visited), std::runtime_error);
        }
    }
}

TEST(ReadIniSection, AMissingFileGivesNoLines)
{
    MemoryFiles files;
    EXPECT_EQ(ReadIniSection(u"S", u"/p/missing.ini", files), u"");
    EXPECT_FALSE(ReadIniSectionLines(u"S", u"/p/missing.ini", files));
    files.contents[u"/p/plant.ini"] = "[a]\r\nx=1\r\n[TreeObjects]\r\n  y  =  2\r\n;c\r\n\tz\r[b]\nw=3";
    EXPECT_EQ(ReadIniSectionLines(u"treeobjects", u"/p/plant.ini", files)->fileLines,
        (std::vector<std::int32_t> { 4, 6 }));
    EXPECT_FALSE(ReadIniSectionLines(u"missing", u"/p/plant.ini", files));
}

TEST(ReadIniSection, HugeLinesSurviveManyEmptyLines)
{
    MemoryFiles files;
    const std::string longLine(10'000'000, 'x');
    files.contents[u"/p/big.ini"]
        = "[S]\r\n" + longLine + "\r\n" + std::string(1'000'000, '\n') + "  last  one";
    const std::u16string section = ReadIniSection(u"S", u"/p/big.ini", files);
    EXPECT_EQ(section.size(), longLine.size() + std::u16string(u"|last one|").size());
    EXPECT_TRUE(section.ends_with(Lines(u"|last one|")));
}

// A line that runs on through many pieces of NUL, as the rest of a file a crash left filled with
// zeros, is kept only up to its first NUL: what a scanner that skips such lines is handed stays
// one byte, however large the file.
// Line starts kept in a byte each, so that the bytes pass the offsets' range many times, once
// inside a long line and once just at a line's end: a line is found whether looked up or read in
// order.
TEST(SectionBytes, LinesPastTheRangeOfTheirStarts)
{
    const std::vector<std::string> written { "a", std::string(255, 'b'), "", std::string(600, 'c'), "d",
        std::string(254, 'e'), "f" };
    BasicSectionBytes<std::uint8_t> lines;
    for (const std::string& line : written) {
        lines.add(line);
    }
    std::vector<std::string> lookedUp;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        lookedUp.emplace_back(lines.bytes(index));
    }
    std::vector<std::string> inOrder;
    lines.visitLines([&](std::size_t index, std::string_view bytes) {
        EXPECT_EQ(index, inOrder.size());
        inOrder.emplace_back(bytes);
    });
    EXPECT_EQ(lookedUp, written);
    EXPECT_EQ(inOrder, written);
}

// A new line's parent is the nearest link whose code, read as a prefix list, starts the new code:
// the chain answers as reading every link's list would, in UTF-16 and in UTF-8, for plain ASCII
// codes compared in place, lists, letters beyond ASCII and codes long enough to be indexed.
TEST(CodeChain, KeepsTheLinksUpToTheNearestPrefix)
{
    const std::u16string longCode = u"L" + std::u16string(70, u'x');
    const std::vector<std::u16string> codes { u"S1", u"S1A", u"s1a2", u"S1A2B", u"S1B", u"S1,T1", u"T1X",
        u"T1X\u00DC", u"t1x\u00FC9", u"T1Y", longCode, longCode + u"A", longCode + u"A1", u"S1,T1", u"T1XA",
        u"Z", u"S1ABCDEFGHIJ", u"s1abcdefghijk", u"S1ABCDEFGHIX", u"S1ABCDEFGHIXY", u"s1abcdefghi\u00FC",
        u"S1ABCDEFGHI", u"S1ABCDEFGHIJKLMNOPQ", u"S1ABCDEFGHIJKLMNOPQR", u"S1ABCDEFGHIJKLMNOPR", u"S1" };
    std::vector<std::u16string> kept;
    CodeChain chain;
    Utf8CodeChain utf8Chain;
    for (const std::u16string& code : codes) {
        std::size_t nearest = kept.size();
        while (nearest > 0 && !IsInPrefixList(kept[nearest - 1], code)) {
            --nearest;
        }
        EXPECT_EQ(chain.linksKeptFor(code), nearest) << ToUtf8(code);
        EXPECT_EQ(utf8Chain.linksKeptFor(ToUtf8(code)), nearest) << ToUtf8(code);
        kept.resize(nearest);
        kept.push_back(code);
        chain.cutTo(nearest);
        chain.add(code);
        utf8Chain.cutTo(nearest);
        utf8Chain.add(ToUtf8(code));
    }
}

TEST(LineCutter, KeepsALineRunningOnThroughNulsOnlyToItsFirstNul)
{
    struct Scanner {
        [[nodiscard]] static std::size_t wantedLineBytes() { return std::string::npos; }
        bool line(std::string_view bytes)
        {
            lines.emplace_back(bytes.substr(0, 8));
            longest = std::max(longest, bytes.size());
            return true;
        }
        std::vector<std::string> lines;
        std::size_t longest = 0;
    };
    Scanner scanner;
    LineCutter cutter(scanner, LinesWithNul::CutAtFirstNul);
    const std::string zeros(1 << 20, '\0');
    cutter.add("a\nxy");
    for (int piece = 0; piece < 64; ++piece) {
        cutter.add(zeros);
    }
    cutter.add("z\nb");
    cutter.finish();
    EXPECT_EQ(scanner.lines, (std::vector<std::string> { "a", std::string("xy\0", 3), "b" }));
    EXPECT_EQ(scanner.longest, 3U);
}

} // namespace
} // namespace vestrak
