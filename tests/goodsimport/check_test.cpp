// "数据核查" and the two colour numbering commands.
#include <QAction>
#include <QTimer>

#include "goodsimportfixture.h"

using namespace md::test;

namespace {

const QString kCheckDone = QStringLiteral("数据核查完成,请查看最后一列的说明");

}  // namespace

TEST_F(GoodsImportTest, TheCheckRemovesRowsWithoutCodeMarksTheRestAndCompletesColours) {
    auto* form = openImport();
    form->PasteText(goodsSheet({{"A01", "衬衫", "", "01", "", ""},
                                {"", "无货号", "TOPS", "01", "", ""},
                                {"A02", "衬衫", "TOPS", "", "", ""},
                                {"A03", "衬衫", "KIDS", "02", "", ""},
                                {"A04", "衬衫", "tops", "", "红色", ""},
                                {"A05", "衬衫", "TOPS", "99", "", ""}}));
    form->But_Check->click();
    EXPECT_EQ(script.texts(), QStringList{kCheckDone});
    EXPECT_EQ(column(form, "goodsid"), (QStringList{"A01", "A02", "A03", "A04", "A05"}));
    EXPECT_EQ(column(form, "fremark"),
              (QStringList{"尺码类别不能为空", "颜色编号与颜色说明必须一项不能为空",
                           "不存在此尺码类别", "", ""}));
    EXPECT_EQ(column(form, "colorname_ch"), (QStringList{"", "", "白色", "红色", ""}))
        << "a row with an unknown group is still completed";
    EXPECT_EQ(column(form, "colorid"), (QStringList{"01", "", "02", "03", "99"}));
}

TEST_F(GoodsImportTest, ARemarkOnceSetSurvivesTheNextCheckUntilTheUserEmptiesIt) {
    auto* form = openImport();
    form->PasteText(goodsSheet({{"A01", "衬衫", "KIDS", "01", "黑色", ""}}));
    form->But_Check->click();
    ASSERT_EQ(form->Cell(0, "fremark"), "不存在此尺码类别");
    setLocalGroups({"TOPS", "KIDS"});
    form->But_Check->click();
    EXPECT_EQ(form->Cell(0, "fremark"), "不存在此尺码类别") << "the cause went, the remark stays";
    form->But_OK->click();
    EXPECT_EQ(db.count("goods"), 0);

    form->DBImport_table->Edit();
    form->DBImport_table->FieldByName("fremark").Clear();
    form->DBImport_table->Post();
    form->But_Check->click();
    EXPECT_EQ(form->Cell(0, "fremark"), "");
}

TEST_F(GoodsImportTest, EachKindOfMalformedRowGetsItsRemarkAndIsNotWritten) {
    auto* form = openImport();
    form->PasteText(sheet({"货号", "尺码类别", "颜色编号", "吊牌价", "上市日期", "批发价"},
                          {{"A01", "TOPS", "01", "99", "2025-03-01", "1,000"},
                           {"A02", "TOPS", "01", "九十九", "", ""},
                           {"A03", "TOPS", "01", "99", "2025-02-30", ""},
                           {"A0412345678901234", "TOPS", "01", "99", "", ""},
                           {"A05", "XL码", "01", "99", "", ""},
                           {"A06", "TOPS", "01", "99"},
                           {"A07", "TOPS", "01", "99", "", "", "多余"},
                           {"A08", "TOPS", "01", "", "", "12元"}}));
    ASSERT_EQ(form->RowCount(), 8);
    EXPECT_EQ(form->Cell(5, "fremark"), "列数不对:应为6列,实为4列") << "marked as pasted";
    EXPECT_EQ(form->Cell(6, "fremark"), "列数不对:应为6列,实为7列");
    form->But_Check->click();
    EXPECT_EQ(column(form, "fremark"),
              (QStringList{"", "吊牌价不是数字", "上市日期不是有效日期(年-月-日)",
                           "货号超过15个字符", "不存在此尺码类别", "列数不对:应为6列,实为4列",
                           "列数不对:应为6列,实为7列", "批发价不是数字"}));
    EXPECT_EQ(form->Cell(1, "unitprice"), "九十九") << "the cell stays for correction";
    form->But_OK->click();
    EXPECT_EQ(rows("select goodsid,price5,topdate from goods"),
              QStringList{"A01|1000|2025-03-01 00:00:00"});
    EXPECT_EQ(form->RowCount(), 7);
}

TEST_F(GoodsImportTest, ConfirmMarksRowsThatWereNeverChecked) {
    auto* form = openImport();
    form->PasteText(goodsSheet({{"A01", "衬衫", "TOPS", "", "未知色", "99"},
                                {"A02", "衬衫", "TOPS", "01", "黑色", "abc"}}));
    form->But_OK->click();
    EXPECT_EQ(column(form, "fremark"),
              (QStringList{"颜色编号不能为空,请先核查或编号", "吊牌价不是数字"}));
    EXPECT_EQ(db.count("goods"), 0);
    EXPECT_EQ(db.count("ba_color where colorid=''"), 0);
}

TEST_F(GoodsImportTest, SequentialNumberingFollowsTheCountOfBasicColours) {
    for (int i = 4; i <= 120; ++i)
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('C%1','色%1')")
                    .arg(i));
    auto* form = openImport();
    form->Check_GoodsColor->setChecked(true);
    form->PasteText(goodsSheet({{"A01", "衬衫", "TOPS", "", "雾蓝", ""},
                                {"A01", "衬衫", "TOPS", "77", "白色", ""},
                                {"A02", "衬衫", "TOPS", "", "薄荷绿", ""},
                                {"A02", "衬衫", "TOPS", "", "雾蓝", ""},
                                {"A03", "衬衫", "TOPS", "", "ROSE", ""},
                                {"A03", "衬衫", "TOPS", "", "rose", ""}}));
    form->colorno_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{kCheckDone}) << "the check runs first";
    EXPECT_EQ(column(form, "colorid"), (QStringList{"121", "02", "122", "121", "123", "123"}))
        << "known descriptions take the basic code, also over a code the row had";
    EXPECT_FALSE(form->Check_GoodsColor->isChecked());
    EXPECT_FALSE(form->Check_GoodsColor->isEnabled());
}

TEST_F(GoodsImportTest, SequentialNumberingKeepsOnlyThreeDigitsFromTheThousandthColourOn) {
    db.exec("delete from ba_color");
    for (int i = 1; i <= 999; ++i)
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','色%1')")
                    .arg(i, 3, 10, QLatin1Char('0')));
    auto* form = openImport();
    form->PasteText(goodsSheet(
        {{"A01", "衬衫", "TOPS", "", "雾蓝", ""}, {"A01", "衬衫", "TOPS", "", "薄荷绿", ""}}));
    form->colorno_action->trigger();
    EXPECT_EQ(column(form, "colorid"), (QStringList{"000", "001"})) << "codes repeat";
}

TEST_F(GoodsImportTest, ChildrensWearNumbersEachDescribedItemsRowsInGridOrder) {
    auto* form = openImport();
    form->Check_GoodsColor->setChecked(true);
    form->PasteText(goodsSheet({{"K01", "童装", "TOPS", "05", "粉", ""},
                                {"K02", "童装", "TOPS", "09", "", ""},
                                {"k01", "童装", "TOPS", "", "", ""},
                                {"", "无货号", "TOPS", "", "蓝", ""},
                                {"K01", "童装", "TOPS", "", "黄", ""}}));
    form->childcolorno_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << "no check before it";
    EXPECT_EQ(column(form, "goodsid"), (QStringList{"K01", "K02", "k01", "K01"}));
    EXPECT_EQ(column(form, "colorid"), (QStringList{"001", "09", "002", "003"}))
        << "an item without descriptions keeps its codes";
    EXPECT_FALSE(form->Check_GoodsColor->isChecked());
    EXPECT_FALSE(form->Check_GoodsColor->isEnabled());
}

TEST_F(GoodsImportTest, TheCheckCanBeStoppedAndShowsItsProgress) {
    auto* form = openImport();
    QList<QStringList> many;
    for (int i = 0; i < 1500; ++i)
        many << QStringList{QStringLiteral("A%1").arg(i), "衬衫", "KIDS", "01", "", ""};
    form->PasteText(goodsSheet(many));
    ASSERT_EQ(form->RowCount(), 1500);
    bool busyMeanwhile = false;
    QTimer::singleShot(0, form, [&] {
        busyMeanwhile = !form->But_OK->isEnabled() && form->But_Cancel->isEnabled();
        form->But_Cancel->click();
    });
    EXPECT_FALSE(form->CheckRows());
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_EQ(script.texts(), QStringList{}) << "取消 stopped the check, not the dialog";
    EXPECT_EQ(form->Cell(1499, "fremark"), "") << "rows after the stop are untouched";
    EXPECT_TRUE(form->But_OK->isEnabled());

    form->But_Check->click();
    EXPECT_EQ(form->Cell(1499, "fremark"), "不存在此尺码类别");
    EXPECT_EQ(form->ProgressBar1->value(), form->ProgressBar1->maximum());
}
