// 仓位维护: the chooser within the user's warehouse scope, the stock of the
// chosen warehouse with its locations, and "保存" replacing exactly that
// warehouse's locations with the list's, all or nothing.
#include <QPushButton>

#include "codes/frm_HouseLocal.h"
#include "editors.h"
#include "sharedvalues.h"
#include "warehousesfixture.h"

using namespace md::test;

namespace {

class HouseLocal : public WarehouseTest {
  protected:
    Tfrm_HouseLocal* search(const QString& typed) {
        auto* f = openShown<Tfrm_HouseLocal>();
        f->Lookup_House->setEditText(typed);
        f->But_Find->click();
        return f;
    }
    // "goods|colour|qty|location" of the listed rows, sorted.
    static QStringList listed(Tfrm_HouseLocal* f) {
        const QStringList goods = column(f->DBmaster_table, "fgoodsid");
        const QStringList colours = column(f->DBmaster_table, "fcolorid");
        const QStringList qty = column(f->DBmaster_table, "qty");
        const QStringList places = column(f->DBmaster_table, "fhouselocal");
        QStringList out;
        for (int i = 0; i < goods.size(); ++i)
            out << goods[i] + '|' + colours[i] + '|' + qty[i] + '|' + places[i];
        out.sort();
        return out;
    }
    QString stored() {
        return rows(
                   "select fhousecode,fgoodsid,fcolorid,fhouselocal from dt_HstockLocal order "
                   "by fhousecode,fgoodsid,fcolorid")
            .join(' ');
    }
    static void placeAt(Tfrm_HouseLocal* f, const char* goods, const char* colour,
                        const QString& place) {
        ASSERT_TRUE(f->DBmaster_table->Locate("fgoodsid;fcolorid", QVariantList{goods, colour}));
        typeIntoCell(f->cxGrid1DBTableView1, "fhouselocal", place);
    }
};

TEST_F(HouseLocal, TheChooserKeepsToTheUsersScopeAndAnEmptyScopeListShowsAll) {
    md::Shared().HouseScopeAll = false;
    md::Shared().HouseScopeList = "'CK01','CK03'";
    auto* f = search("");
    EXPECT_EQ(f->DBhouse->SQL(),
              "select fcode,fname from dt_house where 1=1\n and fcode in('CK01','CK03')");
    EXPECT_EQ(column(f->DBhouse, "fcode"), (QStringList{"CK01", "CK03"}));
    f->Lookup_House->setEditText("CK02");  // typed, outside the scope
    f->But_Find->click();
    EXPECT_EQ(script.texts(), (QStringList{"请选择仓库!", "请选择仓库!"}));
    EXPECT_FALSE(f->DBmaster_table->Active());
    EXPECT_FALSE(f->But_Save->isEnabled());

    // Every scope row excluded (fstockbit 1): restricted, to an empty list.
    db.exec("insert into userhouse(fgroupid,fhousecode,fstockbit) values('u1','CK01',1)");
    md::LoadUserScopes();
    ASSERT_FALSE(md::Shared().HouseScopeAll);
    EXPECT_EQ(column(open<Tfrm_HouseLocal>()->DBhouse, "fcode"),
              (QStringList{"CK01", "CK02", "CK03"}));
}

TEST_F(HouseLocal, SearchListsTheWarehousesStockByGoodsColourWithItsLocation) {
    auto* f = search("ck01");
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(f->DBmaster_table->SQL(),
              "select a.fhousecode,b.fname,a.fgoodsid,c.goodsname,a.fcolorid,c.colorname_ch as "
              "fcolor,c.ayear,c.season,c.brand,c.sort,sum(isnull(a.qty,0)) as qty,e.fhouselocal\r"
              "from stock a join dt_house b on a.fhousecode=b.fcode join vgoodscolor c on "
              "a.fgoodsid=c.goodsid and a.fcolorid=c.colorid\r"
              "left join dt_HstockLocal e on a.fhousecode=e.fhousecode and a.fgoodsid=e.fgoodsid "
              "and a.fcolorid=e.fcolorid\r"
              "where a.fhousecode='CK01'\r"
              "group by a.fhousecode,b.fname,a.fgoodsid,a.fcolorid,c.goodsname,c.colorname_ch,"
              "c.ayear,c.season,c.brand,c.sort,e.fhouselocal\r"
              "order by a.fhousecode,e.fhouselocal,a.fgoodsid,a.fcolorid");
    EXPECT_EQ(listed(f), (QStringList{"G001|01|8|A-01-01", "G001|02|4|", "G002|03|2|"}));
    TDBTableView* v = f->cxGrid1DBTableView1;
    EXPECT_EQ(v->SummaryText(*v->Column("qty")), "14");
    EXPECT_TRUE(f->But_Save->isEnabled());
}

TEST_F(HouseLocal, SavingReplacesExactlyTheWarehousesLocationsWithTheListsOwn) {
    auto* f = search("CK01");
    placeAt(f, "G001", "01", "");
    f->But_Save->click();
    EXPECT_EQ(script.texts(), QStringList{"保存成功!"});
    EXPECT_EQ(stored(), "CK02|G002|01|B-02-01") << "CK01 has none left, CK02 keeps its own";

    placeAt(f, "G002", "03", "C-03");
    placeAt(f, "G001", "02", "  ");  // blanks are no location
    f->But_Save->click();
    EXPECT_EQ(stored(), "CK01|G002|03|C-03 CK02|G002|01|B-02-01");
    f->But_Find->click();
    EXPECT_EQ(listed(f), (QStringList{"G001|01|8|", "G001|02|4|", "G002|03|2|C-03"}));
}

TEST_F(HouseLocal, AFailedSaveKeepsTheStoredLocationsAndTheTyping) {
    auto* f = search("CK01");
    placeAt(f, "G001", "02", "B-01");
    // Beyond the column's 50 characters (more than the cell's editor takes).
    ASSERT_TRUE(f->DBmaster_table->Locate("fgoodsid;fcolorid", QVariantList{"G002", "03"}));
    f->DBmaster_table->Edit();
    f->DBmaster_table->FieldByName("fhouselocal").SetAsString(QString(51, 'X'));
    f->But_Save->click();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(stored(), "CK01|G001|01|A-01-01 CK02|G002|01|B-02-01");

    script.clear();
    placeAt(f, "G002", "03", "C-03");
    f->But_Save->click();
    EXPECT_EQ(script.texts(), QStringList{"保存成功!"});
    EXPECT_EQ(stored(),
              "CK01|G001|01|A-01-01 CK01|G001|02|B-01 CK01|G002|03|C-03 CK02|G002|01|B-02-01");
}

}  // namespace
