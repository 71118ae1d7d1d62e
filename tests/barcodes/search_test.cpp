// Finding barcodes: the attribute filter, the code and size boxes, the marks
// every search clears, "全选", and searches that would drop unsaved changes.
#include <QCheckBox>
#include <QPushButton>

#include "barcodefixture.h"
#include "checktree.h"

using namespace md::test;

class BarcodeSearch : public BarcodeTest {};

TEST_F(BarcodeSearch, OpensEmptyAndSearchesByCodeSizeAndAttributes) {
    Tfrm_barcode* form = open();
    EXPECT_TRUE(form->DBmaster_table->Active());
    EXPECT_TRUE(variants(form).isEmpty());
    EXPECT_EQ(form->CheckTree1->topLevelItemCount(), 2);

    // The code is found anywhere in the goods code.
    search(form, QStringLiteral("01"));
    EXPECT_EQ(sorted(variants(form)), sorted({"A01/01/M", "A01/01/L", "A01/02/M", "A01/02/L",
                                              "B01/01/M", "B01/01/L", "B01/02/M", "B01/02/L"}));
    EXPECT_EQ(form->DBmaster_table->SQL(),
              QStringLiteral("select * from barcode where 1=1 \n and fgoodsid in(select goodsid "
                             "from goods where 1=1 and  goodsid like '%01%')"));

    // Only the size: every row of that size.
    search(form, QString(), QStringLiteral("L"));
    EXPECT_EQ(sorted(variants(form)),
              sorted({"A01/01/L", "A01/02/L", "A02/01/L", "A02/02/L", "B01/01/L", "B01/02/L"}));

    // An attribute with the code and the size: each narrows the others.
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), QStringLiteral("雅韵"), true);
    search(form, QStringLiteral("A0"), QStringLiteral("m"));
    EXPECT_EQ(sorted(variants(form)), sorted({"A01/01/M", "A01/02/M", "A02/01/M", "A02/02/M"}));
    EXPECT_EQ(form->DBmaster_table->SQL(),
              QStringLiteral("select * from barcode where 1=1 \n and fgoodsid in(select goodsid "
                             "from goods where 1=1 and (brand in('雅韵')) and goodsid like "
                             "'%A0%' and fsize ='m')"));
    form->CheckTree1->SetChecked(QStringLiteral("季节"), QStringLiteral("夏"), true);
    search(form);
    EXPECT_EQ(sorted(variants(form)), sorted({"A02/01/M", "A02/01/L", "A02/02/M", "A02/02/L"}));

    // A quote in a box is a character of the code, not the end of the text.
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), QStringLiteral("雅韵"), false);
    form->CheckTree1->SetChecked(QStringLiteral("季节"), QStringLiteral("夏"), false);
    search(form, QStringLiteral("A'"));
    EXPECT_TRUE(variants(form).isEmpty());
}

TEST_F(BarcodeSearch, EnterSearchesOnlyWithAGoodsCode) {
    Tfrm_barcode* form = open();
    form->Edit_Size->setText(QStringLiteral("M"));
    QTest::keyClick(form->Edit_Size, Qt::Key_Return);
    EXPECT_TRUE(variants(form).isEmpty());
    form->Edit_GoodsId->setFocus();
    QTest::keyClicks(form->Edit_GoodsId, QStringLiteral("b0"));  // typed in capitals
    EXPECT_EQ(form->Edit_GoodsId->text(), QStringLiteral("B0"));
    QTest::keyClick(form->Edit_Size, Qt::Key_Return);
    EXPECT_EQ(sorted(variants(form)), sorted({"B01/01/M", "B01/02/M"}));
}

TEST_F(BarcodeSearch, EverySearchClearsTheMarksOfTheWholeTable) {
    db.exec(QStringLiteral("update barcode set fcheck=1 where fgoodsid='B01'"));
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A01"));
    EXPECT_EQ(db.count(QStringLiteral("barcode where fcheck=1")), 0);
    EXPECT_EQ(statements().filter(QStringLiteral("update barcode set fcheck=0")).size(), 1);

    // Marks saved with the rows are cleared by the next search too.
    tick(form, {QStringLiteral("A01/01/M")});
    EXPECT_EQ(db.count(QStringLiteral("barcode where fcheck=1")), 1);
    search(form, QStringLiteral("A01"));
    EXPECT_EQ(db.count(QStringLiteral("barcode where fcheck=1")), 0);
    EXPECT_EQ(form->DBmaster_table->FieldByName(QStringLiteral("fcheck")).AsInteger(), 0);
}

TEST_F(BarcodeSearch, SelectAllMarksOrClearsEveryRowAndReturnsToTheFirst) {
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A0"));
    form->DBmaster_table->Last();
    form->Check_All->click();
    ASSERT_TRUE(form->Check_All->isChecked());
    EXPECT_EQ(form->DBmaster_table->RecNo(), 1);
    int marked = 0;
    for (form->DBmaster_table->First(); !form->DBmaster_table->Eof(); form->DBmaster_table->Next())
        marked += form->DBmaster_table->FieldByName(QStringLiteral("fcheck")).AsBoolean();
    EXPECT_EQ(marked, 8);
    EXPECT_EQ(db.count(QStringLiteral("barcode where fcheck=1")), 0);  // marks of the grid's own

    form->DBmaster_table->Last();
    form->Check_All->click();
    EXPECT_EQ(form->DBmaster_table->RecNo(), 1);
    for (form->DBmaster_table->First(); !form->DBmaster_table->Eof(); form->DBmaster_table->Next())
        EXPECT_FALSE(form->DBmaster_table->FieldByName(QStringLiteral("fcheck")).AsBoolean());
}

TEST_F(BarcodeSearch, ASearchSavesWhatTheGridHoldsFirst) {
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A01"));
    go(form, QStringLiteral("A01/01/M"));
    form->edit_action->trigger();
    typeInto(form, "fbarcode1", QStringLiteral("NEW1"));
    search(form, QStringLiteral("B01"));
    EXPECT_EQ(row(QStringLiteral("A01/01/M"), QStringLiteral("fbarcode1")), QStringLiteral("NEW1"));
    EXPECT_EQ(sorted(variants(form)), sorted({"B01/01/M", "B01/01/L", "B01/02/M", "B01/02/L"}));

    // A change the save refuses stops the search, and stays.
    go(form, QStringLiteral("B01/01/M"));
    form->edit_action->trigger();
    typeInto(form, "fbarcode1", QStringLiteral("NEW1"));
    script.clear();
    search(form, QStringLiteral("A01"));
    EXPECT_EQ(script.texts(), QStringList{"条形码“NEW1”重复：B01/01/M 与 A01/01/M"});
    EXPECT_EQ(variants(form).size(), 4);
    EXPECT_EQ(value(form, "fbarcode1"), QStringLiteral("NEW1"));
    EXPECT_EQ(row(QStringLiteral("B01/01/M"), QStringLiteral("fbarcode1")),
              QStringLiteral("B0101M"));
}
