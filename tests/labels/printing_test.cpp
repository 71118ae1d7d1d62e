// The report printing call as a window makes it: the library beside the
// program prints one label per row, says what keeps it from printing, and the
// module stays silent when the library itself is missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStringDecoder>
#include <QStringEncoder>

#include "labelsfixture.h"

namespace {

using md::test::LabelsTest;
using md::test::pdfPageCount;

const QString kAllTags = QStringLiteral("select a.* from vbarcode a where 货号='YY241J0001'");

// Only a barcode, large enough to be read at 150 dpi, two across and two down.
const QByteArray kGridReport = R"(
[page]
width = 210
height = 150
columns = 2
rows = 2
label_width = 100
label_height = 70
gap_x = 5
gap_y = 5
[barcode code]
x = 10
y = 10
width = 80
height = 30
type = code128
value = {条形码1}
)";

TEST_F(LabelsTest, EveryRowPrintsOneHangTag) {
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), kAllTags);
    EXPECT_EQ(script.texts(), QStringList());
    EXPECT_EQ(pdfPageCount(pdf), 3);

    // The one-tag statement of the barcode window.
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"),
                          QStringLiteral("select top 1 * from vbarcode where 条形码1='") +
                              SqlText(QStringLiteral("YY241J000108M")) + QStringLiteral("'"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST_F(LabelsTest, LabelsFillAPageAcrossThenDownAndGoOnToTheNext) {
    home.writeFile(QStringLiteral("grid.frf"), kGridReport);
    addBarcode(QStringLiteral("YY241J0001"), QStringLiteral("08"), QStringLiteral("XL"),
               QStringLiteral("YY241J000108XL"), QString());
    addBarcode(QStringLiteral("YY241J0001"), QStringLiteral("08"), QStringLiteral("XXL"),
               QStringLiteral("YY241J000108XXL"), QString());
    const QString sql = QStringLiteral("select * from vbarcode order by 条形码1");

    md::ui::PrintOneTable(QStringLiteral("grid.frf"), sql);
    EXPECT_EQ(pdfPageCount(pdf), 2);

    const lumtab::LabelLayout layout = lumtab::LabelLayout::load(
        home.filePath(QStringLiteral("grid.frf")), QStringLiteral("grid.frf"));
    EXPECT_EQ(md::test::readSymbols(renderPage(layout, sql, 0, 150)),
              (QStringList{"CODE-128:YY241J000108L", "CODE-128:YY241J000108M",
                           "CODE-128:YY241J000108S", "CODE-128:YY241J000108XL"}));
    EXPECT_EQ(md::test::readSymbols(renderPage(layout, sql, 1, 150)),
              QStringList{"CODE-128:YY241J000108XXL"});
    // The third label starts the second line of the page, at the left.
    const QImage first =
        renderPage(layout, QStringLiteral("select * from vbarcode where 尺码='L'"), 0, 150);
    const QImage third = renderPage(layout, sql, 0, 150);
    const QRect lowerLeft(0, first.height() / 2, first.width() / 2, first.height() / 2);
    EXPECT_EQ(md::test::readSymbols(third.copy(lowerLeft)), QStringList{"CODE-128:YY241J000108S"});
    EXPECT_EQ(md::test::readSymbols(first.copy(lowerLeft)), QStringList());
}

TEST_F(LabelsTest, WhatKeepsALabelFromPrintingIsSaidAndNothingIsPrinted) {
    md::ui::PrintOneTable(QStringLiteral("没有这个.frf"), kAllTags);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("报表文件不存在：没有这个.frf")});
    script.clear();

    home.writeFile(QStringLiteral("typo.frf"),
                   "[page]\nwidth=50\nheight=90\n[text a]\nvalue={货品名}\n");
    md::ui::PrintOneTable(QStringLiteral("typo.frf"), kAllTags);
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral("报表文件 typo.frf 用到的列“货品名”不在查询结果中")});
    script.clear();

    home.writeFile(QStringLiteral("bad.frf"), "[page]\nwidth=50\nheight=fifty\n");
    md::ui::PrintOneTable(QStringLiteral("bad.frf"), kAllTags);
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral("报表文件 bad.frf 第 3 行：height 的值“fifty”不是数字")});
    script.clear();

    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"),
                          QStringLiteral("select top 1 * from vbarcode where 条形码1='NONE'"));
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("没有要打印的记录！")});
    script.clear();

    // A database error reaches the one error box.
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"),
                          QStringLiteral("select * from vbarcode_gone"));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown()[0].isError);

    EXPECT_FALSE(QFile::exists(pdf));
    script.clear();

    const QString nowhere = QStringLiteral("/nonexistent-folder/tags.pdf");
    qputenv("MD_LABEL_PDF", nowhere.toLocal8Bit());
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), kAllTags);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("无法写入文件：") + nowhere});
}

TEST_F(LabelsTest, WithoutTheLibraryOrItsExportNothingHappens) {
    md::ui::SetReportLibraryName(QStringLiteral("lumtab_absent"));
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), kAllTags);
    md::ui::SetReportLibraryName(QStringLiteral("vosklin"));  // loads, lacks Print_OneTable
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), kAllTags);

    EXPECT_EQ(script.texts(), QStringList());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LabelsTest, ChineseNamesAndStatementsReachTheLibraryIntact) {
    home.writeFile(QStringLiteral("测试吊牌.frf"),
                   md::test::readFile(home.filePath(QStringLiteral("吊牌.frf"))));
    db.exec(
        QStringLiteral("insert into goods(goodsid,goodsname) values('YY241J0002','双排扣风衣')"));
    addBarcode(QStringLiteral("YY241J0002"), QStringLiteral("08"), QStringLiteral("M"),
               QStringLiteral("YY241J000208M"), QString());

    md::ui::PrintOneTable(QStringLiteral("测试吊牌.frf"),
                          QStringLiteral("select * from vbarcode where 货品名称='牛仔夹克'"));
    EXPECT_EQ(script.texts(), QStringList());
    EXPECT_EQ(pdfPageCount(pdf), 3);

    // GBK bytes for GBK text; what GBK lacks still comes back whole.
    const QString name = QStringLiteral("吊牌.frf");
    EXPECT_EQ(md::ui::ReportLibraryText(name), QStringEncoder("GBK").encode(name));
    const QString rare = QStringLiteral("货品名称='𠀀€'");
    EXPECT_EQ(QStringDecoder("GB18030").decode(md::ui::ReportLibraryText(rare)), rare);
}

TEST_F(LabelsTest, ThePreviewShowsOnePagePerTagBeforePrinting) {
    qunsetenv("MD_LABEL_PDF");
    int pages = -1;
    QString title;
    script.onDialog([&](QDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
            preview->updatePreview();
            pages = preview->pageCount();
        }
        return int(QDialog::Rejected);
    });
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), kAllTags);
    EXPECT_EQ(title, QStringLiteral("打印预览 - 吊牌"));
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(script.texts(), QStringList());
}

TEST_F(LabelsTest, ALargeJobGoesToThePrintDialogAndKeepsToItsPageRange) {
    qunsetenv("MD_LABEL_PDF");
    // Five barcodes to the fifth power: 3,125 tags, more than a preview holds.
    addBarcode(QStringLiteral("YY241J0001"), QStringLiteral("08"), QStringLiteral("XL"),
               QStringLiteral("YY241J000108XL"), QString());
    addBarcode(QStringLiteral("YY241J0001"), QStringLiteral("08"), QStringLiteral("XXL"),
               QStringLiteral("YY241J000108XXL"), QString());
    const QString sql =
        QStringLiteral("select a.* from vbarcode a, barcode b, barcode c, barcode d, barcode e");
    bool previewed = false;
    script.onDialog([&](QDialog& dialog) {
        previewed = qobject_cast<QPrintPreviewDialog*>(&dialog) != nullptr;
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        if (!print) return int(QDialog::Rejected);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        print->printer()->setPrintRange(QPrinter::PageRange);
        print->printer()->setFromTo(2, 4);
        return int(QDialog::Accepted);
    });
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), sql);
    EXPECT_FALSE(previewed);
    EXPECT_EQ(pdfPageCount(pdf), 3);
    EXPECT_EQ(script.texts(), QStringList());

    pdf = QStringLiteral("/nonexistent-folder/tags.pdf");  // a printer that will not start
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), sql);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("打印机无法使用，标签没有打印。")});
}

}  // namespace
