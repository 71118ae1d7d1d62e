// Creating 100,000 cash coupons: the coupon window's 新增 driven offscreen
// (the create dialog numbering the batch, drawing a barcode from the key view
// and asking whether the number is taken for each coupon, then the window
// appending the batch and sending it in one go), on a database that already
// holds 100,000 coupons. Against a plain program doing the same per coupon with
// the raw sqlite3 API in one transaction: the translated key select, the
// translated occupancy select and the insert, each prepared once.
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <string>

#include "benchutil.h"
#include "members/frm_MoneyCard.h"
#include "members/frm_MoneyCardCreate.h"
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

qint64 scalar(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const qint64 value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
    return st;
}

std::string number(const std::string& prefix, int serial, int digits) {
    const std::string padded = "000000000000000" + std::to_string(serial);
    return prefix + padded.substr(padded.size() - std::size_t(digits));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString file = md::bench::scratchFile(QStringLiteral("coupons_create.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    const std::string today =
        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    const std::string until =
        QDate::currentDate().addDays(30).toString(QStringLiteral("yyyy-MM-dd")).toStdString();

    // Coupons of earlier batches, so that the occupancy select searches a real index.
    {
        exec(db, "BEGIN");
        sqlite3_stmt* old = prepare(db,
                                    "insert into D_MoneyCard(fcardno,fpassword,fmoney,fstatus) "
                                    "values(?1,?2,20,2)");
        for (int i = 1; i <= count; ++i) {
            const std::string cardno = number("OLD", i, 8);
            const std::string barcode = number("B", i, 11);
            sqlite3_bind_text(old, 1, cardno.data(), int(cardno.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(old, 2, barcode.data(), int(barcode.size()), SQLITE_TRANSIENT);
            md::bench::checkSqlite(sqlite3_step(old), db);
            sqlite3_reset(old);
        }
        sqlite3_finalize(old);
        exec(db, "COMMIT");
    }
    const std::string undo = "delete from D_MoneyCard where fcardno like 'NEW%'";
    auto outcome = [&]() {
        return std::to_string(scalar(db,
                                     "select count(*) from D_MoneyCard where fcardno like "
                                     "'NEW%' and fstatus=1 and fmoney=50")) +
               " " +
               std::to_string(scalar(db, "select count(distinct fpassword) from D_MoneyCard"));
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_MoneyCard");
    md::Session().Connection = &connection;
    md::ui::MessageScript quiet;  // no boxes in a benchmark
    quiet.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardCreate&>(d);
        dialog.Edit_Prefix->setText(QStringLiteral("NEW"));
        dialog.Edit_Begin->setText(QStringLiteral("1"));
        dialog.Edit_End->setText(QString::number(count));
        dialog.Spin_Digits->setValue(6);
        dialog.Edit_Money->setText(QStringLiteral("50"));
        dialog.But_Create->click();
        dialog.But_OK->click();
        return dialog.result();
    });
    // Every right on the window, as the administrator has.
    connection.ExecSQL(QStringLiteral(
        "insert into usermainde(userno,fgroupid) values('admin','G01')\n"
        "insert into dr_right(autoid,listname) values(1,'frm_MoneyCard')\n"
        "insert into dr_rightdetail(autoid,groupid,b_add,b_edit,b_del) values(1,'G01',1,1,1)"));

    std::string ourOutcome, baseOutcome;
    auto ourRun = [&]() -> double {
        QPointer<Tfrm_MoneyCard> form = md::ui::CreateForm<Tfrm_MoneyCard>();
        form->But_Count->click();
        const double seconds = md::bench::timeIt([&] { form->append_action->trigger(); });
        ourOutcome = outcome();
        delete form.data();
        exec(db, undo.c_str());
        return seconds;
    };

    auto translated = [&](const QString& tsql) {
        return connection.Translate(tsql)->statements.first().sql.toStdString();
    };
    const std::string keySql = translated(QStringLiteral("select * from v_Getpassword12"));
    const std::string takenSql =
        translated(QStringLiteral("select top 1 fcardno from D_MoneyCard where fcardno=:fcardno"));
    const std::string insertSql = translated(
        QStringLiteral("insert into D_MoneyCard(fcardno,fpassword,fmoney,fbegindate,fenddate,"
                       "fstatus,finputdate,finputuser) values(:fcardno,:fpassword,:fmoney,"
                       ":fbegindate,:fenddate,1,:finputdate,:finputuser)"));

    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            exec(db, "BEGIN");
            sqlite3_stmt* key = prepare(db, keySql);
            sqlite3_stmt* taken = prepare(db, takenSql);
            sqlite3_stmt* insert = prepare(db, insertSql);
            for (int serial = 1; serial <= count; ++serial) {
                const std::string cardno = number("NEW", serial, 6);
                md::bench::checkSqlite(sqlite3_step(key), db);
                const std::string barcode =
                    reinterpret_cast<const char*>(sqlite3_column_text(key, 0));
                sqlite3_reset(key);
                sqlite3_bind_text(taken, 1, cardno.data(), int(cardno.size()), SQLITE_STATIC);
                const bool occupied = sqlite3_step(taken) == SQLITE_ROW;
                sqlite3_reset(taken);
                if (occupied) continue;
                const std::string* texts[] = {&cardno, &barcode};
                for (int i = 0; i < 2; ++i)
                    sqlite3_bind_text(insert, i + 1, texts[i]->data(), int(texts[i]->size()),
                                      SQLITE_STATIC);
                sqlite3_bind_double(insert, 3, 50);
                sqlite3_bind_text(insert, 4, today.data(), int(today.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 5, until.data(), int(until.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 6, today.data(), int(today.size()), SQLITE_STATIC);
                sqlite3_bind_text(insert, 7, "admin", 5, SQLITE_STATIC);
                md::bench::checkSqlite(sqlite3_step(insert), db);
                sqlite3_reset(insert);
            }
            sqlite3_finalize(key);
            sqlite3_finalize(taken);
            sqlite3_finalize(insert);
            exec(db, "COMMIT");
        });
        baseOutcome = outcome();
        exec(db, undo.c_str());
        return seconds;
    };

    const int runs = argc > 2 ? std::atoi(argv[2]) : 2;
    const md::bench::BestTimes best = md::bench::alternate(runs, ourRun, baseRun);
    if (ourOutcome != baseOutcome) {
        std::fprintf(stderr, "the sides differ:\n ours %s\n base %s\n%s\n", ourOutcome.c_str(),
                     baseOutcome.c_str(), qPrintable(quiet.texts().join(QLatin1Char('\n'))));
        return 1;
    }
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report("coupons_create_100k", best.ours, best.base,
                      QStringLiteral("coupons=%1").arg(count));
    return 0;
}
