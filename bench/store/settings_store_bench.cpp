// The SQLite settings store: a SaveSetting and GetSetting round trip and a lone GetSetting,
// against the same statements on a bare SQLite connection to a database set up the same way.

#include "linux_platform/sqlite_settings_store.h"
#include "support/plant_files.h"
#include "support/ratio_report.h"
#include "text/encoding.h"

#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace vestrak;
using namespace vestrak::bench;

namespace {

constexpr int KeyCount = 1000;
const std::u16string Application = u"VestrakControls.CiTree";
const std::u16string Section = u"OpenNodes";

// Keys shaped like the full paths the controls store.
std::vector<std::u16string> Keys()
{
    std::vector<std::u16string> keys;
    for (int number = 0; number < KeyCount; ++number) {
        keys.push_back(
            u"Waterworks North 1\\Filtration\\Line 3\\Pump station " + FromUtf8(std::to_string(number)));
    }
    return keys;
}

struct StoreFixture {
    ScratchFolder folder;
    SqliteSettingsStore store { folder.path() / "settings.sqlite" };
    std::vector<std::u16string> keys = Keys();
};

// The store's own statements, on a connection of their own, with texts handed over as UTF-8.
class BareDatabase {
public:
    explicit BareDatabase(const std::filesystem::path& path)
    {
        sqlite3_open(path.c_str(), &m_Database);
        sqlite3_exec(m_Database,
            "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
            "CREATE TABLE IF NOT EXISTS settings (application TEXT NOT NULL, section TEXT NOT NULL,"
            " key TEXT NOT NULL, value TEXT NOT NULL, PRIMARY KEY (application, section, key)) WITHOUT ROWID",
            nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(m_Database,
            "INSERT INTO settings VALUES (?1, ?2, ?3, ?4) ON CONFLICT (application, section, key)"
            " DO UPDATE SET value = excluded.value",
            -1, &m_Upsert, nullptr);
        sqlite3_prepare_v2(m_Database,
            "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3", -1, &m_Select,
            nullptr);
        for (const std::u16string& key : Keys()) {
            m_Keys.push_back(ToUtf8(key));
        }
    }
    ~BareDatabase()
    {
        sqlite3_finalize(m_Upsert);
        sqlite3_finalize(m_Select);
        sqlite3_close(m_Database);
    }
    BareDatabase(const BareDatabase&) = delete;
    BareDatabase& operator=(const BareDatabase&) = delete;

    void save(std::size_t keyNumber)
    {
        bindNames(m_Upsert, keyNumber);
        sqlite3_bind_text(m_Upsert, 4, "1", 1, SQLITE_STATIC);
        sqlite3_step(m_Upsert);
        sqlite3_reset(m_Upsert);
    }
    std::string get(std::size_t keyNumber)
    {
        bindNames(m_Select, keyNumber);
        std::string value;
        if (sqlite3_step(m_Select) == SQLITE_ROW) {
            value = reinterpret_cast<const char*>(sqlite3_column_text(m_Select, 0));
        }
        sqlite3_reset(m_Select);
        return value;
    }

private:
    void bindNames(sqlite3_stmt* statement, std::size_t keyNumber)
    {
        const std::string& key = m_Keys[keyNumber];
        sqlite3_bind_text(statement, 1, "VestrakControls.CiTree", -1, SQLITE_STATIC);
        sqlite3_bind_text(statement, 2, "OpenNodes", -1, SQLITE_STATIC);
        sqlite3_bind_text(statement, 3, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    }

    sqlite3* m_Database = nullptr;
    sqlite3_stmt* m_Upsert = nullptr;
    sqlite3_stmt* m_Select = nullptr;
    std::vector<std::string> m_Keys;
};

void BM_StoreRoundTrip(benchmark::State& state)
{
    StoreFixture fixture;
    std::size_t next = 0;
    for (auto _ : state) {
        const std::u16string& key = fixture.keys[next++ % KeyCount];
        fixture.store.SaveSetting(Application, Section, key, u"1");
        benchmark::DoNotOptimize(fixture.store.GetSetting(Application, Section, key, u"0"));
    }
}

void BM_BareRoundTrip(benchmark::State& state)
{
    ScratchFolder folder;
    BareDatabase database(folder.path() / "settings.sqlite");
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t key = next++ % KeyCount;
        database.save(key);
        benchmark::DoNotOptimize(database.get(key));
    }
}

void BM_StoreGet(benchmark::State& state)
{
    StoreFixture fixture;
    for (const std::u16string& key : fixture.keys) {
        fixture.store.SaveSetting(Application, Section, key, u"1");
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            fixture.store.GetSetting(Application, Section, fixture.keys[next++ % KeyCount]));
    }
}

void BM_BareGet(benchmark::State& state)
{
    ScratchFolder folder;
    BareDatabase database(folder.path() / "settings.sqlite");
    for (std::size_t key = 0; key < KeyCount; ++key) {
        database.save(key);
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.get(next++ % KeyCount));
    }
}

BENCHMARK(BM_StoreRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreGet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareGet)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithRatios(argc, argv,
        {
            { "settings round trip, SaveSetting and GetSetting", "BM_StoreRoundTrip", "BM_BareRoundTrip", 0 },
            { "settings GetSetting", "BM_StoreGet", "BM_BareGet", 0 },
        });
}
