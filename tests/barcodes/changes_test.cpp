// Changing barcodes in the grid: the batch change of the marked rows, delete
// of the marked or the current rows, the checks and defaults of a saved row,
// and barcodes typed twice for different variants.
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>

#include "barcodefixture.h"

using namespace md::test;
using md::ui::Answer;

class BarcodeChanges : public BarcodeTest {
  protected:
    Tfrm_barcode* openWithA() {
        Tfrm_barcode* form = open();
        search(form, QStringLiteral("A0"));
        return form;
    }
    static void batch(Tfrm_barcode* form, const QString& field, const QString& newValue) {
        form->Combo_Field->setEditText(field);
        form->Edit_Value->setText(newValue);
        form->But_FieldOK->click();
    }
};

TEST_F(BarcodeChanges, BatchChangeSetsOneColumnOfTheMarkedRowsOnly) {
    Tfrm_barcode* form = openWithA();
    tick(form, {QStringLiteral("A01/01/M"), QStringLiteral("A02/02/L")});
    script.clear();
    form->Combo_Field->setCurrentIndex(0);  // "打印尺码"
    form->Edit_Value->setText(QStringLiteral("均码"));
    form->But_FieldOK->click();
    EXPECT_EQ(script.texts(), (QStringList{"是否确认更改?", "批量修改完成!"}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid,fcolorid,fsize from barcode where "
                                  "fprintsize='均码' order by fgoodsid")),
              (QStringList{"A01|01|M", "A02|02|L"}));
    EXPECT_EQ(row(QStringLiteral("A01/01/M"), QStringLiteral("fbarcode1,fprintcolorid,fsize")),
              QStringLiteral("A0101M|01|M"));
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_FALSE(form->ProgressBar1->isVisible());

    // The printed colour, chosen by its caption, of the same rows.
    batch(form, QStringLiteral("打印颜色编号"), QStringLiteral("99"));
    EXPECT_EQ(db.count(QStringLiteral("barcode where fprintcolorid='99'")), 2);
    EXPECT_EQ(db.count(QStringLiteral("barcode where fprintsize='均码'")), 2);

    // No: nothing changes.
    script.answer(Answer::No);
    batch(form, QStringLiteral("打印颜色编号"), QStringLiteral("77"));
    EXPECT_EQ(db.count(QStringLiteral("barcode where fprintcolorid='77'")), 0);
    EXPECT_EQ(db.count(QStringLiteral("barcode where fprintcolorid='99'")), 2);
}

TEST_F(BarcodeChanges, BatchChangeRefusesAMissingFieldValueOrAnUnknownField) {
    Tfrm_barcode* form = openWithA();
    tick(form, {QStringLiteral("A01/01/M")});
    struct Case {
        QString field, value, message;
    };
    const QList<Case> cases = {
        {QString(), QStringLiteral("X"), QStringLiteral("请选择货品属性!")},
        {QStringLiteral("打印尺码"), QString(), QStringLiteral("请输入要更改的值!")},
        {QStringLiteral("条形码1"), QStringLiteral("X"),
         QStringLiteral("没有找到对应的数据库字段!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        script.clear();
        batch(form, c.field, c.value);
        EXPECT_EQ(script.texts(), QStringList{c.message});
        EXPECT_EQ(row(QStringLiteral("A01/01/M"), QStringLiteral("fbarcode1,fprintsize")),
                  QStringLiteral("A0101M|M"));
    }
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());

    // Without the edit right the batch change says so and changes nothing.
    form->RightEdit = false;
    script.clear();
    batch(form, QStringLiteral("打印尺码"), QStringLiteral("F"));
    EXPECT_EQ(script.texts(), QStringList{"您没有足够的权限进行此操作!"});
    EXPECT_EQ(db.count(QStringLiteral("barcode where fprintsize='F'")), 0);
}

TEST_F(BarcodeChanges, DeleteTakesTheMarkedRowsOrElseTheCurrentOne) {
    Tfrm_barcode* form = openWithA();
    tick(form, {QStringLiteral("A01/02/M"), QStringLiteral("A02/01/L")});
    go(form, QStringLiteral("A01/01/L"));
    script.answer(Answer::No);
    form->del_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("barcode")), 12);

    script.clear();
    form->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除此记录？"});
    EXPECT_EQ(db.count(QStringLiteral("barcode")), 10);
    EXPECT_TRUE(row(QStringLiteral("A01/02/M"), QStringLiteral("fsize")).isEmpty());
    EXPECT_TRUE(row(QStringLiteral("A02/01/L"), QStringLiteral("fsize")).isEmpty());
    EXPECT_FALSE(form->DBmaster_table->Filtered());
    EXPECT_EQ(variants(form).size(), 6);

    // Nothing marked: the current row goes.
    go(form, QStringLiteral("A02/02/M"));
    form->del_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("barcode")), 9);
    EXPECT_TRUE(row(QStringLiteral("A02/02/M"), QStringLiteral("fsize")).isEmpty());
    EXPECT_EQ(variants(form).size(), 5);
}

TEST_F(BarcodeChanges, ANewRowNeedsItsVariantAndPrintsItsOwnSizeAndColour) {
    Tfrm_barcode* form = openWithA();
    form->append_action->trigger();
    struct Step {
        const char* field;
        QString text;
        QString refusal;  // what the save says before this field is typed
    };
    const QList<Step> steps = {
        {"fgoodsid", QStringLiteral("a03"), QStringLiteral("货号不能为空!")},
        {"fcolorid", QStringLiteral("05"), QStringLiteral("颜色编号不能为空!")},
        {"fsize", QStringLiteral("XL"), QStringLiteral("尺码不能为空!")}};
    for (const Step& step : steps) {
        script.clear();
        form->post_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{step.refusal});
        EXPECT_EQ(form->DBmaster_table->State(), dsInsert);
        typeInto(form, step.field, step.text);
    }
    typeInto(form, "fbarcode1", QStringLiteral("A0305XL"));
    form->post_action->trigger();
    EXPECT_EQ(
        row(QStringLiteral("A03/05/XL"), QStringLiteral("fbarcode1,fprintsize,fprintcolorid")),
        QStringLiteral("A0305XL|XL|05"));
}

TEST_F(BarcodeChanges, ABarcodeTypedForTwoVariantsIsRefusedNamingBoth) {
    addBarcode(QStringLiteral("B02"), QStringLiteral("01"), QStringLiteral("S"),
               QStringLiteral("6901234000017"));
    Tfrm_barcode* form = openWithA();

    // Two rows of the grid.
    go(form, QStringLiteral("A01/02/M"));
    form->edit_action->trigger();
    typeInto(form, "fbarcode1", QStringLiteral("X1"));
    go(form, QStringLiteral("A02/01/L"));
    typeInto(form, "fbarcode2", QStringLiteral("x1 "));
    script.clear();
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"条形码“X1”重复：A01/02/M 与 A02/01/L"});
    EXPECT_EQ(db.count(QStringLiteral("barcode where fbarcode1='X1' or fbarcode2='X1'")), 0);
    EXPECT_TRUE(form->DBmaster_table->UpdatesPending());

    // One of the server's rows outside the grid, in either column.
    typeInto(form, "fbarcode2", QStringLiteral("6901234000017"));
    script.clear();
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"条形码“6901234000017”重复：A02/01/L 与 B02/01/S"});
    typeInto(form, "fbarcode2", QStringLiteral("B0101M"));
    script.clear();
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"条形码“B0101M”重复：A02/01/L 与 B01/01/M"});

    // One query for the codes changed, whatever the number of rows.
    db.conn().log().clear();
    typeInto(form, "fbarcode2", QString());
    script.clear();
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(u'\n').toStdString();
    EXPECT_EQ(statements().filter(QStringLiteral("barcode where fbarcode1 in(")).size(), 1);
    EXPECT_EQ(row(QStringLiteral("A01/02/M"), QStringLiteral("fbarcode1")), QStringLiteral("X1"));

    // A code moved from one row of the grid to another in one save is no duplicate,
    // nor is a variant's own code in both columns.
    go(form, QStringLiteral("A01/02/M"));
    form->edit_action->trigger();
    typeInto(form, "fbarcode1", QStringLiteral("A0102M"));
    go(form, QStringLiteral("A01/01/M"));
    typeInto(form, "fbarcode1", QStringLiteral("X1"));
    typeInto(form, "fbarcode2", QStringLiteral("X1"));
    script.clear();
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(u'\n').toStdString();
    EXPECT_EQ(row(QStringLiteral("A01/01/M"), QStringLiteral("fbarcode1,fbarcode2")),
              QStringLiteral("X1|X1"));
}
