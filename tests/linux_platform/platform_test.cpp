#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "linux_platform/system_clock.h"
#include "support/temporary_folder.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sys/stat.h>
#include <vector>

namespace vestrak {
namespace {

using testing::EnvironmentOverride;
using testing::TemporaryFolder;

std::u16string asText(const std::filesystem::path& path)
{
    const std::string narrow = path.string();
    return { narrow.begin(), narrow.end() };
}

std::string asNarrow(const std::u16string& ascii)
{
    return { ascii.begin(), ascii.end() };
}

class IniProfileTest : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_Folder.path() / name, std::ios::binary) << bytes;
    }
    std::u16string lookUp(const std::u16string& section, const std::u16string& key,
        const std::u16string& fileName = u"plant.ini", std::size_t bufferSize = 2048)
    {
        return m_Profile.privateProfileString(section, key, u"(default)", fileName, bufferSize);
    }

    TemporaryFolder m_Folder;
    LocalFileSystem m_Files;
    IniProfile m_Profile { m_Files, asText(m_Folder.path() / "win.ini") };
};

TEST_F(IniProfileTest, ResolvesRelativeNamesBesideTheUserProfile)
{
    write("win.ini", "[CITECT.HELP]\nLASTINI=Citect.INI\n");
    write("Citect.INI", "[CTEDIT]\nRUN=relative\n");
    EXPECT_EQ(m_Profile.userProfileString(u"Citect.Help", u"LastIni", u"", 255), u"Citect.INI");
    EXPECT_EQ(lookUp(u"CTEDIT", u"RUN", u"Citect.INI"), u"relative");
    EXPECT_EQ(lookUp(u"CTEDIT", u"RUN", asText(m_Folder.path() / "Citect.INI")), u"relative");
    EXPECT_EQ(lookUp(u"CTEDIT", u"RUN", u"missing.ini"), u"(default)");
}

TEST_F(IniProfileTest, CutsResultsToTheBuffer)
{
    write("plant.ini", "[G]\nLong=" + std::string(3000, 'x') + "\nClef=a\xF0\x9D\x84\x9E\n");
    EXPECT_EQ(lookUp(u"G", u"Long").size(), 2047U);
    EXPECT_EQ(lookUp(u"G", u"Long", u"plant.ini", 5), u"xxxx");
    EXPECT_EQ(lookUp(u"G", u"Missing", u"plant.ini", 4), u"(de");
    EXPECT_EQ(lookUp(u"G", u"Long", u"plant.ini", 0), u"");
    EXPECT_EQ(lookUp(u"G", u"Clef", u"plant.ini", 3), u"a");
}

TEST_F(IniProfileTest, ReadsWindowsFilesAndTheProfileNamedByTheEnvironment)
{
    write("mine.ini", "[Names]\r\nArea=K\xFChlung\r\n");
    EnvironmentOverride profile("VESTRAK_PROFILE", (m_Folder.path() / "mine.ini").string());
    IniProfile fromEnvironment(m_Files);
    EXPECT_EQ(fromEnvironment.userProfileString(u"NAMES", u"area", u"", 255), u"Kühlung");

    EnvironmentOverride noProfile("VESTRAK_PROFILE", std::nullopt);
    EnvironmentOverride configHome("XDG_CONFIG_HOME", m_Folder.path().string());
    EXPECT_EQ(IniProfile::defaultUserProfile(), asText(m_Folder.path() / "VestrakControls" / "win.ini"));
}

// Files in memory whose stamp is their version, read in pieces of a chosen size, counting the reads.
class StampedFiles final : public FileSystem {
public:
    void write(const std::u16string& path, std::string bytes)
    {
        File& file = m_Files[path];
        file.bytes = std::move(bytes);
        ++file.version;
    }
    void forgetStamps() { m_Stamped = false; }
    void setPieceBytes(std::size_t bytes) { m_PieceBytes = bytes; }
    [[nodiscard]] int reads() const { return m_Reads; }
    [[nodiscard]] int wholeReads() const { return m_WholeReads; }

    std::optional<std::string> readFile(const std::u16string& path) override
    {
        ++m_WholeReads;
        const auto found = m_Files.find(path);
        return found == m_Files.end() ? std::nullopt : std::optional(found->second.bytes);
    }
    bool readFileInPieces(
        const std::u16string& path, const std::function<bool(std::string_view)>& take) override
    {
        ++m_Reads;
        const auto found = m_Files.find(path);
        if (found == m_Files.end()) {
            return false;
        }
        for (std::string_view rest = found->second.bytes;
             !rest.empty() && take(rest.substr(0, m_PieceBytes));) {
            rest.remove_prefix(std::min(m_PieceBytes, rest.size()));
        }
        return true;
    }
    bool appendToFile(const std::u16string&, std::string_view) override { return false; }
    bool createFolder(const std::u16string&) override { return false; }
    bool isOrdinaryFile(const std::u16string& path) override { return m_Files.contains(path); }
    std::optional<FileStamp> changeStamp(const std::u16string& path) override
    {
        const auto found = m_Files.find(path);
        if (!m_Stamped || found == m_Files.end()) {
            return std::nullopt;
        }
        return FileStamp { .size = found->second.bytes.size(), .modifiedNanoseconds = found->second.version };
    }
    std::u16string programFolder() override { return u"/opt/"; }

private:
    struct File {
        std::string bytes;
        std::int64_t version = 0;
    };
    std::map<std::u16string, File> m_Files;
    bool m_Stamped = true;
    std::size_t m_PieceBytes = std::string::npos;
    int m_Reads = 0;
    int m_WholeReads = 0;
};

class IniProfileKeptFiles : public ::testing::Test {
protected:
    std::u16string lookUp(const std::u16string& section, const std::u16string& key)
    {
        return m_Profile.privateProfileString(section, key, u"(default)", u"/p/plant.ini", 2048);
    }

    StampedFiles m_Files;
    IniProfile m_Profile { m_Files, u"/cfg/win.ini" };
};

TEST_F(IniProfileKeptFiles, AnswerAsTheFileDoesAndAreReadAgainWhenTheStampChanges)
{
    StampedFiles& files = m_Files;
    const std::string largeSection = "[Tree]\n" + std::string(70000, ';') + "\nNode=deep\n";
    files.write(u"/p/plant.ini",
        "Top=before any section\r\n[ctedit]\r\n; Run=commented\r\n# Run=commented too\n"
        "  RUN \t=  /srv/plant/run  \rrun=second key\n[Quoted]trailing\nBoth=\"  kept \"\n"
        "One=\"open only\nEmpty=\n"
            + largeSection + "[K\xFChlung]\nArea=K\xFChlung\n[CTEdit]\nOther=repeated section\n");
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(lookUp(u"CTEDIT", u"run"), u"/srv/plant/run");
        EXPECT_EQ(lookUp(u"quoted", u"both"), u"  kept ");
        EXPECT_EQ(lookUp(u"Quoted", u"One"), u"\"open only");
        EXPECT_EQ(lookUp(u"Quoted", u"Empty"), u"");
        EXPECT_EQ(lookUp(u"CTEdit", u"Other"), u"(default)");
        EXPECT_EQ(lookUp(u"CTEdit", u"Top"), u"(default)");
        EXPECT_EQ(lookUp(u"KÜHLUNG", u"area"), u"Kühlung");
        EXPECT_EQ(lookUp(u"Missing", u"Run"), u"(default)");
    }
    // The sections above the large one, then the whole file for the one below it.
    EXPECT_EQ(files.reads(), 2);
    // A section too large to keep is looked up in the file.
    EXPECT_EQ(lookUp(u"Tree", u"Node"), u"deep");
    EXPECT_EQ(lookUp(u"Tree", u"Node"), u"deep");
    EXPECT_EQ(files.reads(), 4);

    files.write(u"/p/plant.ini", "[G]\nA=1\n");
    EXPECT_EQ(lookUp(u"G", u"A"), u"1");
    files.write(u"/p/plant.ini", "[G]\nA=2\n");
    EXPECT_EQ(lookUp(u"G", u"A"), u"2");
    EXPECT_EQ(lookUp(u"CTEdit", u"Run"), u"(default)");
    EXPECT_EQ(files.reads(), 6);

    // Without a stamp every lookup reads the file.
    files.forgetStamps();
    files.write(u"/p/plant.ini", "[G]\nA=3\n");
    EXPECT_EQ(lookUp(u"G", u"A"), u"3");
    EXPECT_EQ(lookUp(u"G", u"A"), u"3");
    EXPECT_EQ(files.reads(), 8);
}

// What stays in memory is what the index keeps, never the file: every line here runs across
// pieces, and the answers are those of the whole file.
TEST_F(IniProfileKeptFiles, ReadFilesInPiecesAndAnswerAsTheWholeFileDoes)
{
    StampedFiles& files = m_Files;
    const auto utf16 = [](std::u16string_view text, bool littleEndian) {
        std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const char16_t unit : text) {
            const char low = static_cast<char>(unit & 0xFF);
            const char high = static_cast<char>(unit >> 8);
            bytes += littleEndian ? std::string { low, high } : std::string { high, low };
        }
        return bytes;
    };
    const std::u16string text = u"[Tree]\r\n" + std::u16string(70000, u';')
        + u"\r\nNode=deep\r\n[K\u00FChlung]\r\n"
          u"Area=\"K\u00FChlung \u65E5\"\r\n[General]\nA=1";
    for (const bool littleEndian : { true, false }) {
        for (const std::size_t pieceBytes : { 1, 3, 4096 }) {
            files.setPieceBytes(pieceBytes);
            files.write(u"/p/plant.ini", utf16(text, littleEndian));
            EXPECT_EQ(lookUp(u"kühlung", u"AREA"), u"Kühlung 日");
            EXPECT_EQ(lookUp(u"General", u"A"), u"1");
            EXPECT_EQ(lookUp(u"Tree", u"Node"), u"deep");
            EXPECT_EQ(lookUp(u"Missing", u"A"), u"(default)");
        }
    }
    // More headers than an index holds: the sections past them are looked up in the file.
    std::string headers;
    for (int section = 0; section < 40000; ++section) {
        headers += "[S" + std::to_string(section) + "]\n";
    }
    files.write(u"/p/plant.ini", headers + "[Last]\nKey=found\n");
    EXPECT_EQ(lookUp(u"S7", u"Key"), u"(default)");
    EXPECT_EQ(lookUp(u"Last", u"Key"), u"found");
    EXPECT_EQ(lookUp(u"Missing", u"Key"), u"(default)");
    EXPECT_EQ(files.wholeReads(), 0);
}

TEST(LocalFileSystemTest, StampsOnlyFilesThatHaveSettled)
{
    TemporaryFolder folder;
    const std::filesystem::path path = folder.path() / "plant.ini";
    std::ofstream(path, std::ios::binary) << "[G]\nA=1\n";
    LocalFileSystem files;
    EXPECT_FALSE(files.changeStamp(asText(path)));
    EXPECT_FALSE(files.changeStamp(asText(folder.path())));
    EXPECT_FALSE(files.changeStamp(asText(folder.path() / "missing.ini")));

    LocalFileSystem noWaiting(std::chrono::nanoseconds(0));
    const std::optional<FileStamp> first = noWaiting.changeStamp(asText(path));
    ASSERT_TRUE(first);
    EXPECT_EQ(noWaiting.changeStamp(asText(path)), first);
    std::ofstream(path, std::ios::binary | std::ios::app) << "B=2\n";
    EXPECT_NE(noWaiting.changeStamp(asText(path)), first);
}

TEST(LocalFileSystemTest, ReadsAppendsAndCreates)
{
    TemporaryFolder folder;
    LocalFileSystem files;
    const std::u16string logFolder = asText(folder.path() / "Vestrak");
    const std::u16string log = logFolder + u"/VestrakControls.log";

    EXPECT_TRUE(files.createFolder(logFolder));
    EXPECT_FALSE(files.createFolder(logFolder));
    EXPECT_FALSE(files.isOrdinaryFile(logFolder));
    EXPECT_FALSE(files.readFile(logFolder));
    EXPECT_FALSE(files.readFile(log));
    // A pipe is turned away at once, not read until some writer closes it.
    const std::filesystem::path pipe = folder.path() / "objects.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(files.readFile(asText(pipe)));

    EXPECT_TRUE(files.appendToFile(log, "one\r\n"));
    EXPECT_TRUE(files.appendToFile(log, std::string("t\0o\r\n", 5)));
    EXPECT_TRUE(files.isOrdinaryFile(log));
    EXPECT_EQ(files.readFile(log), std::string("one\r\nt\0o\r\n", 10));
    EXPECT_FALSE(files.appendToFile(logFolder + u"/missing/x.log", "x"));

    EXPECT_TRUE(std::filesystem::is_directory(asNarrow(files.programFolder())));
}

// What is created is never wider than 0755 / 0644; log_test tries what the log refuses.
TEST(LocalFileSystemTest, CreatesFoldersAndFilesNoWiderThanTheirOwnersMayWrite)
{
    TemporaryFolder folder;
    LocalFileSystem files;
    const std::filesystem::path logFolder = folder.path() / "Vestrak";
    const mode_t umaskBefore = umask(0);
    EXPECT_TRUE(files.createFolder(asText(logFolder)));
    EXPECT_TRUE(files.appendToFile(asText(logFolder / "own.log"), "x"));
    umask(umaskBefore);
    struct stat status { };
    ASSERT_EQ(stat(logFolder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0755U);
    ASSERT_EQ(stat((logFolder / "own.log").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644U);
}

// A name holding NUL would reach another file, cut short at the NUL; it names no file at all.
TEST(LocalFileSystemTest, NamesHoldingNulNameNoFile)
{
    TemporaryFolder folder;
    std::ofstream(folder.path() / "c1") << "[TreeObjects]\n";
    LocalFileSystem files(std::chrono::nanoseconds(0));
    const std::u16string cut = asText(folder.path() / "c1") + std::u16string(1, u'\0') + u".ini";
    EXPECT_FALSE(files.readFile(cut));
    EXPECT_FALSE(files.readFileInPieces(cut, [](std::string_view) { return true; }));
    EXPECT_FALSE(files.isOrdinaryFile(cut));
    EXPECT_FALSE(files.changeStamp(cut));
    EXPECT_FALSE(files.appendToFile(cut, "x"));
    EXPECT_FALSE(files.createFolder(asText(folder.path() / "d") + std::u16string(1, u'\0')));
    EXPECT_EQ(files.readFile(asText(folder.path() / "c1")), "[TreeObjects]\n");
}

// Pieces come in order and hold the whole file; a reader may stop after any piece.
TEST(LocalFileSystemTest, ReadsInBoundedPieces)
{
    TemporaryFolder folder;
    const std::filesystem::path path = folder.path() / "big.ini";
    std::string bytes(LocalFileSystem::PieceBytes * 2 + 17, 'a');
    bytes[LocalFileSystem::PieceBytes] = 'b';
    std::ofstream(path, std::ios::binary) << bytes;
    LocalFileSystem files;
    std::string read;
    std::size_t largestPiece = 0;
    EXPECT_TRUE(files.readFileInPieces(asText(path), [&](std::string_view piece) {
        read += piece;
        largestPiece = std::max(largestPiece, piece.size());
        return true;
    }));
    EXPECT_EQ(read, bytes);
    EXPECT_LE(largestPiece, LocalFileSystem::PieceBytes);
    int pieces = 0;
    EXPECT_TRUE(files.readFileInPieces(asText(path), [&](std::string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2);
    EXPECT_FALSE(files.readFileInPieces(asText(folder.path()), [](std::string_view) { return true; }));
}

TEST(EnvironmentSpecialFoldersTest, KnowsOnlyTheCommonApplicationDataFolder)
{
    EnvironmentSpecialFolders folders;
    {
        EnvironmentOverride unset("VESTRAK_COMMON_APPDATA", std::nullopt);
        EXPECT_EQ(folders.folderPath(35), u"/var/tmp");
    }
    EnvironmentOverride configured("VESTRAK_COMMON_APPDATA", "/srv/shared");
    EXPECT_EQ(folders.folderPath(35), u"/srv/shared");
    EXPECT_EQ(folders.folderPath(26), std::nullopt);
}

TEST(SystemClockTest, WritesSortableDateAndTime)
{
    SystemClock clock;
    EXPECT_TRUE(std::regex_match(asNarrow(clock.dateText()), std::regex(R"(\d{4}-\d\d-\d\d)")));
    EXPECT_TRUE(std::regex_match(asNarrow(clock.timeText()), std::regex(R"(\d\d:\d\d:\d\d)")));
    const double seconds = clock.secondsSinceMidnight();
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 86401.0);
}

} // namespace
} // namespace vestrak
