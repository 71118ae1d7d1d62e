#include "tsql/translator.h"

#include <QHash>

#include "errors.h"
#include "tsql/dialect.h"
#include "tsql/inline.h"
#include "tsql/parser.h"
#include "tsql/sema.h"
#include "tsql/shapecache.h"

namespace md::sql {

using namespace ast;

// Translations by text. Two generations bound the memory without bookkeeping on
// every hit: when the current one is full it becomes the previous one, and a
// hit there moves the entry back into the current one.
struct Translator::Cache {
    static constexpr int kGenerationSize = 4096;
    QHash<QString, std::shared_ptr<const Batch>> current;
    QHash<QString, std::shared_ptr<const Batch>> previous;
    std::unique_ptr<DialectWriter> writer;
    std::unique_ptr<ShapeCache> shapes;  // SQLite only

    void insert(const QString& text, const std::shared_ptr<const Batch>& batch) {
        if (current.size() >= kGenerationSize) {
            previous = std::move(current);
            current = {};
            current.reserve(kGenerationSize);
        }
        current.insert(text, batch);
    }
};

namespace {

ExecArg execArg(const Expr& e, DialectWriter& writer) {
    ExecArg arg;
    switch (e.kind) {
        case ExprKind::String:
            arg.value = e.text;
            break;
        case ExprKind::Number: {
            bool ok = false;
            const qlonglong n = e.text.toLongLong(&ok);
            arg.value = ok ? QVariant(n) : QVariant(e.text.toDouble());
            break;
        }
        case ExprKind::Null:
            break;
        case ExprKind::Param:
            arg.kind = ExecArg::Kind::Param;
            arg.paramName = e.text;
            break;
        default:
            arg.kind = ExecArg::Kind::Expression;
            arg.expression = writer.printExpression(e);
            break;
    }
    return arg;
}

QVector<ResultColumn> resultColumns(const Select& select) {
    QVector<ResultColumn> columns;
    if (!select.resultKnown) return columns;
    for (const SourceColumn& c : select.resultColumns) columns.push_back({c.name, c.type, c.plain});
    return columns;
}

QString firstTable(const Select& select) {
    if (select.from.empty()) return {};
    const TableRef* ref = select.from.front().get();
    while (ref->kind == TableRef::Kind::Join) ref = ref->left.get();
    if (ref->kind != TableRef::Kind::Table) return {};
    if (!ref->table) return ref->name;
    return ref->table->isView ? QString() : ref->table->name;
}

}  // namespace

namespace {
std::shared_ptr<const Batch> translateBatch(const QString& tsql, const Catalog& catalog,
                                            DialectWriter& writer);
}  // namespace

Translator::Translator(Dialect dialect, std::shared_ptr<const Catalog> catalog)
    : m_dialect(dialect),
      m_catalog(catalog ? std::move(catalog) : std::make_shared<Catalog>()),
      m_cache(std::make_unique<Cache>()) {
    // A dialect is a DialectWriter (dialect.h): its rewrites and its printer.
    if (dialect == Dialect::SQLite)
        m_cache->writer = makeSqliteWriter();
    else if (dialect == Dialect::PostgreSQL)
        m_cache->writer = makePostgresWriter();
    else if (dialect == Dialect::SqlServer)
        m_cache->writer = makeSqlServerWriter();
    if (dialect == Dialect::SQLite) {
        m_cache->shapes = std::make_unique<ShapeCache>(
            [this](const QString& text) { return translate(text); },
            [this](const QString& text) -> std::shared_ptr<const Batch> {
                return translateBatch(text, *m_catalog, *m_cache->writer);
            });
        bool ok = false;
        const int from = qEnvironmentVariableIntValue("MD_SHAPE_REUSE_FROM", &ok);
        if (ok) m_cache->shapes->setReuseFrom(from);
    }
}

Translator::~Translator() = default;

namespace {

// The translation proper, kept out of the cache lookup's way.
[[gnu::noinline]] std::shared_ptr<const Batch> translateBatch(const QString& tsql,
                                                              const Catalog& catalog,
                                                              DialectWriter& writer) {
    // The whole batch is translated before anything is returned: a statement
    // that fails leaves nothing of the batch to run.
    std::vector<StmtPtr> parsed = parseBatch(tsql);
    auto batch = std::make_shared<Batch>();
    for (StmtPtr& node : parsed) {
        if (node->kind == Stmt::Kind::Drop && static_cast<DropStmt&>(*node).names.size() > 1) {
            // One statement per dropped object.
            auto& drop = static_cast<DropStmt&>(*node);
            for (const QString& name : drop.names) {
                Statement s;
                s.kind = Statement::Kind::Ddl;
                s.tsql = tsql.mid(node->beginOffset, node->endOffset - node->beginOffset);
                DropStmt one;
                one.what = drop.what;
                one.ifExists = drop.ifExists;
                one.names << name;
                s.sql = writer.print(one, nullptr);
                batch->statements.push_back(std::move(s));
            }
            continue;
        }
        Statement s;
        s.tsql = tsql.mid(node->beginOffset, node->endOffset - node->beginOffset);
        s.params = node->params;
        inlineFunctions(*node, catalog);
        Analyzer(catalog).analyzeStatement(*node);
        switch (node->kind) {
            case Stmt::Kind::Select: {
                const Select& select = *static_cast<SelectStmt&>(*node).select;
                s.kind = Statement::Kind::Select;
                s.returnsRows = true;
                s.columns = resultColumns(select);
                s.sourceTable = firstTable(select);
                break;
            }
            case Stmt::Kind::Insert: {
                const auto& insert = static_cast<InsertStmt&>(*node);
                s.kind = Statement::Kind::Insert;
                s.targetTable = insert.info ? insert.info->name : insert.table;
                break;
            }
            case Stmt::Kind::Update: {
                const auto& update = static_cast<UpdateStmt&>(*node);
                s.kind = Statement::Kind::Update;
                s.targetTable = update.info ? update.info->name : update.targetTable;
                break;
            }
            case Stmt::Kind::Delete: {
                const auto& remove = static_cast<DeleteStmt&>(*node);
                s.kind = Statement::Kind::Delete;
                s.targetTable = remove.info ? remove.info->name : remove.targetTable;
                break;
            }
            case Stmt::Kind::Exec: {
                const auto& exec = static_cast<ExecStmt&>(*node);
                s.kind = Statement::Kind::Exec;
                s.procedure = exec.procedure;
                for (const ExprPtr& arg : exec.args) s.args.push_back(execArg(*arg, writer));
                break;
            }
            default:
                s.kind = Statement::Kind::Ddl;
                break;
        }
        QStringList companions;
        if (s.kind != Statement::Kind::Exec) {
            writer.rewrite(*node);
            s.sql = writer.printStatement(*node, s.tsql, &s.placeholderOrder);
            if (s.kind == Statement::Kind::Ddl) companions = writer.printCompanions(*node);
        }
        const QString written = s.tsql;
        batch->statements.push_back(std::move(s));
        for (const QString& sql : companions) {
            Statement companion;
            companion.kind = Statement::Kind::Ddl;
            companion.tsql = written;
            companion.sql = sql;
            batch->statements.push_back(std::move(companion));
        }
    }
    return batch;
}

}  // namespace

std::shared_ptr<const Batch> Translator::translate(const QString& tsql) const {
    if (auto it = m_cache->current.constFind(tsql); it != m_cache->current.constEnd())
        return it.value();
    if (auto it = m_cache->previous.constFind(tsql); it != m_cache->previous.constEnd()) {
        std::shared_ptr<const Batch> batch = it.value();
        m_cache->insert(tsql, batch);
        return batch;
    }
    if (!m_cache->writer) throw EDatabaseError(QStringLiteral("尚不能为这种数据库翻译 SQL 语句。"));
    std::shared_ptr<const Batch> batch = translateBatch(tsql, *m_catalog, *m_cache->writer);
    m_cache->insert(tsql, batch);
    return batch;
}

std::shared_ptr<const Batch> Translator::translateToRun(const QString& tsql) const {
    if (!m_cache->shapes) return translate(tsql);
    return m_cache->shapes->batchToRun(tsql);
}

}  // namespace md::sql
