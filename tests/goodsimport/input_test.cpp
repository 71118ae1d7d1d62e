// Rows into the grid: pasted spreadsheet text, .csv files in UTF-8 and GBK.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

#include "goodsimportfixture.h"
#include "grid.h"

using namespace md::test;
using goodsimport::TableTextReader;

namespace {

QList<QStringList> readAll(const QString& text, QChar separator = QLatin1Char('\t')) {
    TableTextReader reader(text, separator);
    QList<QStringList> rows;
    while (!reader.atEnd()) rows << reader.nextRow();
    return rows;
}

}  // namespace

TEST(GoodsImportText, QuotedCellsKeepTheirSeparatorsLineBreaksAndQuotes) {
    EXPECT_EQ(readAll("A01\t\"两行\r\n说明\"\t\"5\"\" 屏\"\r\nA02\t\t\r\n"),
              (QList<QStringList>{{"A01", "两行\n说明", "5\" 屏"}, {"A02", "", ""}}));
    EXPECT_EQ(readAll("a\t\"x\ty\"\nb\"c\t5\"\n\nlast"),
              (QList<QStringList>{{"a", "x\ty"}, {"b\"c", "5\""}, {""}, {"last"}}))
        << "a quote inside a cell is text; a blank line is one empty cell";
    EXPECT_EQ(readAll("货号,\"1,299.00\",\"\"\r\n", QLatin1Char(',')),
              (QList<QStringList>{{"货号", "1,299.00", ""}}));
    EXPECT_EQ(readAll("\"unclosed\tcell\nrow"), (QList<QStringList>{{"unclosed\tcell\nrow"}}));
}

TEST_F(GoodsImportTest, PastedCellsFillTheShownColumnsFromTheCurrentCell) {
    auto* form = openImport();
    QApplication::clipboard()->setText(
        "A01\tAX\t衬衫\tTOPS\t01\r\nA02\tBX\t\"长\n裤\"\tPANTS\t02\r\n");
    form->paste_action->trigger();
    ASSERT_EQ(form->RowCount(), 2);
    EXPECT_EQ(column(form, "goodsname"), (QStringList{"衬衫", "长\n裤"}));
    EXPECT_EQ(column(form, "colorid"), (QStringList{"01", "02"}));

    // One value over the second row's size group; then a block going past the last row.
    TDBTableView* view = form->cxGrid1DBTableView1;
    view->setCurrentIndex(view->model()->index(1, view->SectionOf("size_class")));
    form->PasteText("TOPS");
    EXPECT_EQ(column(form, "size_class"), (QStringList{"TOPS", "TOPS"}));
    view->setCurrentIndex(view->model()->index(1, view->SectionOf("colorid")));
    form->PasteText("05\t蓝\n06\t绿\n");
    EXPECT_EQ(column(form, "colorid"), (QStringList{"01", "05", "06"}));
    EXPECT_EQ(column(form, "colorname_ch"), (QStringList{"", "蓝", "绿"}));
    EXPECT_EQ(column(form, "goodsid"), (QStringList{"A01", "A02", ""}));

    // Wider than the columns from the current one: nothing changes.
    view->setCurrentIndex(view->model()->index(0, view->SectionOf("fremark")));
    form->Run([&] { form->PasteText("x\ty\tz"); });
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.texts().first().startsWith("粘贴的数据有3列")) << script.texts().first();
    EXPECT_EQ(form->RowCount(), 3);
    EXPECT_EQ(form->Cell(0, "fremark"), "");
}

TEST_F(GoodsImportTest, ACaptionRowPlacesCellsInHiddenColumnsToo) {
    auto* form = openImport();
    form->PasteText("A00\t\t\tTOPS\t01\n");
    form->PasteText(sheet({"货号", "性别", "price1", "上市日期", "备用字段4", ""},
                          {{"A01", "男", "12.5", "2025-3-1", "F4", "丢弃"}}));
    ASSERT_EQ(form->RowCount(), 2) << "a caption row adds its rows at the end";
    EXPECT_EQ(form->Cell(1, "sex"), "男");
    EXPECT_EQ(form->Cell(1, "price1"), "12.5");
    EXPECT_EQ(form->Cell(1, "topdate"), "2025-3-1");
    EXPECT_EQ(form->Cell(1, "field4"), "F4");
    EXPECT_EQ(form->Cell(1, "fremark"), "") << "a blank caption drops its cells";
}

TEST_F(GoodsImportTest, CsvFilesInUtf8AndGbkReadAlike) {
    const QString text = QStringLiteral(
        "货号,货品名称,尺码类别,颜色说明,吊牌价\r\nA01,\"衬衫,长袖\",TOPS,黑色,\"1,299\"\r\n"
        "A02,长裤,PANTS,白色,159\r\n");
    QStringEncoder gbk("GBK");
    ASSERT_TRUE(gbk.isValid());
    const QByteArray gbkBytes = gbk.encode(text);
    ASSERT_NE(gbkBytes, text.toUtf8());
    home.writeFile("gbk.csv", gbkBytes);
    home.writeFile("utf8.csv", "\xEF\xBB\xBF" + text.toUtf8());
    home.writeFile("sheet.xlsx", "PK");

    for (const char* name : {"gbk.csv", "utf8.csv"}) {
        auto* form = openImport();
        form->LoadFile(home.filePath(QString::fromLatin1(name)));
        EXPECT_EQ(column(form, "goodsname"), (QStringList{"衬衫,长袖", "长裤"})) << name;
        EXPECT_EQ(column(form, "colorname_ch"), (QStringList{"黑色", "白色"})) << name;
        form->But_Check->click();
        form->But_OK->click();
        EXPECT_EQ(rows("select goodsid,goodsname,unitprice from goods order by goodsid"),
                  (QStringList{"A01|衬衫,长袖|1299", "A02|长裤|159"}))
            << name;
        db.exec("delete from goods");
    }
    auto* form = openImport();
    script.clear();
    form->Run([&] { form->LoadFile(home.filePath("sheet.xlsx")); });
    EXPECT_EQ(script.shown().size(), 1) << "an .xlsx is refused with advice";
    form->Run([&] { form->LoadFile(home.filePath("missing.csv")); });
    EXPECT_EQ(script.shown().size(), 2);
    EXPECT_EQ(form->RowCount(), 0);
}

TEST_F(GoodsImportTest, AnOldFormatWorkbookIsReadLikePastedCells) {
    auto* form = openImport();
    form->LoadFile(testDataPath("goodsimport/data/goods.xls"));
    ASSERT_EQ(form->RowCount(), 2);
    EXPECT_EQ(column(form, "goodsname"), (QStringList{"针织衫", "长裤\n九分"}));
    EXPECT_EQ(column(form, "unitprice"), (QStringList{"199", "129.5"}));
    EXPECT_EQ(column(form, "topdate"), (QStringList{"2025-03-01", ""}));
    form->But_Check->click();
    form->But_OK->click();
    EXPECT_EQ(rows("select goodsid,unitprice,topdate from goods order by goodsid"),
              (QStringList{"X01|199|2025-03-01 00:00:00", "X02|129.5|"}));

    // A file that only calls itself a workbook changes nothing and says why.
    home.writeFile("broken.xls", "not a workbook");
    auto* again = openImport();
    script.clear();
    again->Run([&] { again->LoadFile(home.filePath("broken.xls")); });
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_TRUE(script.texts().first().contains("broken.xls")) << script.texts().first();
    EXPECT_EQ(again->RowCount(), 0);
}
