// A picture of the repair list for a person to look at: /tmp/repairlist.png,
// wide enough for all three bands, the current line with its follow-ups.
#include <QDir>
#include <QSplitter>

#include "repairlistfixture.h"

using namespace md::test;

namespace {

class RepairListPicture : public RepairListTest {};

TEST_F(RepairListPicture, TheThreeBandsAndTheFollowUps) {
    addNote("N2", today(), "C02", false, {"KX200|01|L|1||0|0|0"});
    addNote("N1", today(), "C01", true, {"G001|01|M|2|S01|2|1|1", "G001|02|S|1|S02|1|0|0"});
    const QString line = lineKey("N1");
    db.exec(QStringLiteral("insert into d_GoodsReturnTran(fbillid,fBillAutoid,fgoodsbillid,"
                           "fTranRemark,finputuser,finputusername,finputdate) values("
                           "'N1',%1,'N1%1','工厂已修好寄回，一件无法修复','u1','张敏','%2')")
                .arg(line, day(today())));
    auto* f = openList();
    f->resize(1640, 520);
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    go(1);
    QApplication::processEvents();
    EXPECT_EQ(f->DBtran_table->RecordCount(), 1);
    EXPECT_TRUE(f->grab().toImage().save(QDir::temp().filePath("repairlist.png")));
}

}  // namespace
