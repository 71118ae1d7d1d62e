// "自动取数" of the goods colour description list over 200,000 goods with five
// colours each, half of the million pairs described already: the real window
// driven offscreen (the missing-pairs query, one row appended per pair, the
// grid shown, then "保存" sending them in one UpdateBatch), against the same
// translated query read with the raw sqlite3 API and each pair inserted by one
// prepared statement inside one transaction.
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <string>
#include <vector>

#include "benchutil.h"
#include "goods/frm_goodscolor.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

constexpr int kColours = 5;
const char* const kColourCodes[kColours] = {"01", "02", "03", "04", "05"};

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

// Goods G0000001..., five colours each; the pairs whose goods and colour
// numbers have an even sum are described. The user may add goods colours.
void fillDatabase(sqlite3* db, int goods) {
    exec(db, "BEGIN");
    exec(db,
         "insert into ba_color(colorid,colorname_ch) values('01','黑色'),('02','白色'),"
         "('03','红色'),('04','藏青'),('05','卡其')");
    sqlite3_stmt* addGoods = nullptr;
    sqlite3_stmt* addColour = nullptr;
    sqlite3_stmt* describe = nullptr;
    md::bench::checkSqlite(
        sqlite3_prepare_v2(db,
                           "insert into goods(goodsid,goodsname,brand,sort,size_class,unitprice,"
                           "strat) values(?1,?2,'雅韵','T恤','TOPS',199,1)",
                           -1, &addGoods, nullptr),
        db);
    md::bench::checkSqlite(
        sqlite3_prepare_v2(db, "insert into goodscolor(fgoodsid,fcolorid) values(?1,?2)", -1,
                           &addColour, nullptr),
        db);
    md::bench::checkSqlite(
        sqlite3_prepare_v2(db,
                           "insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values(?1,?2,?3)",
                           -1, &describe, nullptr),
        db);
    for (int i = 0; i < goods; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "G%07d", i + 1);
        const std::string name = std::string("休闲衬衫") + std::to_string(i % 997);
        sqlite3_bind_text(addGoods, 1, code, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(addGoods, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        md::bench::checkSqlite(sqlite3_step(addGoods), db);
        sqlite3_reset(addGoods);
        for (int c = 0; c < kColours; ++c) {
            sqlite3_bind_text(addColour, 1, code, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(addColour, 2, kColourCodes[c], -1, SQLITE_STATIC);
            md::bench::checkSqlite(sqlite3_step(addColour), db);
            sqlite3_reset(addColour);
            if ((i + c) % 2 != 0) continue;
            sqlite3_bind_text(describe, 1, code, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(describe, 2, kColourCodes[c], -1, SQLITE_STATIC);
            sqlite3_bind_text(describe, 3, "磨毛", -1, SQLITE_STATIC);
            md::bench::checkSqlite(sqlite3_step(describe), db);
            sqlite3_reset(describe);
        }
    }
    sqlite3_finalize(addGoods);
    sqlite3_finalize(addColour);
    sqlite3_finalize(describe);
    exec(db,
         "insert into usermainde(userno,fgroupid) values('admin','G01');"
         "insert into dr_right(autoid,listname) values(1,'frm_goodscolor');"
         "insert into dr_rightdetail(autoid,groupid,b_add,b_edit,b_del,b_browse) "
         "values(1,'G01',1,1,1,1)");
    exec(db, "COMMIT");
}

qint64 scalar(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const qint64 value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int goods = argc > 1 ? std::atoi(argv[1]) : 200000;
    const QString file = md::bench::scratchFile(QStringLiteral("goodscolor_autofill.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    fillDatabase(db, goods);
    const qint64 describedBefore = scalar(db, "select count(*) from ba_goodscolor");
    const qint64 lastKeyBefore = scalar(db, "select max(fautoid) from ba_goodscolor");
    const qint64 pairs = qint64(goods) * kColours;
    const qint64 missing = pairs - describedBefore;
    const std::string undo =
        "delete from ba_goodscolor where fautoid>" + std::to_string(lastKeyBefore);
    auto checkAllDescribed = [&](const char* side) {
        const qint64 described = scalar(db, "select count(*) from ba_goodscolor");
        if (described != pairs) {
            std::fprintf(stderr, "%s: %lld of %lld pairs described\n", side,
                         static_cast<long long>(described), static_cast<long long>(pairs));
            std::exit(1);
        }
        exec(db, undo.c_str());
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_goodscolor");
    md::Session().Connection = &connection;
    md::Shared().BrandScopeAll = true;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    // Ours: the window as a user has it open (its list read), then "自动取数" and "保存".
    auto ourRun = [&]() -> double {
        QPointer<Tfrm_goodscolor> form = md::ui::CreateForm<Tfrm_goodscolor>();
        form->resize(1000, 700);
        form->show();
        QCoreApplication::processEvents();
        const double seconds = md::bench::timeIt([&] {
            form->find_action->trigger();
            form->post_action->trigger();
            QCoreApplication::processEvents();  // the grid shows the result
        });
        if (form->DBmaster_table->RecordCount() != pairs ||
            form->DBmaster_table->UpdatesPending()) {
            std::fprintf(stderr, "the window lists %d rows\n", form->DBmaster_table->RecordCount());
            std::exit(1);
        }
        form->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        checkAllDescribed("ours");
        return seconds;
    };

    // Baseline: the same statement as the backend runs it, rows read, then one
    // prepared insert per pair in one transaction.
    const QString translated =
        connection.Translate(Tfrm_goodscolor::MissingPairsSQL())->statements.first().sql;
    const QByteArray query = translated.toUtf8();
    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            std::vector<std::pair<std::string, std::string>> found;
            sqlite3_stmt* select = nullptr;
            md::bench::checkSqlite(sqlite3_prepare_v2(db, query.constData(), -1, &select, nullptr),
                                   db);
            while (sqlite3_step(select) == SQLITE_ROW)
                found.emplace_back(
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)),
                                std::size_t(sqlite3_column_bytes(select, 0))),
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 1)),
                                std::size_t(sqlite3_column_bytes(select, 1))));
            sqlite3_finalize(select);
            sqlite3_stmt* insert = nullptr;
            md::bench::checkSqlite(
                sqlite3_prepare_v2(db, "insert into ba_goodscolor(fgoodsid,fcolorid) values(?1,?2)",
                                   -1, &insert, nullptr),
                db);
            exec(db, "BEGIN");
            for (const auto& pair : found) {
                sqlite3_bind_text(insert, 1, pair.first.data(), int(pair.first.size()),
                                  SQLITE_STATIC);
                sqlite3_bind_text(insert, 2, pair.second.data(), int(pair.second.size()),
                                  SQLITE_STATIC);
                md::bench::checkSqlite(sqlite3_step(insert), db);
                sqlite3_reset(insert);
            }
            exec(db, "COMMIT");
            sqlite3_finalize(insert);
        });
        checkAllDescribed("base");
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(2, ourRun, baseRun);
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report("goodscolor_autofill_1m", best.ours, best.base,
                      QStringLiteral("goods=%1 appended=%2").arg(goods).arg(missing));
    return 0;
}
