#pragma once
// The semantic pass: binds names to the sources in scope, gives every expression
// its type, and makes SQL Server's implicit behaviour explicit in the tree, so
// that every dialect's printer can print it plainly:
//  - "+" becomes Concat for two texts, Add for numbers, DynAdd when unknown;
//  - isnull(x, v) converts v to the type of x;
//  - a text compared with a date, datetime or number is converted to that type;
//  - a value written into a date or datetime column is converted to it;
//  - text comparisons that would not ignore case by themselves are marked;
//  - conversions of literals are done at once.
#include <QHash>

#include "tsql/ast.h"
#include "tsql/catalog.h"

namespace md::sql {

class Analyzer {
  public:
    explicit Analyzer(const Catalog& catalog) : m_catalog(catalog) {}

    // Types of the @parameters in a function body, by lower-case name with '@'.
    void setVariable(const QString& name, SqlType type, int scale);

    void analyzeStatement(ast::Stmt& statement);
    void analyzeSelect(ast::Select& select);

    struct Scope;

  private:
    void analyzeSelect(ast::Select& select, const Scope* outer);
    void analyzeCore(ast::Select& select, const Scope* outer, Scope& scope);
    void addSource(ast::TableRef& ref, Scope& scope, const Scope* outer);
    void analyzeJoinConditions(ast::TableRef& ref, const Scope& scope);
    void computeResultColumns(ast::Select& select, const Scope& scope);

    void analyzeExpr(ast::ExprPtr& slot, const Scope* scope);
    void analyzeColumn(ast::Expr& e, const Scope* scope);
    void analyzeBinary(ast::Expr& e);
    void analyzeCall(ast::Expr& e);
    void analyzeCase(ast::Expr& e);
    void analyzeConvert(ast::Expr& e);

    void analyzeInsert(ast::InsertStmt& s);
    void analyzeUpdate(ast::UpdateStmt& s);
    void analyzeDelete(ast::DeleteStmt& s);
    // The written table of an UPDATE or DELETE, found among its FROM sources or
    // added as a source of its own, and the scope its expressions see.
    template <typename WriteStmt>
    void analyzeWriteTarget(WriteStmt& s, Scope& scope);
    void analyzeCreateTable(ast::CreateTableStmt& s);

    // SQL Server's implicit conversions, made explicit.
    void coerceComparison(ast::ExprPtr& left, ast::ExprPtr& right);
    void coerceToType(ast::ExprPtr& slot, SqlType type, int scale);
    void coerceAssignment(ast::ExprPtr& slot, const ColumnInfo* column);
    ast::ExprPtr convertTo(ast::ExprPtr value, SqlType type, int scale);

    const Catalog& m_catalog;
    QHash<QString, ast::SourceColumn> m_variables;
};

// The column a name reaches in a catalog table, as a source column.
ast::SourceColumn sourceColumn(const ColumnInfo& column);
// Decimal places a type shows when converted to text: money 2, decimal(p,s) s.
int displayScale(const ast::TypeRef& type);

}  // namespace md::sql
