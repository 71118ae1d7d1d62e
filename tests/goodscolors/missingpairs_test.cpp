// The missing-pairs query of "自动取数" stays one pass over each table however
// many descriptions there are: never a scan of the descriptions per goods colour.
#include <libpq-fe.h>

#include "goodscolorsfixture.h"
#include "pgbackend.h"

using namespace md::test;

namespace {

class MissingPairs : public GoodsColoursTest {};

TEST_F(MissingPairs, OnPostgreSqlTheDescriptionsAreHashedNotScannedPerRow) {
    if (!db.isPostgres()) GTEST_SKIP() << "a PostgreSQL plan";
    PGconn* pg = static_cast<md::data::PgBackend&>(db.conn().backend()).handle();
    auto run = [pg](const QString& sql) {
        PGresult* result = PQexec(pg, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(result);
        EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            << PQresultErrorMessage(result);
        QStringList lines;
        for (int row = 0; row < PQntuples(result); ++row)
            lines << QString::fromUtf8(PQgetvalue(result, row, 0));
        PQclear(result);
        return lines;
    };
    // More descriptions than the server's default work_mem holds as a hash.
    run("insert into ba_goodscolor(fgoodsid,fcolorid) select 'G'||lpad(i::text,7,'0'), "
        "'0'||(i%5) from generate_series(1,300000) i");
    run("analyze ba_goodscolor");
    const QString translated =
        db.conn().Translate(Tfrm_goodscolor::MissingPairsSQL())->statements.first().sql;
    const QString plan = run("explain " + translated).join('\n');
    EXPECT_TRUE(plan.contains("hashed SubPlan")) << plan.toStdString();
}

TEST_F(MissingPairs, LetterCaseAndBlanksAroundTheCodesDoNotMakeAPairMissing) {
    describe("a1001", "01 ", "");
    describe(" A1001", "02", "");
    describe("A1002", "01", "");
    const QStringList missing = rows(Tfrm_goodscolor::MissingPairsSQL());
    EXPECT_EQ(QStringList(missing).filter("A1001").size(), 0) << missing.join(',').toStdString();
    EXPECT_EQ(missing.size(), 2) << missing.join(',').toStdString();
}

}  // namespace
