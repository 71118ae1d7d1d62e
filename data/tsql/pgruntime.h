#pragma once
// What a PostgreSQL database needs before translated statements run on it: the
// case-insensitive collation, the T-SQL types PostgreSQL lacks, and the md_
// functions the PostgreSQL printer calls (conversions as SQL Server makes them,
// fresh keys for the key views).
#include <QString>

namespace md::sql {

// Increased whenever the script changes; a database records the version it has.
constexpr int kPgRuntimeVersion = 3;

// The whole script; every statement may run again on a database that has it.
QString pgRuntimeScript();

}  // namespace md::sql
