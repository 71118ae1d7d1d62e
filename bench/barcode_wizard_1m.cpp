// The barcode generation wizard over a million variants without a barcode:
// the demo at a company's size with the barcode rows of its first million
// variants removed, then the real window driven offscreen (the list read from
// FN_barcodecheck(), barcode 1 composed by rule 1 through the mapping tables,
// barcode 2 by rule 3, "确定" appending every row, sending them in one batch
// and setting the goods numbers), against a plain program doing the same in
// one transaction: the translated list query read with the raw sqlite3 API,
// the same codes composed in std::string, one prepared insert per row and the
// same translated goods-number update.
#include <sqlite3.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <unordered_map>
#include <vector>

#include "barcodes/frm_barcodeAdd.h"
#include "benchutil.h"
#include "demo/demodata.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

// Five digits leave seven for serials: room for a million codes.
const char* const kPrefix = "69012";

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

qint64 scalar(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const qint64 value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

std::string text(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    std::string out = value ? value : "";
    sqlite3_finalize(st);
    return out;
}

std::string columnText(sqlite3_stmt* st, int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return value ? std::string(value, std::size_t(sqlite3_column_bytes(st, column)))
                 : std::string();
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string folded(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// A mapping table: folded code -> mapped code, the first row of a code wins.
std::unordered_map<std::string, std::string> readMapping(sqlite3* db, const char* sql) {
    std::unordered_map<std::string, std::string> map;
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    while (sqlite3_step(st) == SQLITE_ROW)
        map.emplace(folded(columnText(st, 0)), columnText(st, 1));
    sqlite3_finalize(st);
    return map;
}

const std::string& mapped(const std::unordered_map<std::string, std::string>& map,
                          const std::string& code) {
    const auto found = map.find(folded(trimmed(code)));
    return found != map.end() && !trimmed(found->second).empty() ? found->second : code;
}

std::string nationalCode(const std::string& prefix, qint64 serial) {
    std::string digits = std::to_string(serial);
    const std::size_t width = 12 - prefix.size();
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    std::string code = (prefix + digits).substr(0, 12);
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (code[std::size_t(i)] - '0') * (i % 2 ? 3 : 1);
    code += char('0' + (10 - sum % 10) % 10);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // About 26 variants per demo goods item: 38,500 items make a million and a bit.
    const int goods = argc > 1 ? std::atoi(argv[1]) : 38500;
    const qint64 variants = argc > 2 ? std::atoll(argv[2]) : 1000000;
    const QString file = md::bench::scratchFile(QStringLiteral("barcode_wizard.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    md::server::createDemoData(connection, goods);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();

    // The first million variants in key order lose their barcode rows; what
    // either side inserts comes after the rows kept and goes again after each run.
    const qint64 stored = scalar(db, "select count(*) from barcode");
    if (stored < variants) {
        std::fprintf(stderr, "the demo has %lld variants, fewer than %lld\n",
                     static_cast<long long>(stored), static_cast<long long>(variants));
        return 1;
    }
    exec(db, ("delete from barcode where rowid in(select rowid from barcode order by "
              "fgoodsid,fcolorid,fsize limit " +
              std::to_string(variants) + ")")
                 .c_str());
    const qint64 keptRowid = scalar(db, "select coalesce(max(rowid),0) from barcode");
    const std::string undo = "delete from barcode where rowid>" + std::to_string(keptRowid);
    const std::string inserted = "from barcode where rowid>" + std::to_string(keptRowid);
    // What a run leaves: its rows, their codes and goods numbers, in one line.
    auto outcome = [&]() {
        return std::to_string(scalar(db, "select count(*) " + inserted)) + " " +
               std::to_string(scalar(db, "select count(goodsno) " + inserted)) + " " +
               text(db, "select min(fbarcode1) " + inserted) + " " +
               text(db, "select max(fbarcode1) " + inserted) + " " +
               text(db, "select min(fbarcode2) " + inserted) + " " +
               text(db, "select max(fbarcode2) " + inserted) + " " +
               text(db, "select fbarcode1||'/'||fbarcode2 " + inserted +
                            " and fgoodsid=(select max(fgoodsid) " + inserted +
                            ") order by fcolorid,fsize limit 1");
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = md::server::demo::kAdminUser;
    md::Session().RightListName = QStringLiteral("frm_barcode");
    md::Session().Connection = &connection;
    md::Shared().NationalCodePrefix = QString::fromLatin1(kPrefix);
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    std::string ourOutcome, baseOutcome;
    QString phases;  // where our time went, last run
    auto ourRun = [&]() -> double {
        QElapsedTimer clock;
        auto lap = [&](const char* phase) {
            phases += QStringLiteral(" %1=%2")
                          .arg(QLatin1String(phase))
                          .arg(clock.restart() / 1000.0, 0, 'f', 2);
        };
        phases.clear();
        const double seconds = md::bench::timeIt([&] {
            clock.start();
            QPointer<Tfrm_barcodeAdd> form = md::ui::CreateForm<Tfrm_barcodeAdd>();
            form->show();  // lists the variants
            QCoreApplication::processEvents();
            lap("list");
            if (form->Query_Check->RecordCount() != variants) {
                std::fprintf(stderr, "the wizard lists %d variants\n",
                             form->Query_Check->RecordCount());
                std::exit(1);
            }
            form->Check_Mapping->setChecked(true);
            form->Radio_Rule1->setChecked(true);
            form->But_Code1->click();
            lap("rule1");
            form->Radio_Rule3->setChecked(true);
            form->But_Code2->click();
            lap("rule3");
            form->But_OK->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            lap("ok");
            if (form) {
                std::fprintf(stderr, "the wizard is still open: %s\n",
                             qPrintable(quiet.texts().join(QLatin1Char('\n'))));
                std::exit(1);
            }
        });
        ourOutcome = outcome();
        exec(db, undo.c_str());
        return seconds;
    };

    // The same statements as the backend runs them.
    auto translated = [&](const QString& tsql) {
        return connection.Translate(tsql)->statements.first().sql.toStdString();
    };
    const std::string countSql = translated(QStringLiteral("select count(*) as fno from barcode"));
    const std::string listSql = translated(QStringLiteral("select * from FN_barcodecheck()"));
    const std::string colourSql = translated(QStringLiteral("select * from barcode_color"));
    const std::string sizeSql = translated(QStringLiteral("select * from barcode_size"));
    const std::string goodsNoSql =
        translated(QStringLiteral("update barcode set goodsno=b.goodsno from barcode a join goods "
                                  "b on a.fgoodsid=b.goodsid"));

    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            exec(db, "BEGIN");
            const qint64 firstSerial = scalar(db, countSql) + 1;
            struct Row {
                std::string goods, colour, size, code1, code2;
            };
            std::vector<Row> rows;
            sqlite3_stmt* list = nullptr;
            md::bench::checkSqlite(sqlite3_prepare_v2(db, listSql.c_str(), -1, &list, nullptr), db);
            while (sqlite3_step(list) == SQLITE_ROW)
                rows.push_back({columnText(list, 0), columnText(list, 1), columnText(list, 2),
                                columnText(list, 3), columnText(list, 4)});
            sqlite3_finalize(list);

            const auto colours = readMapping(db, colourSql.c_str());
            const auto sizes = readMapping(db, sizeSql.c_str());
            qint64 serial = firstSerial;
            for (Row& row : rows) {
                if (!trimmed(row.code1).empty()) continue;
                row.code1 =
                    trimmed(row.goods) + mapped(colours, row.colour) + mapped(sizes, row.size);
                ++serial;
            }
            serial = firstSerial;
            for (Row& row : rows) {
                if (!trimmed(row.code2).empty()) continue;
                row.code2 = nationalCode(kPrefix, serial++);
            }

            sqlite3_stmt* insert = nullptr;
            md::bench::checkSqlite(
                sqlite3_prepare_v2(db,
                                   "insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,"
                                   "fbarcode2) values(?1,?2,?3,?4,?5)",
                                   -1, &insert, nullptr),
                db);
            for (const Row& row : rows) {
                const std::string* values[] = {&row.goods, &row.colour, &row.size, &row.code1,
                                               &row.code2};
                for (int i = 0; i < 5; ++i)
                    sqlite3_bind_text(insert, i + 1, values[i]->data(), int(values[i]->size()),
                                      SQLITE_STATIC);
                md::bench::checkSqlite(sqlite3_step(insert), db);
                sqlite3_reset(insert);
            }
            sqlite3_finalize(insert);
            exec(db, goodsNoSql.c_str());
            exec(db, "COMMIT");
        });
        baseOutcome = outcome();
        exec(db, undo.c_str());
        return seconds;
    };

    const int runs = argc > 3 ? std::atoi(argv[3]) : 2;
    const md::bench::BestTimes best = md::bench::alternate(runs, ourRun, baseRun);
    if (ourOutcome != baseOutcome) {
        std::fprintf(stderr, "the sides differ:\n ours %s\n base %s\n", ourOutcome.c_str(),
                     baseOutcome.c_str());
        return 1;
    }
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report("barcode_wizard_1m", best.ours, best.base,
                      QStringLiteral("goods=%1 variants=%2").arg(goods).arg(variants) + phases);
    return 0;
}
