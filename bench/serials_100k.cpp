// Generating 100,000 piece serial numbers (1,000 variants x 100 pieces) with
// 生成产品序列号's "统计": the quantity list sent, get_barcodetemp expanding it
// into pieces, the summary per variant, one row per piece into barcodeguid and
// barcodeguidTemp, and the local copy for the label programs. Against a plain
// program doing the same writes with the raw sqlite3 API, each statement
// prepared once, in one transaction.
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <string>

#include "barcodes/frm_BarcodeGuID.h"
#include "barquantitygrid.h"
#include "benchutil.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

constexpr int kGoods = 100;
constexpr int kColours = 2;
const char* const kSizes[] = {"XS", "S", "M", "L", "XL"};
constexpr int kSizeCount = 5;

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}
void exec(sqlite3* db, const std::string& sql) {
    exec(db, sql.c_str());
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

void bindText(sqlite3_stmt* st, int index, const std::string& text) {
    sqlite3_bind_text(st, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* st, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return text ? std::string(text) : std::string();
}

std::string goodsCode(int g) {
    const std::string digits = "0000" + std::to_string(g);
    return "G" + digits.substr(digits.size() - 4);
}

// The pieces of the list, one barcode_temp row each: the expansion
// get_barcodetemp runs, written out as one statement.
QString expansionSql() {
    QString cases = QStringLiteral("case z.k");
    for (int slot = 1; slot <= 30; ++slot) cases += QStringLiteral(" when %1 then d.s%1").arg(slot);
    cases += QStringLiteral(" else 0 end");
    return QStringLiteral(
               "insert into barcode_temp(fgoodsid,fcolorid,fsize)\n"
               "select u.fgoodsid,u.fcolorid,u.fsize from (\n"
               "select d.fautoid,d.fgoodsid,d.fcolorid,z.k,z.size_name as fsize,") +
           cases +
           QStringLiteral(
               " as q\n"
               "from barcodedetail d join goods g on g.goodsid=d.fgoodsid\n"
               "join (select s.fautoid,s.size_class,s.size_name,count(*) as k\n"
               "from ba_size s join ba_size c on c.size_class=s.size_class and "
               "c.displayindex<=s.displayindex\n"
               "group by s.fautoid,s.size_class,s.size_name) z on "
               "z.size_class=g.size_class) u\n"
               "join barcode_pieceno n on n.n<=u.q\n"
               "where u.q>0");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int perSize = argc > 1 ? std::atoi(argv[1]) : 100;
    const QString file = md::bench::scratchFile(QStringLiteral("serials.db"));
    const QString home = QFileInfo(file).absolutePath();
    qputenv("MASTERDATA_HOME", QDir(home).filePath(QStringLiteral("ours")).toLocal8Bit());
    QDir(home).mkpath(QStringLiteral("ours"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();

    // 100 goods of one five-size group, two colours each, a barcode per variant
    // and one older serial per variant, so the runs number on after it.
    exec(db, "BEGIN");
    for (int k = 0; k < kSizeCount; ++k)
        exec(db,
             "insert into ba_size(size_class,size_name,displayindex,fieldname) values('TOPS','" +
                 std::string(kSizes[k]) + "'," + std::to_string(k + 1) + ",'S" +
                 std::to_string(k + 1) + "')");
    exec(db, "insert into ba_color(colorid,colorname_ch) values('01','黑色'),('02','白色')");
    for (int g = 1; g <= kGoods; ++g) {
        const std::string code = goodsCode(g);
        exec(db,
             "insert into goods(goodsid,goodsname,brand,size_class,unitprice,goodsno) values('" +
                 code + "','品名" + code + "','雅韵','TOPS',199,'N" + code + "')");
        for (int c = 1; c <= kColours; ++c) {
            const std::string colour = "0" + std::to_string(c);
            exec(db, "insert into goodscolor(fgoodsid,fcolorid) values('" + code + "','" + colour +
                         "')");
            for (const char* size : kSizes) {
                const std::string barcode1 = code + colour + size;
                exec(db, "insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) values('" + code +
                             "','" + colour + "','" + size + "','" + barcode1 + "')");
                exec(db,
                     "insert into barcodeguid(fgoodsid,fcolorid,fsize,frecid,fbarcode,fcode,fflag) "
                     "values('" +
                         code + "','" + colour + "','" + size + "',7,'" + barcode1 +
                         "0007','OLD001',0)");
            }
        }
    }
    // The piece numbers the expansion joins with, as get_barcodetemp leaves them.
    for (int n = 1; n <= perSize; ++n)
        exec(db, "insert into barcode_pieceno(n) values(" + std::to_string(n) + ")");
    exec(db, "COMMIT");
    const qint64 keep = scalar(db, "select max(fautoid) from barcodeguid");
    const std::string undo = "delete from barcodeguid where fautoid>" + std::to_string(keep);

    // The quantity list as the window sends it: every slot perSize pieces.
    std::string slotValues;
    for (int k = 0; k < kSizeCount; ++k) slotValues += "," + std::to_string(perSize);
    auto fillList = [&] {
        exec(db, "delete from barcodedetail");
        exec(db, "BEGIN");
        for (int g = 1; g <= kGoods; ++g)
            for (int c = 1; c <= kColours; ++c)
                exec(db,
                     "insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2,s3,s4,s5) values('" +
                         goodsCode(g) + "','0" + std::to_string(c) + "'," +
                         std::to_string(perSize * kSizeCount) + slotValues + ")");
        exec(db, "COMMIT");
    };
    const std::string pieces = std::to_string(kGoods * kColours * kSizeCount * perSize);
    auto outcome = [&](const std::string& localFile) {
        sqlite3* local = nullptr;
        md::bench::checkSqlite(sqlite3_open(localFile.c_str(), &local), local);
        const qint64 copied = scalar(local, "select count(*) from BarcodeGuID");
        sqlite3_close(local);
        return std::to_string(scalar(db, "select count(*) from barcodeguid where fautoid>" +
                                             std::to_string(keep) + " and frecid between 8 and " +
                                             std::to_string(7 + perSize))) +
               " " +
               std::to_string(scalar(db, "select count(distinct fbarcode) from barcodeguid")) +
               " " + std::to_string(scalar(db, "select count(*) from barcodeguidTemp")) + " " +
               std::to_string(copied);
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_BarcodeGuID");
    md::Session().Connection = &connection;
    md::Shared().SizeSlotCount = kSizeCount;
    md::ui::MessageScript quiet;  // no boxes in a benchmark; the close question gets No
    const std::string ourLocal =
        QDir(home).filePath(QStringLiteral("ours/localData.db")).toStdString();

    std::string ourOutcome, baseOutcome;
    auto ourRun = [&]() -> double {
        fillList();
        QPointer<Tfrm_BarcodeGuID> form = md::ui::CreateForm<Tfrm_BarcodeGuID>();
        const double seconds = md::bench::timeIt([&] { form->But_Count->click(); });
        ourOutcome = outcome(ourLocal);
        quiet.answer(md::ui::Answer::No);
        delete form.data();
        exec(db, undo);
        return seconds;
    };

    auto translated = [&](const QString& tsql) {
        return connection.Translate(tsql)->statements.first().sql.toStdString();
    };
    const std::string detailInsert =
        translated(QStringLiteral("insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2,s3,s4,s5) "
                                  "values(:g,:c,:q,:s1,:s2,:s3,:s4,:s5)"));
    const std::string expansion = translated(expansionSql());
    const std::string summary = translated(Tfrm_BarcodeGuID::SummarySQL());
    const std::string serialColumns =
        "(fgoodsid,fcolorid,fsize,frecid,fbarcode,fcode,finputdate,finputuser,fflag) "
        "values(:g,:c,:s,:r,:b,:code,:d,:u,0)";
    const std::string guidInsert = translated(QStringLiteral("insert into barcodeguid") +
                                              QString::fromStdString(serialColumns));
    const std::string tempInsert = translated(QStringLiteral("insert into barcodeguidTemp") +
                                              QString::fromStdString(serialColumns));
    const std::string labelRows = translated(QStringLiteral("select * from vbarcodeGuid"));
    const std::string baseLocal =
        QDir(home).filePath(QStringLiteral("base_localData.db")).toStdString();
    const std::string today =
        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();

    auto baseRun = [&]() -> double {
        fillList();
        const double seconds = md::bench::timeIt([&] {
            // The list as the window holds it, read back and sent again.
            std::vector<std::array<std::string, 2>> list;
            std::vector<std::array<int, 6>> counts;
            {
                sqlite3_stmt* read =
                    prepare(db, "select fGoodsId,fcolorid,qty,s1,s2,s3,s4,s5 from barcodedetail");
                while (sqlite3_step(read) == SQLITE_ROW) {
                    list.push_back({columnText(read, 0), columnText(read, 1)});
                    std::array<int, 6> n{};
                    for (int i = 0; i < 6; ++i) n[i] = sqlite3_column_int(read, 2 + i);
                    counts.push_back(n);
                }
                sqlite3_finalize(read);
            }
            exec(db, "BEGIN");
            exec(db, "delete from barcodedetail");
            exec(db, "delete from barcodeguidTemp");
            sqlite3_stmt* detail = prepare(db, detailInsert);
            for (std::size_t row = 0; row < list.size(); ++row) {
                bindText(detail, 1, list[row][0]);
                bindText(detail, 2, list[row][1]);
                for (int i = 0; i < 6; ++i) sqlite3_bind_int(detail, 3 + i, counts[row][i]);
                md::bench::checkSqlite(sqlite3_step(detail), db);
                sqlite3_reset(detail);
            }
            sqlite3_finalize(detail);
            exec(db, "delete from barcode_temp");
            exec(db, expansion);
            sqlite3_stmt* pieceRows = prepare(db, summary);
            sqlite3_stmt* guid = prepare(db, guidInsert);
            sqlite3_stmt* temp = prepare(db, tempInsert);
            while (sqlite3_step(pieceRows) == SQLITE_ROW) {
                const std::string g = columnText(pieceRows, 0);
                const std::string c = columnText(pieceRows, 1);
                const std::string s = columnText(pieceRows, 2);
                const int count = sqlite3_column_int(pieceRows, 3);
                const qint64 base = sqlite3_column_int64(pieceRows, 4);
                const std::string barcode1 = columnText(pieceRows, 5);
                for (int k = 1; k <= count; ++k) {
                    const std::string digits = "0000000" + std::to_string(base + k);
                    const std::string serial = barcode1 + digits.substr(digits.size() - 4);
                    const std::string code = Tfrm_BarcodeGuID::NewVerificationCode().toStdString();
                    for (sqlite3_stmt* insert : {guid, temp}) {
                        bindText(insert, 1, g);
                        bindText(insert, 2, c);
                        bindText(insert, 3, s);
                        sqlite3_bind_int64(insert, 4, base + k);
                        bindText(insert, 5, serial);
                        bindText(insert, 6, code);
                        bindText(insert, 7, today);
                        bindText(insert, 8, "admin");
                        md::bench::checkSqlite(sqlite3_step(insert), db);
                        sqlite3_reset(insert);
                    }
                }
            }
            sqlite3_finalize(pieceRows);
            sqlite3_finalize(guid);
            sqlite3_finalize(temp);
            exec(db, "COMMIT");

            // The local copy, one column on.
            sqlite3* local = nullptr;
            md::bench::checkSqlite(sqlite3_open(baseLocal.c_str(), &local), local);
            exec(local,
                 "create table if not exists BarcodeGuID(fid integer primary key autoincrement, "
                 "fgoodsid varchar(30), goodsname varchar(60), fcolorid varchar(30), colorname "
                 "varchar(30), fsize varchar(30), fbarcode varchar(60), fcode varchar(6), "
                 "unitprice numeric(18,2), brand varchar(30), frecid int, finputdate varchar(10))");
            exec(local, "BEGIN");
            exec(local, "delete from BarcodeGuID");
            sqlite3_stmt* labels = prepare(db, labelRows);
            sqlite3_stmt* copy = prepare(
                local,
                "insert into BarcodeGuID(fgoodsid,goodsname,fcolorid,colorname,fsize,fbarcode,"
                "fcode,unitprice,brand,frecid,finputdate) values(?,?,?,?,?,?,?,?,?,?,?)");
            while (sqlite3_step(labels) == SQLITE_ROW) {
                for (int i = 0; i < 11; ++i)
                    sqlite3_bind_value(copy, i + 1, sqlite3_column_value(labels, i));
                md::bench::checkSqlite(sqlite3_step(copy), local);
                sqlite3_reset(copy);
            }
            sqlite3_finalize(labels);
            sqlite3_finalize(copy);
            exec(local, "COMMIT");
            sqlite3_close(local);
        });
        baseOutcome = outcome(baseLocal);
        exec(db, undo);
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
    md::bench::report("serials_100k", best.ours, best.base,
                      QStringLiteral("pieces=%1").arg(QString::fromStdString(pieces)));
    return 0;
}
