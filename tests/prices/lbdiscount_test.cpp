// 货品类别折扣: rows numbered on from the highest stored one, client and
// brand required, the client typed from the client list with its look-ups,
// the category lists from the goods values, and the client tree moving the grid.
#include <QAction>

#include "prices/frm_Lbdiscount.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class CategoryDiscount : public TermsTest {
  protected:
    Tfrm_Lbdiscount* form() {
        auto* f = openShown<Tfrm_Lbdiscount>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    QStringList stored() {
        return rows(
            "select fid,fclientcode,brand,ayear,season,sort,discount1 from "
            "cust_lbdiscount order by fid");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(CategoryDiscount, NewRowsAreNumberedOnAndNeedAListedClientAndABrand) {
    auto* f = form();
    EXPECT_EQ(f->RowCounter(), 7);
    // In the order the server returns them to the window's own query.
    QStringList brands;
    for (const QString& row : rows(Tfrm_Lbdiscount::FieldValuesSQL("brand")))
        brands << row.section('|', 3, 3);  // fautoid|ftablename|ffieldname|fFieldValues|..
    EXPECT_EQ(v->Column("brand")->Items(), brands);
    EXPECT_EQ(v->Column("brand")->Items().size(), 2);
    EXPECT_EQ(v->Column("ayear")->Items(), QStringList{"2025"}) << "asked for as 'Ayear'";
    EXPECT_EQ(v->Column("sort")->Items(), QStringList{"外套"});

    f->append_action->trigger();
    EXPECT_EQ(field(ds, "fid"), "8");
    f->post_action->trigger();
    EXPECT_TRUE(typeIntoCell(v, "fclientcode", "C09"));
    EXPECT_FALSE(typeIntoCell(v, "fclientcode", "c02"));
    EXPECT_EQ(field(ds, "fabbrev") + "|" + field(ds, "fmathod") + "|" + field(ds, "fgrad"),
              "松江开元|加盟|经销商");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"请选择客户编号！", "客户编号输入有误,请重新录入!", "请选择品牌！"}));
    EXPECT_EQ(ds->State(), dsInsert);

    // Year, season and category may stay empty.
    EXPECT_FALSE(typeIntoCell(v, "brand", "森屿"));
    EXPECT_FALSE(typeIntoCell(v, "discount1", "0.6"));
    f->post_action->trigger();
    f->append_action->trigger();
    EXPECT_EQ(field(ds, "fid"), "9") << "the counter is not read again";
    EXPECT_FALSE(typeIntoCell(v, "fclientcode", "C01"));
    EXPECT_FALSE(typeIntoCell(v, "brand", "雅韵"));
    EXPECT_FALSE(typeIntoCell(v, "season", "冬"));
    f->post_action->trigger();
    EXPECT_EQ(stored(),
              (QStringList{"7|C01|雅韵|2025|秋||0.5", "8|C02|森屿||||0.6", "9|C01|雅韵||冬||"}));
}

TEST_F(CategoryDiscount, ChoosingAClientInTheTreeMovesTheGridToItsFirstRow) {
    db.exec(
        "insert into cust_lbdiscount(fid,fclientcode,brand) values(8,'C02','雅韵'),"
        "(9,'C01','森屿')");
    auto* f = form();
    EXPECT_EQ(f->dxDBTreeList1->DataSource()->DataSet(), f->DBclient);
    chooseNode(f->dxDBTreeList1, "K2");
    EXPECT_EQ(field(ds, "fid"), "8");
    // On C01's second row already: choosing C01 keeps it there.
    ASSERT_TRUE(ds->Locate("fid", 9));
    chooseNode(f->dxDBTreeList1, "K1");
    EXPECT_EQ(field(ds, "fid"), "9");
    chooseNode(f->dxDBTreeList1, "K2");
    chooseNode(f->dxDBTreeList1, "K1");
    EXPECT_EQ(field(ds, "fid"), "7");
    // A client without rows leaves the grid where it is.
    chooseNode(f->dxDBTreeList1, "K3");
    EXPECT_EQ(field(ds, "fid"), "7");
}

}  // namespace
