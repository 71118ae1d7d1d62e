#include "tsql/catalog.h"

#include "tsql/inline.h"
#include "tsql/parser.h"
#include "tsql/sema.h"

namespace md::sql {

using namespace ast;

const ColumnInfo* TableInfo::column(QStringView columnName) const {
    const int i = columnIndex(columnName);
    return i >= 0 ? &columns[i] : nullptr;
}

int TableInfo::columnIndex(QStringView columnName) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(columnName, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const ColumnInfo* TableInfo::identityColumn() const {
    for (const ColumnInfo& c : columns)
        if (c.identity) return &c;
    return nullptr;
}

Catalog::Catalog() = default;
Catalog::~Catalog() = default;

QString Catalog::normalizedName(QStringView name) {
    // The last dotted part outside brackets, without its brackets.
    qsizetype start = 0;
    bool inBracket = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('['))
            inBracket = true;
        else if (c == QLatin1Char(']'))
            inBracket = false;
        else if (c == QLatin1Char('.') && !inBracket)
            start = i + 1;
    }
    QStringView last = name.mid(start).trimmed();
    if (last.size() >= 2 &&
        ((last.front() == QLatin1Char('[') && last.back() == QLatin1Char(']')) ||
         (last.front() == QLatin1Char('"') && last.back() == QLatin1Char('"'))))
        last = last.mid(1, last.size() - 2);
    return last.toString().toLower();
}

void Catalog::addTable(TableInfo table) {
    const QString key = normalizedName(table.name);
    auto shared = std::make_shared<TableInfo>(std::move(table));
    if (auto old = m_tableByName.value(key)) {
        for (auto& t : m_tables)
            if (t == old) t = shared;
    } else {
        m_tables.push_back(shared);
    }
    m_tableByName.insert(key, shared);
}

void Catalog::addFunction(FunctionInfo function) {
    const QString key = normalizedName(function.name);
    m_functionByName.insert(key, std::make_shared<FunctionInfo>(std::move(function)));
}

const TableInfo* Catalog::table(QStringView name) const {
    return m_tableByName.value(normalizedName(name)).get();
}

const FunctionInfo* Catalog::function(QStringView name) const {
    return m_functionByName.value(normalizedName(name)).get();
}

QVector<const TableInfo*> Catalog::tables() const {
    QVector<const TableInfo*> list;
    list.reserve(m_tables.size());
    for (const auto& t : m_tables) list.push_back(t.get());
    return list;
}

namespace {

QString typeNameOf(SqlType type) {
    switch (type) {
        case SqlType::Text:
            return QStringLiteral("varchar");
        case SqlType::Integer:
            return QStringLiteral("int");
        case SqlType::Decimal:
            return QStringLiteral("decimal");
        case SqlType::Float:
            return QStringLiteral("float");
        case SqlType::Bit:
            return QStringLiteral("bit");
        case SqlType::DateTime:
            return QStringLiteral("datetime");
        case SqlType::Date:
            return QStringLiteral("date");
        case SqlType::Time:
            return QStringLiteral("time");
        case SqlType::Blob:
            return QStringLiteral("varbinary");
        case SqlType::Unknown:
            break;
    }
    return {};
}

TableInfo tableFromDefinition(const CreateTableStmt& s) {
    TableInfo t;
    t.name = s.name;
    for (const ColumnDef& def : s.columns) {
        ColumnInfo c;
        c.name = def.name;
        c.typeName = def.type.text();
        c.type = def.type.type;
        c.length = def.type.type == SqlType::Text && def.type.length > 0 ? def.type.length : 0;
        c.nullable = !def.notNull;
        c.identity = def.identity;
        c.defaultSql = def.defaultSql;
        t.columns.push_back(c);
        if (def.primaryKey) t.key << def.name;
    }
    for (const TableConstraint& c : s.constraints) {
        if (c.kind != TableConstraint::Kind::PrimaryKey) continue;
        t.key = c.columns;
        for (const QString& name : c.columns) {
            const int i = t.columnIndex(name);
            if (i >= 0) t.columns[i].nullable = false;
        }
    }
    if (t.key.isEmpty())
        if (const ColumnInfo* identity = t.identityColumn()) t.key << identity->name;
    return t;
}

QVector<ColumnInfo> columnsOf(const Select& select) {
    QVector<ColumnInfo> columns;
    for (const SourceColumn& s : select.resultColumns) {
        ColumnInfo c;
        c.name = s.name;
        c.type = s.type;
        c.typeName = !s.typeName.isEmpty() ? s.typeName : typeNameOf(s.type);
        c.computed = !s.plain;
        columns.push_back(c);
    }
    return columns;
}

}  // namespace

void Catalog::load(const QString& tsqlScript) {
    std::vector<StmtPtr> statements = parseBatch(tsqlScript);
    for (const StmtPtr& s : statements)
        if (s->kind == Stmt::Kind::CreateTable)
            addTable(tableFromDefinition(static_cast<const CreateTableStmt&>(*s)));

    // Views and functions may use each other in any order: the second round
    // sees everything the first one found.
    for (int round = 0; round < 2; ++round) {
        for (StmtPtr& s : statements) {
            if (s->kind == Stmt::Kind::CreateView) {
                const auto& view = static_cast<const CreateViewStmt&>(*s);
                SelectPtr select = clone(*view.select);
                inlineFunctions(*select, *this);
                Analyzer(*this).analyzeSelect(*select);
                TableInfo t;
                t.name = view.name;
                t.isView = true;
                t.columns = columnsOf(*select);
                for (int i = 0; i < view.columns.size() && i < t.columns.size(); ++i)
                    t.columns[i].name = view.columns[i];
                addTable(std::move(t));
            } else if (s->kind == Stmt::Kind::CreateFunction) {
                auto& def = static_cast<CreateFunctionStmt&>(*s);
                FunctionInfo f;
                if (const FunctionInfo* known = function(def.name)) f = *known;
                f.name = def.name;
                f.returnsTable = def.returnsTable;
                f.returnType = def.returnType.type;
                f.returnTypeName = def.returnType.text();
                f.params.clear();
                for (const FunctionParamDef& p : def.params)
                    f.params.push_back({p.name, p.type.text(), p.type.type});
                if (!f.body) {
                    if (def.select)
                        f.body = std::shared_ptr<const Node>(clone(*def.select));
                    else
                        f.body = std::shared_ptr<const Node>(clone(*def.expr));
                }
                if (f.returnsTable) {
                    SelectPtr select = clone(*def.select);
                    inlineFunctions(*select, *this);
                    Analyzer analyzer(*this);
                    for (const FunctionParamDef& p : def.params)
                        analyzer.setVariable(p.name, p.type.type, displayScale(p.type));
                    analyzer.analyzeSelect(*select);
                    f.columns = columnsOf(*select);
                }
                addFunction(std::move(f));
            }
        }
    }
}

}  // namespace md::sql
