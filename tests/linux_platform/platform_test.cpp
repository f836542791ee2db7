#include "linux_platform/environment_special_folders.h"
#include "linux_platform/ini_profile.h"
#include "linux_platform/local_file_system.h"
#include "linux_platform/system_clock.h"
#include "support/test_platform.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>

namespace vestrak {
namespace {

using testing::EnvironmentOverride;

class IniProfileTest : public ::testing::Test {
protected:
    std::u16string lookUp(const std::u16string& section, const std::u16string& key,
        const std::u16string& fileName = u"plant.ini", std::size_t bufferSize = 2048)
    {
        return m_Profile.privateProfileString(section, key, u"(default)", fileName, bufferSize);
    }

    testing::ScratchFiles m_Files;
    IniProfile m_Profile { m_Files, m_Files.path("win.ini") };
};

TEST_F(IniProfileTest, ResolvesRelativeNamesBesideTheUserProfile)
{
    m_Files.write("win.ini", "[CITECT.HELP]\nLASTINI=Citect.INI\n");
    m_Files.write("Citect.INI", "[CTEDIT]\nRUN=relative\n");
    EXPECT_EQ(m_Profile.userProfileString(u"Citect.Help", u"LastIni", u"", 255), u"Citect.INI");
    EXPECT_EQ(lookUp(u"CTEDIT", u"RUN", u"Citect.INI") + u"|"
            + lookUp(u"CTEDIT", u"RUN", m_Files.path("Citect.INI")) + u"|"
            + lookUp(u"CTEDIT", u"RUN", u"missing.ini"),
        u"relative|relative|(default)");
}

TEST_F(IniProfileTest, CutsResultsToTheBuffer)
{
    m_Files.write("plant.ini", "[G]\nLong=" + std::string(3000, 'x') + "\nClef=a\xF0\x9D\x84\x9E\n");
    EXPECT_EQ(lookUp(u"G", u"Long").size(), 2047U);
    EXPECT_EQ(lookUp(u"G", u"Long", u"plant.ini", 5) + u"|" + lookUp(u"G", u"Missing", u"plant.ini", 4) + u"|"
            + lookUp(u"G", u"Long", u"plant.ini", 0) + u"|" + lookUp(u"G", u"Clef", u"plant.ini", 3),
        u"xxxx|(de||a");
}

TEST_F(IniProfileTest, ReadsTheProfileNamedByTheEnvironment)
{
    EnvironmentOverride profile(
        "VESTRAK_PROFILE", ToUtf8(m_Files.write("mine.ini", "[Names]\r\nArea=K\xFChlung\r\n")));
    IniProfile fromEnvironment(m_Files);
    EXPECT_EQ(fromEnvironment.userProfileString(u"NAMES", u"area", u"", 255), u"Kühlung");

    EnvironmentOverride noProfile("VESTRAK_PROFILE", std::nullopt);
    EnvironmentOverride configHome("XDG_CONFIG_HOME", m_Files.folder().string());
    EXPECT_EQ(IniProfile::defaultUserProfile(), m_Files.path("VestrakControls/win.ini"));
}

class StampedFile final : public FileSystem {
public:
    void write(std::string bytes) { m_Bytes = std::move(bytes), ++m_Version; }
    bool stamped = true;
    std::size_t pieceBytes = 0;
    int reads = 0, wholeReads = 0;

    std::optional<std::string> readFile(const std::u16string&) override { return ++wholeReads, m_Bytes; }
    bool readFileInPieces(const std::u16string&, const std::function<bool(std::string_view)>& take) override
    {
        ++reads;
        testing::TakeInPieces(m_Bytes, pieceBytes, take);
        return true;
    }
    bool appendToFile(const std::u16string&, std::string_view) override { return false; }
    bool createFolder(const std::u16string&) override { return false; }
    bool isOrdinaryFile(const std::u16string&) override { return true; }
    std::optional<FileStamp> changeStamp(const std::u16string&) override
    {
        return stamped ? std::optional(FileStamp { .size = m_Bytes.size(), .modifiedNanoseconds = m_Version })
                       : std::nullopt;
    }
    std::u16string programFolder() override { return u"/opt/"; }

private:
    std::string m_Bytes;
    std::int64_t m_Version = 0;
};

class IniProfileKeptFiles : public ::testing::Test {
protected:
    std::u16string lookUp(const std::u16string& section, const std::u16string& key)
    {
        return m_Profile.privateProfileString(section, key, u"(default)", u"/p/plant.ini", 2048);
    }
    std::vector<std::u16string> lookUps(
        std::initializer_list<std::pair<std::u16string, std::u16string>> names)
    {
        std::vector<std::u16string> found;
        for (const auto& [section, key] : names)
            found.push_back(lookUp(section, key));
        return found;
    }
    using Texts = std::vector<std::u16string>;

    StampedFile m_File;
    IniProfile m_Profile { m_File, u"/cfg/win.ini" };
};

TEST_F(IniProfileKeptFiles, AreReadAgainWhenTheStampChanges)
{
    const std::string largeSection = "[Tree]\n" + std::string(70000, ';') + "\nNode=deep\n";
    m_File.write("Top=before any section\r\n[ctedit]\r\n; Run=commented\r\n# Run=commented too\n"
                 "  RUN \t=  /srv/plant/run  \rrun=second key\n[Quoted]trailing\nBoth=\"  kept \"\n"
                 "One=\"open only\nEmpty=\n"
        + largeSection + "[K\xFChlung]\nArea=K\xFChlung\n[CTEdit]\nOther=repeated section\n");
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(lookUps({ { u"CTEDIT", u"run" }, { u"quoted", u"both" }, { u"Quoted", u"One" },
                      { u"Quoted", u"Empty" }, { u"CTEdit", u"Other" }, { u"CTEdit", u"Top" },
                      { u"KÜHLUNG", u"area" }, { u"Missing", u"Run" } }),
            (Texts { u"/srv/plant/run", u"  kept ", u"\"open only", u"", u"(default)", u"(default)",
                u"Kühlung", u"(default)" }));
    }
    EXPECT_EQ(m_File.reads, 2);
    EXPECT_EQ(lookUps({ { u"Tree", u"Node" }, { u"Tree", u"Node" } }), (Texts { u"deep", u"deep" }));
    EXPECT_EQ(m_File.reads, 4);

    m_File.write("[G]\nA=1\n");
    EXPECT_EQ(lookUp(u"G", u"A"), u"1");
    m_File.write("[G]\nA=2\n");
    EXPECT_EQ(lookUps({ { u"G", u"A" }, { u"CTEdit", u"Run" } }), (Texts { u"2", u"(default)" }));
    EXPECT_EQ(m_File.reads, 6);

    m_File.stamped = false;
    m_File.write("[G]\nA=3\n");
    EXPECT_EQ(lookUps({ { u"G", u"A" }, { u"G", u"A" } }), (Texts { u"3", u"3" }));
    EXPECT_EQ(m_File.reads, 8);
}

TEST_F(IniProfileKeptFiles, AnswerAsTheWholeFileDoesWhenReadInPieces)
{
    const auto utf16 = [](std::u16string_view text, bool littleEndian) {
        std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        const int first = littleEndian ? 0 : 8;
        for (const char16_t unit : text)
            bytes += { static_cast<char>(unit >> first), static_cast<char>(unit >> (8 - first)) };
        return bytes;
    };
    const std::u16string text = u"[Tree]\r\n" + std::u16string(70000, u';')
        + u"\r\nNode=deep\r\n[K\u00FChlung]\r\n"
          u"Area=\"K\u00FChlung \u65E5\"\r\n[General]\nA=1";
    for (const bool littleEndian : { true, false }) {
        for (const std::size_t pieceBytes : { 1, 3, 4096 }) {
            m_File.pieceBytes = pieceBytes;
            m_File.write(utf16(text, littleEndian));
            EXPECT_EQ(lookUps({ { u"kühlung", u"AREA" }, { u"General", u"A" }, { u"Tree", u"Node" },
                          { u"Missing", u"A" } }),
                (Texts { u"Kühlung 日", u"1", u"deep", u"(default)" }));
        }
    }
    std::string headers;
    for (int section = 0; section < 40000; ++section)
        headers += "[S" + std::to_string(section) + "]\n";
    m_File.write(headers + "[Last]\nKey=found\n");
    EXPECT_EQ(lookUps({ { u"S7", u"Key" }, { u"Last", u"Key" }, { u"Missing", u"Key" } }),
        (Texts { u"(default)", u"found", u"(default)" }));
    EXPECT_EQ(m_File.wholeReads, 0);
}

class LocalFileSystemTest : public ::testing::Test {
protected:
    std::filesystem::path pathOf(const char* name) const { return m_Scratch.folder() / name; }
    std::u16string textOf(const char* name) const { return m_Scratch.path(name); }

    testing::ScratchFiles m_Scratch;
    LocalFileSystem files;
};

TEST_F(LocalFileSystemTest, StampsOnlyFilesThatHaveSettled)
{
    m_Scratch.write("plant.ini", "[G]\nA=1\n");
    EXPECT_FALSE(files.changeStamp(textOf("plant.ini")) || files.changeStamp(textOf(""))
        || files.changeStamp(textOf("missing.ini")));

    LocalFileSystem noWaiting(std::chrono::nanoseconds(0));
    const std::optional<FileStamp> first = noWaiting.changeStamp(textOf("plant.ini"));
    ASSERT_TRUE(first);
    EXPECT_EQ(noWaiting.changeStamp(textOf("plant.ini")), first);
    std::ofstream(pathOf("plant.ini"), std::ios::binary | std::ios::app) << "B=2\n";
    EXPECT_NE(noWaiting.changeStamp(textOf("plant.ini")), first);
}

TEST_F(LocalFileSystemTest, TouchesOnlyOrdinaryFilesNoOtherUserMayWrite)
{
    const std::u16string logFolder = textOf("Vestrak");
    const std::u16string log = logFolder + u"/VestrakControls.log";
    const mode_t umaskBefore = umask(0);
    EXPECT_TRUE(files.createFolder(logFolder));
    EXPECT_FALSE(files.createFolder(logFolder) || files.isOrdinaryFile(logFolder) || files.readFile(logFolder)
        || files.readFile(log));
    ASSERT_EQ(mkfifo(pathOf("objects.ini").c_str(), 0600), 0);
    EXPECT_FALSE(files.readFile(textOf("objects.ini")));

    EXPECT_TRUE(files.appendToFile(log, "one\r\n"));
    umask(umaskBefore);
    EXPECT_TRUE(files.appendToFile(log, std::string("t\0o\r\n", 5)) && files.isOrdinaryFile(log));
    EXPECT_EQ(files.readFile(log), std::string("one\r\nt\0o\r\n", 10));
    EXPECT_FALSE(files.appendToFile(logFolder + u"/missing/x.log", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(ToUtf8(files.programFolder())));
    for (const auto& [name, mode] :
        { std::pair("Vestrak", 0755U), std::pair("Vestrak/VestrakControls.log", 0644U) }) {
        struct stat status { };
        ASSERT_EQ(stat(pathOf(name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode) << name;
    }
}

TEST_F(LocalFileSystemTest, NamesHoldingNulNameNoFile)
{
    m_Scratch.write("c1", "[TreeObjects]\n");
    LocalFileSystem noWaiting(std::chrono::nanoseconds(0));
    const std::u16string cut = textOf("c1") + std::u16string(1, u'\0') + u".ini";
    EXPECT_FALSE(noWaiting.readFile(cut)
        || noWaiting.readFileInPieces(cut, [](std::string_view) { return true; })
        || noWaiting.isOrdinaryFile(cut) || noWaiting.changeStamp(cut) || noWaiting.appendToFile(cut, "x")
        || noWaiting.createFolder(textOf("d") + std::u16string(1, u'\0')));
    EXPECT_EQ(noWaiting.readFile(textOf("c1")), "[TreeObjects]\n");
}

TEST_F(LocalFileSystemTest, ReadsInBoundedPieces)
{
    std::string bytes(LocalFileSystem::PieceBytes * 2 + 17, 'a');
    bytes[LocalFileSystem::PieceBytes] = 'b';
    m_Scratch.write("big.ini", bytes);
    std::string read;
    EXPECT_TRUE(files.readFileInPieces(textOf("big.ini"), [&](std::string_view piece) {
        read += piece;
        return piece.size() <= LocalFileSystem::PieceBytes;
    }));
    EXPECT_EQ(read, bytes);
    int pieces = 0;
    EXPECT_TRUE(files.readFileInPieces(textOf("big.ini"), [&](std::string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2);
    EXPECT_FALSE(files.readFileInPieces(textOf(""), [](std::string_view) { return true; }));
}

TEST(EnvironmentSpecialFoldersTest, KnowsOnlyTheCommonApplicationDataFolder)
{
    EnvironmentSpecialFolders folders;
    EnvironmentOverride configured("VESTRAK_COMMON_APPDATA", "/srv/shared");
    EXPECT_EQ(folders.folderPath(35), u"/srv/shared");
    EXPECT_EQ(folders.folderPath(26), std::nullopt);
    EnvironmentOverride unset("VESTRAK_COMMON_APPDATA", std::nullopt);
    EXPECT_EQ(folders.folderPath(35), u"/var/tmp");
}

TEST(SystemClockTest, WritesSortableTimes)
{
    SystemClock clock;
    EXPECT_TRUE(std::regex_match(
        ToUtf8(clock.dateText() + u" " + clock.timeText()), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    EXPECT_TRUE(clock.secondsSinceMidnight() >= 0.0 && clock.secondsSinceMidnight() < 86401.0);
}

} // namespace
} // namespace vestrak
