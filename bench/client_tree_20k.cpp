// Opening the client window over 20,000 clients three levels deep (20 agents,
// 50 sub-agents each, about 19 shops under every sub-agent): the real form
// created offscreen, its lists and master read, the tree built and the list
// page's grid filled, until the window is shown; against the raw sqlite3 API
// running the same translated statements the form runs on opening (master,
// parent look-up, departments, salespersons), a step loop reading every column.
#include <sqlite3.h>

#include <QApplication>
#include <string>

#include "benchutil.h"
#include "grid.h"
#include "messages.h"
#include "partners/frm_client.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"
#include "treelist.h"

namespace {

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

// Agents "A01".., sub-agents "A01B01".., shops "A01B01S01"..; every client with
// the fields a real record carries.
void fillClients(sqlite3* db, int clients) {
    exec(db, "begin");
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(
        sqlite3_prepare_v2(db,
                           "insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,fgrad,"
                           "fprice_type,fareacode,fdeptcode,frpdtmancode,fcontactman,ftel1,ftel2,"
                           "faddres,stratbit,fcredit_type,fcredit,first_amount,ftaxtype,ftaxrate,"
                           "firstcharges,discount1,discount2,discount3,discount4,discount5,"
                           "discount6) values(?,?,?,?,?,?,?,?,'0101','0502','E01',?,?,?,?,1,'是',"
                           "100000,20000,'是',13,0,1,1,1,1,1,1)",
                           -1, &st, nullptr),
        db);
    const int agents = 20, subAgents = 50;
    const int shopCount = clients - agents - agents * subAgents;
    const int shops = shopCount / (agents * subAgents), oneMore = shopCount % (agents * subAgents);
    int made = 0;
    auto add = [&](const std::string& fid, const std::string& parent, const std::string& code,
                   const char* nature, const char* grade) {
        const std::string name = "雅韵服饰" + code + "有限公司";
        const std::string abbrev = "雅韵" + code;
        const std::string address = "浙江省杭州市西湖区文三路" + std::to_string(made) + "号";
        const std::string mobile = std::to_string(13900000000LL + made);
        const std::string values[] = {fid,    parent,          code,   name,
                                      abbrev, nature,          grade,  "按折扣",
                                      "张三", "0571-86012300", mobile, address};
        for (int i = 0; i < 12; ++i)
            sqlite3_bind_text(st, i + 1, values[i].data(), int(values[i].size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) != SQLITE_DONE) md::bench::checkSqlite(sqlite3_errcode(db), db);
        sqlite3_reset(st);
        ++made;
    };
    for (int a = 1; a <= agents && made < clients; ++a) {
        char agent[8];
        std::snprintf(agent, sizeof agent, "A%02d", a);
        add(std::string("K") + agent, " ", agent, "代理", "一级代理");
        for (int b = 1; b <= subAgents && made < clients; ++b) {
            char sub[8];
            std::snprintf(sub, sizeof sub, "B%02d", b);
            const std::string subCode = std::string(agent) + sub;
            add("K" + subCode, std::string("K") + agent, subCode, "代理", "二级代理");
            const int under = shops + ((a - 1) * subAgents + b <= oneMore ? 1 : 0);
            for (int s = 1; s <= under && made < clients; ++s) {
                char shop[8];
                std::snprintf(shop, sizeof shop, "S%02d", s);
                const std::string shopCode = subCode + shop;
                add("K" + shopCode, "K" + subCode, shopCode, "加盟", "经销商");
            }
        }
    }
    sqlite3_finalize(st);
    exec(db,
         "insert into ba_Department(fCode,fparentcode,fName) values('05','0','营运部'),"
         "('0501','05','直营管理部'),('0502','05','加盟管理部'),('06','0','物流部')");
    for (int e = 1; e <= 20; ++e) {
        const std::string sql =
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode,fcacelType) "
            "values('E" +
            std::to_string(e) + "','E" + std::to_string(e) + "','业务员" + std::to_string(e) +
            "','0502'," + std::to_string(e % 5 == 0 ? 0 : 1) + ")";
        exec(db, sql.c_str());
    }
    exec(db, "commit");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int clients = argc > 1 ? std::atoi(argv[1]) : 20000;
    const QString file = md::bench::scratchFile(QStringLiteral("client_tree.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    fillClients(db, clients);

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_client");
    md::Session().Connection = &connection;
    md::Shared().ClientScopeAll = true;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    int ourRows = 0, ourTopLevel = 0;
    auto ourRun = [&] {
        Tfrm_client* form = nullptr;
        const double seconds = md::bench::timeIt([&] {
            form = md::ui::CreateForm<Tfrm_client>();
            form->resize(1040, 660);
            form->show();
            QCoreApplication::processEvents();  // the window as the user first sees it
        });
        ourRows = form->DBmaster_table->RecordCount();
        ourTopLevel = form->dxDBTreeList1->model()->rowCount();
        if (form->GridListView->model()->rowCount() != ourRows) ourRows = -1;
        form->Close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return seconds;
    };

    // The statements the form sends on opening, as the translator hands them to SQLite.
    QList<QByteArray> statements;
    for (const QString& sql :
         {QStringLiteral("select fid,fparentid,fcode,fabbrev,fmathod,fgrad from dt_client"),
          QStringLiteral("select * from ba_Department"),
          QStringLiteral("select a.fcode,fnamech,b.fname as deptname from dbo.Dt_Employee a left "
                         "join  ba_Department b on a.fdeptcode=b.fcode where fcaceltype=1"),
          Tfrm_client::MasterSQL()})
        statements << connection.Translate(sql)->statements.first().sql.toUtf8();

    int baseRows = 0;
    qint64 baseBytes = 0;
    auto baseRun = [&] {
        return md::bench::timeIt([&] {
            baseBytes = 0;
            for (const QByteArray& text : statements) {
                sqlite3_stmt* st = nullptr;
                md::bench::checkSqlite(sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr),
                                       db);
                baseRows = 0;
                const int columns = sqlite3_column_count(st);
                while (sqlite3_step(st) == SQLITE_ROW) {
                    ++baseRows;
                    for (int c = 0; c < columns; ++c) {
                        switch (sqlite3_column_type(st, c)) {
                            case SQLITE_INTEGER:
                                baseBytes += sqlite3_column_int64(st, c) & 1;
                                break;
                            case SQLITE_FLOAT:
                                baseBytes += sqlite3_column_double(st, c) > 0;
                                break;
                            case SQLITE_TEXT: {
                                const std::string value(
                                    reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                    std::size_t(sqlite3_column_bytes(st, c)));
                                baseBytes += qint64(value.size());
                                break;
                            }
                            default:
                                break;
                        }
                    }
                }
                sqlite3_finalize(st);
            }
        });
    };
    ourRun();  // translations made once, as in a working session
    const md::bench::BestTimes best = md::bench::alternate(5, ourRun, baseRun);
    if (ourRows != baseRows || ourRows < clients || ourTopLevel != 20 || baseBytes <= 0) {
        std::fprintf(stderr, "the form read %d clients (%d at the top), the raw query %d\n",
                     ourRows, ourTopLevel, baseRows);
        return 1;
    }
    md::Session() = md::SessionContext();
    connection.Close();

    md::bench::report("client_tree_20k", best.ours, best.base,
                      QStringLiteral("clients=%1 top=%2").arg(ourRows).arg(ourTopLevel));
    return 0;
}
