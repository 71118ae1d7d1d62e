// 生成产品序列号: "统计" turns the quantities into one serial per piece,
// numbering each variant on after its highest stored record number, and
// "批量打印" prints the run's labels.
#include <QRegularExpression>

#include "griddelegate.h"
#include "serialsfixture.h"

using namespace md::test;

class SerialGeneration : public SerialsTest {
  protected:
    Tfrm_BarcodeGuID* openForm() { return openShown<Tfrm_BarcodeGuID>(); }
    static void count(Tfrm_BarcodeGuID* form) { form->But_Count->click(); }
};

TEST_F(SerialGeneration, RecordNumbersContinueAfterTheHighestStoredOneOfEachVariant) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 2, 0, 1);
    Tfrm_BarcodeGuID* form = openForm();
    count(form);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('\n')).toStdString();
    // A variant without stored serials starts from the base 1.
    const QStringList first = {QStringLiteral("A1001|01|L|2|A100101L0002"),
                               QStringLiteral("A1001|01|S|2|A100101S0002"),
                               QStringLiteral("A1001|01|S|3|A100101S0003")};
    EXPECT_EQ(serials(), first);
    EXPECT_EQ(serials(QStringLiteral("barcodeguidTemp")), first);
    EXPECT_EQ(form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 3);

    // Each piece has one code, the same in both tables, of six characters of 0-9 and A-Z.
    const QStringList codes = rows(QStringLiteral(
        "select a.fcode from barcodeguid a join barcodeguidTemp b on a.fbarcode=b.fbarcode "
        "and a.fcode=b.fcode"));
    ASSERT_EQ(codes.size(), 3);
    for (const QString& code : codes)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-Z]{6}$")).match(code).hasMatch())
            << code.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select distinct finputuser,fflag from barcodeguid")),
              QStringList{QStringLiteral("u1|0")});

    // A second run numbers on; the latest-run table holds only its own serials.
    db.exec(QStringLiteral("update barcodedetail set s1=1,s3=0"));
    form->Quantities->OpenList();
    count(form);
    EXPECT_EQ(serials().size(), 4);
    EXPECT_EQ(serials(QStringLiteral("barcodeguidTemp")),
              QStringList{QStringLiteral("A1001|01|S|4|A100101S0004")});
}

TEST_F(SerialGeneration, SuffixKeepsTheLastFourDigitsAndAVariantWithoutBarcodeGetsOnlyThem) {
    addSerial(QStringLiteral("A1001"), QStringLiteral("02"), QStringLiteral("M"), 9999,
              QStringLiteral("A100102M9999"), QStringLiteral("ABC123"));
    addQuantities(QStringLiteral("A1001"), QStringLiteral("02"), 0, 2, 0);
    addQuantities(QStringLiteral("N3001"), QStringLiteral("01"), 1, 0, 0);
    Tfrm_BarcodeGuID* form = openForm();
    count(form);
    EXPECT_EQ(serials(QStringLiteral("barcodeguidTemp")),
              (QStringList{QStringLiteral("A1001|02|M|10000|A100102M0000"),
                           QStringLiteral("A1001|02|M|10001|A100102M0001"),
                           QStringLiteral("N3001|01|S|2|0002")}));
    EXPECT_EQ(Tfrm_BarcodeGuID::SerialNumber(QStringLiteral("A0102XL"), 37),
              QStringLiteral("A0102XL0037"));
}

TEST_F(SerialGeneration, BadQuantitiesAreRefusedBeforeAnythingIsWritten) {
    addSerial(QStringLiteral("A1001"), QStringLiteral("01"), QStringLiteral("S"), 5,
              QStringLiteral("A100101S0005"), QStringLiteral("ABC123"));
    // One variant on two rows: 5,000 + 5,000 pieces would repeat suffixes in one run.
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 5000, 0, 0);
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 5000, 1, 0);
    db.exec(
        QStringLiteral("insert into barcode_temp(fgoodsid,fcolorid,fsize) "
                       "values('A1001','01','M')"));
    Tfrm_BarcodeGuID* form = openForm();
    count(form);
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral(
                  "货号“A1001”颜色“01”尺码“S”一次最多生成9999个产品序列号,请分次生成!")});
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 2);
    EXPECT_EQ(db.count(QStringLiteral("barcode_temp")), 1);
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 1);

    // A negative quantity held by the server's list.
    script.clear();
    db.exec(QStringLiteral("update barcodedetail set s1=-1"));
    form->Quantities->OpenList();
    count(form);
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral("货号“A1001”颜色“01”的数量必须是不小于0的整数!")});
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 1);
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 2);
}

TEST_F(SerialGeneration, AnEmptyListIsRefused) {
    Tfrm_BarcodeGuID* form = openForm();
    count(form);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请选择录入要打印的明细内容")});
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 0);
}

TEST_F(SerialGeneration, TypedRowsAreSentAndTheLocalCopyTakesTheLabelRowsOneColumnOn) {
    Tfrm_BarcodeGuID* form = openForm();
    TDBTableView* v = form->Quantities->cxGrid1DBTableView1;
    v->setFocus();
    press(Qt::Key_F2);
    type(QStringLiteral("a1001"));
    press(Qt::Key_Return);
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf(QStringLiteral("fcolorid"))));
    type(QStringLiteral("02"));
    press(Qt::Key_Return);
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf(QStringLiteral("s2"))));
    type(QStringLiteral("2"));
    press(Qt::Key_Return);
    count(form);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows(QStringLiteral("select fGoodsId,fcolorid,qty,s2 from barcodedetail")),
              QStringList{QStringLiteral("A1001|02|2|2")});
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);

    // The first local column is the local table's own; the view's columns follow.
    const QStringList expected =
        rows(QStringLiteral("select 货号,货品名称,颜色编号,颜色,尺码,序列号,验证码 from "
                            "vbarcodeGuid order by 序列号"));
    ASSERT_EQ(expected.size(), 2);
    QStringList local =
        localRows(QStringLiteral("fgoodsid,goodsname,fcolorid,colorname,fsize,fbarcode,fcode"));
    local.sort();
    EXPECT_EQ(local, expected);
    EXPECT_TRUE(
        expected.first().startsWith(QStringLiteral("A1001|品名A1001|02|白色|M|A100102M0002|")));
}

TEST_F(SerialGeneration, PrintingNeedsARunAndPrintsOneLabelPerPieceOfIt) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 1, 1, 1);
    Tfrm_BarcodeGuID* form = openForm();
    form->LabelMenu->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("请先按统计按钮进行统计才能打印")});
    EXPECT_FALSE(QFile::exists(pdf));

    count(form);
    script.clear();
    script.answer(md::ui::Answer::No);
    form->LabelMenu->Menu_bar->trigger();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("您是否现在确认批量打印条形码？")});
    EXPECT_FALSE(QFile::exists(pdf));
    form->LabelMenu->Menu_bar->trigger();
    EXPECT_EQ(pdfPages(), 3);
}

TEST_F(SerialGeneration, ClearingAndClosingEmptyTheServerListsOnYesOnly) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 1, 0, 0);
    db.exec(
        QStringLiteral("insert into barcode_temp(fgoodsid,fcolorid,fsize) "
                       "values('A1001','01','S')"));
    Tfrm_BarcodeGuID* form = openForm();
    script.answer(md::ui::Answer::No);
    form->But_Clear->click();
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 1);
    form->But_Clear->click();
    EXPECT_EQ(script.texts(), QStringList(2, QStringLiteral("您是否确认清空此表?")));
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 0);
    EXPECT_TRUE(form->Quantities->DBdetail_table->IsEmpty());

    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 1, 0, 0);
    script.answer(md::ui::Answer::No);
    form->But_Close->click();
    flushDeletes();
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 1);
    EXPECT_EQ(db.count(QStringLiteral("barcode_temp")), 1);
    form = openForm();
    form->But_Close->click();
    flushDeletes();
    EXPECT_EQ(db.count(QStringLiteral("barcodedetail")), 0);
    EXPECT_EQ(db.count(QStringLiteral("barcode_temp")), 0);
}

TEST_F(SerialGeneration, AnExternalLabelProgramIsStartedWithTheVerbOfTheSettings) {
    home.writeFile(QStringLiteral("softconfig.ini"),
                   "[BarList]\nopentype=open\nBar2=SerialLabel.exe\n");
    QStringList started;
    md::ui::SetLabelProgramStarter([&](const QString& verb, const QString& path) {
        started << verb + QLatin1Char(' ') + path;
    });
    Tfrm_BarcodeGuID* form = openForm();
    EXPECT_TRUE(form->LabelMenu->Menu_bar->isVisible());
    EXPECT_TRUE(form->LabelMenu->Menu_ShoeBar2->isVisible());
    EXPECT_FALSE(form->LabelMenu->Menu_ShoeBar1->isVisible());
    form->LabelMenu->Menu_ShoeBar2->trigger();
    ASSERT_EQ(started.size(), 1);
    EXPECT_TRUE(started.first().startsWith(QStringLiteral("open ")));
    EXPECT_TRUE(started.first().endsWith(QStringLiteral("SerialLabel.exe")));
}

TEST(SerialCodes, CodesAreSixCharactersWithLettersTwiceAsLikelyAsDigits) {
    int digits = 0;
    int characters = 0;
    QSet<QString> seen;
    for (int i = 0; i < 6000; ++i) {
        const QString code = Tfrm_BarcodeGuID::NewVerificationCode();
        ASSERT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-Z]{6}$")).match(code).hasMatch());
        seen.insert(code);
        for (QChar c : code) digits += c.isDigit() ? 1 : 0;
        characters += int(code.size());
    }
    // 10 of 62 draws are digits: 5,806 of 36,000, give or take 70.
    EXPECT_GT(digits, 5400);
    EXPECT_LT(digits, 6200);
    EXPECT_GT(seen.size(), 5990);
}

TEST_F(SerialGeneration, AQuantityThatIsNotWholeIsRefusedAsTyped) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 1, 0, 0);
    Tfrm_BarcodeGuID* form = openForm();
    TDBTableView* v = form->Quantities->cxGrid1DBTableView1;
    v->setFocus();
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf(QStringLiteral("s2"))));
    type(QStringLiteral("1.5"));
    press(Qt::Key_Return);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("数量必须是整数!")});
    // 统计 meets the same text in the open cell and stops before writing.
    script.clear();
    count(form);
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("数量必须是整数!")});
    EXPECT_EQ(rows(QStringLiteral("select s1,s2 from barcodedetail")),
              QStringList{QStringLiteral("1|0")});
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 0);
}

TEST_F(SerialGeneration, AFailedRunLeavesTheServerAndTheListAsTheyWere) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 1, 0, 0);
    Tfrm_BarcodeGuID* form = openForm();
    // The latest-run table is gone: the run fails after the list was emptied.
    db.exec(QStringLiteral("drop view vbarcodeGuid"));
    db.exec(QStringLiteral("drop table barcodeguidTemp"));
    count(form);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(rows(QStringLiteral("select fGoodsId,fcolorid,s1 from barcodedetail")),
              QStringList{QStringLiteral("A1001|01|1")});
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid")), 0);
    EXPECT_EQ(form->Quantities->DBdetail_table->RecordCount(), 1);
    EXPECT_FALSE(form->Counted());
}
