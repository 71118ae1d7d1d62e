// 设定货品价格: discounts and margins worked out per row, a typed discount
// setting its price, bad numbers refused, the session's cost right and price
// decimals, the search, and F7.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "checktree.h"
#include "goods/frm_ShowGoodImage.h"
#include "gridfooter.h"
#include "prices/frm_goodsprice.h"
#include "pricesfixture.h"

using namespace md::test;

namespace {

class GoodsPrices : public PricesTest {
  protected:
    Tfrm_goodsprice* form() {
        auto* f = openShown<Tfrm_goodsprice>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    int row(const char* goods) { return rowOf(ds, "goodsid", QString::fromLatin1(goods)); }
    // "discount/margin" of one level as the cells show them.
    QString level(const char* goods, int i) {
        const QByteArray discount = "discount" + QByteArray::number(i);
        const QByteArray margin = "faigprice" + QByteArray::number(i);
        return cell(v, row(goods), discount.constData()) + "/" +
               cell(v, row(goods), margin.constData());
    }
    QString stored(const char* goods) {
        return rows(QString("select unitprice,price1,price2,price3,price4,price5,price6 from goods "
                            "where goodsid='%1'")
                        .arg(goods))
            .join(' ');
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(GoodsPrices, DiscountsAreOffTheTagPriceAndMarginsOverTheCostRoundedTiesToEven) {
    form();
    ASSERT_EQ(ds->RecordCount(), 3);
    EXPECT_EQ(level("G001", 4), "0.55/65.00") << "165 of 300, cost 100";
    EXPECT_EQ(level("G001", 1), "0.35/5.00");
    EXPECT_EQ(cell(v, row("G001"), "price4"), "￥165.00");
    EXPECT_EQ(cell(v, row("G001"), "planprice"), "100.00");
    // A tag price of 0: no discounts, but margins all the same.
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(cell(v, row("G002"), QByteArray("discount" + QByteArray::number(i)).constData()),
                  "0.00");
    EXPECT_EQ(level("G002", 1), "0.00/10.00");
    // Without a cost row the margins are the prices; halves go to the even cent.
    EXPECT_EQ(level("G003", 1), "0.12/1.00") << "1/8 = 0.125";
    EXPECT_EQ(level("G003", 3), "0.38/3.00") << "3/8 = 0.375";
    EXPECT_EQ(level("G003", 5), "0.62/5.00") << "5/8 = 0.625";
    EXPECT_DOUBLE_EQ(Tfrm_goodsprice::RoundCents(0.135), 0.14);
    EXPECT_DOUBLE_EQ(Tfrm_goodsprice::RoundCents(-0.125), -0.12);
}

TEST_F(GoodsPrices, ATypedDiscountSetsThePriceAndATypedPriceShowsItsDiscount) {
    auto* f = form();
    f->edit_action->trigger();
    EXPECT_EQ(typeIntoCell(v, row("G001"), "discount4", "0.6"), "");
    EXPECT_EQ(cell(v, row("G001"), "price4"), "￥180.00");
    EXPECT_EQ(level("G001", 4), "0.60/80.00");
    EXPECT_EQ(typeIntoCell(v, row("G001"), "price2", "150"), "");
    EXPECT_EQ(level("G001", 2), "0.50/50.00");
    // Another row, entered by typing: a discount of 1.0 is the tag price itself.
    EXPECT_EQ(typeIntoCell(v, row("G003"), "discount6", "1"), "");
    EXPECT_EQ(cell(v, row("G003"), "price6"), "￥8.00");
    // A new tag price moves every discount of its row.
    EXPECT_EQ(typeIntoCell(v, row("G003"), "unitprice", "16"), "");
    EXPECT_EQ(level("G003", 6), "0.50/8.00");
    EXPECT_EQ(script.texts(), QStringList{});

    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored("G001"), "300|105|150|135|180|165|180");
    EXPECT_EQ(stored("G003"), "16|1|2|3|4|5|8");
    EXPECT_EQ(statementsWith("update goods set").size(), 2) << "one per changed row";
    EXPECT_EQ(db.count("planprice"), 2) << "costs are read here, never written";
}

TEST_F(GoodsPrices, BadNumbersAreRefusedWithAMessageAndNothingIsStored) {
    auto* f = form();
    const QString before = stored("G001");
    f->edit_action->trigger();
    const int g1 = row("G001");
    EXPECT_EQ(typeIntoCell(v, g1, "price4", "."), ".");
    EXPECT_EQ(typeIntoCell(v, g1, "price4", "-5"), "-5");
    EXPECT_EQ(typeIntoCell(v, g1, "price4", "1.234"), "1.234");
    EXPECT_EQ(typeIntoCell(v, g1, "unitprice", "-"), "-");
    EXPECT_EQ(typeIntoCell(v, g1, "discount4", "-0.5"), "-0.5");
    EXPECT_EQ(typeIntoCell(v, g1, "discount4", "12"), "12");
    EXPECT_EQ(script.texts(),
              (QStringList{"经销价必须是数字!", "经销价不能为负数!", "经销价最多只能有2位小数!",
                           "吊牌价必须是数字!", "经销价折扣不能为负数!", "经销价折扣不能大于10!"}));
    EXPECT_EQ(cell(v, g1, "price4"), "￥165.00");

    // 8.5 meant as 0.85: asked, and No keeps the price.
    script.clear();
    script.answer(md::ui::Answer::No);
    EXPECT_EQ(typeIntoCell(v, g1, "discount4", "8.5"), "");
    EXPECT_EQ(script.texts(), QStringList{"经销价折扣为8.5，大于1，是否确认？"});
    EXPECT_EQ(cell(v, g1, "price4"), "￥165.00");
    script.clear();
    EXPECT_EQ(typeIntoCell(v, g1, "discount4", "1.2"), "");  // Yes
    EXPECT_EQ(cell(v, g1, "price4"), "￥360.00");

    // Values set without the editor meet the same rules.
    script.clear();
    EXPECT_THROW(ds->FieldByName("price1").SetAsFloat(-1), EAbort);
    EXPECT_EQ(script.texts(), QStringList{"总代理价不能为负数!"});

    f->cacel_action->trigger();
    EXPECT_EQ(stored("G001"), before);
    EXPECT_EQ(cell(v, g1, "price4"), "￥165.00");
}

TEST_F(GoodsPrices, WithoutTheCostRightCostsAndMarginsAreHiddenAndPricesKeepTheSessionsDecimals) {
    md::Shared().PlanPriceVisible = false;
    md::Shared().PriceDecimals = 3;
    db.exec("update goods set unitprice=1234.5 where goodsid='G001'");
    auto* f = form();
    EXPECT_TRUE(v->isColumnHidden(v->SectionOf("planprice")));
    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(v->isColumnHidden(v->SectionOf(QString("faigprice%1").arg(i))));
        EXPECT_FALSE(v->isColumnHidden(v->SectionOf(QString("discount%1").arg(i))));
        EXPECT_FALSE(v->isColumnHidden(v->SectionOf(QString("price%1").arg(i))));
    }
    EXPECT_EQ(cell(v, row("G001"), "unitprice"), "￥1,234.500");
    EXPECT_EQ(Tfrm_goodsprice::PriceFormat(4), "￥,0.0000;￥-,0.0000");

    f->edit_action->trigger();
    EXPECT_EQ(typeIntoCell(v, row("G001"), "price1", "99.1234"), "99.1234");
    EXPECT_EQ(typeIntoCell(v, row("G001"), "price1", "99.1230"), "") << "trailing zeros count not";
    EXPECT_EQ(script.texts(), QStringList{"总代理价最多只能有3位小数!"});
    EXPECT_EQ(cell(v, row("G001"), "price1"), "￥99.123");
}

TEST_F(GoodsPrices, TheSearchNarrowsByTickedAttributesAndACodeButNotOverUnsavedPrices) {
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldname_sys,ffieldremark,"
        "visiblebit) values(1,'goods','brand','品牌','品牌',1)");
    db.exec(
        "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) values"
        "('goods','brand','雅韵'),('goods','brand','森屿')");
    auto* f = form();
    EXPECT_EQ(ds->SQL(), Tfrm_goodsprice::BaseSQL());
    f->cxTreeView1->SetChecked("品牌", "雅韵", true);
    f->Edit_goodsid->setText("g00");
    f->But_Find->click();
    EXPECT_EQ(ds->SQL(), Tfrm_goodsprice::BaseSQL() +
                             " where 1=1\n and (brand in('雅韵'))\n and a.goodsid like '%g00%'");
    QStringList found = column(ds, "goodsid");
    found.sort();
    EXPECT_EQ(found, (QStringList{"G001", "G003"}));

    // A code with a quote finds nothing and breaks nothing.
    f->cxTreeView1->SetChecked("品牌", "雅韵", false);
    f->Edit_goodsid->setText("G'1");
    f->But_Find->click();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(ds->RecordCount(), 0);

    f->Edit_goodsid->clear();
    f->But_Find->click();
    ASSERT_EQ(ds->RecordCount(), 3);
    f->edit_action->trigger();
    typeIntoCell(v, row("G002"), "price1", "55");
    f->Edit_goodsid->setText("G001");
    f->But_Find->click();
    EXPECT_EQ(script.texts(), QStringList{"请先保存或撤消当前的修改!"});
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_EQ(cell(v, row("G002"), "price1"), "￥55.00");
}

TEST_F(GoodsPrices, RowsAreNeitherAddedNorDeletedAndF7ShowsThePictureOfTheCurrentGoods) {
    auto* f = form();
    EXPECT_FALSE(f->append_action->isVisible());
    EXPECT_FALSE(f->del_action->isVisible());
    EXPECT_EQ(f->Label_F7->text(), "F7 显示图片");
    // The level names stand above their columns.
    QApplication::processEvents();
    EXPECT_TRUE(f->cxGrid1->BandHeader()->isVisible());
    EXPECT_GT(f->cxGrid1->BandHeader()->height(), 10);
    EXPECT_EQ(v->Bands(), (QStringList{"货品资料", "总代理价", "一级代理价", "二级代理价", "经销价",
                                       "批发价", "一般客户价"}));
    f->edit_action->trigger();
    v->setCurrentIndex(v->gridModel()->index(row("G003"), v->SectionOf("price1")));
    QTest::keyClick(v, Qt::Key_Down);
    QTest::keyClick(v, Qt::Key_Insert);
    EXPECT_EQ(ds->RecordCount(), 3) << "no row added at the end or inserted";

    QStringList shown;
    script.onDialog([&](QDialog& dialog) {
        auto* picture = dynamic_cast<Tfrm_ShowGoodImage*>(&dialog);
        if (picture) shown << picture->DBImage_table->SQL();
        return int(QDialog::Rejected);
    });
    v->setCurrentIndex(v->gridModel()->index(row("G002"), v->SectionOf("goodsname")));
    v->setFocus();
    QTest::keyClick(v, Qt::Key_F7);
    EXPECT_EQ(shown, QStringList{"select top 1 fimage from goodsimage where fgoodsid='G002'"});
}

}  // namespace
