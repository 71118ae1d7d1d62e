// The barcode generation wizard: the variants without a barcode row listed,
// codes composed by the three rules (with and without the mapping tables),
// hand corrections, and "确定" inserting every listed row.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "barcodes/frm_barcodeAdd.h"
#include "barcodes/frm_barcolor.h"
#include "datasource.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

using namespace md::test;

class BarcodeWizard : public FormTest {
  protected:
    BarcodeWizard() : FormTest(QStringLiteral("frm_barcode")) {
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit")});
        md::Shared().NationalCodePrefix = QStringLiteral("6901234");
    }

    // A goods item of its own size group, with its colours and sizes.
    void addGoods(const QString& code, const QStringList& colours, const QStringList& sizes) {
        const QString group = QStringLiteral("G_") + code.trimmed();
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,size_class,goodsno) "
                               "values('%1','品名','%2','N%3')")
                    .arg(code, group, code.trimmed()));
        for (const QString& colour : colours)
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) values('%1','%2')")
                        .arg(code, colour));
        int index = 0;
        for (const QString& size : sizes)
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('%1','%2',%3,'S%3')")
                        .arg(group, size)
                        .arg(++index));
    }
    // Barcode rows of goods the wizard does not list, so that the serial starts after them.
    void addStoredBarcodes(int count) {
        for (int i = 0; i < count; ++i)
            db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) "
                                   "values('OLD','01','%1','OLD%1')")
                        .arg(i));
    }

    Tfrm_barcodeAdd* openWizard() {
        auto* form = open<Tfrm_barcodeAdd>();
        form->show();
        QApplication::processEvents();
        return form;
    }

    // The list's rows as "goods/colour/size=barcode 1/barcode 2", in list order.
    static QStringList listed(Tfrm_barcodeAdd* form) {
        QStringList out;
        TRemoteUdpDataSet* ds = form->Query_Check;
        auto at = [ds](int row, const char* field) {
            return ds->valueAt(row, ds->FieldByName(QString::fromLatin1(field)).Index()).toString();
        };
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << at(row, "goodsid").trimmed() + QLatin1Char('/') + at(row, "colorid") +
                       QLatin1Char('/') + at(row, "size_name") + QLatin1Char('=') +
                       at(row, "fbarcode1") + QLatin1Char('/') + at(row, "fbarcode2");
        return out;
    }
    static QString codeOf(Tfrm_barcodeAdd* form, const QString& variant) {
        for (const QString& row : listed(form))
            if (row.section(QLatin1Char('='), 0, 0) == variant)
                return row.section(QLatin1Char('='), 1);
        ADD_FAILURE() << "not listed: " << variant.toStdString();
        return QString();
    }

    // Types a code into a cell of a variant's row through the cell editor.
    static void typeInto(Tfrm_barcodeAdd* form, const QString& variant, const char* field,
                         const QString& text) {
        const QStringList p = variant.split(QLatin1Char('/'));
        ASSERT_TRUE(form->Query_Check->Locate(QStringLiteral("colorid;size_name"),
                                              QVariantList{p[1], p[2]}));
        TDBTableView* v = form->cxGrid1DBTableView1;
        v->setFocus();
        v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(),
                                                 v->SectionOf(QString::fromLatin1(field))));
        v->edit(v->currentIndex());
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        ASSERT_NE(editor, nullptr);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
    }
};

TEST_F(BarcodeWizard, ListsTheVariantsWithoutABarcodeRow) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01"), QStringLiteral("02")},
             {QStringLiteral("M"), QStringLiteral("L")});
    db.exec(
        QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) "
                       "values('A01','01','M','X')"));
    Tfrm_barcodeAdd* form = openWizard();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("条形码生成向导"));
    EXPECT_EQ(form->Edit_Prefix->text(), QStringLiteral("6901234"));
    EXPECT_TRUE(form->Radio_Rule1->isChecked());
    EXPECT_EQ(form->Spin_Digits->value(), 6);
    QStringList rows = listed(form);
    rows.sort();
    EXPECT_EQ(rows, (QStringList{"A01/01/L=/", "A01/02/L=/", "A01/02/M=/"}));
}

TEST_F(BarcodeWizard, RuleOneJoinsTrimmedGoodsColourAndSizeAndASecondPressChangesNothing) {
    addGoods(QStringLiteral("  A01 "), {QStringLiteral("02")}, {QStringLiteral("XL")});
    Tfrm_barcodeAdd* form = openWizard();
    form->But_Code1->click();
    EXPECT_EQ(listed(form), QStringList{"A01/02/XL=A0102XL/"});
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(u'\n').toStdString();

    // Rules only fill empty codes: with every barcode 1 set, nothing moves.
    form->Radio_Rule2->setChecked(true);
    form->Edit_Text1->setText(QStringLiteral("Z"));
    form->But_Code1->click();
    EXPECT_EQ(listed(form), QStringList{"A01/02/XL=A0102XL/"});
    // The three rules exclude each other.
    EXPECT_FALSE(form->Radio_Rule1->isChecked());
    form->Radio_Rule3->setChecked(true);
    EXPECT_FALSE(form->Radio_Rule2->isChecked());
}

TEST_F(BarcodeWizard, RuleTwoFollowsThePatternAndCountsSerialsFromTheStoredRows) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01")},
             {QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("S")});
    addStoredBarcodes(37);
    Tfrm_barcodeAdd* form = openWizard();
    // A code typed by hand into the first row keeps it out of the numbering.
    const QString first = listed(form).value(0).section(QLatin1Char('='), 0, 0);
    typeInto(form, first, "fbarcode1", QStringLiteral("HAND1"));
    form->Radio_Rule2->setChecked(true);
    QTest::keyClicks(form->Edit_Text1, QStringLiteral(" P "));
    form->Combo_Part1->setCurrentText(QStringLiteral("货号"));
    form->Edit_Text2->setText(QStringLiteral("-"));
    form->Combo_Part2->setCurrentText(QStringLiteral("尺码"));
    form->Combo_Part3->setCurrentText(QStringLiteral("其他"));  // contributes nothing
    form->Spin_Digits->setValue(4);
    form->But_Code1->click();

    // The other rows take 38 and 39 in list order.
    const QStringList rows = listed(form);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], first + QStringLiteral("=HAND1/"));
    for (int i = 1; i < 3; ++i) {
        const QString size = rows[i].section(QLatin1Char('='), 0, 0).section(QLatin1Char('/'), 2);
        EXPECT_EQ(rows[i].section(QLatin1Char('='), 1),
                  QStringLiteral("PA01-") + size + QStringLiteral("00%1/").arg(37 + i));
    }

    // No serial digits: the pattern alone.
    form->Spin_Digits->setValue(0);
    form->But_Code2->click();
    EXPECT_EQ(codeOf(form, QStringLiteral("A01/01/M")).section(u'/', 1), QStringLiteral("PA01-M"));
}

TEST_F(BarcodeWizard, RuleThreeIsThePrefixASerialAndTheCheckDigit) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01")}, {QStringLiteral("M")});
    addStoredBarcodes(99);
    Tfrm_barcodeAdd* form = openWizard();
    form->Radio_Rule3->setChecked(true);
    form->But_Code2->click();
    // 690123400100: 3 x (9+1+3+0+1+0) + (6+0+2+4+0+0) = 54, check digit 6.
    EXPECT_EQ(listed(form), QStringList{"A01/01/M=/6901234001006"});
}

TEST_F(BarcodeWizard, MappedPartsComeFromTheTablesOrTheCodeItself) {
    addGoods(QStringLiteral("A01"),
             {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")},
             {QStringLiteral("xl")});
    db.exec(QStringLiteral("insert into barcode_color(fcolorid,fbarcolorid) values('01','BK')"));
    db.exec(QStringLiteral("insert into barcode_color(fcolorid,fbarcolorid) values('02','')"));
    db.exec(QStringLiteral("insert into barcode_size(fsize,fbarcodesize) values('XL','X')"));
    Tfrm_barcodeAdd* form = openWizard();
    form->Check_Mapping->setChecked(true);
    form->But_Code1->click();
    EXPECT_EQ(codeOf(form, QStringLiteral("A01/01/xl")), QStringLiteral("A01BKX/"));
    EXPECT_EQ(codeOf(form, QStringLiteral("A01/02/xl")), QStringLiteral("A0102X/"));
    EXPECT_EQ(codeOf(form, QStringLiteral("A01/03/xl")), QStringLiteral("A0103X/"));

    // A mapping changed in the colour dialog is what the next composing uses.
    db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('03','红')"));
    script.onDialog([](QDialog& dialog) {
        auto* colours = qobject_cast<Tfrm_barcolor*>(&dialog);
        EXPECT_NE(colours, nullptr);
        if (!colours) return int(QDialog::Rejected);
        TRemoteUdpDataSet* ds = colours->DBmaster_table;
        EXPECT_TRUE(ds->Locate(QStringLiteral("fcolorid"), QStringLiteral("03")));
        ds->Edit();
        ds->FieldByName(QStringLiteral("fbarcolorid")).SetAsString(QStringLiteral("RD"));
        colours->But_OK->click();
        return dialog.result();
    });
    form->But_Color->click();
    form->Check_Mapping->setChecked(true);
    form->But_Code2->click();
    EXPECT_EQ(codeOf(form, QStringLiteral("A01/03/xl")), QStringLiteral("A0103X/A01RDX"));
}

TEST_F(BarcodeWizard, OkInsertsEveryListedRowWithItsGoodsNumberAndCorrections) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01")},
             {QStringLiteral("M"), QStringLiteral("L")});
    addGoods(QStringLiteral("B01"), {QStringLiteral("05")}, {QStringLiteral("S")});
    QPointer<Tfrm_barcodeAdd> form = openWizard();
    form->But_Code1->click();
    typeInto(form, QStringLiteral("A01/01/L"), "fbarcode1", QStringLiteral("FIXED"));
    typeInto(form, QStringLiteral("B01/05/S"), "fbarcode2", QStringLiteral("B2"));
    form->But_OK->click();

    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(u'\n').toStdString();
    QStringList stored = rows(
        QStringLiteral("select fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2,goodsno from barcode"));
    stored.sort();
    EXPECT_EQ(stored, (QStringList{"A01|01|L|FIXED||NA01", "A01|01|M|A0101M||NA01",
                                   "B01|05|S|B0105S|B2|NB01"}));
    ASSERT_FALSE(form && form->isVisible());
}

TEST_F(BarcodeWizard, OkWithCodesLeftEmptyStillInsertsTheRowsAndCancelInsertsNothing) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01")}, {QStringLiteral("M")});
    Tfrm_barcodeAdd* cancelled = openWizard();
    cancelled->But_Code1->click();
    cancelled->But_Cancel->click();
    EXPECT_EQ(db.count(QStringLiteral("barcode")), 0);

    Tfrm_barcodeAdd* form = openWizard();
    EXPECT_EQ(listed(form), QStringList{"A01/01/M=/"});
    form->But_OK->click();
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fbarcode1,fbarcode2,goodsno from barcode")),
              QStringList{"A01|||NA01"});
}

TEST_F(BarcodeWizard, ANationalPrefixThatLeavesNoRoomIsRefusedBeforeAnyRowChanges) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01")},
             {QStringLiteral("M"), QStringLiteral("L")});
    Tfrm_barcodeAdd* form = openWizard();
    form->Radio_Rule3->setChecked(true);
    for (const char* prefix : {"69A1234", "", "690123456789"}) {
        script.clear();
        form->Edit_Prefix->setText(QString::fromLatin1(prefix));
        form->But_Code2->click();
        EXPECT_EQ(script.texts(),
                  QStringList{QStringLiteral("国标码“%1”应为1到11位数字，才能留出流水号的位置。")
                                  .arg(QString::fromLatin1(prefix))});
        EXPECT_FALSE(form->Query_Check->UpdatesPending()) << prefix;
    }

    // Eleven digits leave one for the serial: 9 stored rows and two to code
    // would need serial 11.
    addStoredBarcodes(9);
    script.clear();
    form->Edit_Prefix->setText(QStringLiteral("69012345678"));
    form->But_Code2->click();
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral("国标码“69012345678”后只有1位流水号，给2个条码编号要用到"
                                         "11，超出了位数。请改用位数较少的国标码前缀。")});
    EXPECT_FALSE(form->Query_Check->UpdatesPending());
    EXPECT_EQ(db.count(QStringLiteral("barcode")), 9);
}

// A picture of the wizard after composing, for a person to look at (/tmp/wizard.png).
TEST_F(BarcodeWizard, PictureAfterComposing) {
    addGoods(QStringLiteral("A01"), {QStringLiteral("01"), QStringLiteral("02")},
             {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
    addGoods(QStringLiteral("B01"), {QStringLiteral("05")}, {QStringLiteral("M")});
    Tfrm_barcodeAdd* form = openWizard();
    form->But_Code1->click();
    form->Radio_Rule3->setChecked(true);
    form->But_Code2->click();
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("wizard.png"))));
}
