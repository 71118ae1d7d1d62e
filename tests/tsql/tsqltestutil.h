#pragma once
// Helpers of the translator's tests: the fixture schema as a catalog, and an
// in-memory SQLite database with that schema on which translated statements run.
#include <sqlite3.h>

#include <QFile>
#include <QHash>
#include <QVariant>
#include <memory>
#include <vector>

#include "errors.h"
#include "tsql/catalog.h"
#include "tsql/sqliteruntime.h"
#include "tsql/translator.h"

namespace md::test {

inline QString readTestFile(const QString& relative) {
    QFile file(QStringLiteral(MD_TEST_DATA_DIR "/") + relative);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

inline std::shared_ptr<md::sql::Catalog> fixtureCatalog() {
    static const QString script = readTestFile(QStringLiteral("golden/fixture_schema.sql"));
    auto catalog = std::make_shared<md::sql::Catalog>();
    catalog->load(script);
    return catalog;
}

using Row = std::vector<QVariant>;
using Rows = std::vector<Row>;

// An in-memory database with the fixture schema, reached only through translation.
class FixtureDb {
  public:
    FixtureDb() : translator(md::sql::Dialect::SQLite, fixtureCatalog()) {
        sqlite3_open(":memory:", &m_db);
        md::sql::registerSqliteRuntime(m_db);
        run(readTestFile(QStringLiteral("golden/fixture_schema.sql")));
    }
    ~FixtureDb() { sqlite3_close(m_db); }
    FixtureDb(const FixtureDb&) = delete;
    FixtureDb& operator=(const FixtureDb&) = delete;

    // Runs a T-SQL batch; returns the rows of the last statement that gave rows.
    // Throws EDatabaseError with SQLite's message when a statement fails.
    Rows run(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        Rows rows;
        for (const md::sql::Statement& s : translator.translate(tsql)->statements) {
            if (s.sql.isEmpty()) continue;
            Rows result = runSql(s, params);
            if (s.returnsRows) rows = std::move(result);
        }
        return rows;
    }

    QVariant scalar(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        const Rows rows = run(tsql, params);
        return rows.empty() || rows.front().empty() ? QVariant() : rows.front().front();
    }

    // Column names SQLite gives the last select's result.
    QStringList lastColumnNames;
    md::sql::Translator translator;

  private:
    Rows runSql(const md::sql::Statement& s, const QHash<QString, QVariant>& params) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = s.sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(m_db)) + QStringLiteral(" in: ") +
                                 s.sql);
        // A parameter of a where clause takes "old.<name>" when given: the value
        // as it was read, as cached updates bind it.
        for (int i = 0; i < s.params.size(); ++i) {
            const QString name = s.params[i].name.toLower();
            const QString old = QStringLiteral("old.") + name;
            bind(stmt, i + 1,
                 s.params[i].inWhere && params.contains(old) ? params.value(old)
                                                             : params.value(name));
        }
        Rows rows;
        lastColumnNames.clear();
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            lastColumnNames << QString::fromUtf8(sqlite3_column_name(stmt, c));
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
                sqlite3_finalize(stmt);
                throw EDatabaseError(message);
            }
            Row row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                    case SQLITE_INTEGER:
                        row.emplace_back(qlonglong(sqlite3_column_int64(stmt, c)));
                        break;
                    case SQLITE_FLOAT:
                        row.emplace_back(sqlite3_column_double(stmt, c));
                        break;
                    case SQLITE_TEXT:
                        row.emplace_back(QString::fromUtf8(
                            reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))));
                        break;
                    default:
                        row.emplace_back();
                        break;
                }
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    static void bind(sqlite3_stmt* stmt, int i, const QVariant& v) {
        if (!v.isValid() || v.isNull()) {
            sqlite3_bind_null(stmt, i);
        } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
                   v.typeId() == QMetaType::Bool) {
            sqlite3_bind_int64(stmt, i, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, i, v.toDouble());
        } else {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(stmt, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }

    sqlite3* m_db = nullptr;
};

}  // namespace md::test
