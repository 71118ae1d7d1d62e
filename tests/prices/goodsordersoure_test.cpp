// 货品订货目标: goods colours picked from the selection dialog add only the
// pairs not listed yet and are saved at once; a saved row changed in its goods
// code moves (the row read is the one written); minimums are whole and not negative.
#include <QAction>
#include <QToolButton>

#include "editors.h"
#include "prices/frm_goodsOrderSoure.h"
#include "segoodscolor.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class OrderMinimum : public TermsTest {
  protected:
    Tfrm_goodsOrderSoure* form() {
        auto* f = openShown<Tfrm_goodsOrderSoure>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    void pressGoodsButton() {
        auto* cell = qobject_cast<md::ui::TButtonEdit*>(openEditor(v, "fgoodsid"));
        ASSERT_NE(cell, nullptr);
        cell->button()->click();
        v->CancelEditor();
    }
    QStringList stored() {
        return rows(
            "select fgoodsid,fcolorid,ordersoure from ba_GoodsOrderSoure order by "
            "fgoodsid,fcolorid");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(OrderMinimum, PickedGoodsColoursAddOnlyNewPairsAndAreSavedAtOnce) {
    auto* f = form();
    int shown = 0;
    script.onDialog([&](QDialog& dialog) {
        ++shown;
        auto& pick = dynamic_cast<Tfrm_segoodscolor&>(dialog);
        if (!pick.DBmaster_table->Active()) pick.But_FindClick();
        for (const char* pair : {"G001;01", "G001;02", "G002;01"}) {
            const QStringList key = QString(pair).split(';');
            EXPECT_TRUE(
                pick.DBmaster_table->Locate("goodsid;colorid", QVariantList{key[0], key[1]}));
            pick.DBmaster_table->Edit();
            pick.DBmaster_table->FieldByName("checkid").SetAsBoolean(true);
            pick.DBmaster_table->Post();
        }
        return int(QDialog::Accepted);
    });
    f->fgoodsidButtonClick();
    EXPECT_EQ(shown, 0) << "only while the list is edited";

    f->append_action->trigger();
    pressGoodsButton();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored(), (QStringList{"G001|01|12", "G001|02|0", "G002|01|0"}));
    EXPECT_EQ(ds->RecordCount(), 3) << "the untouched new row went";
    ASSERT_TRUE(ds->Locate("fgoodsid;fcolorid", QVariantList{"G002", "01"}));
    EXPECT_EQ(
        field(ds, "goodsname") + "|" + field(ds, "colorname_ch") + "|" + field(ds, "unitprice"),
        "休闲裤|黑色|299");

    f->edit_action->trigger();
    pressGoodsButton();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(ds->RecordCount(), 3) << "picked again: nothing new";
    EXPECT_EQ(stored().size(), 3);
}

TEST_F(OrderMinimum, ASavedRowChangedInItsGoodsMovesAndMinimumsAreWholeNumbers) {
    auto* f = form();
    ASSERT_EQ(ds->RecordCount(), 1);
    f->edit_action->trigger();
    EXPECT_TRUE(typeIntoCell(v, "ordersoure", "-"));
    EXPECT_TRUE(typeIntoCell(v, "ordersoure", "-6"));
    EXPECT_EQ(script.texts(), (QStringList{"最低起订量必须是数字!", "最低起订量不能为负数!"}));
    EXPECT_FALSE(typeIntoCell(v, "ordersoure", "24"));
    // Goods unknown: no message, the names empty.
    EXPECT_FALSE(typeIntoCell(v, "fgoodsid", "G999"));
    EXPECT_EQ(field(ds, "goodsname") + "|" + field(ds, "unitprice"), "|0");
    EXPECT_FALSE(typeIntoCell(v, "fgoodsid", "G002"));
    EXPECT_EQ(field(ds, "goodsname") + "|" + field(ds, "unitprice"), "休闲裤|299");
    f->post_action->trigger();
    EXPECT_EQ(stored(), QStringList{"G002|01|24"});

    // A pair listed already is refused: added new, or reached by a change.
    script.clear();
    db.exec("insert into ba_GoodsOrderSoure(fgoodsid,fcolorid,ordersoure) values('G001','01',6)");
    f->edit_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "fgoodsid", "g001"));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能录入相同的记录!"});
    EXPECT_EQ(stored(), (QStringList{"G001|01|6", "G002|01|24"}));
}

}  // namespace
