// The goods-colour selection dialog: its query, the marks and what the caller
// gets back.
#include <QApplication>
#include <QPointer>

#include "checktree.h"
#include "goodscolorsfixture.h"

using namespace md::test;

namespace {

class GoodsColourPicker : public GoodsColoursTest {
  protected:
    Tfrm_segoodscolor* openDialog() { return open<Tfrm_segoodscolor>(); }

    static QStringList pairs(TRemoteUdpDataSet* ds, bool sorted = true) {
        QStringList out;
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, ds->FieldByName("goodsid").Index()).toString() + '|' +
                       ds->valueAt(row, ds->FieldByName("colorid").Index()).toString();
        if (sorted) out.sort();
        return out;
    }
    static QStringList pairs(const QList<TPickedGoodsColor>& picked) {
        QStringList out;
        for (const TPickedGoodsColor& p : picked)
            out << p.goodsid + '|' + p.colorid + '|' + p.colorname_ch + '|' + p.goodsname + '|' +
                       QString::number(p.unitprice);
        return out;
    }
    static bool enabled(Tfrm_segoodscolor* d) {
        EXPECT_EQ(d->But_OK->isEnabled(), d->CheckBox_all->isEnabled());
        return d->But_OK->isEnabled();
    }
};

const QString kSelect =
    "select checkid,goodsid,goodsname,colorid,colorname_ch,brand,unit,sort,size_class,unitprice,"
    "strat,inputdate from fn_checkgoodscolor('') where 1=1\r";

TEST_F(GoodsColourPicker, TheQueryKeepsToTheBrandScopeTheTickedAttributesAndTheCode) {
    md::Shared().BrandScopeAll = false;
    md::Shared().BrandScopeList = "'雅韵'";
    auto* d = openDialog();
    EXPECT_EQ(d->windowTitle(), "货品颜色选择");
    EXPECT_EQ(d->cxTreeView1->topLevelItemCount(), 1) << "the tree is filled on creation";
    EXPECT_FALSE(d->DBmaster_table->Active());
    EXPECT_FALSE(enabled(d)) << "nothing to choose before a query";

    d->But_Find->click();
    EXPECT_EQ(d->DBmaster_table->SQL(), kSelect + " and brand in('雅韵')\r");
    EXPECT_EQ(pairs(d->DBmaster_table), (QStringList{"A1001|01", "A1001|02", "B2001|02"}));
    EXPECT_TRUE(enabled(d));

    // Another brand inside a scope of one finds nothing: nothing to choose.
    d->cxTreeView1->SetChecked("品牌", "悦动", true);
    d->Edit_goodsid->setText("A");
    d->But_Find->click();
    EXPECT_EQ(d->DBmaster_table->SQL(),
              kSelect + " and brand in('雅韵')\r and (brand in('悦动')) and goodsid like '%A%'");
    EXPECT_TRUE(d->DBmaster_table->IsEmpty());
    EXPECT_FALSE(enabled(d));

    md::Shared().BrandScopeAll = true;
    d->But_Find->click();
    EXPECT_EQ(d->DBmaster_table->SQL(), kSelect + " and (brand in('悦动')) and goodsid like '%A%'");
    EXPECT_EQ(pairs(d->DBmaster_table), (QStringList{"A1002|01", "A1002|03"}));
    EXPECT_TRUE(enabled(d));

    d->cxTreeView1->SetChecked("品牌", "悦动", false);
    d->Edit_goodsid->setText("o'x");
    d->But_Find->click();
    EXPECT_EQ(d->DBmaster_table->SQL(), kSelect + " and goodsid like '%o''x%'");
    EXPECT_FALSE(enabled(d));
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
}

TEST_F(GoodsColourPicker, EnterInTheCodeBoxRunsTheQueryAndTheGridTakesTheSharedFontSize) {
    md::Shared().GridFontSize = 15;
    auto* d = openDialog();
    EXPECT_EQ(d->cxGrid1DBTableView1->font().pointSize(), 15);
    d->show();
    QApplication::setActiveWindow(d);
    d->Edit_goodsid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(d->Edit_goodsid->hasFocus());
    QTest::keyClicks(d->Edit_goodsid, "B2");
    QTest::keyClick(d->Edit_goodsid, Qt::Key_Return);
    EXPECT_EQ(pairs(d->DBmaster_table), QStringList{"B2001|02"});
    EXPECT_TRUE(d->Edit_goodsid->hasFocus()) << "Enter ran the query instead of moving on";
}

TEST_F(GoodsColourPicker, AllMarksEveryRowAndADoubleClickTogglesOne) {
    auto* d = openDialog();
    d->resize(900, 500);
    d->show();
    QCoreApplication::processEvents();
    d->But_Find->click();
    ASSERT_EQ(d->DBmaster_table->RecordCount(), 5);
    const QStringList order = pairs(d->DBmaster_table, false);

    d->CheckBox_all->click();
    EXPECT_EQ(pairs(d->CheckedRows()).size(), 5);
    d->CheckBox_all->click();
    EXPECT_TRUE(d->CheckedRows().isEmpty());

    TDBTableView* v = d->cxGrid1DBTableView1;
    auto cellCentre = [&](int row, const char* field) {
        return v->visualRect(v->gridModel()->index(row, v->SectionOf(field))).center();
    };
    auto doubleClick = [&](int row, const char* field) {
        const QPoint at = cellCentre(row, field);
        // As the window system delivers it: the second press comes with the double-click.
        QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
    };
    auto marked = [&] {
        QStringList out;
        for (const TPickedGoodsColor& p : d->CheckedRows()) out << p.goodsid + '|' + p.colorid;
        return out;
    };
    doubleClick(3, "goodsname");
    doubleClick(1, "colorname_ch");
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cellCentre(4, "checkid"));
    EXPECT_EQ(marked(), (QStringList{order[1], order[3], order[4]})) << "in the list's order";
    doubleClick(3, "goodsname");
    EXPECT_EQ(marked(), (QStringList{order[1], order[4]}));
    // On the box itself too.
    doubleClick(0, "checkid");
    EXPECT_EQ(marked(), (QStringList{order[0], order[1], order[4]}));
}

TEST_F(GoodsColourPicker, OkHandsTheMarkedRowsBackAndCancelNothing) {
    describe("A1001", "01", "黑色磨毛");
    QPointer<QDialog> shown;
    auto pick = [&](QPushButton* Tfrm_segoodscolor::*button) {
        script.onDialog([&shown, button](QDialog& dialog) {
            shown = &dialog;
            auto& d = dynamic_cast<Tfrm_segoodscolor&>(dialog);
            d.Edit_goodsid->setText("A1001");
            d.But_Find->click();
            mark(d, {"A1001|02", "A1001|01"});
            (d.*button)->click();
            return d.result();
        });
    };
    pick(&Tfrm_segoodscolor::But_Cancel);
    EXPECT_TRUE(md::ui::PickGoodsColors(nullptr).isEmpty());
    EXPECT_TRUE(shown.isNull()) << "freed after the pick";

    pick(&Tfrm_segoodscolor::But_OK);
    QStringList picked = pairs(md::ui::PickGoodsColors(nullptr));
    picked.sort();
    EXPECT_EQ(picked, (QStringList{"A1001|01|黑色|品名A1001|199", "A1001|02|白色|品名A1001|199"}));
    EXPECT_TRUE(shown.isNull());

    // Made and run by the caller: the rows stay readable after OK closed it.
    auto* d = openDialog();
    QPointer<Tfrm_segoodscolor> guard(d);
    EXPECT_EQ(md::ui::ExecModal(*d), QDialog::Accepted);
    ASSERT_FALSE(guard.isNull());
    EXPECT_FALSE(d->DBmaster_table->Active());
    EXPECT_EQ(d->CheckedRows().size(), 2);
    EXPECT_EQ(states(), (QStringList{"进入", "离开", "进入", "离开", "进入", "离开"}));
}

}  // namespace
