#pragma once
// Fresh keys for the key views (V_GetPassWord12 and its like) on SQLite.
struct sqlite3;

namespace md::data {

// Registers md_newid(): a GUID-shaped text of 32 characters over 0-9 and A-Z,
// every one drawn from libsodium's cryptographic source. The key views take
// its first twelve characters, as they take twelve hex digits of newid() on
// SQL Server. Coupon barcodes are such keys, and a barcode is cash: knowing
// any number of keys tells nothing about the next one.
void registerSqliteKeyFunctions(sqlite3* db);

}  // namespace md::data
