#pragma once
// The functions that translated statements call on SQLite for what SQL Server
// does and SQLite does not: its conversions, its "+", getdate() in local time,
// newid(), charindex() and right(). Registered on every connection, which it
// also sets to read double-quoted text as a name only and to compare text by
// the database's collation (sqlitecollation.h).
struct sqlite3;

namespace md::sql {

void registerSqliteRuntime(sqlite3* db);

}  // namespace md::sql
