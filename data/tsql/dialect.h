#pragma once
// What a backend dialect adds to the translation: its own rewrites of the
// analysed tree and its printer. One implementation per dialect.
#include <QStringList>
#include <QVector>
#include <memory>

#include "tsql/ast.h"

namespace md::sql {

class DialectWriter {
  public:
    virtual ~DialectWriter() = default;
    // Rewrites the analysed statement into shapes the dialect can run.
    virtual void rewrite(ast::Stmt& statement) = 0;
    // The statement's text; the parameter index of every placeholder, in order,
    // goes to placeholderOrder.
    virtual QString print(const ast::Stmt& statement, QVector<int>* placeholderOrder) = 0;
    // A scalar expression on its own (exec arguments that are not literals).
    virtual QString printExpression(const ast::Expr& expr) = 0;
    // The statement's text for the dialect, given also its T-SQL text (a dialect
    // that speaks T-SQL passes that through).
    virtual QString printStatement(const ast::Stmt& statement, const QString& tsql,
                                   QVector<int>* placeholderOrder) {
        return print(statement, placeholderOrder);
    }
    // Statements of the dialect that follow the statement's own (SQLite: the
    // checks of a new table's columns), in order.
    virtual QStringList printCompanions(const ast::Stmt& statement) { return {}; }
};

std::unique_ptr<DialectWriter> makeSqliteWriter();
std::unique_ptr<DialectWriter> makePostgresWriter();
std::unique_ptr<DialectWriter> makeSqlServerWriter();

}  // namespace md::sql
