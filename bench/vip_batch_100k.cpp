// 批量发放 of 100,000 VIP cards in one batch: the member window's issue (the
// cards already there read over the range, one new row per card, one
// UpdateBatch), against the raw sqlite3 API inserting the same rows into the
// same table with one prepared statement in one transaction.
#include <sqlite3.h>

#include <QApplication>
#include <string>

#include "benchutil.h"
#include "members/frm_VipBatch.h"
#include "members/frm_vipcard.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

// The columns the member window's insert writes, in its order.
const char* const kColumns =
    "vipid,begaindate,enddate,name,sex,birthdate,height,weight,shoesize,tel,email,address,remark,"
    "engname,idcard,workname,workaddres,earning,mobiletel,encryptvip,frocksize,downsize,leibie,"
    "waistline,clientid,groupname,vipgrade,amount";

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int cards = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString file = md::bench::scratchFile(QStringLiteral("vip_batch.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    exec(db,
         "insert into ba_viplb(viplbid,vipLBname,integrals,discount,consumeamount,integralscount) "
         "values('1001','普通会员',1,0.95,100,1),('1002','金卡会员',2,0.85,100,3)");
    exec(db,
         "insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod) values('K1',' ',"
         "'S0101','雅韵杭州湖滨银泰店','湖滨银泰店','自营')");
    exec(db,
         "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,finused) "
         "values('S0101','早班','09:00:00','17:00:00',1)");
    // A shop's members already there, none of them in the batch's range.
    exec(db, "begin");
    for (int i = 1; i <= 2000; ++i) {
        const std::string sql =
            "insert into dt_vipcard(vipid,name,begaindate,enddate,vipgrade,"
            "clientid,amount) values('V" +
            std::to_string(100000 + i) + "','会员','2024-01-01','2026-12-31','1001','S0101',0)";
        exec(db, sql.c_str());
    }
    exec(db, "commit");

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_vipcard");
    md::Session().Connection = &connection;
    md::Shared().ClientScopeAll = true;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    TVipBatchRequest request;
    request.beginDate = QStringLiteral("2025-01-01");
    request.endDate = QStringLiteral("2027-12-31");
    request.grade = QStringLiteral("1002");
    request.shop = QStringLiteral("S0101");
    request.startText = QStringLiteral("0000001");
    request.first = 1;
    request.last = cards;
    request.prefix = QStringLiteral("YB");

    auto removeIssued = [&] { exec(db, "delete from dt_vipcard where vipid like 'YB%'"); };
    auto issuedCount = [&] {
        ResultTable n;
        connection.OpenSQL(QStringLiteral("select count(*) from dt_vipcard where vipid like 'YB%'"),
                           n);
        return n.at(0, 0).toInt();
    };

    auto ourRun = [&]() -> double {
        removeIssued();
        Tfrm_vipcard* form = md::ui::CreateForm<Tfrm_vipcard>();
        form->resize(900, 600);
        form->show();
        QCoreApplication::processEvents();
        int issued = 0;
        const double seconds = md::bench::timeIt([&] { issued = form->IssueCards(request); });
        if (issued != cards || issuedCount() != cards) {
            std::fprintf(stderr, "issued %d of %d cards\n", issuedCount(), cards);
            std::exit(1);
        }
        form->Close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return seconds;
    };

    // The same rows: number, dates, empty name, nothing else but shop,
    // category and points.
    std::vector<std::string> numbers;
    numbers.reserve(std::size_t(cards));
    for (int n = 1; n <= cards; ++n) numbers.push_back(request.cardNumber(n).toStdString());
    auto baseRun = [&]() -> double {
        removeIssued();
        const double seconds = md::bench::timeIt([&] {
            std::string sql = std::string("insert into dt_vipcard(") + kColumns + ") values(";
            for (int i = 1; i <= 28; ++i) sql += (i > 1 ? ",?" : "?") + std::to_string(i);
            sql += ")";
            sqlite3_stmt* st = nullptr;
            md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
            exec(db, "begin immediate");
            for (const std::string& number : numbers) {
                sqlite3_bind_text(st, 1, number.data(), int(number.size()), SQLITE_STATIC);
                sqlite3_bind_text(st, 2, "2025-01-01", -1, SQLITE_STATIC);
                sqlite3_bind_text(st, 3, "2027-12-31", -1, SQLITE_STATIC);
                sqlite3_bind_text(st, 4, "", 0, SQLITE_STATIC);
                for (int i = 5; i <= 24; ++i) sqlite3_bind_null(st, i);
                sqlite3_bind_text(st, 25, "S0101", -1, SQLITE_STATIC);
                sqlite3_bind_null(st, 26);
                sqlite3_bind_text(st, 27, "1002", -1, SQLITE_STATIC);
                sqlite3_bind_int(st, 28, 0);
                if (sqlite3_step(st) != SQLITE_DONE)
                    md::bench::checkSqlite(sqlite3_errcode(db), db);
                sqlite3_reset(st);
            }
            exec(db, "commit");
            sqlite3_finalize(st);
        });
        if (issuedCount() != cards) {
            std::fprintf(stderr, "baseline inserted %d of %d cards\n", issuedCount(), cards);
            std::exit(1);
        }
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(3, ourRun, baseRun);
    md::bench::report("vip_batch_100k", best.ours, best.base,
                      QStringLiteral("cards=%1").arg(cards));
    return 0;
}
