// Report files: what a person writes is read as meant, a mistake is named with
// its line, and the values printed come out of the view as a tag shows them.
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "labelsfixture.h"

namespace {

using lumtab::LabelLayout;
using lumtab::ReportError;
using md::test::LabelsTest;

QString refusal(const char* text) {
    try {
        LabelLayout::parse(QString::fromUtf8(text), QStringLiteral("t.frf"));
    } catch (const ReportError& error) {
        return error.text;
    }
    return QStringLiteral("(accepted)");
}

TEST(ReportFile, GridDefaultsAndItemsAreReadAsWritten) {
    const LabelLayout layout = LabelLayout::parse(QStringLiteral(R"(
; A4, three across and eight down
[page]
width = 210
height = 297
columns = 3
rows = 8
margin_left = 6
margin_top = 8.5
gap_x = 3
font_size = 7

# the items
[text 品名]
x = 2
y = 1
value = "  品名：{货品名称}"
bold = yes
align = right
width = 30
[barcode 码]
y = 10
x = 2
height = 12
width = 50
type = EAN-13
digits = no
value = {条形码2}
[line 线]
x2 = 60
y2 = 5
x = 1
)"),
                                                  QStringLiteral("a4.frf"));
    EXPECT_EQ(layout.labelsPerPage(), 24);
    // Labels share what the margins and gaps leave.
    EXPECT_DOUBLE_EQ(layout.label.width(), (210 - 12 - 6) / 3.0);
    EXPECT_DOUBLE_EQ(layout.label.height(), (297 - 17) / 8.0);
    EXPECT_EQ(layout.labelRect(4).topLeft(), QPointF(6 + 64 + 3, 8.5 + 35));

    ASSERT_EQ(layout.items.size(), 3);
    const lumtab::LabelItem& text = layout.items[0];
    EXPECT_EQ(text.name, QStringLiteral("品名"));
    EXPECT_EQ(text.value.columns(), QStringList{QStringLiteral("货品名称")});
    EXPECT_EQ(text.fontSize, 7);  // the page's
    EXPECT_EQ(text.font, QStringLiteral("Noto Sans CJK SC"));
    EXPECT_TRUE(text.bold);
    EXPECT_EQ(text.align, Qt::AlignRight);
    const lumtab::LabelItem& code = layout.items[1];
    EXPECT_EQ(code.symbology, lumtab::Symbology::Ean13);
    EXPECT_FALSE(code.showDigits);
    const lumtab::LabelItem& line = layout.items[2];
    // The end point stays where it was written, whatever the key order.
    EXPECT_EQ(QLineF(line.x, line.y, line.x2, line.y2), QLineF(1, 0, 60, 5));
}

TEST(ReportFile, MistakesAreNamedWithTheirLine) {
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=9O"),
              QStringLiteral("报表文件 t.frf 第 3 行：height 的值“9O”不是数字"));
    EXPECT_EQ(refusal("[page]\nwidth=-50"),
              QStringLiteral("报表文件 t.frf 第 2 行：width 的值“-50”不能小于 0"));
    EXPECT_EQ(refusal("[page]\nwidht=50"),
              QStringLiteral("报表文件 t.frf 第 2 行：[page] 段没有设置项 widht"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[text a]\nx2=3"),
              QStringLiteral("报表文件 t.frf 第 5 行：[text] 段没有设置项 x2"));
    EXPECT_EQ(refusal("[picture logo]"),
              QStringLiteral("报表文件 t.frf 第 1 行：无法识别的段 [picture logo]，"
                             "应为 page、text、barcode、line 或 box"));
    EXPECT_EQ(refusal("width=50"),
              QStringLiteral("报表文件 t.frf 第 1 行：设置项须写在 [page] 等段名之下"));
    EXPECT_EQ(refusal("[page]\nwidth 50"),
              QStringLiteral("报表文件 t.frf 第 2 行：应为“名称 = 值”的形式"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[text a]\nvalue=货号：{货号"),
              QStringLiteral("报表文件 t.frf 第 5 行：“{”后面没有配对的“}”"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[text a]\nvalue=价：{吊牌价:x}"),
              QStringLiteral("报表文件 t.frf 第 5 行：{吊牌价:x} 的小数位数应为 0 到 10"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[barcode a]\ntype=qr"),
              QStringLiteral("报表文件 t.frf 第 5 行：type 的值“qr”应为 code128、ean13 或 auto"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\ncolumns=0"),
              QStringLiteral("报表文件 t.frf 第 4 行：columns 的值“0”应为 1 到 100 的整数"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[text a]\nx=1\n[text b]"),
              QStringLiteral("报表文件 t.frf 第 4 行：缺少 value（要印的内容）"));
    EXPECT_EQ(refusal("[page]\nwidth=50\nheight=30\n[barcode a]\nvalue={条形码1}\nwidth=40"),
              QStringLiteral("报表文件 t.frf 第 4 行：须给出 width 和 height（毫米）"));
    EXPECT_EQ(refusal("[text a]\nvalue=x"), QStringLiteral("报表文件 t.frf：缺少 [page] 段"));
    EXPECT_EQ(refusal("[page]\nwidth=100\nheight=50\ncolumns=3\nlabel_width=40"),
              QStringLiteral(
                  "报表文件 t.frf 第 1 行：每行 3 张标签放不下：共需宽 120 毫米，纸宽 100 毫米"));
    EXPECT_EQ(
        refusal("[page]\nwidth=100\nheight=50\nrows=2\nmargin_top=5\nlabel_height=23\ngap_y=2"),
        QStringLiteral(
            "报表文件 t.frf 第 1 行：每列 2 张标签放不下：共需高 53 毫米，纸高 50 毫米"));
}

TEST(ReportFile, AFileSavedAsGbkReadsTheSame) {
    md::test::ProgramHome home;
    const QString text =
        QStringLiteral("[page]\nwidth=50\nheight=90\n[text 品名]\nvalue=品名：{货品名称}\n");
    home.writeFile(QStringLiteral("gbk.frf"), QStringEncoder("GBK").encode(text));
    const LabelLayout layout =
        LabelLayout::load(home.filePath(QStringLiteral("gbk.frf")), QStringLiteral("gbk.frf"));
    ASSERT_EQ(layout.items.size(), 1);
    EXPECT_EQ(layout.items[0].name, QStringLiteral("品名"));
    EXPECT_EQ(layout.items[0].value.columns(), QStringList{QStringLiteral("货品名称")});
}

TEST_F(LabelsTest, TheViewGivesEachBarcodeOneRowWithWhatTheTagPrints) {
    // Two descriptions of one goods colour must not print its tags twice.
    db.exec(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) "
                       "values('YY241J0001','08','深藏青')"));
    db.exec(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) "
                       "values('YY241J0001','08','深藏青')"));
    db.exec(
        QStringLiteral("update barcode set fprintsize='170/92A',fprintcolorid='' "
                       "where fsize='L'"));

    ResultTable result;
    db.conn().OpenSQL(QStringLiteral("select * from vbarcode order by 条形码1"), result);
    ASSERT_EQ(result.rowCount, 3);
    QString error;
    lumtab::FieldTemplate tag = lumtab::FieldTemplate::parse(
        QStringLiteral("{货号}/{打印颜色编号}/{打印尺码} {颜色} {品牌}{货品名称} ￥{吊牌价:2} "
                       "{吊牌价}元 {{{条形码2}}}"),
        &error);
    ASSERT_EQ(error, QString());
    ASSERT_EQ(tag.bind(result.columns), QString());
    QStringList printed;
    for (int row = 0; row < result.rowCount; ++row)
        printed << tag.render(&result.cells[row * result.columns.size()]);
    EXPECT_EQ(
        printed,
        (QStringList{QStringLiteral("YY241J0001/08/170/92A 深藏青 雅韵牛仔夹克 ￥539.00 539元 {") +
                         nationalCode(3) + QStringLiteral("}"),
                     QStringLiteral("YY241J0001/08/M 深藏青 雅韵牛仔夹克 ￥539.00 539元 {") +
                         nationalCode(2) + QStringLiteral("}"),
                     QStringLiteral("YY241J0001/08/S 深藏青 雅韵牛仔夹克 ￥539.00 539元 {") +
                         nationalCode(1) + QStringLiteral("}")}));

    // Without the goods' own description the colour table's name is printed.
    db.exec(QStringLiteral("delete from ba_goodscolor"));
    EXPECT_EQ(rows(QStringLiteral("select distinct 颜色 from vbarcode")),
              QStringList{QStringLiteral("藏青")});
}

TEST_F(LabelsTest, ShippedHangTagNamesOnlyColumnsOfTheView) {
    const LabelLayout layout = shippedLayout(QStringLiteral("吊牌.frf"));
    ResultTable none;
    db.conn().OpenSQL(QStringLiteral("select * from vbarcode where 1=0"), none);
    lumtab::LabelPainter painter(layout);
    EXPECT_EQ(painter.bind(none.columns), QString());
}

}  // namespace
