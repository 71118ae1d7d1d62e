// 客户合同折扣设置 and the rate checks every discount column shares: the
// company's rate names applied only while ba_fieldremark answers in order,
// only the six rates edited and written, no client added or deleted, and
// typed rates that are no number, negative, above 1 (asked) or above 10.
#include <QAction>

#include "prices/frm_Lbdiscount.h"
#include "prices/frm_discount.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class ContractDiscount : public TermsTest {
  protected:
    Tfrm_discount* form() {
        auto* f = openShown<Tfrm_discount>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    QString rates(const char* code) {
        return rows(
                   QStringLiteral("select discount1,discount2,fname from dt_client where fcode='") +
                   code + "'")
            .join(' ');
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(ContractDiscount, RateNamesApplyOnlyWhileTheRowsComeBackInOrder) {
    // Row 2 names discount3: it and every later row miss their place, except
    // discount4, which is fourth again.
    nameRates({"discount1", "discount3", "discount2", "DISCOUNT4"});
    auto* f = form();
    auto* lb = open<Tfrm_Lbdiscount>();
    for (TDBTableView* view : {v, lb->cxGrid1DBTableView1}) {
        EXPECT_EQ(caption(view, "discount1"), "期货折扣");
        EXPECT_EQ(caption(view, "discount2"), "折扣2") << "a rate no row names keeps its caption";
        EXPECT_EQ(caption(view, "discount3"), "折扣3");
        EXPECT_EQ(caption(view, "discount4"), "铺货折扣");
        EXPECT_TRUE(view->Column("discount2")->Visible());
        EXPECT_TRUE(view->Column("discount5")->Visible());
    }
    // In order, the hidden sixth goes; the window's client columns stay put.
    nameRates({"discount1", "discount2", "discount3", "discount4", "discount5", "discount6"});
    f->Close();
    flushDeletes();
    form();
    EXPECT_EQ(caption(v, "discount6"), "备用折扣");
    EXPECT_FALSE(v->Column("discount6")->Visible());
    EXPECT_EQ(caption(v, "fcode"), "客户编号");
}

TEST_F(ContractDiscount, OnlyTheRatesAreEditedAndNoClientIsAddedOrDeleted) {
    auto* f = form();
    EXPECT_EQ(ds->RecordCount(), 5);
    EXPECT_EQ(f->dxDBTreeList1->DataSource(), f->DbMaster_Source) << "the tree is the grid's rows";
    for (QAction* a : {f->insert_action, f->append_action, f->del_action})
        EXPECT_FALSE(a->isVisible() || a->isEnabled()) << a->text().toStdString();

    ASSERT_TRUE(ds->Locate("fcode", "C01"));
    f->edit_action->trigger();
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());
    EXPECT_FALSE(typeIntoCell(v, "discount1", "0.45"));
    EXPECT_FALSE(v->gridModel()->flags(v->currentIndex().siblingAtColumn(v->SectionOf("fabbrev"))) &
                 Qt::ItemIsEditable);
    // Down on the last row and Ctrl+Delete add and remove nothing.
    ds->Last();
    v->setFocus();
    QTest::keyClick(v, Qt::Key_Down);
    QTest::keyClick(v, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(ds->RecordCount(), 5);

    // Someone renames C01 meanwhile: the save writes the rates alone.
    db.exec("update dt_client set fname='上海申雅服饰' where fcode='C01'");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rates("C01"), "0.45|1|上海申雅服饰");
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());
}

TEST_F(ContractDiscount, TypedRatesThatAreNoDiscountAreRefusedAndAbove1Asked) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("fcode", "C02"));
    f->edit_action->trigger();
    // The editor takes digits, a sign and a point: these still are no rate.
    EXPECT_TRUE(typeIntoCell(v, "discount1", "-"));
    EXPECT_TRUE(typeIntoCell(v, "discount1", "-0.5"));
    EXPECT_TRUE(typeIntoCell(v, "discount1", "12"));
    EXPECT_EQ(script.texts(),
              (QStringList{"期货折扣必须是数字!", "期货折扣不能为负数!", "期货折扣不能大于10!"}));
    EXPECT_EQ(field(ds, "discount1"), "1");

    // 8.5 for 0.85: asked, and kept only on yes.
    script.clear();
    script.answer(md::ui::Answer::No);
    EXPECT_FALSE(typeIntoCell(v, "discount2", "8.5"));
    EXPECT_EQ(field(ds, "discount2"), "1");
    script.answer(md::ui::Answer::Yes);
    EXPECT_FALSE(typeIntoCell(v, "discount2", "1.2"));
    EXPECT_FALSE(typeIntoCell(v, "discount3", "0.85"));
    EXPECT_EQ(script.texts(), (QStringList{"现货折扣为8.5，大于1，是否确认？",
                                           "现货折扣为1.2，大于1，是否确认？"}));
    f->post_action->trigger();
    EXPECT_EQ(rows("select discount1,discount2,discount3 from dt_client where fcode='C02'"),
              QStringList{"1|1.2|0.85"});
}

}  // namespace
