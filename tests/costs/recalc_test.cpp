// 参考成本价重算 and FN_HousePlanprice: the weighted average of a period on
// figures worked out by hand, the opening balances prepared once per snapshot
// date, and the adoption into planprice.
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QProgressBar>

#include "costsfixture.h"
#include "prices/frm_PlanCac.h"

namespace md::test {
namespace {

class HouseRecalc : public CostsTest {
  protected:
    Tfrm_PlanCac* openRecalc() { return open<Tfrm_PlanCac>(); }
    static void choose(Tfrm_PlanCac* form, const QString& from, const QString& to) {
        form->Combo_date->setCurrentText(from);
        form->DateEdit_end->setDate(QDate::fromString(to, Qt::ISODate));
    }
    QStringList result(const QString& from, const QString& to) {
        return rows(QStringLiteral("select fgoodsid,firstqty,firstsumto,receqty,recesumto,"
                                   "planprice,fprice,fplan from FN_HousePlanprice('CK02','%1','%2')"
                                   " order by fgoodsid")
                        .arg(from, to));
    }
    QStringList balances() {
        return rows(
            QStringLiteral("select fgoodsid,fdate,fqty,fplanprice from hstock_planprice "
                           "order by fdate,fgoodsid"));
    }
};

// Opening at 2025-03-31: G001 5 pieces at 40, G002 4 pieces never costed (0).
// Receipts of CK02 after that day up to 2025-04-30 inclusive:
//   G001 10 at 46 and 5 at 52 -> (5*40 + 460 + 260) / 20 = 46
//   G002 2 at 31 and 1 at 35  -> the uncosted opening is left out: 97 / 3
//   G004 a return of 2 at 20  -> divisor -2: the current reference cost
// Not counted: the receipt on the opening day, the one on 2025-05-01 and CK01's.
TEST_F(HouseRecalc, WeighsOpeningBalanceAndReceiptsOfThePeriod) {
    db.exec(QStringLiteral("insert into planprice(fgoodsid,planprice) values('G004',25)"));
    db.exec(
        QStringLiteral("insert into hstock_planprice(fhousecode,fgoodsid,fdate,fqty,fplanprice)"
                       " values('CK02','G001','2025-03-31',5,40),"
                       "('CK02','G002','2025-03-31',4,0),('CK01','G003','2025-03-31',9,7)"));
    receipt("CK02", "G001", "2025-03-31 13:00:00", 100, 1);
    receipt("CK02", "G001", "2025-04-10", 10, 46);
    receipt("CK02", "G001", "2025-04-30 15:00:00", 5, 52);
    receipt("CK02", "G001", "2025-05-01", 7, 99);
    receipt("CK02", "G002", "2025-04-15", 2, 31);
    receipt("CK02", "G002", "2025-04-16", 1, 35);
    receipt("CK02", "G004", "2025-04-16", -2, 20);
    receipt("CK01", "G001", "2025-04-16", 50, 10);

    EXPECT_EQ(result(QStringLiteral("2025-03-31"), QStringLiteral("2025-04-30")),
              QStringList({QStringLiteral("G001|5|200|15|720|46|46|46"),
                           QStringLiteral("G002|4|0|3|97|32.333333333333336|32.33|32.33"),
                           QStringLiteral("G004|0|0|-2|-40|25|25|25")}));

    // Three decimals configured: the adjusted price follows, the unit cost does not.
    db.exec(QStringLiteral("insert into config([id],mode) values(50009,3)"));
    EXPECT_EQ(result(QStringLiteral("2025-03-31"), QStringLiteral("2025-04-30")).value(1),
              QStringLiteral("G002|4|0|3|97|32.333333333333336|32.333|32.333"));

    // The form shows the same, empty cells for zeros, sums in the footer.
    houseSnapshot(QStringLiteral("2025-03-31"), QString(), QString());
    Tfrm_PlanCac* form = openRecalc();
    EXPECT_EQ(form->HouseCode(), QStringLiteral("CK02"));
    choose(form, QStringLiteral("2025-03-31"), QStringLiteral("2025-04-30"));
    form->cac_action->trigger();
    ASSERT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    TDBTableView* v = form->cxGrid1DBTableView1;
    EXPECT_EQ(pairs(form->DBmaster_table, "fplan"),
              QStringList({QStringLiteral("G001=46"), QStringLiteral("G002=32.333"),
                           QStringLiteral("G004=25")}));
    EXPECT_EQ(cell(v, 2, "firstqty").trimmed(), QString()) << "a 0 shows as an empty cell";
    EXPECT_EQ(cell(v, 1, "firstsumto").trimmed(), QString());
    EXPECT_EQ(cell(v, 1, "recesumto"), QStringLiteral("97.00"));
    EXPECT_EQ(v->SummaryText(*v->Column(QStringLiteral("receqty"))), QStringLiteral("16"));
    EXPECT_EQ(v->SummaryText(*v->Column(QStringLiteral("fgoodsid"))), QStringLiteral("合计：3"));
}

TEST_F(HouseRecalc, WithoutSnapshotsOnly1901IsOfferedAndNoBalanceIsWritten) {
    receipt("CK02", "G003", "2025-02-01", 4, 30);
    Tfrm_PlanCac* form = openRecalc();
    EXPECT_EQ(items(form->Combo_date), QStringList({QStringLiteral("1901-01-01")}));
    EXPECT_EQ(form->DateEdit_end->date(), QDate::currentDate());
    form->cac_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty());
    EXPECT_EQ(pairs(form->DBmaster_table, "fplan"), QStringList({QStringLiteral("G003=30")}));
    EXPECT_EQ(db.count(QStringLiteral("hstock_planprice")), 0);
}

TEST_F(HouseRecalc, RefusesMissingDatesAndAnEndBeforeTheOpening) {
    houseSnapshot(QStringLiteral("2025-03-31"), QStringLiteral("hs_ck02_0331"),
                  QStringLiteral("G001:5"));
    Tfrm_PlanCac* form = openRecalc();
    EXPECT_EQ(items(form->Combo_date), QStringList({QStringLiteral("2025-03-31")}));
    choose(form, QStringLiteral("2025-03-31"), QStringLiteral("2025-03-30"));
    form->cac_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("截止日期不能小于上期结存日期!")}));
    EXPECT_EQ(db.count(QStringLiteral("hstock_planprice")), 0) << "refused before any work";

    script.clear();
    form->show();
    QApplication::setActiveWindow(form);
    form->Combo_date->setFocus();
    QTest::keyClick(form->Combo_date, Qt::Key_Delete);  // clears the chooser
    EXPECT_EQ(form->Combo_date->currentText(), QString());
    form->cac_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("请选择上期结存日期!")}));
    EXPECT_FALSE(form->DBmaster_table->Active());
}

TEST_F(HouseRecalc, OpeningBalancesAreMadeOnceAndCostedFromThePreviousBalance) {
    // Balances at 2025-01-31 (costed) lead to the snapshot at 2025-03-31.
    db.exec(
        QStringLiteral("insert into hstock_planprice(fhousecode,fgoodsid,fdate,fqty,fplanprice)"
                       " values('CK02','G001','2025-01-31',10,30)"));
    receipt("CK02", "G001", "2025-02-10", 10, 50);  // -> (300 + 500) / 20 = 40 at 03-31
    receipt("CK02", "G002", "2025-02-11", 4, 61);   // -> 61, no earlier balance
    receipt("CK02", "G005", "2025-03-05", 2, 10);   // not in the snapshot: no balance
    houseSnapshot(QStringLiteral("2025-03-31"), QStringLiteral("hs_ck02_0331"),
                  QStringLiteral("G001:6,G002:3,G003:2"));
    // An earlier snapshot listed without its table.
    houseSnapshot(QStringLiteral("2025-02-28"), QString(), QString());

    Tfrm_PlanCac* form = openRecalc();
    EXPECT_EQ(items(form->Combo_date),
              QStringList({QStringLiteral("2025-02-28"), QStringLiteral("2025-03-31")}));

    // No table: nothing is written, the period's result is still shown.
    choose(form, QStringLiteral("2025-02-28"), QStringLiteral("2025-04-30"));
    form->cac_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty());
    EXPECT_EQ(db.count(QStringLiteral("hstock_planprice")), 1);
    EXPECT_EQ(pairs(form->DBmaster_table, "receqty"), QStringList({QStringLiteral("G005=2")}));

    choose(form, QStringLiteral("2025-03-31"), QStringLiteral("2025-04-30"));
    form->cac_action->trigger();
    const QStringList once = balances();
    EXPECT_EQ(once, QStringList({QStringLiteral("G001|2025-01-31 00:00:00|10|30"),
                                 QStringLiteral("G001|2025-03-31 00:00:00|6|40"),
                                 QStringLiteral("G002|2025-03-31 00:00:00|3|61"),
                                 QStringLiteral("G003|2025-03-31 00:00:00|2|")}))
        << "G003 had neither balance nor receipt: no cost to take";
    EXPECT_EQ(pairs(form->DBmaster_table, "firstsumto"),
              QStringList({QStringLiteral("G001=240"), QStringLiteral("G002=183"),
                           QStringLiteral("G003=0")}));

    // Again: the balances are found, nothing is added or costed anew.
    db.exec(
        QStringLiteral("update hstock_planprice set fplanprice=41 where fgoodsid='G001' and "
                       "fdate='2025-03-31'"));
    db.exec(QStringLiteral("insert into hs_ck02_0331 values('CK02','G005','01',8)"));
    form->cac_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("hstock_planprice")), 4);
    EXPECT_EQ(db.scalar(QStringLiteral("select fplanprice from hstock_planprice where "
                                       "fgoodsid='G001' and fdate='2025-03-31'"))
                  .toDouble(),
              41);
}

TEST_F(HouseRecalc, AdoptionUpdatesCostsAppendsTheMissingAndKeepsUncostedOnes) {
    db.exec(
        QStringLiteral("insert into planprice(fgoodsid,planprice,goodsno) "
                       "values('G003',15,'N3')"));
    receipt("CK02", "g001", "2025-04-02", 4, 55.555);  // the code in other letters
    receipt("CK02", "G004", "2025-04-03", 3, 20);
    receipt("CK02", "G004", "2025-04-04", 1, 24);
    receipt("CK02", "G003", "2025-04-04", 0, 24);  // no quantity: G003 keeps 15
    Tfrm_PlanCac* form = openRecalc();
    choose(form, QStringLiteral("1901-01-01"), QStringLiteral("2025-04-30"));

    // "更新当前成本" computes first when nothing is shown yet.
    form->update_action->trigger();
    EXPECT_EQ(script.texts(),
              QStringList({QStringLiteral("更新成功,请重新打开<参考成本价>模块查看当前成本价!")}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,planprice,goodsno from planprice order by "
                                  "fgoodsid")),
              QStringList({QStringLiteral("G001|55.56|N1"), QStringLiteral("G002|120|N2"),
                           QStringLiteral("G003|15|N3"), QStringLiteral("G004|21|N4")}));
    EXPECT_EQ(form->ProgressBar1->value(), form->ProgressBar1->maximum());
    EXPECT_TRUE(form->cac_action->isEnabled());
}

}  // namespace
}  // namespace md::test
