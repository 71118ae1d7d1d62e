// 店铺货品成本价 and 店铺成本价重算: shop and goods codes checked as typed,
// the client scope, FN_ClientPlanprice on figures worked out by hand, and the
// adoption of a shop's result.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include "costsfixture.h"
#include "editors.h"
#include "prices/frm_ClientPlanPrice.h"
#include "prices/frm_ClientPlanPriceCac.h"
#include "selectgoods.h"

namespace md::test {
namespace {

class ShopCosts : public CostsTest {
  protected:
    ShopCosts() : CostsTest(QStringLiteral("frm_ClientPlanPrice")) {}
    QStringList stored() {
        return rows(
            QStringLiteral("select fclientcode,fgoodsid,fplanprice from "
                           "dt_clientplanprice order by fclientcode,fgoodsid"));
    }
    static void choose(Tfrm_ClientPlanPriceCac* form, const QString& shop, const QString& from,
                       const QString& to) {
        form->Lookup_shop->setKeyValue(shop);
        if (!from.isEmpty()) form->Combo_date->setCurrentText(from);
        form->DateEdit_end->setDate(QDate::fromString(to, Qt::ISODate));
    }
};

TEST_F(ShopCosts, ShopAndGoodsCodesAreCheckedAsTyped) {
    db.exec(
        QStringLiteral("insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice) "
                       "values('S01','G001',70)"));
    auto* form = openShown<Tfrm_ClientPlanPrice>();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("店铺货品成本价"));
    TDBTableView* v = form->cxGrid1DBTableView1;
    form->append_action->trigger();
    const int row = form->DBmaster_table->RecNo() - 1;
    typeIntoCell(v, row, "fgoodsid", QStringLiteral("X9"));
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("货号不存在,请重新录入!")}));
    EXPECT_EQ(cell(v, row, "fgoodsid"), QString());
    script.clear();
    typeIntoCell(v, row, "fclientcode", QStringLiteral("C01"));
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("店铺编号不存在,请重新录入!")}))
        << "a client without shifts is no shop";
    script.clear();
    typeIntoCell(v, row, "fclientcode", QStringLiteral("s02"));
    typeIntoCell(v, row, "fgoodsid", QStringLiteral("g003"));
    typeIntoCell(v, row, "fplanprice", QStringLiteral("36.5"));
    EXPECT_EQ(cell(v, row, "fabbrev"), QStringLiteral("西湖店"));
    EXPECT_EQ(cell(v, row, "fmathod"), QStringLiteral("加盟"));
    EXPECT_EQ(cell(v, row, "goodsname"), QStringLiteral("棉袜"));
    EXPECT_EQ(cell(v, row, "season"), QStringLiteral("冬"));
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    // The same shop and goods item twice.
    form->DBmaster_table->Append();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fclientcode", QStringLiteral("S01"));
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fgoodsid", QStringLiteral("G001"));
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("不能录入相同的记录!")}));
    form->DBmaster_table->Cancel();
    script.clear();
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored(),
              QStringList({QStringLiteral("S01|G001|70"), QStringLiteral("S02|G003|36.5")}));

    // An empty goods code is refused when the row is posted.
    form->append_action->trigger();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fclientcode", QStringLiteral("S01"));
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("请输入货号!")}));
}

TEST_F(ShopCosts, PickedGoodsWaitForTheirShopBeforeSaving) {
    auto* form = openShown<Tfrm_ClientPlanPrice>();
    script.onDialog([](QDialog& dialog) {
        auto& picker = static_cast<Tfrm_selectgoods&>(dialog);
        QTest::keyClicks(picker.Edit_goodsid, QStringLiteral("G00"));
        picker.But_Find->click();
        picker.CheckBox_all->click();
        picker.But_OK->click();
        return picker.result();
    });
    form->append_action->trigger();
    form->fgoodsidButtonClick();
    EXPECT_EQ(sorted(pairs(form->DBmaster_table, "goodsname")),
              QStringList({QStringLiteral("G001=圆领T恤"), QStringLiteral("G002=休闲裤"),
                           QStringLiteral("G003=棉袜"), QStringLiteral("G004=针织衫"),
                           QStringLiteral("G005=丝巾")}));
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("请选择店铺编号!")}));
    EXPECT_EQ(db.count(QStringLiteral("dt_clientplanprice")), 0);
}

TEST_F(ShopCosts, ARestrictedUserSeesOnlyThePermittedShopsAndTheirCosts) {
    db.exec(
        QStringLiteral("insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice) "
                       "values('S01','G001',70),('S02','G001',72)"));
    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList = QStringLiteral("'S02','C01'");
    auto* form = open<Tfrm_ClientPlanPrice>();
    EXPECT_EQ(pairs(form->DBmaster_table, "fclientcode"),
              QStringList({QStringLiteral("G001=S02")}));
    EXPECT_EQ(form->DBshop->RecordCount(), 1);
    auto* recalc = open<Tfrm_ClientPlanPriceCac>();
    EXPECT_EQ(recalc->DBshop->RecordCount(), 1);
    EXPECT_EQ(recalc->DBshop->FieldByName(QStringLiteral("fcode")).AsString(),
              QStringLiteral("S02"));
}

// Opening at 2025-03-31 in S01: G001 4 pieces at 50, G002 2 pieces uncosted.
// Sold to S01 after that day up to 2025-04-30 (S02's do not count):
//   G001 6 at 60                 -> (200 + 360) / 10 = 56
//   G002 3 at 90 and 1 at 94     -> 364 / 4 = 91
//   G003 nothing in the period, but a balance of 0 cost -> the shop's own cost 33
TEST_F(ShopCosts, ShopCostIsTheWeightedAverageOfItsPeriod) {
    db.exec(
        QStringLiteral("insert into hSstock_planprice(fclientcode,fgoodsid,fdate,fqty,"
                       "fplanprice) values('S01','G001','2025-03-31',4,50),"
                       "('S01','G002','2025-03-31',2,0),('S01','G003','2025-03-31',5,0)"));
    db.exec(
        QStringLiteral("insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice) "
                       "values('S01','G003',33),('S02','G001',10)"));
    shopReceipt("S01", "G001", "2025-04-02", 6, 60);
    shopReceipt("S01", "G002", "2025-04-03", 3, 90);
    shopReceipt("S01", "G002", "2025-04-30 18:00:00", 1, 94);
    shopReceipt("S02", "G001", "2025-04-03", 100, 1);
    shopReceipt("S01", "G001", "2025-03-31 10:00:00", 100, 1);
    EXPECT_EQ(
        rows(QStringLiteral("select * from FN_ClientPlanprice('S01','2025-03-31',"
                            "'2025-04-30') order by fgoodsid")),
        QStringList({QStringLiteral("G001|4|200|6|360|56"), QStringLiteral("G002|2|0|4|364|91"),
                     QStringLiteral("G003|5|0|0|0|33")}));
}

TEST_F(ShopCosts, AShopWithoutSnapshotsOffersOnly1901AndAdoptionAppendsItsCosts) {
    shopReceipt("S02", "G001", "2025-04-02", 3, 50.125);
    shopReceipt("S02", "G004", "2025-04-03", 2, 40);
    snapshot(QStringLiteral("hs_stock"), QStringLiteral("fclientcode"), QStringLiteral("S01"),
             QStringLiteral("2025-03-31"), QStringLiteral("hs_s01_0331"), QStringLiteral("G001:4"));
    auto* form = open<Tfrm_ClientPlanPriceCac>();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("店铺成本价重算"));
    EXPECT_EQ(items(form->Combo_date), QStringList());
    form->cac_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("请选择店铺编号!")}));
    script.clear();

    choose(form, QStringLiteral("s01"), QString(), QStringLiteral("2025-04-30"));
    EXPECT_EQ(items(form->Combo_date), QStringList({QStringLiteral("2025-03-31")}));
    choose(form, QStringLiteral("S02"), QString(), QStringLiteral("2025-04-30"));
    EXPECT_EQ(items(form->Combo_date), QStringList({QStringLiteral("1901-01-01")}));
    form->update_action->trigger();
    EXPECT_EQ(
        script.texts(),
        QStringList({QStringLiteral("更新成功,请重新打开<店铺货品成本价>模块查看当前成本价!")}));
    EXPECT_EQ(db.count(QStringLiteral("hSstock_planprice")), 0);
    EXPECT_EQ(stored(),
              QStringList({QStringLiteral("S02|G001|50.13"), QStringLiteral("S02|G004|40")}))
        << "one row per goods item, in cents";

    // Again after a change: the rows are updated, not appended.
    shopReceipt("S02", "G004", "2025-04-04", 2, 44);
    form->cac_action->trigger();
    form->update_action->trigger();
    EXPECT_EQ(stored(),
              QStringList({QStringLiteral("S02|G001|50.13"), QStringLiteral("S02|G004|42")}));

    // S01's snapshot becomes its opening balance, costed from its receipts before.
    shopReceipt("S01", "G001", "2025-03-01", 2, 70);
    choose(form, QStringLiteral("S01"), QStringLiteral("2025-03-31"), QStringLiteral("2025-04-30"));
    form->cac_action->trigger();
    EXPECT_EQ(rows(QStringLiteral("select fclientcode,fgoodsid,fqty,fplanprice from "
                                  "hSstock_planprice")),
              QStringList({QStringLiteral("S01|G001|4|70")}));
    EXPECT_EQ(pairs(form->DBmaster_table, "firstsumto"), QStringList({QStringLiteral("G001=280")}));
}

}  // namespace
}  // namespace md::test
