#include "linux_platform/sqlite_calls.h"

namespace vestrak {

std::string errorText(sqlite3* database, int resultCode)
{
    return database != nullptr ? sqlite3_errmsg(database) : sqlite3_errstr(resultCode);
}

bool isDamage(int resultCode)
{
    const int primaryCode = resultCode & 0xff;
    return primaryCode == SQLITE_NOTADB || primaryCode == SQLITE_CORRUPT;
}

bool isLocked(int resultCode)
{
    const int primaryCode = resultCode & 0xff;
    return primaryCode == SQLITE_BUSY || primaryCode == SQLITE_LOCKED;
}

void setBusyWait(sqlite3* database, std::chrono::milliseconds wait)
{
    sqlite3_busy_timeout(database, static_cast<int>(wait.count()));
}

int runForText(sqlite3* database, const char* sql, std::string* answer)
{
    sqlite3_stmt* rawStatement = nullptr;
    int resultCode = sqlite3_prepare_v2(database, sql, -1, &rawStatement, nullptr);
    if (resultCode != SQLITE_OK) {
        sqlite3_finalize(rawStatement);
        return resultCode;
    }
    resultCode = sqlite3_step(rawStatement);
    if (resultCode == SQLITE_ROW && answer != nullptr) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rawStatement, 0));
        *answer = text != nullptr ? text : "";
    }
    const int finalizeCode = sqlite3_finalize(rawStatement);
    if (resultCode == SQLITE_ROW || resultCode == SQLITE_DONE) {
        return finalizeCode;
    }
    return resultCode;
}

} // namespace vestrak
