#pragma once
// The syntax tree of the T-SQL subset the windows use. The parser builds it, the
// passes annotate and rewrite it, a printer per dialect turns it into text.
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <vector>

#include "tsql/sqltypes.h"
#include "tsql/translator.h"

namespace md::sql {
struct TableInfo;
}

namespace md::sql::ast {

struct Node {
    virtual ~Node() = default;
    int line = 0;
    int column = 0;
    // Levels below and including this node, as the parser built it: the passes
    // recurse over the tree, so the parser refuses one taller than they can take.
    int height = 1;
};

struct Expr;
struct Select;
struct TableRef;
using ExprPtr = std::unique_ptr<Expr>;
using SelectPtr = std::unique_ptr<Select>;
using TableRefPtr = std::unique_ptr<TableRef>;

// A T-SQL type as written in convert(), cast() and create statements.
struct TypeRef {
    QString name;  // base name in lower case: "varchar", "decimal"
    SqlType type = SqlType::Unknown;
    int length = 0;        // text length or decimal precision; 0 when not given, -1 for "max"
    int scale = -1;        // decimal places when given (money: 4)
    QString text() const;  // "varchar(15)", "decimal(18,2)", "varchar(max)"
};

enum class ExprKind : unsigned char {
    Null,
    String,    // text: the value
    Number,    // text: as written
    Column,    // text: column; qualifier: table alias or name
    Star,      // "*" or "t.*" in a select list, "*" in count(*); qualifier as for columns
    Param,     // text: name without colon
    Variable,  // text: "@name" (function parameters)
    Unary,     // op Neg, Plus, BitNot; args[0]
    Binary,    // op arithmetic or Concat / DynAdd; args[0], args[1]
    Compare,   // op Eq .. Ge; args[0], args[1]
    And,       // args (two or more)
    Or,        // args (two or more)
    Not,       // args[0]
    Like,      // args: value, pattern [, escape]; negated
    InList,    // args: value, items...; negated
    InSelect,  // args[0]: value; select; negated
    Exists,    // select
    IsNull,    // args[0]; negated = IS NOT NULL
    Between,   // args: value, low, high; negated
    Case,      // args: [base] (when, then)* [else]; hasBase, hasElse
    Subquery,  // select
    Call,      // text: function name; qualifier: schema; args; distinct; star = count(*)
    Convert,   // args: value [, style]; type. Written convert()/cast(), or made by the passes
};

enum class Op : unsigned char {
    None,
    Neg,
    Plus,
    BitNot,
    Add,  // "+" before typing; numbers after it
    Sub,
    Mul,
    Div,
    Mod,
    Concat,  // "+" of two texts
    DynAdd,  // "+" whose operand types are not known: decided per row
    BitAnd,
    BitOr,
    BitXor,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
};

struct Expr : Node {
    explicit Expr(ExprKind k = ExprKind::Null) : kind(k) {}

    ExprKind kind;
    Op op = Op::None;
    bool negated = false;
    bool distinct = false;  // count(distinct x)
    bool hasBase = false;   // case x when ...
    bool hasElse = false;
    bool star = false;  // count(*)
    QString text;
    QString qualifier;
    std::vector<ExprPtr> args;
    SelectPtr select;
    TypeRef type;  // Convert: the target

    // Filled by the semantic pass.
    SqlType valueType = SqlType::Unknown;
    int scale = -1;              // decimal places when known
    bool plainColumn = false;    // a column taken straight from a table: it brings its own type
                                 // affinity and, for text, its case-insensitive collation
    bool collateNoCase = false;  // print with the case-insensitive collation
    bool typed = false;          // the semantic pass has seen it
    int paramIndex = -1;         // Param: index in the statement's parameter list
    int style = -1;              // Convert: the style argument when constant
    int scopeSkip = 0;  // Column: an inlined argument, resolved this many scopes further out
    QString typeName;   // Column: the declared type of the column reached, when known
};

struct SelectItem {
    ExprPtr expr;
    QString alias;  // empty when none
};

enum class JoinType : unsigned char { Inner, Left, Right, Full, Cross };

struct SourceColumn {
    QString name;
    QString typeName;  // as declared, when known
    SqlType type = SqlType::Unknown;
    int scale = -1;
    bool plain = false;  // straight from a table column, through views and derived tables
};

struct TableRef {
    enum class Kind : unsigned char { Table, Function, Derived, Join };
    Kind kind = Kind::Table;
    int line = 0;
    int column = 0;
    int height = 1;  // as Node::height
    QString name;    // Table, Function: without schema
    QString schema;  // "dbo" when written
    QString alias;
    std::vector<ExprPtr> args;  // Function
    SelectPtr select;           // Derived (also a function after inlining)
    JoinType joinType = JoinType::Inner;
    TableRefPtr left, right;  // Join
    ExprPtr on;               // Join (not cross)

    // Filled by the semantic pass: the catalog entry of a table or view.
    const TableInfo* table = nullptr;
    // The name the columns are reached by: the alias, else the table name.
    QString refName() const { return alias.isEmpty() ? name : alias; }
};

struct OrderItem {
    ExprPtr expr;
    bool desc = false;
};

enum class SetOp : unsigned char { Union, UnionAll, Except, Intersect };

struct Select : Node {
    bool distinct = false;
    ExprPtr top;  // null when no TOP
    std::vector<SelectItem> items;
    std::vector<TableRefPtr> from;  // comma-separated sources
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    struct Part {
        SetOp op = SetOp::UnionAll;
        SelectPtr select;  // a branch: no parts, no order of its own
    };
    std::vector<Part> parts;         // union branches after this one
    std::vector<OrderItem> orderBy;  // of the whole union

    // Filled by the semantic pass: names and types of the result columns.
    std::vector<SourceColumn> resultColumns;
    bool resultKnown = false;  // every "*" could be expanded
};

struct Stmt : Node {
    enum class Kind : unsigned char {
        Select,
        Insert,
        Update,
        Delete,
        Exec,
        CreateTable,
        CreateView,
        CreateFunction,
        CreateIndex,
        AlterTable,
        Drop
    };
    explicit Stmt(Kind k) : kind(k) {}
    Kind kind;
    int beginOffset = 0;  // the statement's own text in the batch
    int endOffset = 0;
    QVector<ParamRef> params;  // distinct ":name" parameters, in order of first use
};
using StmtPtr = std::unique_ptr<Stmt>;

struct SelectStmt : Stmt {
    SelectStmt() : Stmt(Kind::Select) {}
    SelectPtr select;
};

struct InsertStmt : Stmt {
    InsertStmt() : Stmt(Kind::Insert) {}
    QString table;
    QStringList columns;  // empty: all columns but the identity
    std::vector<std::vector<ExprPtr>> rows;
    SelectPtr select;  // insert ... select
    bool defaultValues = false;
    const TableInfo* info = nullptr;  // semantic pass
};

struct SetItem {
    QString column;
    QString qualifier;
    ExprPtr value;
    int line = 0;
    int column_ = 0;
};

struct UpdateStmt : Stmt {
    UpdateStmt() : Stmt(Kind::Update) {}
    QString table;  // as written: a table, or an alias of the FROM clause
    std::vector<SetItem> sets;
    std::vector<TableRefPtr> from;
    ExprPtr where;
    const TableInfo* info = nullptr;   // semantic pass
    QString targetTable;               // semantic pass: the real table written
    TableRef* targetInFrom = nullptr;  // semantic pass: the FROM source that is the target
    // Dialect rewrites: the target's alias in the printed statement, and one
    // sub-select giving all new values at once ("set (a, b) = (select ...)").
    QString printAlias;
    SelectPtr setRow;
};

struct DeleteStmt : Stmt {
    DeleteStmt() : Stmt(Kind::Delete) {}
    QString table;
    std::vector<TableRefPtr> from;
    ExprPtr where;
    const TableInfo* info = nullptr;
    QString targetTable;
    TableRef* targetInFrom = nullptr;
};

struct ExecStmt : Stmt {
    ExecStmt() : Stmt(Kind::Exec) {}
    QString procedure;
    std::vector<ExprPtr> args;
};

struct ColumnDef {
    QString name;
    TypeRef type;
    int line = 0;
    int column = 0;
    int beginOffset = 0;  // the definition's own text in the batch
    int endOffset = 0;
    bool identity = false;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    ExprPtr defaultValue;
    QString defaultSql;  // the default as written
    ExprPtr check;
    QString refTable;
    QStringList refColumns;
    QString refActions;  // "ON DELETE CASCADE ON UPDATE NO ACTION", as normalised by the parser
};

struct TableConstraint {
    enum class Kind : unsigned char { PrimaryKey, Unique, Check, ForeignKey };
    Kind kind = Kind::PrimaryKey;
    QStringList columns;
    ExprPtr check;
    QString refTable;
    QStringList refColumns;
    QString refActions;  // as in ColumnDef
};

struct CreateTableStmt : Stmt {
    CreateTableStmt() : Stmt(Kind::CreateTable) {}
    QString name;
    std::vector<ColumnDef> columns;
    std::vector<TableConstraint> constraints;
};

struct CreateViewStmt : Stmt {
    CreateViewStmt() : Stmt(Kind::CreateView) {}
    QString name;
    QStringList columns;
    SelectPtr select;
};

struct FunctionParamDef {
    QString name;  // with '@'
    TypeRef type;
};

struct CreateFunctionStmt : Stmt {
    CreateFunctionStmt() : Stmt(Kind::CreateFunction) {}
    QString name;
    std::vector<FunctionParamDef> params;
    bool returnsTable = false;
    TypeRef returnType;
    SelectPtr select;  // table function
    ExprPtr expr;      // scalar function
};

struct CreateIndexStmt : Stmt {
    CreateIndexStmt() : Stmt(Kind::CreateIndex) {}
    QString name;
    QString table;
    bool unique = false;
    QStringList columns;
    QVector<bool> descending;
};

// "alter table t add <column definition>": one column per statement.
struct AlterTableStmt : Stmt {
    AlterTableStmt() : Stmt(Kind::AlterTable) {}
    QString table;
    ColumnDef column;
    // "with values": SQL Server fills existing rows with the default of a
    // nullable column too; SQLite and PostgreSQL always do.
    bool withValues = false;
};

struct DropStmt : Stmt {
    DropStmt() : Stmt(Kind::Drop) {}
    enum class What : unsigned char { Table, View, Function, Index };
    What what = What::Table;
    bool ifExists = false;
    QStringList names;
};

// Deep copies, for inlining function bodies and for rewrites that use a part twice.
ExprPtr clone(const Expr& e);
SelectPtr clone(const Select& s);
TableRefPtr clone(const TableRef& t);

// Small builders for the passes.
ExprPtr makeExpr(ExprKind kind, const Node& at);
ExprPtr makeConvert(ExprPtr value, SqlType type, const QString& typeName = {});

}  // namespace md::sql::ast
