// 库存上下限设置: names looked up as goods and colour are typed, codes that
// match nothing saved as typed, each pair once, limits that are whole,
// non-negative and in order, and goods colours picked from the selection dialog.
#include <QAction>
#include <QToolButton>

#include "codes/frm_housestockLimit.h"
#include "editors.h"
#include "segoodscolor.h"
#include "warehousesfixture.h"

using namespace md::test;

namespace {

class StockLimit : public WarehouseTest {
  protected:
    Tfrm_housestockLimit* form() {
        auto* f = openShown<Tfrm_housestockLimit>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    QString stored() {
        return rows(
                   "select fgoodsid,fcolorid,fmaxstock,fminstock from Ba_housestockLimit order "
                   "by fgoodsid,fcolorid")
            .join(' ');
    }
    // "goods|colour|name|colour name|price" of the current row.
    QString names() {
        return QStringList{field(ds, "fgoodsid"), field(ds, "fcolorid"), field(ds, "goodsname"),
                           field(ds, "colorname_ch"), field(ds, "unitprice")}
            .join('|');
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(StockLimit, TypedCodesLookUpTheirNamesAndUnknownOnesAreSavedAsTyped) {
    auto* f = form();
    f->append_action->trigger();
    EXPECT_EQ(field(ds, "fmaxstock") + "/" + field(ds, "fminstock"), "0/0");
    typeIntoCell(v, "fcolorid", "03");
    typeIntoCell(v, "fgoodsid", "G002");
    EXPECT_EQ(names(), "G002|03|休闲裤|红色|299") << "the colour typed first is named too";
    typeIntoCell(v, "fcolorid", "02");
    EXPECT_EQ(names(), "G002|02|休闲裤||299") << "G002 has no white";
    typeIntoCell(v, "fcolorid", "01");
    typeIntoCell(v, "fmaxstock", "40");
    typeIntoCell(v, "fminstock", "4");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored(), "G001|01|50|5 G002|01|40|4");

    f->append_action->trigger();
    typeIntoCell(v, "fgoodsid", "G999");
    typeIntoCell(v, "fcolorid", "09");
    EXPECT_EQ(names(), "G999|09|||");
    f->post_action->trigger();
    EXPECT_EQ(stored(), "G001|01|50|5 G002|01|40|4 G999|09|0|0");
}

TEST_F(StockLimit, EmptyCodesAndAPairEnteredTwiceAreRefused) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    typeIntoCell(v, "fgoodsid", "G001");
    f->post_action->trigger();
    typeIntoCell(v, "fcolorid", "01");  // stored already
    f->post_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"货号不能为空!", "颜色编号不能为空!", "不能录入相同的记录!"}));
    EXPECT_EQ(ds->State(), dsInsert);

    // Two new rows with one pair, before either is saved.
    script.clear();
    typeIntoCell(v, "fcolorid", "02");
    ds->Append();  // as Down on the last row does
    typeIntoCell(v, "fgoodsid", "g001");
    typeIntoCell(v, "fcolorid", "02");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能录入相同的记录!"});
    EXPECT_EQ(stored(), "G001|01|50|5");
}

TEST_F(StockLimit, LimitsAreWholeNonNegativeAndTheUpperOneNotBelowTheLower) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("fgoodsid;fcolorid", QVariantList{"G001", "01"}));
    f->edit_action->trigger();
    typeIntoCell(v, "fmaxstock", "-5");
    typeIntoCell(v, "fminstock", "-1");
    EXPECT_EQ(script.texts(), (QStringList{"库存上限不能为负数!", "库存下限不能为负数!"}));

    script.clear();
    typeIntoCell(v, "fmaxstock", "3");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"库存上限不能小于库存下限!"});
    typeIntoCell(v, "fminstock", "3");
    f->post_action->trigger();
    EXPECT_EQ(stored(), "G001|01|3|3");

    // Only the limits of a saved row are written: its goods and colour stay.
    script.clear();
    f->edit_action->trigger();
    typeIntoCell(v, "fgoodsid", "G002");
    EXPECT_EQ(script.texts(), QStringList{"已保存的记录不能修改货号和颜色编号!"});
    EXPECT_EQ(field(ds, "fgoodsid"), "G001");
}

TEST_F(StockLimit, PickedGoodsColoursAlreadyListedAddNothing) {
    auto* f = form();
    int shown = 0;
    script.onDialog([&](QDialog& dialog) {
        ++shown;
        auto& pick = dynamic_cast<Tfrm_segoodscolor&>(dialog);
        if (!pick.DBmaster_table->Active()) pick.But_FindClick();
        TRemoteUdpDataSet* rows = pick.DBmaster_table;
        for (const char* pair : {"G001;01", "G002;01", "G002;03"}) {
            const QStringList key = QString(pair).split(';');
            EXPECT_TRUE(rows->Locate("goodsid;colorid", QVariantList{key[0], key[1]}));
            rows->Edit();
            rows->FieldByName("checkid").SetAsBoolean(true);
            rows->Post();
        }
        return int(QDialog::Accepted);
    });
    f->fgoodsidButtonClick();
    EXPECT_EQ(shown, 0) << "only while the list is edited";

    f->append_action->trigger();
    v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(), v->SectionOf("fgoodsid")));
    v->edit(v->currentIndex());
    auto* cell = qobject_cast<md::ui::TButtonEdit*>(
        qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor());
    ASSERT_NE(cell, nullptr);
    cell->button()->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(ds->RecordCount(), 3) << "the empty new row went, two rows came";
    ASSERT_TRUE(ds->Locate("fgoodsid;fcolorid", QVariantList{"G002", "03"}));
    EXPECT_EQ(names(), "G002|03|休闲裤|红色|299");
    EXPECT_TRUE(f->post_action->isEnabled());
    f->post_action->trigger();
    EXPECT_EQ(stored(), "G001|01|50|5 G002|01|0|0 G002|03|0|0");
}

}  // namespace
