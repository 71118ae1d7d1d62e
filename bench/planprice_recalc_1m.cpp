// 参考成本价重算 for 200,000 goods items with 1,000,000 receipts of the head
// warehouse in the period: the real window driven offscreen ("计算" reads
// FN_HousePlanprice into the grid, "更新当前成本" writes every result row into
// planprice, 100,000 updated and 100,000 appended, and gives the new rows
// their goods numbers), against a plain program doing the same in one
// transaction: the translated function query stepped with the raw sqlite3
// API, one prepared update per row and a prepared insert where it found no
// row, and the same translated goods-number update. The opening balances
// are in place beforehand on both sides.
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QPointer>
#include <string>
#include <vector>

#include "benchutil.h"
#include "messages.h"
#include "prices/frm_PlanCac.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

const char* const kOpening = "2026-01-31";
const char* const kEnd = "2026-03-31";

void exec(sqlite3* db, const std::string& sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
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

// goods G000001.. with a tag price; every fourth has no opening balance,
// every tenth balance is uncosted; every second item has a cost row; the
// receipts spread over the goods and the days of February and March.
void makeData(sqlite3* db, int goods, int receipts) {
    exec(db, "BEGIN");
    exec(db,
         "insert into dt_house(fid,fcode,fname,strat_bit) values('H1','CK01','一号仓',0),"
         "('H2','CK02','总仓',1)");
    exec(db, "with recursive n(i) as (select 1 union all select i+1 from n where i<" +
                 std::to_string(goods) +
                 ") insert into goods(goodsid,goodsname,unitprice,goodsno) select "
                 "printf('G%06d',i),'货品'||i,100+i%400,printf('N%06d',i) from n");
    exec(db, "with recursive n(i) as (select 1 union all select i+1 from n where i<" +
                 std::to_string(goods) +
                 ") insert into hstock_planprice(fhousecode,fgoodsid,fdate,fqty,fplanprice) "
                 "select 'CK02',printf('G%06d',i),'" +
                 kOpening +
                 " 00:00:00',10+i%20,case when i%10=0 then 0 else 30+i%50 end from n where "
                 "i%4<>0");
    exec(db, std::string("insert into hstock(fhousecode,stockdate,tablename) values('CK02','") +
                 kOpening + " 00:00:00','hs_ck02')");
    exec(db, "with recursive n(i) as (select 1 union all select i+1 from n where i<" +
                 std::to_string(goods) +
                 ") insert into planprice(fgoodsid,planprice,goodsno) select "
                 "printf('G%06d',i),40,printf('N%06d',i) from n where i%2=0");
    exec(db, "with recursive n(i) as (select 0 union all select i+1 from n where i<" +
                 std::to_string(receipts - 1) +
                 ") insert into d_receving(fbillid,fhousecode,fbilldate,fgoodsid,fcolorid,fqty,"
                 "fprice) select 'RK'||(i/20),'CK02',date('2026-02-01',(i%59)||' days')||' "
                 "00:00:00',printf('G%06d',i%" +
                 std::to_string(goods) + "+1),'01',1+i%9,20+i%60 from n");
    exec(db, "create table planprice_seed as select * from planprice");
    exec(db, "COMMIT");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int goods = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int receipts = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const QString file = md::bench::scratchFile(QStringLiteral("planprice_recalc.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    makeData(db, goods, receipts);
    exec(db, "analyze");

    // What a run leaves in planprice, in one line; then the costs as they were.
    auto outcome = [&]() {
        return text(db,
                    "select count(*)||' '||count(goodsno)||' '||round(sum(planprice),2) "
                    "from planprice");
    };
    auto restore = [&]() {
        exec(db, "delete from planprice; insert into planprice select * from planprice_seed");
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_planprice");
    md::Session().Connection = &connection;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    std::string ourOutcome, baseOutcome;
    QString phases;  // where our time went, last run
    auto ourRun = [&]() -> double {
        QPointer<Tfrm_PlanCac> form = md::ui::CreateForm<Tfrm_PlanCac>();
        form->show();
        QCoreApplication::processEvents();
        form->Combo_date->setCurrentText(QString::fromLatin1(kOpening));
        form->DateEdit_end->setDate(QDate::fromString(QString::fromLatin1(kEnd), Qt::ISODate));
        QElapsedTimer clock;
        auto lap = [&](const char* phase) {
            phases += QStringLiteral(" %1=%2")
                          .arg(QLatin1String(phase))
                          .arg(clock.restart() / 1000.0, 0, 'f', 2);
        };
        phases.clear();
        quiet.clear();
        const double seconds = md::bench::timeIt([&] {
            clock.start();
            form->cac_action->trigger();
            QCoreApplication::processEvents();  // the result shown
            lap("compute");
            form->update_action->trigger();
            lap("adopt");
        });
        if (form->DBmaster_table->RecordCount() != goods ||
            quiet.texts() != QStringList({QStringLiteral(
                                 "更新成功,请重新打开<参考成本价>模块查看当前成本价!")})) {
            std::fprintf(stderr, "%d result rows: %s\n", form->DBmaster_table->RecordCount(),
                         qPrintable(quiet.texts().join(QLatin1Char('\n'))));
            std::exit(1);
        }
        form->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ourOutcome = outcome();
        restore();
        return seconds;
    };

    // The same statements as the backend runs them.
    auto translated = [&](const QString& tsql) {
        return connection.Translate(tsql)->statements.first().sql.toStdString();
    };
    const std::string resultSql =
        translated(QStringLiteral("select * from FN_HousePlanprice('CK02','%1','%2')")
                       .arg(QString::fromLatin1(kOpening), QString::fromLatin1(kEnd)));
    const std::string goodsNoSql = translated(
        QStringLiteral("update planprice set GoodsNo=b.GoodsNo from planprice a join goods b on "
                       "a.fgoodsid=b.goodsid where a.GoodsNo is null"));

    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            exec(db, "BEGIN");
            struct Row {
                std::string goods;
                double cost;
            };
            std::vector<Row> rows;
            sqlite3_stmt* result = nullptr;
            md::bench::checkSqlite(sqlite3_prepare_v2(db, resultSql.c_str(), -1, &result, nullptr),
                                   db);
            while (sqlite3_step(result) == SQLITE_ROW)
                rows.push_back({reinterpret_cast<const char*>(sqlite3_column_text(result, 0)),
                                sqlite3_column_double(result, 7)});
            sqlite3_finalize(result);
            sqlite3_stmt* update = nullptr;
            sqlite3_stmt* insert = nullptr;
            md::bench::checkSqlite(
                sqlite3_prepare_v2(db, "update planprice set planprice=?2 where fgoodsid=?1", -1,
                                   &update, nullptr),
                db);
            md::bench::checkSqlite(
                sqlite3_prepare_v2(db, "insert into planprice(fgoodsid,planprice) values(?1,?2)",
                                   -1, &insert, nullptr),
                db);
            for (const Row& row : rows) {
                sqlite3_bind_text(update, 1, row.goods.data(), int(row.goods.size()),
                                  SQLITE_STATIC);
                sqlite3_bind_double(update, 2, row.cost);
                md::bench::checkSqlite(sqlite3_step(update), db);
                sqlite3_reset(update);
                if (sqlite3_changes(db) > 0) continue;
                sqlite3_bind_text(insert, 1, row.goods.data(), int(row.goods.size()),
                                  SQLITE_STATIC);
                sqlite3_bind_double(insert, 2, row.cost);
                md::bench::checkSqlite(sqlite3_step(insert), db);
                sqlite3_reset(insert);
            }
            sqlite3_finalize(update);
            sqlite3_finalize(insert);
            exec(db, goodsNoSql);
            exec(db, "COMMIT");
        });
        baseOutcome = outcome();
        restore();
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(2, ourRun, baseRun);
    md::Session() = md::SessionContext();
    connection.Close();
    if (ourOutcome != baseOutcome) {
        std::fprintf(stderr, "ours left %s, the baseline %s\n", ourOutcome.c_str(),
                     baseOutcome.c_str());
        return 1;
    }
    md::bench::report("planprice_recalc_1m", best.ours, best.base,
                      QStringLiteral("goods=%1 receipts=%2 rows=%3%4")
                          .arg(goods)
                          .arg(receipts)
                          .arg(QString::fromStdString(ourOutcome))
                          .arg(phases));
    return 0;
}
