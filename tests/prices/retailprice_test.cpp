// 店铺零售价: the shop chooser within the user's scope, "检索" adding the goods
// colours the shop carries once and their shop costs, what the list shows, and
// saving row by row with the goods item's cost shown on all its colours.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>

#include "editors.h"
#include "gridfooter.h"
#include "prices/frm_Retailprice.h"
#include "pricesfixture.h"

using namespace md::test;

namespace {

class RetailPrices : public PricesTest {
  protected:
    Tfrm_Retailprice* form() {
        auto* f = openShown<Tfrm_Retailprice>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    void search(Tfrm_Retailprice* f, const QString& shop) {
        f->Lookup_Shop->setKeyValue(shop);
        f->But_Find->click();
    }
    // "goods colour|retail|cost|margin|stock|sold" of every row, as the cells show them.
    QStringList listed() {
        QStringList out;
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << QStringList{cell(v, row, "fgoodsid") + " " + cell(v, row, "fcolorid"),
                               cell(v, row, "fretailprice"),
                               cell(v, row, "fplanprice"),
                               cell(v, row, "faigprice"),
                               cell(v, row, "qty").trimmed(),
                               cell(v, row, "saleqty").trimmed()}
                       .join('|');
        return out;
    }
    QStringList shops(Tfrm_Retailprice* f) { return column(f->DBshop, "fcode"); }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(RetailPrices, ShopsWithShiftsWithinTheUsersScopeAreTheOnlyOnesListed) {
    auto* f = form();
    EXPECT_EQ(shops(f), (QStringList{"S01", "S02"})) << "C01 keeps no shifts";
    closeForms();

    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList = "'S01'";
    f = form();
    EXPECT_EQ(f->DBshop->SQL(), Tfrm_Retailprice::ShopListSQL());
    EXPECT_TRUE(f->DBshop->SQL().endsWith("\r and fcode in('S01')"));
    EXPECT_EQ(shops(f), QStringList{"S01"});

    // A shop outside the scope typed into the chooser finds nothing, as does none.
    search(f, "S02");
    search(f, "");
    EXPECT_EQ(script.texts(), (QStringList{"请选择店铺!", "请选择店铺!"}));
    EXPECT_EQ(db.count("retailprice"), 0);
    EXPECT_FALSE(ds->Active());

    // Delete empties the chooser.
    f->Lookup_Shop->setKeyValue("S01");
    f->Lookup_Shop->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(f->Lookup_Shop->keyValue(), "");
}

TEST_F(RetailPrices, TheFirstSearchListsTheGoodsColoursTheShopCarriesAndASecondAddsNothing) {
    auto* f = form();
    EXPECT_FALSE(f->edit_action->isEnabled()) << "nothing listed to change yet";
    db.conn().log().clear();
    search(f, "s01");
    EXPECT_TRUE(f->edit_action->isEnabled());
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(f->SearchedShop(), "S01");
    EXPECT_EQ(statementsWith("insert into retailprice"),
              QStringList{Tfrm_Retailprice::AddMissingSQL("S01")});
    EXPECT_EQ(statementsWith("P_UpdateShopPlanprice"),
              QStringList{"exec P_UpdateShopPlanprice 'S01'"});
    EXPECT_EQ(ds->SQL(), Tfrm_Retailprice::SearchSQL("S01"));
    // New retail prices start at the tag price, the shop cost at the reference cost;
    // a stock of 0 and nothing sold show empty.
    EXPECT_EQ(listed(),
              (QStringList{"G001 01|300.00|100.00|200.00|5|3", "G001 02|300.00|100.00|200.00||"}));
    EXPECT_EQ(cell(v, 0, "fabbrev"), "湖滨店");
    EXPECT_EQ(cell(v, 0, "fcolor"), "黑色");
    EXPECT_EQ(v->SummaryText(*v->Column("qty")), "5");
    EXPECT_EQ(v->SummaryText(*v->Column("saleqty")), "3");
    EXPECT_EQ(v->SummaryText(*v->Column("fclientcode")), "记录数：2");

    search(f, "S01");
    EXPECT_EQ(db.count("retailprice"), 2);
    EXPECT_EQ(db.count("dt_clientplanprice"), 1);
    EXPECT_EQ(ds->RecordCount(), 2);

    // S02 has ordered G002 (tag 0, cost 40) and sold G001: its own sales only.
    search(f, "S02");
    EXPECT_EQ(listed(),
              (QStringList{"G002 01|0.00|40.00|-40.00||", "G002 03|0.00|40.00|-40.00||",
                           "G001 01|300.00|100.00|200.00||7", "G001 02|300.00|100.00|200.00||"}));
    EXPECT_EQ(db.count("retailprice"), 6);
    EXPECT_EQ(rows("select fclientcode,fgoodsid,fplanprice from dt_clientplanprice order by "
                   "fclientcode,fgoodsid"),
              (QStringList{"S01|G001|100", "S02|G001|100", "S02|G002|40"}));

    QApplication::processEvents();
    EXPECT_TRUE(f->grab().toImage().save(QDir::temp().filePath("Retailprice.png")));
}

TEST_F(RetailPrices, EachChangedRowIsSavedAndTheGoodsItemsCostShowsOnAllItsColours) {
    db.exec(
        "insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice) values('S01','G001',"
        "120)");
    auto* f = form();
    search(f, "S01");
    EXPECT_EQ(listed(),
              (QStringList{"G001 01|300.00|120.00|180.00|5|3", "G001 02|300.00|120.00|180.00||"}))
        << "a shop cost already there stays";
    f->edit_action->trigger();
    EXPECT_EQ(typeIntoCell(v, 0, "fretailprice", "269"), "");
    EXPECT_EQ(cell(v, 0, "faigprice"), "149.00");
    EXPECT_EQ(typeIntoCell(v, 1, "fplanprice", "95.5"), "");
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(statementsWith("P_UpdateOneShopPlanprice").size(), 2) << "one call per changed row";
    EXPECT_EQ(rows("select fcolorid,fretailprice from retailprice where fclientcode='S01' order "
                   "by fcolorid"),
              (QStringList{"01|269", "02|300"}));
    EXPECT_EQ(rows("select fplanprice from dt_clientplanprice where fclientcode='S01'"),
              QStringList{"95.5"});
    EXPECT_EQ(listed(),
              (QStringList{"G001 01|269.00|95.50|173.50|5|3", "G001 02|300.00|95.50|204.50||"}));
    EXPECT_EQ(cell(v, v->currentIndex().row(), "fcolorid"), "02") << "the row saved stays current";
    EXPECT_FALSE(f->append_action->isVisible());
    EXPECT_FALSE(f->del_action->isVisible());
}

TEST_F(RetailPrices, PricesThatAreNoNumberOrBelowZeroAreRefused) {
    auto* f = form();
    search(f, "S01");
    f->edit_action->trigger();
    EXPECT_EQ(typeIntoCell(v, 0, "fretailprice", "-1"), "-1");
    EXPECT_EQ(typeIntoCell(v, 0, "fplanprice", "."), ".");
    EXPECT_EQ(script.texts(), (QStringList{"零售价不能为负数!", "成本价必须是数字!"}));
    script.clear();
    EXPECT_THROW(ds->FieldByName("fplanprice").SetAsFloat(-3), EAbort);
    EXPECT_EQ(script.texts(), QStringList{"成本价不能为负数!"});
    f->post_action->trigger();
    EXPECT_EQ(rows("select fretailprice from retailprice where fcolorid='01'"), QStringList{"300"});
    EXPECT_EQ(rows("select fplanprice from dt_clientplanprice"), QStringList{"100"});
}

}  // namespace
