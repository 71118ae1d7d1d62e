#include "tsql/sqltypes.h"

namespace md::sql {

SqlType sqlTypeFromName(QStringView typeName) {
    // Only the base name decides: "varchar(15)" and "VARCHAR" are one type.
    QStringView base = typeName.trimmed();
    if (const qsizetype paren = base.indexOf(QLatin1Char('(')); paren >= 0)
        base = base.left(paren).trimmed();
    if (base.startsWith(QLatin1Char('[')) && base.endsWith(QLatin1Char(']')))
        base = base.mid(1, base.size() - 2);
    const QString name = base.toString().toLower();

    static const struct {
        const char* name;
        SqlType type;
    } kTypes[] = {
        {"varchar", SqlType::Text},
        {"nvarchar", SqlType::Text},
        {"char", SqlType::Text},
        {"nchar", SqlType::Text},
        {"text", SqlType::Text},
        {"ntext", SqlType::Text},
        {"sysname", SqlType::Text},
        {"uniqueidentifier", SqlType::Text},
        {"xml", SqlType::Text},
        {"int", SqlType::Integer},
        {"integer", SqlType::Integer},
        {"bigint", SqlType::Integer},
        {"smallint", SqlType::Integer},
        {"tinyint", SqlType::Integer},
        {"bit", SqlType::Bit},
        {"money", SqlType::Decimal},
        {"smallmoney", SqlType::Decimal},
        {"decimal", SqlType::Decimal},
        {"numeric", SqlType::Decimal},
        {"float", SqlType::Float},
        {"real", SqlType::Float},
        {"double", SqlType::Float},
        {"datetime", SqlType::DateTime},
        {"smalldatetime", SqlType::DateTime},
        {"datetime2", SqlType::DateTime},
        {"timestamp", SqlType::DateTime},
        {"date", SqlType::Date},
        {"time", SqlType::Time},
        {"image", SqlType::Blob},
        {"varbinary", SqlType::Blob},
        {"binary", SqlType::Blob},
        {"blob", SqlType::Blob},
    };
    for (const auto& entry : kTypes)
        if (name == QLatin1String(entry.name)) return entry.type;
    return SqlType::Unknown;
}

}  // namespace md::sql
