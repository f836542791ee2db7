// A settings file that is damaged or cannot be written: the store says so once, keeps what it can,
// and the controls keep working on it.
#include "citree/citree.h"
#include "citree/settings_names.h"
#include "headless/headless_surface.h"
#include "linux_platform/sqlite_settings_store.h"
#include "support/test_platform.h"
#include "text/encoding.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace vestrak::testing {
namespace {

std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), {} };
}

std::string RandomBytes(std::size_t count)
{
    std::independent_bits_engine<std::mt19937, 8, unsigned> random(std::random_device {}());
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// A CiTree on the store builds, and a click on a node is kept as the selection.
void ExpectControlKeepsItsSelection(SettingsStore& store, const std::filesystem::path& folder)
{
    ScratchFiles files;
    TestPlatform services(files, store);
    const std::filesystem::path objectFile = folder / "objects.ini";
    std::ofstream(objectFile) << "[TreeObjects]\nP=1,Plant\nP1=5,Pump\n";
    HeadlessSurface surface(services.platform.files, 3000, 4500);
    CiTree control(surface, services.platform);
    control.setObjectFile(FromUtf8(objectFile.string()));
    control.setStyle(StyleObjectTree | StyleShowObjects);
    auto& tree = dynamic_cast<Tree&>(*surface.widget(u"TreeView_Objects"));
    ASSERT_EQ(tree.count(), 2);
    ASSERT_TRUE(tree.operatorClick(u"P1/1"));
    EXPECT_EQ(control.SelectedObject(), u"P1");
    EXPECT_EQ(store.GetSetting(SettingsApplication, SelectedSection, SelectedNodeKey), u"Plant\\Pump");
}

struct Damage {
    const char* name;
    // Spoils the database file at that path.
    void (*spoil)(const std::filesystem::path& file);
};

const Damage Damages[] = {
    { "random bytes",
        [](const std::filesystem::path& file) {
            std::ofstream(file, std::ios::binary) << RandomBytes(20'000);
        } },
    { "a real database with its later pages overwritten",
        [](const std::filesystem::path& file) {
            {
                SqliteSettingsStore store(file);
                for (int key = 0; key < 2000; ++key) {
                    store.SaveSetting(u"A", u"S", FromUtf8(std::to_string(key)), std::u16string(40, u'v'));
                }
            }
            const std::string bytes = ReadBytes(file);
            std::ofstream(file, std::ios::binary)
                << bytes.substr(0, 8192) << RandomBytes(bytes.size() - 8192);
            std::filesystem::remove(file.string() + "-wal");
        } },
};

TEST(DamagedSettingsFile, IsMovedAsideWhileTheControlsKeepWorking)
{
    for (const Damage& damage : Damages) {
        SCOPED_TRACE(damage.name);
        TemporaryFolder folder;
        const std::filesystem::path file = folder.path() / "settings.sqlite";
        damage.spoil(file);
        const std::string damagedBytes = ReadBytes(file);
        std::vector<std::string> messages;
        SqliteSettingsStore store(
            file, [&messages](const std::string& message) { messages.push_back(message); });

        ASSERT_EQ(messages.size(), 1U);
        EXPECT_NE(messages[0].find("damaged"), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("fresh one was started"), std::string::npos) << messages[0];
        EXPECT_TRUE(store.isPersistent());
        std::vector<std::filesystem::path> keptAside;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.path().filename().string().starts_with("settings.sqlite.damaged-")
                && !entry.path().string().ends_with("-shm") && !entry.path().string().ends_with("-wal")) {
                keptAside.push_back(entry.path());
            }
        }
        ASSERT_EQ(keptAside.size(), 1U);
        EXPECT_EQ(ReadBytes(keptAside[0]), damagedBytes);
        EXPECT_NE(messages[0].find(keptAside[0].string()), std::string::npos) << messages[0];
        ExpectControlKeepsItsSelection(store, folder.path());
    }
}

// Below an ordinary file, and in a read-only folder (which the superuser may write all the same).
TEST(UnwritableSettingsFile, TheControlsKeepWorkingInMemory)
{
    TemporaryFolder folder;
    std::ofstream(folder.path() / "plain") << "not a folder";
    std::filesystem::create_directory(folder.path() / "locked");
    std::filesystem::permissions(
        folder.path() / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::vector<std::filesystem::path> files { folder.path() / "plain" / "settings.sqlite" };
    if (geteuid() != 0) {
        files.push_back(folder.path() / "locked" / "settings.sqlite");
    }
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.string());
        std::vector<std::string> messages;
        SqliteSettingsStore store(
            file, [&messages](const std::string& message) { messages.push_back(message); });
        ASSERT_EQ(messages.size(), 1U);
        EXPECT_NE(messages[0].find("kept in memory only"), std::string::npos) << messages[0];
        EXPECT_FALSE(store.isPersistent());
        // Nothing of a database is left behind, not even a journal.
        EXPECT_FALSE(std::filesystem::is_directory(file.parent_path())
            && !std::filesystem::is_empty(file.parent_path()));
        ExpectControlKeepsItsSelection(store, folder.path());
    }
}

} // namespace
} // namespace vestrak::testing
