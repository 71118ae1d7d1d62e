#pragma once
#include <QString>
#include <cstdint>

namespace md::sql {

// The value kinds the translator and the datasets reason about. They follow the
// T-SQL declared types of the schema (varchar -> Text, bit -> Bit, money -> Decimal).
enum class SqlType : std::uint8_t {
    Unknown,
    Text,
    Integer,
    Decimal,  // money, decimal, numeric: exact amounts, shown with a display format
    Float,
    Bit,
    DateTime,
    Date,
    Time,
    Blob,
};

// The SQL dialects a translation can be printed for.
enum class Dialect : std::uint8_t { SQLite, PostgreSQL, SqlServer };

// Type of a T-SQL type name such as "varchar(15)", "bit", "datetime", "image".
SqlType sqlTypeFromName(QStringView typeName);

}  // namespace md::sql
