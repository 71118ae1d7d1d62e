#include "schemaupgrade.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <optional>

#include "backend.h"
#include "serverdb.h"
#include "sqlitebackend.h"
#include "tsql/parser.h"

namespace md::server {

namespace {

using When = UpgradeStep::When;

// The indexes over text were built in the order of SQLite's own NOCASE, which
// the connection now replaces (sqlitecollation.h): they are built again.
void collateAndNumberGoods(TRemoteUdpConnection& connection) {
    if (connection.dialect() == md::sql::Dialect::SQLite)
        connection.backend().executeScript(QStringLiteral("REINDEX NOCASE"));
    connection.ExecSQL(
        QStringLiteral("update goods set goodsno=left(replace(convert(varchar(36),newid()),'-',''),"
                       "12) where isnull(goodsno,'')=''"));
}

// One line per change of the schema, numbered on from the first build's 1; the
// last number is the schema's version. tsql runs through the connection's
// translation, which knows only the current schema; run gets the connection,
// for dialect text through its backend. BeforeStructure steps see the old
// tables (renames: in C++, as they name what the schema no longer has),
// AfterStructure steps the new ones (backfills).
const UpgradeStep kUpgradeSteps[] = {
    {2, When::AfterStructure, nullptr, nullptr},  // md_schemaversion: the comparison adds it
    {3, When::AfterStructure, nullptr, nullptr},  // md_loginfailure: the comparison adds it
    // SQLite compares text by the database's collation (pinyin order, trailing
    // blanks ignored); goods from sample styles get the GoodsNo the goods form
    // addresses them by.
    {4, When::AfterStructure, nullptr, collateAndNumberGoods},
    {5, When::AfterStructure, nullptr, nullptr},  // SQLite's checks: the comparison makes them
    // Punches and wages, repairs, piece serials and batch tags: new tables and
    // views only, which the comparison adds.
    {6, When::AfterStructure, nullptr, nullptr},
};

// PostgreSQL: two programs opening one old database upgrade it one after the other.
constexpr qint64 kUpgradeLockKey = 7340045;

ResultTable query(md::data::Backend& backend, const QString& sql) {
    ResultTable rows;
    backend.prepare(sql).execute(&rows);
    return rows;
}

// ---- the schema script, object by object ----------------------------------

struct ScriptColumn {
    QString name;
    QString text;  // its definition as written
    bool hasDefault = false;
    bool needsValue = false;  // not null, no default, no identity
};

struct ScriptObject {
    QString name;
    QString table;  // indexes
    QString text;   // the create statement as written
    QVector<ScriptColumn> columns;
};

struct ScriptSchema {
    QVector<ScriptObject> tables, views, functions, indexes;  // in script order
};

ScriptSchema readScript(const QString& script) {
    using namespace md::sql::ast;
    ScriptSchema schema;
    for (const StmtPtr& s : md::sql::parseBatch(script)) {
        ScriptObject object;
        object.text = script.mid(s->beginOffset, s->endOffset - s->beginOffset);
        switch (s->kind) {
            case Stmt::Kind::CreateTable: {
                const auto& table = static_cast<const CreateTableStmt&>(*s);
                object.name = table.name;
                for (const ColumnDef& c : table.columns)
                    object.columns.push_back(
                        {c.name, script.mid(c.beginOffset, c.endOffset - c.beginOffset),
                         c.defaultValue != nullptr, c.notNull && !c.defaultValue && !c.identity});
                schema.tables.push_back(std::move(object));
                break;
            }
            case Stmt::Kind::CreateView:
                object.name = static_cast<const CreateViewStmt&>(*s).name;
                schema.views.push_back(std::move(object));
                break;
            case Stmt::Kind::CreateFunction:
                object.name = static_cast<const CreateFunctionStmt&>(*s).name;
                schema.functions.push_back(std::move(object));
                break;
            case Stmt::Kind::CreateIndex:
                object.name = static_cast<const CreateIndexStmt&>(*s).name;
                object.table = static_cast<const CreateIndexStmt&>(*s).table;
                schema.indexes.push_back(std::move(object));
                break;
            default:
                break;
        }
    }
    return schema;
}

// ---- what the database holds -----------------------------------------------

// Names in lower case: every backend here compares names ignoring case.
struct DatabaseObjects {
    QSet<QString> tables, views, functions, indexes;
    QHash<QString, QSet<QString>> columns;  // by table

    bool has(const QSet<QString>& set, const QString& name) const {
        return set.contains(name.toLower());
    }
};

// The catalog only knows the current schema, so the database's own catalog is
// read in its own dialect.
DatabaseObjects readObjects(md::data::Backend& backend) {
    DatabaseObjects o;
    auto lower = [](const ResultTable& r, int row, int column) {
        return r.at(row, column).toString().toLower();
    };
    auto addColumns = [&](const ResultTable& r) {
        for (int i = 0; i < r.rowCount; ++i) o.columns[lower(r, i, 0)].insert(lower(r, i, 1));
    };
    switch (backend.dialect()) {
        case md::sql::Dialect::SQLite: {
            const ResultTable objects = query(
                backend, QStringLiteral("SELECT type, name FROM sqlite_master WHERE name NOT LIKE "
                                        "'sqlite%'"));
            for (int i = 0; i < objects.rowCount; ++i) {
                const QString type = lower(objects, i, 0);
                if (type == QLatin1String("table")) o.tables.insert(lower(objects, i, 1));
                if (type == QLatin1String("view")) o.views.insert(lower(objects, i, 1));
                if (type == QLatin1String("index")) o.indexes.insert(lower(objects, i, 1));
            }
            addColumns(query(backend, QStringLiteral("SELECT m.name, p.name FROM sqlite_master m "
                                                     "JOIN pragma_table_info(m.name) p "
                                                     "WHERE m.type = 'table'")));
            break;
        }
        case md::sql::Dialect::PostgreSQL: {
            const ResultTable objects = query(
                backend, QStringLiteral("SELECT c.relname::text, c.relkind::text FROM pg_class c "
                                        "JOIN pg_namespace n ON n.oid = c.relnamespace "
                                        "WHERE n.nspname = current_schema()"));
            for (int i = 0; i < objects.rowCount; ++i) {
                const QString kind = lower(objects, i, 1);
                if (kind == QLatin1String("r") || kind == QLatin1String("p"))
                    o.tables.insert(lower(objects, i, 0));
                if (kind == QLatin1String("v") || kind == QLatin1String("m"))
                    o.views.insert(lower(objects, i, 0));
                if (kind == QLatin1String("i")) o.indexes.insert(lower(objects, i, 0));
            }
            addColumns(query(
                backend,
                QStringLiteral("SELECT c.relname::text, a.attname::text FROM pg_attribute a "
                               "JOIN pg_class c ON c.oid = a.attrelid "
                               "JOIN pg_namespace n ON n.oid = c.relnamespace "
                               "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p') "
                               "AND a.attnum > 0 AND NOT a.attisdropped")));
            break;
        }
        case md::sql::Dialect::SqlServer: {
            const ResultTable objects =
                query(backend, QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE FROM "
                                              "INFORMATION_SCHEMA.TABLES WHERE TABLE_SCHEMA = "
                                              "SCHEMA_NAME()"));
            for (int i = 0; i < objects.rowCount; ++i)
                (lower(objects, i, 1) == QLatin1String("view") ? o.views : o.tables)
                    .insert(lower(objects, i, 0));
            addColumns(query(backend, QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME FROM "
                                                     "INFORMATION_SCHEMA.COLUMNS WHERE "
                                                     "TABLE_SCHEMA = SCHEMA_NAME()")));
            const ResultTable functions = query(
                backend, QStringLiteral("SELECT ROUTINE_NAME FROM INFORMATION_SCHEMA.ROUTINES "
                                        "WHERE ROUTINE_SCHEMA = SCHEMA_NAME() AND ROUTINE_TYPE = "
                                        "'FUNCTION'"));
            for (int i = 0; i < functions.rowCount; ++i) o.functions.insert(lower(functions, i, 0));
            const ResultTable indexes = query(
                backend, QStringLiteral("SELECT i.name FROM sys.indexes i JOIN sys.tables t ON "
                                        "t.object_id = i.object_id WHERE i.name IS NOT NULL AND "
                                        "t.schema_id = SCHEMA_ID()"));
            for (int i = 0; i < indexes.rowCount; ++i) o.indexes.insert(lower(indexes, i, 0));
            break;
        }
    }
    return o;
}

struct Stamp {
    int version = 1;
    QString fingerprint;
};

Stamp readStamp(md::data::Backend& backend) {
    const ResultTable rows = query(
        backend, QStringLiteral("SELECT version, fingerprint FROM md_schemaversion WHERE id = 1"));
    if (rows.rowCount == 0) return {};
    return {rows.at(0, 0).toInt(), rows.at(0, 1).toString()};
}

bool matches(const Stamp& stamp, const SchemaTarget& target) {
    return stamp.version == target.version && stamp.fingerprint == target.fingerprint;
}

[[noreturn]] void refuseNewer(const Stamp& stamp, const SchemaTarget& target) {
    throw EDatabaseError(QStringLiteral("数据库的结构是第 %1 版，比本程序的第 %2 版新，"
                                        "请用新版程序打开。数据库没有任何改动。")
                             .arg(stamp.version)
                             .arg(target.version));
}

// ---- the upgrade ------------------------------------------------------------

// The statements that bring the database's structure to the script's. Views
// go first and come back last: they rest on the tables and functions.
QStringList planStructure(const ScriptSchema& schema, const DatabaseObjects& present,
                          md::sql::Dialect dialect) {
    // Elsewhere the translator inlines the functions; there they are no objects.
    const bool functionsAreObjects = dialect == md::sql::Dialect::SqlServer;
    QStringList plan;
    for (auto view = schema.views.crbegin(); view != schema.views.crend(); ++view)
        if (present.has(present.views, view->name))
            plan << QStringLiteral("drop view ") + view->name;
    if (functionsAreObjects)
        for (const ScriptObject& f : schema.functions)
            if (present.has(present.functions, f.name))
                plan << QStringLiteral("drop function ") + f.name;
    for (const ScriptObject& table : schema.tables) {
        if (!present.has(present.tables, table.name)) {
            plan << table.text;
            continue;
        }
        const QSet<QString> columns = present.columns.value(table.name.toLower());
        for (const ScriptColumn& c : table.columns) {
            if (columns.contains(c.name.toLower())) continue;
            if (c.needsValue)
                throw EDatabaseError(
                    QStringLiteral("表 %1 新增的列 %2 不允许空值，却没有默认值，已有的行无法填写。")
                        .arg(table.name, c.name));
            // SQL Server fills the existing rows with the default only when told.
            plan << QStringLiteral("alter table %1 add %2%3")
                        .arg(table.name, c.text,
                             c.hasDefault ? QStringLiteral(" with values") : QString());
        }
    }
    if (functionsAreObjects)
        for (const ScriptObject& f : schema.functions) plan << f.text;
    for (const ScriptObject& view : schema.views) plan << view.text;
    for (const ScriptObject& index : schema.indexes)
        if (!present.has(present.indexes, index.name)) plan << index.text;
    return plan;
}

// SQLite: the triggers that hold each table's declared lengths and ranges
// (the translation of its create statement adds them) are made again from the
// schema, as the views are, so that columns added since are checked too.
void refreshStorageChecks(TRemoteUdpConnection& connection, const ScriptSchema& schema) {
    md::data::Backend& backend = connection.backend();
    if (backend.dialect() != md::sql::Dialect::SQLite) return;
    const ResultTable triggers = query(
        backend, QStringLiteral("SELECT name, lower(tbl_name) FROM sqlite_master WHERE type = "
                                "'trigger' AND name LIKE 'md\\_check\\_%' ESCAPE '\\'"));
    QSet<QString> schemaTables;
    for (const ScriptObject& table : schema.tables) schemaTables.insert(table.name.toLower());
    for (int i = 0; i < triggers.rowCount; ++i)
        if (schemaTables.contains(triggers.at(i, 1).toString()))
            backend.executeScript(QStringLiteral("DROP TRIGGER \"%1\"")
                                      .arg(triggers.at(i, 0).toString().replace(
                                          QLatin1Char('"'), QLatin1String("\"\""))));
    for (const ScriptObject& table : schema.tables) {
        const auto batch = connection.Translate(table.text);
        for (int i = 1; i < batch->statements.size(); ++i)
            backend.executeScript(batch->statements[i].sql);
    }
}

void runSteps(TRemoteUdpConnection& connection, const SchemaTarget& target, int fromVersion,
              When when) {
    for (const UpgradeStep& step : target.steps) {
        if (step.version <= fromVersion || step.version > target.version || step.when != when)
            continue;
        if (step.tsql) connection.ExecSQL(QString::fromUtf8(step.tsql));
        if (step.run) step.run(connection);
    }
}

// "masterdata.db.v1-20261205-231500.bak" beside the file; a new name every time.
QString backupName(const QString& file, int fromVersion) {
    const QString base =
        QStringLiteral("%1.v%2-%3")
            .arg(file)
            .arg(fromVersion)
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name); ++n) name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

bool isSqliteFile(const TRemoteUdpConnection& connection) {
    const QString& file = connection.settings().database;
    return connection.settings().kind == ConnectionSettings::Kind::SQLite && !file.isEmpty() &&
           file != QLatin1String(":memory:");
}

UpgradeReport skipped(UpgradeReport report, const QString& note) {
    report.outcome = UpgradeReport::Outcome::Skipped;
    report.note = note;
    qWarning("%s", qUtf8Printable(note));
    return report;
}

}  // namespace

QString schemaFingerprint(const QString& script) {
    QString text = script;
    text.remove(QLatin1Char('\r'));
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

const SchemaTarget& currentSchema() {
    static const SchemaTarget target = [] {
        SchemaTarget t;
        t.script = schemaScript();
        t.fingerprint = schemaFingerprint(t.script);
        for (const UpgradeStep& step : kUpgradeSteps) t.steps.push_back(step);
        t.version = t.steps.back().version;
        return t;
    }();
    return target;
}

void recordSchemaVersion(TRemoteUdpConnection& connection, const SchemaTarget& target) {
    TRemoteUdpConnection::Unit unit(connection);
    connection.ExecSQL(QStringLiteral("delete from md_schemaversion"));
    const ParamMap values{{QStringLiteral("version"), target.version},
                          {QStringLiteral("fingerprint"), target.fingerprint}};
    connection.ExecSQL(
        QStringLiteral("insert into md_schemaversion(id,version,fingerprint,upgraded) "
                       "values(1,:version,:fingerprint,getdate())"),
        &values);
    unit.commit();
}

UpgradeReport upgradeSchema(TRemoteUdpConnection& connection, const SchemaTarget& target) {
    UpgradeReport report;
    report.toVersion = target.version;
    if (connection.settings().serverProcedures)
        return skipped(report, QStringLiteral("数据库已有本系统的存储过程，其结构由服务器一方维护，"
                                              "本程序不升级数据库结构。"));
    md::data::Backend& backend = connection.backend();

    // An up-to-date database costs this one query. It fails without the version
    // table: a new database, or the first build's.
    std::optional<Stamp> recorded;
    try {
        recorded = readStamp(backend);
    } catch (const EDatabaseError&) {
    }
    if (recorded) {
        report.fromVersion = recorded->version;
        if (matches(*recorded, target)) {
            report.outcome = UpgradeReport::Outcome::Current;
            return report;
        }
        if (recorded->version > target.version) refuseNewer(*recorded, target);
    }

    TRemoteUdpConnection::Unit unit(connection);
    if (backend.dialect() == md::sql::Dialect::PostgreSQL)
        query(backend, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kUpgradeLockKey));
    DatabaseObjects present;
    try {
        present = readObjects(backend);
    } catch (const EDatabaseError& e) {
        if (backend.dialect() != md::sql::Dialect::SqlServer) throw;
        return skipped(report,
                       QStringLiteral("无法读取数据库的结构（INFORMATION_SCHEMA），没有检查也没有"
                                      "升级数据库结构：%1")
                           .arg(e.message()));
    }
    const ScriptSchema schema = readScript(target.script);
    bool holdsSchema = false;
    for (const ScriptObject& table : schema.tables)
        holdsSchema = holdsSchema || present.has(present.tables, table.name);
    if (!holdsSchema) {
        report.outcome = UpgradeReport::Outcome::NoSchema;
        report.fromVersion = 0;
        return report;
    }
    // Read again under the lock: another program may have upgraded meanwhile.
    const Stamp stamp = present.has(present.tables, QStringLiteral("md_schemaversion"))
                            ? readStamp(backend)
                            : Stamp{};
    report.fromVersion = stamp.version;
    if (matches(stamp, target)) {
        report.outcome = UpgradeReport::Outcome::Current;
        return report;
    }
    if (stamp.version > target.version) refuseNewer(stamp, target);

    try {
        if (isSqliteFile(connection)) {
            if (auto* sqlite = dynamic_cast<md::data::SqliteBackend*>(&backend)) {
                report.backupFile = backupName(
                    QFileInfo(connection.settings().database).absoluteFilePath(), stamp.version);
                sqlite->copyTo(report.backupFile);
            }
        }
        runSteps(connection, target, stamp.version, When::BeforeStructure);
        const DatabaseObjects now = readObjects(backend);
        for (const QString& statement : planStructure(schema, now, backend.dialect()))
            connection.ExecSQL(statement);
        refreshStorageChecks(connection, schema);
        runSteps(connection, target, stamp.version, When::AfterStructure);
        recordSchemaVersion(connection, target);
        unit.commit();
    } catch (const EDatabaseError& e) {
        if (!report.backupFile.isEmpty()) QFile::remove(report.backupFile);
        throw EDatabaseError(QStringLiteral("数据库结构从第 %1 版升级到第 %2 版时出错，"
                                            "所有改动已撤销：\n%3")
                                 .arg(stamp.version)
                                 .arg(target.version)
                                 .arg(e.message()));
    }
    report.outcome = UpgradeReport::Outcome::Upgraded;
    return report;
}

}  // namespace md::server
