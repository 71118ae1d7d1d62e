// The goods form's "检索过滤" over 200,000 demo goods: two attributes ticked in
// the filter tree and a code fragment typed, the real form driven offscreen
// (condition built from the tree, list reopened, the goods record following
// the first row, the grid painted), against the same translated list query
// run with the raw sqlite3 API, a step loop reading every column.
#include <sqlite3.h>

#include <QApplication>
#include <QLineEdit>
#include <string>

#include "benchutil.h"
#include "demo/demodata.h"
#include "goods/frm_goods.h"
#include "goodsattributefilter.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int goods = argc > 1 ? std::atoi(argv[1]) : 200000;
    const QString file = md::bench::scratchFile(QStringLiteral("goods_filter.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    md::server::createDemoData(connection, goods);

    md::Session().HostApplication = &app;
    md::Session().UserNo = md::server::demo::kAdminUser;
    md::Session().RightListName = QStringLiteral("frm_goods");
    md::Session().Connection = &connection;
    md::Shared().SizeSlotCount = 10;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    auto* form = md::ui::CreateForm<Tfrm_goods>();
    form->resize(1200, 760);
    form->show();
    QCoreApplication::processEvents();
    // Two attributes, one value each, and a piece of the code.
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), md::server::demo::kShopUserBrand, true);
    form->CheckTree1->SetChecked(QStringLiteral("季节"), QStringLiteral("秋"), true);
    form->Edit_GoodsId->setText(QStringLiteral("J"));

    auto ourRun = [&] {
        form->But_FilterClick();
        QCoreApplication::processEvents();  // the grid shows the result
    };
    ourRun();  // the statement's translation is made once, as in a working session
    const QString sql = form->DBgoodslist->SQL();
    const QString translated = connection.Translate(sql)->statements.first().sql;
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    const QByteArray text = translated.toUtf8();

    int baseRows = 0;
    qint64 baseBytes = 0;
    auto baseRun = [&] {
        sqlite3_stmt* st = nullptr;
        md::bench::checkSqlite(sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr), db);
        baseRows = 0;
        baseBytes = 0;
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
    };
    const md::bench::BestTimes best = md::bench::alternate(
        5, [&] { return md::bench::timeIt(ourRun); }, [&] { return md::bench::timeIt(baseRun); });
    const int ourRows = form->DBgoodslist->RecordCount();
    if (ourRows != baseRows || ourRows == 0 || baseBytes <= 0) {
        std::fprintf(stderr, "the form listed %d goods, the raw query %d\n", ourRows, baseRows);
        return 1;
    }
    form->Close();
    QCoreApplication::processEvents();
    md::Session() = md::SessionContext();
    connection.Close();

    md::bench::report("goods_filter_200k", best.ours, best.base,
                      QStringLiteral("goods=%1 rows=%2").arg(goods).arg(ourRows));
    return 0;
}
