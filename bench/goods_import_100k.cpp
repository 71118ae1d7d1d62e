// 货品档案导入 with 100,000 pasted rows (20,000 goods × 5 colours): the real
// dialog driven offscreen, "数据核查" then "确定" with "生成货品颜色" ticked,
// against the raw sqlite3 API running the same per-row statements prepared in
// one transaction: the size group looked up in the local database, the goods
// item looked for and inserted (with a fresh key) or updated, the goods colour
// looked for and inserted, its description deleted and inserted.
#include <sqlite3.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "benchutil.h"
#include "goods/frm_GoodsBathIN.h"
#include "localdata.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

constexpr int kColours = 5;
const char* const kColourCodes[kColours] = {"01", "02", "03", "04", "05"};
const char* const kColourNames[kColours] = {"黑色", "白色", "红色", "藏青", "卡其"};
const char* const kGroups[] = {"TOPS", "PANTS", "KIDS"};

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

qint64 scalar(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const qint64 value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

// One pasted row: code, name, group, colour, description, brand, year, season,
// category, tag price, sex, fabric.
using Row = std::array<std::string, 12>;

std::vector<Row> makeRows(int goods) {
    std::vector<Row> rows;
    rows.reserve(std::size_t(goods) * kColours);
    for (int i = 0; i < goods; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "G%07d", i + 1);
        for (int c = 0; c < kColours; ++c)
            rows.push_back(Row{code, "休闲衬衫" + std::to_string(i % 997), kGroups[i % 3],
                               kColourCodes[c], kColourNames[c], i % 2 ? "雅韵" : "悦动",
                               std::to_string(2020 + i % 6), i % 4 ? "秋" : "春", "T恤",
                               std::to_string(99 + i % 300) + ".00", i % 2 ? "男" : "女", "棉"});
    }
    return rows;
}

QString pastedText(const std::vector<Row>& rows) {
    std::string text =
        "货号\t货品名称\t尺码类别\t颜色编号\t颜色说明\t品牌\t年份\t季节\t类别\t吊牌价\t性别\t面料\r"
        "\n";
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            text += row[i];
            text += i + 1 < row.size() ? '\t' : '\r';
        }
        text += '\n';
    }
    return QString::fromStdString(text);
}

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : m_db(db) {
        md::bench::checkSqlite(sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr), db);
    }
    ~Statement() { sqlite3_finalize(m_st); }
    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(m_st, index, text.data(), int(text.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& bind(int index, double value) {
        sqlite3_bind_double(m_st, index, value);
        return *this;
    }
    // Steps once; true when a row came back.
    bool step() {
        const int rc = sqlite3_step(m_st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) md::bench::checkSqlite(rc, m_db);
        sqlite3_reset(m_st);
        return rc == SQLITE_ROW;
    }

  private:
    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int goods = argc > 1 ? std::atoi(argv[1]) : 20000;
    const QString file = md::bench::scratchFile(QStringLiteral("goods_import.db"));
    // The program's folder, where the local database lives, is the scratch folder.
    qputenv("MASTERDATA_HOME", QFileInfo(file).absolutePath().toLocal8Bit());

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    exec(db,
         "insert into ba_size(size_class,size_name,displayindex,fieldname) values"
         "('TOPS','S',1,'S1'),('TOPS','M',2,'S2'),('PANTS','28',1,'S1'),('KIDS','110',1,'S1')");
    for (int c = 0; c < kColours; ++c)
        exec(db, ("insert into ba_color(colorid,colorname_ch) values('" +
                  std::string(kColourCodes[c]) + "','" + kColourNames[c] + "')")
                     .c_str());

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_goods");
    md::Session().Connection = &connection;
    md::ui::MessageScript quiet;  // no boxes in a benchmark
    md::ReplaceLocalRows(
        QStringLiteral("ba_size"),
        {QStringLiteral("size_class"), QStringLiteral("size_name"), QStringLiteral("displayindex"),
         QStringLiteral("fieldname")},
        {{QStringLiteral("TOPS"), QStringLiteral("S"), 1, QStringLiteral("S1")},
         {QStringLiteral("PANTS"), QStringLiteral("28"), 1, QStringLiteral("S1")},
         {QStringLiteral("KIDS"), QStringLiteral("110"), 1, QStringLiteral("S1")}});

    const std::vector<Row> rows = makeRows(goods);
    const QString text = pastedText(rows);
    const qint64 pairs = qint64(rows.size());
    auto checkWritten = [&](const char* side) {
        const qint64 items = scalar(db, "select count(*) from goods");
        const qint64 colours = scalar(db, "select count(*) from goodscolor");
        const qint64 described = scalar(db, "select count(*) from ba_goodscolor");
        if (items != goods || colours != pairs || described != pairs) {
            std::fprintf(stderr, "%s: %lld goods, %lld colours, %lld descriptions\n", side,
                         static_cast<long long>(items), static_cast<long long>(colours),
                         static_cast<long long>(described));
            std::exit(1);
        }
        exec(db,
             "delete from goods; delete from goodscolor; delete from ba_goodscolor;"
             "delete from ba_fieldvalues");
    };

    // Ours: the rows pasted into the dialog (not timed, reported), then the check and the import.
    double pasteSeconds = 1e300;
    auto ourRun = [&]() -> double {
        QPointer<Tfrm_GoodsBathIN> form = md::ui::CreateForm<Tfrm_GoodsBathIN>();
        form->setProperty("TargetName", QStringLiteral("Dt_Goods"));
        form->resize(1060, 600);
        form->show();
        QCoreApplication::processEvents();
        pasteSeconds = std::min(pasteSeconds, md::bench::timeIt([&] { form->PasteText(text); }));
        if (form->RowCount() != pairs) {
            std::fprintf(stderr, "the grid holds %d rows\n", form->RowCount());
            std::exit(1);
        }
        form->Check_GoodsColor->setChecked(true);
        const double seconds = md::bench::timeIt([&] {
            form->But_Check->click();
            form->But_OK->click();
            QCoreApplication::processEvents();
        });
        if (form && form->RowCount() != 0) {
            std::fprintf(stderr, "%d rows were not imported: %s\n", form->RowCount(),
                         qPrintable(form->Cell(0, QStringLiteral("fremark"))));
            std::exit(1);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        checkWritten("ours");
        return seconds;
    };

    // Baseline: the same per-row statements, prepared, in one transaction.
    sqlite3* local = nullptr;
    md::bench::checkSqlite(sqlite3_open(QFile::encodeName(md::LocalDataFile()).constData(), &local),
                           local);
    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            Statement group(local, "select size_class from ba_size where size_class=?1 limit 1");
            Statement item(db, "select 1 from goods where goodsid=?1 limit 1");
            Statement addItem(db,
                              "insert into goods(goodsid,goodsname,size_class,brand,ayear,season,"
                              "sort,unitprice,sex,masterial,inputdate,goodsno) values(?1,?2,?3,?4,"
                              "?5,?6,?7,?8,?9,?10,date('now'),substr(replace(md_newid(),'-',''),"
                              "1,12))");
            Statement setItem(db,
                              "update goods set goodsname=?2,size_class=?3,brand=?4,ayear=?5,"
                              "season=?6,sort=?7,unitprice=?8,sex=?9,masterial=?10,"
                              "inputdate=date('now') where goodsid=?1");
            Statement colour(db,
                             "select * from goodscolor where fgoodsid=?1 and fcolorid=?2 limit 1");
            Statement addColour(db, "insert into goodscolor(fgoodsid,fcolorid) values(?1,?2)");
            Statement dropDescription(
                db, "delete from ba_goodscolor where fgoodsid=?1 and fcolorid=?2");
            Statement addDescription(
                db, "insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values(?1,?2,?3)");
            exec(db, "BEGIN");
            for (const Row& row : rows) {
                if (!group.bind(1, row[2]).step()) std::exit(1);
                Statement& write = item.bind(1, row[0]).step() ? setItem : addItem;
                write.bind(1, row[0]).bind(2, row[1]).bind(3, row[2]).bind(4, row[5]);
                write.bind(5, row[6]).bind(6, row[7]).bind(7, row[8]);
                write.bind(8, std::stod(row[9])).bind(9, row[10]).bind(10, row[11]).step();
                if (!colour.bind(1, row[0]).bind(2, row[3]).step())
                    addColour.bind(1, row[0]).bind(2, row[3]).step();
                dropDescription.bind(1, row[0]).bind(2, row[3]).step();
                addDescription.bind(1, row[0]).bind(2, row[3]).bind(3, row[4]).step();
            }
            exec(db, "COMMIT");
        });
        checkWritten("base");
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(2, ourRun, baseRun);
    sqlite3_close(local);
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report("goods_import_100k", best.ours, best.base,
                      QStringLiteral("rows=%1 paste_s=%2").arg(pairs).arg(pasteSeconds, 0, 'f', 2));
    return 0;
}
