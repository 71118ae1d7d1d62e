// libFuzzer target for the T-SQL translator. Any input either fails to translate
// with ETranslateError, or every statement it gives prepares on SQLite with the
// fixture schema, unless SQLite refuses a name or a use that T-SQL refuses too
// (an unknown table, a wrong argument count). Anything else is a translator bug.
#include <sqlite3.h>

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "errors.h"
#include "tsql/catalog.h"
#include "tsql/sqliteruntime.h"
#include "tsql/translator.h"

namespace {

QString fixtureSchema() {
    QFile file(QStringLiteral(MD_TEST_DATA_DIR "/golden/fixture_schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the fixture schema\n");
        std::abort();
    }
    return QString::fromUtf8(file.readAll());
}

struct Fixture {
    std::shared_ptr<md::sql::Catalog> catalog = std::make_shared<md::sql::Catalog>();
    sqlite3* db = nullptr;

    Fixture() {
        const QString schema = fixtureSchema();
        catalog->load(schema);
        sqlite3_open(":memory:", &db);
        md::sql::registerSqliteRuntime(db);
        md::sql::Translator translator(md::sql::Dialect::SQLite, catalog);
        for (const md::sql::Statement& s : translator.translate(schema)->statements)
            if (!s.sql.isEmpty())
                sqlite3_exec(db, s.sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
};

// Refusals that T-SQL would give as well: names the schema lacks, uses that
// are wrong in either dialect, and SQLite's size limits.
bool acceptableRefusal(const char* message) {
    static const char* const kAccepted[] = {
        "no such ",
        "unknown column",
        "ambiguous column name",
        "wrong number of arguments",
        "misuse of aggregate",
        "aggregate functions are not allowed",
        "ORDER BY term",
        "GROUP BY term",
        "term out of range",
        "do not have the same number of result columns",
        "sub-select returns",
        "only a single result allowed",
        "no tables specified",
        "has no column named",
        "values were supplied",
        "values for",
        "VALUES must have",
        "already exists",
        "duplicate column name",
        "more than one primary key",
        "use DROP",
        "may not be",
        "reserved for internal use",
        "non-deterministic",
        "variable number",
        "too many",
        "too big",
        "Expression tree is too large",
        "parser stack overflow",
        "ON clause references tables to its right",
        "is not constant",
        "DISTINCT aggregates must have exactly one",
        "there is already",
        "default value of column",
        "cannot join",
        "circularly defined",
        "RIGHT and FULL OUTER JOINs",
        "cannot use",
        "unknown database",
        "is not a function",
        "prohibited in",
        "AUTOINCREMENT is only allowed",
        "HAVING clause on a non-aggregate",
    };
    for (const char* accepted : kAccepted)
        if (std::strstr(message, accepted)) return true;
    return false;
}

void checkBatch(const Fixture& fixture, const QString& text) {
    // A fresh translator: every input is parsed and printed, not looked up.
    md::sql::Translator translator(md::sql::Dialect::SQLite, fixture.catalog);
    std::shared_ptr<const md::sql::Batch> batch;
    try {
        batch = translator.translate(text);
    } catch (const ETranslateError&) {
        return;
    }
    for (const md::sql::Statement& s : batch->statements) {
        if (s.sql.isEmpty()) continue;
        const QByteArray sql = s.sql.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const int rc =
            sqlite3_prepare_v2(fixture.db, sql.constData(), int(sql.size()), &stmt, &tail);
        if (rc != SQLITE_OK) {
            const char* message = sqlite3_errmsg(fixture.db);
            if (acceptableRefusal(message)) continue;
            std::fprintf(stderr, "SQLite refused the translation: %s\nT-SQL: %s\nSQLite: %s\n",
                         message, qPrintable(s.tsql), sql.constData());
            std::abort();
        }
        // One statement per translation, and no placeholder beyond the parameters.
        const bool oneStatement = tail && *tail == 0;
        const bool paramsFit = sqlite3_bind_parameter_count(stmt) <= s.params.size();
        sqlite3_finalize(stmt);
        if (!oneStatement || !paramsFit) {
            std::fprintf(stderr, "bad translation (%s)\nT-SQL: %s\nSQLite: %s\n",
                         oneStatement ? "placeholders" : "several statements", qPrintable(s.tsql),
                         sql.constData());
            std::abort();
        }
    }
}

}  // namespace

// Inputs are read like the golden files, the seed corpus: batches separated by
// lines "GO", "{CR}" standing for a lone carriage return.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Fixture fixture;
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    text.replace(QLatin1String("{CR}"), QLatin1String("\r"));
    QString batch;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0) {
            checkBatch(fixture, batch);
            batch.clear();
        } else {
            batch += line + QLatin1Char('\n');
        }
    }
    checkBatch(fixture, batch);
    return 0;
}
