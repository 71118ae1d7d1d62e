#pragma once
// SQL functions the SQLite translation relies on (string '+', date conversion,
// getdate() in local time, ...). Registered on every SQLite connection.
struct sqlite3;

namespace md::sql {

void registerSqliteRuntime(sqlite3* db);

}  // namespace md::sql
