// "确定": goods and sample styles written from the rows, in one transaction.
#include <QDate>

#include "formfactory.h"
#include "goodsimportfixture.h"

using namespace md::test;

namespace {

const QString kAllDone = QStringLiteral("已全部导入完成!");
const QString kSomeLeft = QStringLiteral("尚有部分数据不能导入,请查看最后一列的说明!");

}  // namespace

TEST_F(GoodsImportTest, TheGoodsFormFindsTheDialogByItsFactoryName) {
    md::ui::FormFactory factory = md::ui::formFactoryFor("Tfrm_GoodsBathIN");
    ASSERT_NE(factory, nullptr);
    QPointer<QDialog> dialog = factory(nullptr);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "货品档案导入");
    EXPECT_EQ(static_cast<Tfrm_GoodsBathIN*>(dialog.data())->TargetName(), "Dt_Goods");
    delete dialog.data();
}

TEST_F(GoodsImportTest, RowsOfOneCodeGiveOneItemWithTheLaterAttributesAndEveryColour) {
    auto* form = openImport();
    QPointer<Tfrm_GoodsBathIN> alive(form);
    form->PasteText(sheet({"货号", "货品名称", "尺码类别", "颜色编号", "颜色说明", "吊牌价", "单位",
                           "总代理价", "上市日期", "助记码"},
                          {{"A01", "旧名", "TOPS", "01", "黑色", "99", "件", "50", "2025/3/1", "X"},
                           {"A01", "衬衫", "TOPS", "07", "雾蓝", "1,299.00", "件", "", "", ""},
                           {"B02", "长裤", "PANTS", "02", "", "159", "条", "80", "", "BK"}}));
    ASSERT_EQ(form->RowCount(), 3);
    form->But_Check->click();
    EXPECT_EQ(column(form, "fremark"), (QStringList{"", "", ""}));
    EXPECT_EQ(column(form, "colorname_ch").last(), "白色") << "completed from the basic colour";
    script.clear();
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kAllDone});
    flushDeletes();
    EXPECT_TRUE(alive.isNull()) << "the dialog closes when every row went in";

    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(rows("select goodsid,goodsname,size_class,unitprice,price1,topdate,goodssortid,"
                   "isnull(unit,'-'),convert(varchar(10),inputdate,120),strat from goods "
                   "order by goodsid"),
              (QStringList{"A01|衬衫|TOPS|1299|0|||-|" + today + "|1",
                           "B02|长裤|PANTS|159|80||BK|-|" + today + "|1"}))
        << "the later row wins, empty cells included; 单位 is shown but not written";
    EXPECT_EQ(rows("select fgoodsid,fcolorid from goodscolor order by fgoodsid,fcolorid"),
              (QStringList{"A01|01", "A01|07", "B02|02"}));
    // UpdateColorNo gave the colours their item's key and keys of their own.
    EXPECT_EQ(db.count("goods where len(goodsno)=12"), 2);
    EXPECT_EQ(db.count("goodscolor a join goods b on a.fgoodsid=b.goodsid and a.GoodsNo=b.goodsno "
                       "where len(a.ColorNo)=12"),
              3);
    EXPECT_EQ(db.scalar("select count(distinct ColorNo) from goodscolor").toInt(), 3);
    // The unknown colour became a basic colour named by its row; the basic names follow the rows.
    EXPECT_EQ(rows("select colorid,colorname_ch from ba_color order by colorid"),
              (QStringList{"01|黑色", "02|白色", "03|红色", "07|雾蓝"}));
    EXPECT_EQ(db.count("ba_goodscolor"), 0);
}

TEST_F(GoodsImportTest, ReimportOverwritesTheItemAndAddsOnlyTheNewColours) {
    db.exec(
        "insert into goods(goodsid,goodsname,goodssortid,size_class,unitprice,price1,"
        "inputdate,goodsno,unit) values('A01','旧名','OLD','TOPS',10,5,'2020-01-01',"
        "'KEEPKEEPKEEP','件')");
    db.exec(
        "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
        "values('A01','01','KEEPKEEPKEEP','C1')");
    auto* form = openImport();
    form->PasteText(goodsSheet({{"a01", "新名", "TOPS", "01", "黑色", "200"},
                                {"A01", "新名", "TOPS", "02", "白色", "200"}}));
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kAllDone});
    EXPECT_EQ(rows("select goodsid,goodsname,goodssortid,unitprice,price1,goodsno,unit,"
                   "convert(varchar(10),inputdate,120) from goods"),
              QStringList{"A01|新名||200|0|KEEPKEEPKEEP|件|" +
                          QDate::currentDate().toString("yyyy-MM-dd")})
        << "found whatever the case of the code; its key and unit stay";
    EXPECT_EQ(rows("select fcolorid,ColorNo from goodscolor where fcolorid='01'"),
              QStringList{"01|C1"});
    EXPECT_EQ(db.count("goodscolor where fgoodsid='A01' and fcolorid='02' and "
                       "GoodsNo='KEEPKEEPKEEP' and len(ColorNo)=12"),
              1);
    EXPECT_EQ(db.count("goodscolor"), 2);
}

TEST_F(GoodsImportTest, RowsWithRemarksStayAndTheRestIsWritten) {
    auto* form = openImport();
    QPointer<Tfrm_GoodsBathIN> alive(form);
    form->PasteText(goodsSheet({{"A01", "衬衫", "TOPS", "01", "", "99"},
                                {"K01", "童装", "KIDS", "01", "", "99"},
                                {"A02", "衬衫", "TOPS", "", "", "99"}}));
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kSomeLeft});
    flushDeletes();
    EXPECT_FALSE(alive.isNull()) << "the dialog stays open for corrections";
    EXPECT_EQ(column(form, "goodsid"), (QStringList{"K01", "A02"}));
    EXPECT_EQ(column(form, "fremark"),
              (QStringList{"不存在此尺码类别", "颜色编号与颜色说明必须一项不能为空"}))
        << "a group the server has but the workstation does not is refused";
    EXPECT_EQ(rows("select goodsid from goods"), QStringList{"A01"});
}

TEST_F(GoodsImportTest, GoodsColourDescriptionsGoToTheirOwnTableWhenTicked) {
    auto* form = openImport();
    form->Check_GoodsColor->setChecked(true);
    db.exec("insert into goods(goodsid,size_class) values('A01','TOPS')");
    db.exec("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values('A01','01','旧说明')");
    form->PasteText(goodsSheet({{"A01", "衬衫", "TOPS", "01", "亮黑", "99"},
                                {"A01", "衬衫", "TOPS", "09", "薄荷绿", "99"}}));
    form->But_OK->click();
    EXPECT_EQ(rows("select fgoodsid,fcolorid,fcolor from ba_goodscolor order by fcolorid"),
              (QStringList{"A01|01|亮黑", "A01|09|薄荷绿"}))
        << "each pair's description replaced";
    EXPECT_EQ(db.count("ba_goodscolor a join goodscolor b on a.ColorNo=b.ColorNo and "
                       "a.fcolorid=b.fcolorid and a.GoodsNo=b.GoodsNo"),
              2)
        << "the descriptions carry the keys of the colours they describe";
    EXPECT_EQ(rows("select colorid,isnull(colorname_ch,'-') from ba_color order by colorid"),
              (QStringList{"01|黑色", "02|白色", "03|红色", "09|-"}))
        << "basic colour names stay";
}

TEST_F(GoodsImportTest, SampleStylesGoToTheirOwnTables) {
    auto* form = openImport(QStringLiteral("Mr_Goods"));
    form->PasteText(sheet({"货号", "助记码", "货品名称", "尺码类别", "颜色编号", "吊牌价",
                           "总代理价", "单位", "执行标准", "面料"},
                          {{"M01", "SORT", "样衣", "TOPS", "01", "88", "40", "件", "GB1", "棉"},
                           {"M01", "SORT", "样衣", "TOPS", "08", "88", "40", "件", "GB1", "棉"}}));
    db.conn().log().clear();
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kAllDone});
    EXPECT_EQ(rows("select goodsid,goodsname,unitprice,isnull(unit,'-'),isnull(standard,'-'),"
                   "masterial from mr_goods"),
              QStringList{"M01|样衣|88|-|-|棉"});
    EXPECT_EQ(rows("select fgoodsid,fcolorid from mr_goodscolor order by fcolorid"),
              (QStringList{"M01|01", "M01|08"}));
    EXPECT_EQ(db.count("goods"), 0);
    EXPECT_EQ(db.count("goodscolor"), 0);
    EXPECT_EQ(db.count("ba_color where colorid='08'"), 1);
    EXPECT_FALSE(db.conn().log().entries().contains("exec UpdateColorNo"));
    EXPECT_TRUE(db.conn().log().entries().contains("exec updategoodsfield"));
}

TEST_F(GoodsImportTest, AFailingRowLeavesTheDatabaseAndTheGridAsTheyWereAndIsMarked) {
    // One goods item per colour: a second item in black cannot be stored.
    db.exec("create unique index ix_one_black on goodscolor(fcolorid)");
    auto* form = openImport();
    form->PasteText(goodsSheet({{"A01", "衬衫", "TOPS", "01", "黑色", "99"},
                                {"A02", "外套", "TOPS", "02", "白色", "99"},
                                {"A03", "长裤", "TOPS", "01", "黑色", "99"}}));
    form->But_OK->click();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_FALSE(db.conn().InTransaction());
    EXPECT_EQ(db.count("goods"), 0);
    EXPECT_EQ(db.count("goodscolor"), 0);
    EXPECT_EQ(db.count("ba_color"), 3);
    EXPECT_EQ(column(form, "goodsid"), (QStringList{"A01", "A02", "A03"}));
    EXPECT_EQ(column(form, "fremark")[0], "");
    EXPECT_EQ(column(form, "fremark")[1], "");
    EXPECT_TRUE(column(form, "fremark")[2].startsWith("导入出错:")) << column(form, "fremark")[2];

    // Corrected, the rows go in.
    db.exec("drop index goodscolor.ix_one_black");
    script.clear();
    form->DBImport_table->SetRecNo(3);
    form->DBImport_table->Edit();
    form->DBImport_table->FieldByName("fremark").Clear();
    form->DBImport_table->Post();
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kAllDone});
    EXPECT_EQ(db.count("goodscolor"), 3);
}

TEST_F(GoodsImportTest, AnItemTheServerRefusesMarksTheRowThatFilledIt) {
    db.exec("create unique index ix_one_name on goods(goodsname)");
    db.exec("insert into goods(goodsid,goodsname,size_class) values('Z99','衬衫','TOPS')");
    auto* form = openImport();
    form->PasteText(goodsSheet({{"A01", "外套", "TOPS", "01", "黑色", "99"},
                                {"A02", "衬衫", "TOPS", "02", "白色", "99"}}));
    form->But_OK->click();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(db.count("goods"), 1);
    EXPECT_EQ(db.count("goodscolor"), 0);
    EXPECT_EQ(column(form, "fremark")[0], "");
    EXPECT_TRUE(column(form, "fremark")[1].startsWith("导入出错:")) << column(form, "fremark")[1];
}
