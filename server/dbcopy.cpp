#include "dbcopy.h"

#include "backend.h"
#include "serverdb.h"

namespace md::server {

namespace {

QString quoted(const QString& name, md::sql::Dialect dialect) {
    // PostgreSQL keeps the schema's names in lower case (see the printer).
    const QString n = dialect == md::sql::Dialect::PostgreSQL ? name.toLower() : name;
    return QLatin1Char('"') + QString(n).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString placeholder(int i, md::sql::Dialect dialect) {
    switch (dialect) {
        case md::sql::Dialect::PostgreSQL:
            return QStringLiteral("$%1").arg(i + 1);
        case md::sql::Dialect::SQLite:
            return QStringLiteral("?%1").arg(i + 1);
        case md::sql::Dialect::SqlServer:
            break;
    }
    return QStringLiteral("?");
}

qint64 countRows(md::data::Backend& backend, const QString& table) {
    ResultTable rows;
    backend.prepare(QStringLiteral("SELECT count(*) FROM ") + quoted(table, backend.dialect()))
        .execute(&rows);
    return rows.rowCount ? rows.at(0, 0).toLongLong() : 0;
}

// A row the target refused: where it is and why.
struct RefusedRow {
    QString table;
    QString where;  // the key's values, else the row's number
    QString reason;
};

// Rows go from the source's statement into the target's prepared insert, a
// chunk at a time inside a savepoint. A chunk the target refuses is sent again
// row by row, so that every row it cannot take is found and the others are
// still tried: the copy reports them all instead of stopping at the first.
class CopySink : public RowSink {
  public:
    CopySink(md::data::Backend& target, md::data::PreparedStatement& insert,
             const md::sql::TableInfo& table, std::vector<RefusedRow>& refused)
        : m_target(target), m_insert(insert), m_table(table), m_refused(refused) {
        for (const QString& key : table.key) m_keyColumns << table.columnIndex(key);
    }
    void setColumns(const QVector<ColumnMeta>&) override {}
    QVariant* appendRow() override {
        if (m_chunk.size() == kChunkRows) flush();
        m_chunk.emplace_back(m_table.columns.size());
        return m_chunk.back().data();
    }
    void flush() {
        if (m_chunk.empty()) return;
        m_target.savepoint(QStringLiteral("md_copy_chunk"));
        try {
            for (const QVector<QVariant>& row : m_chunk) insert(row);
            m_target.releaseSavepoint(QStringLiteral("md_copy_chunk"));
        } catch (const EDatabaseError&) {
            m_target.rollbackToSavepoint(QStringLiteral("md_copy_chunk"));
            m_target.releaseSavepoint(QStringLiteral("md_copy_chunk"));
            for (std::size_t i = 0; i < m_chunk.size(); ++i) insertAlone(m_chunk[i], i);
        }
        m_rowsSent += qint64(m_chunk.size());
        m_chunk.clear();
    }

    qint64 copied() const { return m_rowsSent; }  // rows sent, refused ones included

  private:
    static constexpr std::size_t kChunkRows = 500;

    void insert(const QVector<QVariant>& row) {
        for (int i = 0; i < row.size(); ++i) m_insert.bind(i, row[i]);
        m_insert.execute(nullptr);
    }
    void insertAlone(const QVector<QVariant>& row, std::size_t index) {
        m_target.savepoint(QStringLiteral("md_copy_row"));
        try {
            insert(row);
        } catch (const EDatabaseError& e) {
            m_target.rollbackToSavepoint(QStringLiteral("md_copy_row"));
            QStringList key;
            for (int c : m_keyColumns)
                if (c >= 0) key << m_table.columns[c].name + QLatin1Char('=') + row[c].toString();
            m_refused.push_back(
                {m_table.name,
                 key.isEmpty() ? QStringLiteral("第 %1 行").arg(m_rowsSent + qint64(index) + 1)
                               : key.join(QStringLiteral(", ")),
                 e.message().section(QLatin1Char('\n'), 0, 0)});
        }
        m_target.releaseSavepoint(QStringLiteral("md_copy_row"));
    }

    md::data::Backend& m_target;
    md::data::PreparedStatement& m_insert;
    const md::sql::TableInfo& m_table;
    std::vector<RefusedRow>& m_refused;
    QVector<int> m_keyColumns;
    std::vector<QVector<QVariant>> m_chunk;
    qint64 m_rowsSent = 0;
};

// The message for rows the target refused: every one of them, the first
// hundred in full.
QString refusedRowsText(const std::vector<RefusedRow>& refused) {
    QStringList lines;
    for (std::size_t i = 0; i < refused.size() && i < 100; ++i)
        lines << QStringLiteral("表 %1（%2）：%3")
                     .arg(refused[i].table, refused[i].where, refused[i].reason);
    if (refused.size() > 100) lines << QStringLiteral("……另有 %1 行").arg(refused.size() - 100);
    return QStringLiteral(
               "有 %1 行目标数据库不能接受，复制已撤销，目标数据库没有任何改动。"
               "请在源数据库中改正这些行后再复制：\n")
               .arg(refused.size()) +
           lines.join(QLatin1Char('\n'));
}

}  // namespace

QStringList existingTables(TRemoteUdpConnection& connection) {
    ResultTable rows;
    md::data::Backend& backend = connection.backend();
    switch (backend.dialect()) {
        case md::sql::Dialect::PostgreSQL:
            backend
                .prepare(QStringLiteral(
                    "SELECT tablename FROM pg_tables WHERE schemaname = current_schema() "
                    "ORDER BY tablename"))
                .execute(&rows);
            break;
        case md::sql::Dialect::SQLite:
            backend
                .prepare(QStringLiteral(
                    "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                    "'sqlite%' ORDER BY name"))
                .execute(&rows);
            break;
        case md::sql::Dialect::SqlServer:
            backend.prepare(QStringLiteral("select name from sys.tables order by name"))
                .execute(&rows);
            break;
    }
    QStringList names;
    for (int r = 0; r < rows.rowCount; ++r) names << rows.at(r, 0).toString();
    return names;
}

CopyReport copyDatabase(const ConnectionSettings& from, const ConnectionSettings& to,
                        const std::function<void(const QString&)>& progress) {
    auto say = [&](const QString& text) {
        if (progress) progress(text);
    };
    TRemoteUdpConnection source;
    openDatabase(source, from, /*create=*/false);
    if (!hasSchema(source))
        throw EDatabaseError(QStringLiteral("源数据库没有本系统的数据表：%1").arg(from.database));
    TRemoteUdpConnection target;
    openDatabase(target, to, /*create=*/false);
    const QStringList present = existingTables(target);
    if (!present.isEmpty())
        throw EDatabaseError(
            QStringLiteral(
                "目标数据库不是空的（已有 %1 个表，例如 %2），为免覆盖数据，没有复制任何内容。")
                .arg(present.size())
                .arg(present.mid(0, 3).join(QStringLiteral(", "))));

    md::data::Backend& in = source.backend();
    md::data::Backend& out = target.backend();
    CopyReport report;
    std::vector<RefusedRow> refused;
    TRemoteUdpConnection::Unit unit(target);
    say(QStringLiteral("创建数据库结构……"));
    target.ExecSQL(objects()->schemaScript);
    for (const md::sql::TableInfo* table : objects()->catalog->tables()) {
        if (table->isView) continue;
        QStringList inColumns, outColumns, placeholders;
        for (int i = 0; i < table->columns.size(); ++i) {
            inColumns << quoted(table->columns[i].name, in.dialect());
            outColumns << quoted(table->columns[i].name, out.dialect());
            placeholders << placeholder(i, out.dialect());
        }
        md::data::PreparedStatement& insert = out.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quoted(table->name, out.dialect()), outColumns.join(QStringLiteral(", ")),
                     placeholders.join(QStringLiteral(", "))));
        CopySink sink(out, insert, *table, refused);
        const std::size_t refusedBefore = refused.size();
        try {
            in.prepare(
                  QStringLiteral("SELECT %1 FROM %2")
                      .arg(inColumns.join(QStringLiteral(", ")), quoted(table->name, in.dialect())))
                .execute(&sink);
            sink.flush();
        } catch (const EDatabaseError& e) {
            throw EDatabaseError(
                QStringLiteral("复制表 %1 时出错：%2").arg(table->name, e.message()));
        }
        if (refused.size() > refusedBefore) {
            say(QStringLiteral("%1\t%2 行不能复制")
                    .arg(table->name)
                    .arg(refused.size() - refusedBefore));
            continue;
        }
        // Identity values were copied as they were: the sequence goes on after them.
        if (const md::sql::ColumnInfo* identity = table->identityColumn();
            identity && out.dialect() == md::sql::Dialect::PostgreSQL && sink.copied() > 0) {
            const QString t = quoted(table->name, out.dialect());
            const QString c = quoted(identity->name, out.dialect());
            ResultTable ignored;
            out.prepare(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), (SELECT "
                                       "max(%3) FROM %4))")
                            .arg(table->name.toLower(), identity->name.toLower(), c, t))
                .execute(&ignored);
        }
        CopyReport::Table counted{table->name, countRows(in, table->name),
                                  countRows(out, table->name)};
        say(QStringLiteral("%1\t%2 行").arg(counted.name).arg(counted.targetRows));
        if (counted.sourceRows != counted.targetRows)
            throw EDatabaseError(
                QStringLiteral("表 %1 的行数不一致：源 %2 行，目标 %3 行。复制已撤销。")
                    .arg(counted.name)
                    .arg(counted.sourceRows)
                    .arg(counted.targetRows));
        report.tables.push_back(counted);
    }
    if (!refused.empty()) throw EDatabaseError(refusedRowsText(refused));
    // The source was brought to this build's schema when it was opened; the
    // copy is of that schema whatever row the source's version table held.
    recordSchemaVersion(target);
    unit.commit();
    return report;
}

}  // namespace md::server
