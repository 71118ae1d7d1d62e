#pragma once
// T-SQL text in, one statement list for a backend dialect out. The windows keep
// their SQL texts exactly as they were written for SQL Server; this is where they
// become SQLite or PostgreSQL. Translations are cached by text.
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

#include "tsql/catalog.h"
#include "tsql/sqltypes.h"

namespace md::sql {

// A ":name" parameter of a statement. inWhere is true when the parameter occurs
// in a where clause: cached updates then bind the value as it was read, elsewhere
// the current value.
struct ParamRef {
    QString name;  // without the colon, as written
    bool inWhere = false;
};

// Best-effort type of a result column, from the catalog and the expressions.
struct ResultColumn {
    QString name;
    SqlType type = SqlType::Unknown;
    bool plain = false;  // a table column's value as stored, not computed
};

// One argument of an "exec" call.
struct ExecArg {
    enum class Kind { Literal, Param, Expression };
    Kind kind = Kind::Literal;
    QVariant value;      // Literal: the value (text, integer or float; null for NULL)
    QString paramName;   // Param: name without the colon
    QString expression;  // Expression: dialect text of a scalar expression, evaluated as "select
                         // <expr>"
};

struct Statement {
    enum class Kind { Select, Insert, Update, Delete, Exec, Ddl, Other };
    Kind kind = Kind::Other;
    QString tsql;  // the statement's own T-SQL text, as it stood in the batch
    QString sql;   // the text for the dialect; empty for Exec
    // Distinct parameters in order of first appearance; two uses of one name are
    // the same parameter unless one is inside a where clause and the other is not
    // ("update t set fid=:fid where fid=:fid" has two: the new and the old value).
    // The dialect text refers to parameter i by position (SQLite "?<i+1>",
    // PostgreSQL "$<i+1>").
    QVector<ParamRef> params;
    // Positional-only drivers (ODBC "?"): the parameter index of each placeholder in order.
    QVector<int> placeholderOrder;
    // Quoted texts of the statement bound as parameters after its own (dialect
    // text "?<params.size()+k+1>"); see shapecache.h. Empty from translate().
    QVector<QVariant> literals;
    bool returnsRows = false;
    QVector<ResultColumn> columns;  // may be empty when not known
    QString targetTable;            // insert, update, delete: the table written
    QString sourceTable;            // select: the first table of its FROM clause, when it is one
    // Exec
    QString procedure;  // as written, without "dbo."
    QVector<ExecArg> args;
};

struct Batch {
    QVector<Statement> statements;
};

class Translator {
  public:
    Translator(Dialect dialect, std::shared_ptr<const Catalog> catalog);
    ~Translator();

    // Translates a batch of statements separated by line breaks (or semicolons).
    // Throws ETranslateError naming the construct and its line and column; then
    // nothing of the batch may be run. Thread-compatible, not thread-safe.
    std::shared_ptr<const Batch> translate(const QString& tsql) const;
    // The same, for running: on SQLite a statement whose shape came before may
    // come back with its quoted texts as bound literals (shapecache.h).
    // MD_SHAPE_REUSE_FROM=1 in the environment reuses from the first occurrence
    // (the test suites run so to prove the reuse changes no result).
    std::shared_ptr<const Batch> translateToRun(const QString& tsql) const;

    Dialect dialect() const { return m_dialect; }
    const Catalog& catalog() const { return *m_catalog; }

  private:
    struct Cache;
    Dialect m_dialect;
    std::shared_ptr<const Catalog> m_catalog;
    std::unique_ptr<Cache> m_cache;
};

}  // namespace md::sql
