#pragma once

#include <chrono>
#include <sqlite3.h>
#include <string>

namespace vestrak {

// SQLite's words for what went wrong: the connection's last message when there is a connection.
std::string errorText(sqlite3* database, int resultCode);
// Whether a result code says that the file is not a sound database.
bool isDamage(int resultCode);
// Whether a result code says that another connection holds the file.
bool isLocked(int resultCode);
void setBusyWait(sqlite3* database, std::chrono::milliseconds wait);
// Runs a statement that answers with at most one text row, such as a PRAGMA.
int runForText(sqlite3* database, const char* sql, std::string* answer = nullptr);

} // namespace vestrak
