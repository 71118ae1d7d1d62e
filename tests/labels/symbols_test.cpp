// Printed symbols read back by a scanner (zbar) as the codes they were made
// from: the hang tag's Code 128 and national code, the serial label's serial.
#include <gtest/gtest.h>

#include "labelsfixture.h"

namespace {

using md::test::LabelsTest;
using md::test::readSymbols;

TEST_F(LabelsTest, TheHangTagsSymbolsScanAsItsBarcodes) {
    const lumtab::LabelLayout tag = shippedLayout(QStringLiteral("吊牌.frf"));
    const QImage page = renderPage(
        tag, QStringLiteral("select top 1 * from vbarcode where 条形码1='YY241J000108M'"));
    EXPECT_EQ(readSymbols(page), (QStringList{QStringLiteral("CODE-128:YY241J000108M"),
                                              QStringLiteral("EAN-13:") + nationalCode(2)}));

    // A variant without a national code prints its tag without that symbol.
    db.exec(QStringLiteral("update barcode set fbarcode2='' where fsize='S'"));
    EXPECT_EQ(readSymbols(renderPage(
                  tag, QStringLiteral("select * from vbarcode where 条形码1='YY241J000108S'"))),
              QStringList{QStringLiteral("CODE-128:YY241J000108S")});
}

TEST_F(LabelsTest, SymbologyFollowsTheDataWhereTheReportLeavesItOpen) {
    // Twelve digits get their check digit; thirteen with a wrong one, or
    // letters, are no national code and print as Code 128; EAN-13 refuses
    // letters and prints the data as text instead of a symbol.
    home.writeFile(QStringLiteral("auto.frf"), R"(
[page]
width = 100
height = 40
[barcode any]
x = 5
y = 5
width = 60
height = 25
value = {条形码2}
)");
    home.writeFile(QStringLiteral("ean.frf"), R"(
[page]
width = 100
height = 40
[barcode ean]
x = 5
y = 5
width = 60
height = 25
type = ean13
value = {条形码2}
)");
    const lumtab::LabelLayout any = lumtab::LabelLayout::load(
        home.filePath(QStringLiteral("auto.frf")), QStringLiteral("auto.frf"));
    const lumtab::LabelLayout ean = lumtab::LabelLayout::load(
        home.filePath(QStringLiteral("ean.frf")), QStringLiteral("ean.frf"));
    const QString twelve = nationalCode(7).left(12);
    QString wrong = nationalCode(7);
    wrong[12] = QChar('0' + (wrong[12].digitValue() + 1) % 10);
    const auto scan = [&](const lumtab::LabelLayout& layout, const QString& data) {
        db.exec(QStringLiteral("update barcode set fbarcode2='") + SqlText(data) +
                QStringLiteral("' where fsize='M'"));
        return readSymbols(
            renderPage(layout, QStringLiteral("select * from vbarcode where 尺码='M'"), 0, 400));
    };
    EXPECT_EQ(scan(any, twelve), QStringList{QStringLiteral("EAN-13:") + nationalCode(7)});
    EXPECT_EQ(scan(any, nationalCode(7)), QStringList{QStringLiteral("EAN-13:") + nationalCode(7)});
    EXPECT_EQ(scan(any, wrong), QStringList{QStringLiteral("CODE-128:") + wrong});
    EXPECT_EQ(scan(any, QStringLiteral("YY-08-M")),
              QStringList{QStringLiteral("CODE-128:YY-08-M")});
    EXPECT_EQ(scan(ean, twelve), QStringList{QStringLiteral("EAN-13:") + nationalCode(7)});
    EXPECT_EQ(scan(ean, wrong), QStringList());
    EXPECT_EQ(scan(ean, QStringLiteral("YY-08-M")), QStringList());
}

TEST_F(LabelsTest, TheSerialLabelScansAsTheSerial) {
    db.exec(
        QStringLiteral("insert into barcodeguid(fgoodsid,fcolorid,fsize,fbarcode,fcode) "
                       "values('YY241J0001','08','M','YY241J000108M0001','K7Q2XZ')"));
    const QImage label = renderPage(
        shippedLayout(QStringLiteral("产品序列号.frf")),
        QStringLiteral("select a.fgoodsid as 货号,g.goodsname as 货品名称,a.fcolorid as 颜色编号,"
                       "a.fsize as 尺码,a.fbarcode as 序列号,a.fcode as 验证码 "
                       "from barcodeguid a join goods g on g.goodsid=a.fgoodsid"),
        0, 600);
    EXPECT_EQ(readSymbols(label), QStringList{QStringLiteral("CODE-128:YY241J000108M0001")});
}

}  // namespace
