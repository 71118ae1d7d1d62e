#pragma once
// The order and equality of text on SQLite, as the database's collation
// (Chinese_PRC_CI_AS) gives them on SQL Server and md_ci on PostgreSQL: pinyin
// order, Latin before Han, case and width ignored, accents not, and trailing
// blanks ignored as SQL Server pads the shorter string. Registered under the
// name NOCASE, which every text column and every case-insensitive comparison
// of the translation already uses, so existing files keep their table
// definitions (their indexes are rebuilt once by the schema upgrade).
struct sqlite3;

namespace md::sql {

void registerTextCollation(sqlite3* db);

// Compares two UTF-8 texts by the collation above: <0, 0 or >0.
int compareText(const char* a, int aBytes, const char* b, int bBytes);
// The same by ICU's collator alone, without the shortcut compareText takes for
// codes of letters and digits (which must agree with it).
int compareTextByCollator(const char* a, int aBytes, const char* b, int bBytes);

}  // namespace md::sql
