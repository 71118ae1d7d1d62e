#pragma once
// Fresh keys for the key views (V_GetPassWord12 and its like) on SQLite.
struct sqlite3;

namespace md::data {

// Registers md_newid(): a GUID-shaped text whose first twelve hex digits are
// unique within the database file and look random. The key views take those
// twelve digits, as they take them from newid() on SQL Server.
void registerSqliteKeyFunctions(sqlite3* db);

// The permutation behind it, exposed for tests: a bijection of 48-bit values.
unsigned long long permuteKey48(unsigned long long value, unsigned long long secret);

}  // namespace md::data
