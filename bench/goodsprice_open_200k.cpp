// Opening 设定货品价格 over 200,000 demo goods (nine in ten with a reference
// cost): the real form made and shown offscreen with its grid filled, then
// the discount and margin of every level of the first and the last row read
// through the grid's model (worked out for those rows only), against the same
// translated statement run with the raw sqlite3 API, a step loop reading all
// ten columns of every row.
#include <sqlite3.h>

#include <QApplication>
#include <string>

#include "benchutil.h"
#include "demo/demodata.h"
#include "grid.h"
#include "gridmodel.h"
#include "messages.h"
#include "prices/frm_goodsprice.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"

namespace {

// Discounts and margins of one row as the cells show them; empty when one is missing.
QString levelsOf(TDBTableView* view, int row) {
    QString out;
    for (int i = 1; i <= Tfrm_goodsprice::kLevels; ++i)
        for (const QString& field :
             {QStringLiteral("discount%1").arg(i), QStringLiteral("faigprice%1").arg(i)}) {
            const QString text =
                view->gridModel()->index(row, view->SectionOf(field)).data().toString();
            if (text.isEmpty()) return QString();
            out += text + QLatin1Char(' ');
        }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int goods = argc > 1 ? std::atoi(argv[1]) : 200000;
    const QString file = md::bench::scratchFile(QStringLiteral("goodsprice_open.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    md::server::createDemoData(connection, goods);

    md::Session().HostApplication = &app;
    md::Session().UserNo = md::server::demo::kAdminUser;
    md::Session().RightListName = QStringLiteral("frm_goodsprice");
    md::Session().Connection = &connection;
    md::Shared().PlanPriceVisible = true;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    int ourRows = 0;
    QString first, last;
    auto ourRun = [&] {
        auto* form = md::ui::CreateForm<Tfrm_goodsprice>();
        form->resize(1200, 700);
        form->show();
        QCoreApplication::processEvents();  // the grid shows the first rows
        TDBTableView* view = form->cxGrid1DBTableView1;
        ourRows = view->gridModel()->rowCount();
        first = levelsOf(view, 0);
        last = levelsOf(view, ourRows - 1);
        form->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    ourRun();  // the statement's translation is made once, as in a working session
    const QString translated =
        connection.Translate(Tfrm_goodsprice::BaseSQL())->statements.first().sql;
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
    if (ourRows != baseRows || ourRows != goods || baseBytes <= 0 || first.isEmpty() ||
        last.isEmpty()) {
        std::fprintf(stderr, "the form listed %d goods (%s / %s), the raw query %d\n", ourRows,
                     qPrintable(first), qPrintable(last), baseRows);
        return 1;
    }
    md::Session() = md::SessionContext();
    connection.Close();

    md::bench::report("goodsprice_open_200k", best.ours, best.base,
                      QStringLiteral("goods=%1 rows=%2").arg(goods).arg(ourRows));
    return 0;
}
