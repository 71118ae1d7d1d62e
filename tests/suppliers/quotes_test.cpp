// 供应商报价: the quotes follow the supplier, a saved quote is written back to
// its own row only, goods codes are looked up as typed, prices are numbers
// not below zero, "计  算" prices the unpriced material, picked goods add only
// what is not listed, and "更新至成本价" makes average quotes reference costs
// where there are none.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include "editors.h"
#include "partners/frm_SupplierPrice.h"
#include "selectgoods.h"
#include "suppliersfixture.h"
#include "treelist.h"

using namespace md::test;

namespace {

class Quotes : public SuppliersTest {
  protected:
    Tfrm_SupplierPrice* form() {
        auto* f = openShown<Tfrm_SupplierPrice>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    static void choose(Tfrm_SupplierPrice* f, const QString& code) {
        ASSERT_TRUE(f->DBsupplier->Locate(QStringLiteral("fcode"), code));
    }
    // "goods|date|material|making" of the quotes shown (read without an order).
    QStringList shown() {
        QStringList quotes;
        for (int row = 0; row < ds->RecordCount(); ++row) {
            ds->SetRecNo(row + 1);
            quotes << QStringList{field(ds, "fgoodsid"), field(ds, "fDate").left(10),
                                  field(ds, "fMasterialPrice"), field(ds, "fManualPrice")}
                          .join('|');
        }
        quotes.sort();
        return quotes;
    }
    QStringList stored(const QString& supplier) {
        return rows(QStringLiteral("select fgoodsid,convert(varchar(10),fdate,120),"
                                   "fmasterialprice,fmanualprice from "
                                   "Dt_SupplierPrice where fsuppliercode='%1' order by "
                                   "fgoodsid,fdate")
                        .arg(supplier));
    }
    void goTo(const QString& goods, const QString& date) {
        for (int row = 1; row <= ds->RecordCount(); ++row) {
            ds->SetRecNo(row);
            if (field(ds, "fgoodsid") == goods && field(ds, "fDate").startsWith(date)) return;
        }
        FAIL() << goods << " " << date;
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(Quotes, TheQuotesFollowTheSupplierAndASavedQuoteChangesOnlyItsOwnRow) {
    Tfrm_SupplierPrice* f = form();
    EXPECT_EQ(f->windowTitle(), "供应商报价");
    EXPECT_EQ(f->dxDBTreeList1->model()->rowCount(), 2);
    EXPECT_EQ(shown(), (QStringList{"G001|2026-03-01|30|10", "G001|2026-04-01|32|10"}));
    EXPECT_EQ(field(ds, "goodsname"), "圆领T恤");
    choose(f, "S02");
    EXPECT_EQ(shown(), QStringList{"G001|2026-03-01|50|10"});
    choose(f, "S01");

    goTo("G001", "2026-04-01");
    f->edit_action->trigger();
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled()) << "no other supplier while editing";
    typeIntoCell(v, "fManualPrice", "12.5");
    EXPECT_EQ(field(ds, "fprice"), "44.5");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored("S01"), (QStringList{"G001|2026-03-01|30|10", "G001|2026-04-01|32|12.5"}));
    EXPECT_EQ(stored("S02"), QStringList{"G001|2026-03-01|50|10"});
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());

    // A quote moved to another date is still found by the date it was read with.
    f->edit_action->trigger();
    ds->FieldByName("fDate").SetAsString("2026-05-02");
    f->post_action->trigger();
    EXPECT_EQ(stored("S01"), (QStringList{"G001|2026-03-01|30|10", "G001|2026-05-02|32|12.5"}));
}

TEST_F(Quotes, CellsTakeTypingOnlyWhileTheWindowEdits) {
    Tfrm_SupplierPrice* f = form();
    EXPECT_FALSE(v->InputAllowed());
    EXPECT_FALSE(f->StatusBar1->isEnabled());
    f->edit_action->trigger();
    EXPECT_TRUE(v->InputAllowed());
    EXPECT_TRUE(f->StatusBar1->isEnabled());
    f->cacel_action->trigger();
    EXPECT_FALSE(v->InputAllowed());
}

TEST_F(Quotes, ANewQuoteStartsAtZeroAndItsGoodsCodeMustBeAKnownOne) {
    Tfrm_SupplierPrice* f = form();
    choose(f, "S02");
    f->append_action->trigger();
    EXPECT_EQ(field(ds, "fDate").left(10), QDate::currentDate().toString("yyyy-MM-dd"));
    EXPECT_EQ(field(ds, "fPosted"), "1");
    EXPECT_EQ(field(ds, "fInputUser"), "u1");
    EXPECT_EQ(v->gridModel()
                  ->index(ds->RecNo() - 1, v->SectionOf("fMasterialPrice"))
                  .data()
                  .toString()
                  .trimmed(),
              "")
        << "a price of 0 shows nothing";

    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().text, "货号不能为空");
    EXPECT_EQ(script.shown().first().title, "系统提示");

    script.clear();
    typeIntoCell(v, "fgoodsid", "X99");
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().text, "货号不存在,请重新录入!");
    EXPECT_EQ(script.shown().first().title, "提示");
    EXPECT_EQ(field(ds, "fgoodsid"), "");

    script.clear();
    typeIntoCell(v, "fgoodsid", "g002");
    EXPECT_EQ(field(ds, "fgoodsid"), "G002");
    EXPECT_EQ(QStringList({field(ds, "goodsname"), field(ds, "brand"), field(ds, "ayear"),
                           field(ds, "season"), field(ds, "unitprice")})
                  .join('|'),
              "休闲裤|雅韵|2026|夏|299");
    typeIntoCell(v, "fMasterialPrice", "-5");
    EXPECT_EQ(script.texts(), QStringList{"物料价不能为负数!"});
    EXPECT_EQ(field(ds, "fMasterialPrice"), "0");
    typeIntoCell(v, "fManualPrice", "");
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{}) << "zero prices are saved, an emptied one as 0";
    EXPECT_EQ(rows("select fsuppliercode,fgoodsid,fmasterialprice,fmanualprice,fposted,finputuser "
                   "from Dt_SupplierPrice where fgoodsid='G002'"),
              QStringList{"S02|G002|0|0|1|u1"});

    // One quote of a goods item a day.
    f->append_action->trigger();
    typeIntoCell(v, "fgoodsid", "G002");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"此货号在该报价日期已有报价!"});
    EXPECT_EQ(db.count("Dt_SupplierPrice where fgoodsid='G002'"), 1);
}

TEST_F(Quotes, CalculatePricesOnlyTheUnpricedMaterialAndSendsNothingBeforeSave) {
    addQuote("S01", "G002", "2026-03-01", 0, 20);
    addQuote("S01", "G004", "2026-03-01", 0, 15);
    Tfrm_SupplierPrice* f = form();
    f->Edit_Discount->setValue(0.33);
    f->But_Cac->click();
    EXPECT_EQ(shown(), (QStringList{"G001|2026-03-01|30|10", "G001|2026-04-01|32|10",
                                    "G002|2026-03-01|0|20", "G004|2026-03-01|0|15"}))
        << "only while editing";

    f->edit_action->trigger();
    f->But_Cac->click();
    EXPECT_EQ(shown(), (QStringList{"G001|2026-03-01|30|10", "G001|2026-04-01|32|10",
                                    "G002|2026-03-01|98.67|20", "G004|2026-03-01|39.6|15"}));
    EXPECT_EQ(db.count("Dt_SupplierPrice where fmasterialprice=0"), 2) << "not sent yet";
    f->post_action->trigger();
    EXPECT_EQ(stored("S01"), (QStringList{"G001|2026-03-01|30|10", "G001|2026-04-01|32|10",
                                          "G002|2026-03-01|98.67|20", "G004|2026-03-01|39.6|15"}));
}

TEST_F(Quotes, PickedGoodsAddARowEachOnlyWhenNotListed) {
    Tfrm_SupplierPrice* f = form();
    int shownDialogs = 0;
    script.onDialog([&](QDialog& dialog) {
        ++shownDialogs;
        auto& picker = dynamic_cast<Tfrm_selectgoods&>(dialog);
        picker.But_Find->click();
        picker.CheckBox_all->click();
        return int(QDialog::Accepted);
    });
    f->fgoodsidButtonClick();
    EXPECT_EQ(shownDialogs, 0) << "only while the quotes are edited";

    f->append_action->trigger();
    v->setCurrentIndex(v->gridModel()->index(ds->RecNo() - 1, v->SectionOf("fgoodsid")));
    v->edit(v->currentIndex());
    auto* cell = qobject_cast<md::ui::TButtonEdit*>(
        qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor());
    ASSERT_NE(cell, nullptr);
    cell->button()->click();
    EXPECT_EQ(shownDialogs, 1);
    EXPECT_EQ(script.texts(), QStringList{});
    f->post_action->trigger();
    EXPECT_EQ(rows("select fgoodsid,fmasterialprice,fmanualprice from Dt_SupplierPrice where "
                   "fsuppliercode='S01' order by fgoodsid,fdate"),
              (QStringList{"G001|30|10", "G001|32|10", "G002|0|0", "G003|0|0", "G004|0|0"}))
        << "G001 was listed already";
}

TEST_F(Quotes, UpdateToCostsAveragesQuotesWhereThereIsNoCostAndKeepsOtherCosts) {
    db.exec("delete from Dt_SupplierPrice");
    addQuote("S01", "G002", "2026-03-01", 30, 10);  // no cost row
    addQuote("S02", "G002", "2026-03-01", 50, 10);
    addQuote("S02", "G003", "2026-03-01", 30, 10);  // costs 12
    addQuote("S01", "G004", "2026-03-01", 20, 4);   // costs 0
    addQuote("S02", "G004", "2026-04-01", 30, 6);
    Tfrm_SupplierPrice* f = form();
    f->update_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"更新成功"});
    EXPECT_EQ(rows("select fgoodsid,planprice,GoodsNo from planprice order by fgoodsid"),
              (QStringList{"G002|50|N2", "G003|12|N3", "G004|30|N4"}));
}

TEST_F(Quotes, PrintIsTitledWithTheSuppliersShortName) {
    Tfrm_SupplierPrice* f = form();
    choose(f, "S02");
    QString title;
    script.onDialog([&](QDialog& dialog) {
        title = dialog.windowTitle();
        return int(QDialog::Rejected);
    });
    f->print_action->trigger();
    EXPECT_EQ(title, "供应商报价(鑫隆制衣)");
    EXPECT_EQ(states(), (QStringList{"进入", "打印"}));
}

}  // namespace
