#pragma once
// What the SQLite and PostgreSQL printers share: statements, selects, sources
// and joins, expressions with their precedence, lists, literals and the DDL.
// A dialect derives and overrides the hooks where its text differs: names and
// their quoting, placeholders, collation, operators, functions, conversions,
// column definitions.
#include <QStringList>
#include <QVector>

#include "tsql/ast.h"
#include "tsql/dialect.h"

namespace md::sql {

class SqlPrinter {
  public:
    // Placeholders are recorded in order in `order` (may be null).
    explicit SqlPrinter(QVector<int>* order) : m_order(order) {}
    virtual ~SqlPrinter() = default;
    SqlPrinter(const SqlPrinter&) = delete;
    SqlPrinter& operator=(const SqlPrinter&) = delete;

    QString takeText() { return std::move(m_out); }

    void statement(const ast::Stmt& s);
    void expr(const ast::Expr& e, int minPrecedence = 0);
    // Statements the dialect runs after the statement's own, each a text of
    // its own; none for most.
    virtual QStringList companions(const ast::Stmt& s) { return {}; }

  protected:
    // Operator precedence, lowest first; the dialects fill in the middle ranks.
    static constexpr int kOr = 1, kAnd = 2, kNot = 3, kAdd = 8, kMul = 9, kUnary = 11,
                         kPrimary = 12;

    // Identifier and keyword tests the dialects build their quoting from.
    // A name of letters, digits and '_' not starting with a digit. Anything else a
    // bracketed name may hold is quoted: SQLite would read "[$x]" printed bare as
    // a parameter, and PostgreSQL "$1" as one.
    static bool isBareName(const QString& name);
    // Whether the word, compared in lower case, is in the sorted list.
    static bool isListedWord(const QString& word, const char* const* begin, const char* const* end);

    // ---- hooks
    // The operator's own precedence, collation aside.
    virtual int basePrecedence(const ast::Expr& e) const = 0;
    // The precedence an operator prints its operands against.
    virtual int operatorPrecedence(const ast::Expr& e) const { return basePrecedence(e); }
    // Whether "a < b < c" parses as "(a < b) < c": then only the right side of a
    // comparison needs a tighter operand.
    virtual bool comparisonsChain() const = 0;
    // Whether the expression is printed with the case-insensitive collation, and its clause.
    virtual bool collates(const ast::Expr& e) const = 0;
    virtual QLatin1String collationClause() const = 0;
    // A name as the dialect spells it, and whether that spelling needs quotes.
    virtual QString spelling(const QString& name) const { return name; }
    virtual bool needsQuotes(const QString& spelled) const = 0;
    // "?" or "$": the placeholder of parameter i is the mark and i + 1.
    virtual QLatin1Char placeholderMark() const = 0;

    virtual void binary(const ast::Expr& e);
    virtual void like(const ast::Expr& e);
    // Prints a comparison the dialect writes its own way; false when it has none.
    virtual bool comparison(const ast::Expr& e) { return false; }
    // Prints a function the dialect spells its own way; false when it has none.
    virtual bool dialectFunction(const ast::Expr& e, const QString& lowerName) = 0;
    // Functions printed under their own name in lower case.
    virtual bool keepsFunctionName(const QString& lowerName) const = 0;

    // convert(): a conversion the dialect makes natively (true when printed), and
    // the truncation of text to a length.
    virtual bool nativeConversion(const ast::Expr& v, SqlType to) { return false; }
    virtual bool convertsAsText(SqlType from) const { return from == SqlType::Text; }
    virtual void truncateText(const ast::Expr& v, int length) = 0;

    // Selects: one branch of a union, an ORDER BY item, a result column's alias,
    // a derived table written without one.
    virtual void branch(const ast::Select& s, bool outermost, bool inUnion) { core(s, outermost); }
    virtual void orderItem(const ast::Select& s, const ast::OrderItem& item, bool outermost);
    virtual void resultAlias(const ast::SelectItem& item, bool outermost);
    virtual void unnamedDerivedTable() {}
    // What follows an insert (the new identity, where the dialect returns it).
    virtual void afterInsert(const ast::InsertStmt& s) {}

    // create table: the facts its column forms depend on, a column's definition
    // after its name, and the word of a primary key.
    struct TableKeys {
        bool hasIdentity = false;
        QStringList keyColumns;  // primary key columns that are no identity, in lower case
    };
    virtual void columnDefinition(const ast::ColumnDef& c, const TableKeys& keys) = 0;
    // Whether the dialect can add the column to a table that holds rows.
    virtual bool canAddColumn(const ast::ColumnDef& c) const { return true; }
    virtual QLatin1String primaryKeyWord(const TableKeys& keys) const {
        return QLatin1String("PRIMARY KEY");
    }

    // ---- helpers for the hooks
    void ident(const QString& name);
    void quoted(const QString& name) { enclose(name, QLatin1Char('"')); }
    void string(const QString& value) { enclose(value, QLatin1Char('\'')); }
    void list(const std::vector<ast::ExprPtr>& items, size_t from = 0);
    void call(const char* name, std::initializer_list<const ast::Expr*> args);
    void infix(const ast::Expr& e, const char* op);
    void select(const ast::Select& s);
    void subquery(const ast::Select& s);  // "(select ...)"
    void core(const ast::Select& s, bool outermost);
    void convertTo(const ast::Expr& v, SqlType to, const ast::TypeRef* type, int style);
    // A column's NOT NULL, default, key, check and reference.
    void columnConstraints(const ast::ColumnDef& c, bool notNull, QLatin1String primaryKey);
    void references(const QString& table, const QStringList& columns, const QString& actions);
    // Whether the call is avg() over integers, which SQL Server answers as an integer.
    static bool isIntegerAverage(const ast::Expr& e, const QString& lowerName);

    QString m_out;

  private:
    void enclose(const QString& text, QLatin1Char quote);
    void exprPlain(const ast::Expr& e);
    void functionCall(const ast::Expr& e);
    void fromAndWhere(const std::vector<ast::TableRefPtr>& sources, const ast::Expr* where);
    void tableRef(const ast::TableRef& ref);
    void insert(const ast::InsertStmt& s);
    void update(const ast::UpdateStmt& s);
    void remove(const ast::DeleteStmt& s);
    void columnNames(const QStringList& names);
    void createTable(const ast::CreateTableStmt& s);
    void createView(const ast::CreateViewStmt& s);
    void createIndex(const ast::CreateIndexStmt& s);
    void alterTable(const ast::AlterTableStmt& s);
    void drop(const ast::DropStmt& s);

    QVector<int>* m_order;
    const ast::Select* m_outermost = nullptr;
};

// The writer of a dialect: its rewrites, then its printer.
template <class Printer, void (*Rewrite)(ast::Stmt&)>
class PrintingWriter : public DialectWriter {
  public:
    void rewrite(ast::Stmt& statement) override { Rewrite(statement); }

    QString print(const ast::Stmt& statement, QVector<int>* placeholderOrder) override {
        Printer printer(placeholderOrder);
        printer.statement(statement);
        return printer.takeText();
    }

    QString printExpression(const ast::Expr& expr) override {
        Printer printer(nullptr);
        printer.expr(expr);
        return printer.takeText();
    }

    QStringList printCompanions(const ast::Stmt& statement) override {
        Printer printer(nullptr);
        return printer.companions(statement);
    }
};

}  // namespace md::sql
