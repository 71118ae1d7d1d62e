#pragma once
// The schema catalog: tables, views, table functions and scalar functions of the
// server schema, built from the schema's own T-SQL text. The translator reads
// column types from it (string '+', dates, isnull) and inlines functions; the
// datasets read keys and identity columns from it to generate their statements.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "tsql/sqltypes.h"

namespace md::sql {

namespace ast {
struct Node;
}

struct ColumnInfo {
    QString name;      // as written in the schema
    QString typeName;  // T-SQL type as written, e.g. "varchar(15)", "bit", "money"
    SqlType type = SqlType::Unknown;
    int length = 0;  // characters for text types; 0 when unbounded or not text
    bool nullable = true;
    bool identity = false;
    QString defaultSql;  // T-SQL default expression, empty when none
    // Views: the column is computed, not taken straight from a table column, so
    // it has no declared type or collation of its own in the database.
    bool computed = false;
};

struct TableInfo {
    QString name;  // as written in the schema
    QVector<ColumnInfo> columns;
    QStringList key;  // primary key columns: how generated statements address a row
                      // (the identity column when no primary key is declared)
    bool isView = false;

    const ColumnInfo* column(QStringView columnName) const;  // any case; null when absent
    int columnIndex(QStringView columnName) const;           // any case; -1 when absent
    const ColumnInfo* identityColumn() const;                // null when none
};

struct FunctionParam {
    QString name;  // with its '@'
    QString typeName;
    SqlType type = SqlType::Unknown;
};

// An inline table function ("returns table as return (select ...)") or a scalar
// function whose body is a single "return <expression>".
struct FunctionInfo {
    QString name;
    QVector<FunctionParam> params;
    bool returnsTable = false;
    SqlType returnType = SqlType::Unknown;  // scalar functions
    QString returnTypeName;                 // scalar functions: as written, e.g. "datetime"
    QVector<ColumnInfo> columns;            // table functions: result columns
    std::shared_ptr<const ast::Node> body;  // the select or the expression
};

class Catalog {
  public:
    Catalog();
    ~Catalog();

    // Reads the create statements of a T-SQL script. Statements that are not
    // create statements are ignored here. Throws ETranslateError on a bad script.
    void load(const QString& tsqlScript);

    void addTable(TableInfo table);
    void addFunction(FunctionInfo function);

    // Lookups ignore case, brackets and a leading "dbo." prefix.
    const TableInfo* table(QStringView name) const;
    const FunctionInfo* function(QStringView name) const;
    QVector<const TableInfo*> tables() const;  // in the order they were added

    static QString normalizedName(QStringView name);  // "dbo.[Goods]" -> "goods"

  private:
    QVector<std::shared_ptr<TableInfo>> m_tables;
    QHash<QString, std::shared_ptr<TableInfo>> m_tableByName;
    QHash<QString, std::shared_ptr<FunctionInfo>> m_functionByName;
};

}  // namespace md::sql
