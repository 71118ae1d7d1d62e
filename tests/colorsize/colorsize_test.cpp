// 单据数量录入: finding goods by code, the size columns of the item's group,
// typing quantities with live totals, refused quantities, and handing the rows
// with a quantity to the caller.
#include <QHeaderView>
#include <QPointer>

#include "colorsizefixture.h"

using namespace md::test;

namespace {

class ColorSize : public ColorSizeTest {
  protected:
    // The captions of the shown columns, in screen order.
    static QStringList captions(Tfrm_colorsize* dialog) {
        TDBTableView* v = dialog->cxGrid2DBTableView1;
        QStringList out;
        for (int section : v->VisibleSections()) out << v->ColumnOfSection(section)->Caption();
        return out;
    }
    static QStringList pickList(Tfrm_colorsize* dialog) {
        QStringList codes;
        for (int row = 0; row < dialog->DBgoods_table->RecordCount(); ++row)
            codes << dialog->DBgoods_table->valueAt(row, 0).toString();
        codes.sort();
        return codes;
    }
};

TEST_F(ColorSize, ATwelveSizeGroupShowsTwelveCaptionedSizeColumnsUnderOneBand) {
    auto* dialog = openDialog(QStringLiteral("A1002"));
    EXPECT_TRUE(dialog->Edit_goodsid->hasFocus());
    press(Qt::Key_Return);  // one goods item: its colours at once

    EXPECT_EQ(dialog->DBmaster_table->RecordCount(), 2);
    EXPECT_EQ(captions(dialog),
              (QStringList{"货号", "颜色编号", "颜色说明", "90", "100", "110", "120", "130", "140",
                           "150", "160", "165", "170", "175", "180", "合计", "单价", "金额"}));
    TDBTableView* v = dialog->cxGrid2DBTableView1;
    const int sizeBand = int(v->Bands().indexOf("尺码"));
    ASSERT_GE(sizeBand, 0);
    QCoreApplication::processEvents();
    int sizesWidth = 0;
    for (int slot = 1; slot <= 12; ++slot)
        sizesWidth += v->columnWidth(v->SectionOf(md::SizeSlotColumn(slot)));
    EXPECT_EQ(dialog->cxGrid2->BandHeader()->bandRect(sizeBand).width(), sizesWidth)
        << "the band spans exactly the shown sizes";
    EXPECT_EQ(current(dialog), dialog->DBmaster_table->FieldByName("colorid").AsString() + ".s1");
    EXPECT_TRUE(v->hasFocus());

    // A group longer than the slots in use shows only those; a shorter one
    // hides the columns of the longer group shown before.
    md::Shared().SizeSlotCount = 10;
    dialog->LoadColors("A1002");
    EXPECT_EQ(dialog->Sizes().size(), 10);
    EXPECT_TRUE(v->horizontalHeader()->isSectionHidden(v->SectionOf("s11")));
    dialog->LoadColors("B2001");
    EXPECT_EQ(captions(dialog),
              (QStringList{"货号", "颜色编号", "颜色说明", "S", "M", "L", "合计", "单价", "金额"}));
    EXPECT_EQ(cell(dialog, 0, "color"), "红色");
}

TEST_F(ColorSize, TypedQuantitiesMoveCellToCellUpdateTotalsAsTypedAndGoWithTheirItem) {
    auto* dialog = openDialog(QStringLiteral("A1001"));
    press(Qt::Key_Return);
    ASSERT_EQ(dialog->DBmaster_table->RecordCount(), 3);
    goTo(dialog, "02", "s1");

    type("3");
    ASSERT_NE(openEditor(dialog), nullptr) << "typing opens the cell's editor";
    press(Qt::Key_Return);
    EXPECT_EQ(current(dialog), "02.s2");
    EXPECT_EQ(cell(dialog, rowOf(dialog, "02"), "qty"), "3") << "before the row is posted";
    EXPECT_EQ(footer(dialog, "s1"), "3");
    type("2");
    press(Qt::Key_Return);
    type("1");
    press(Qt::Key_Return);
    EXPECT_EQ(current(dialog), "02.fbalancprice") << "read-only totals are passed over";
    type("10.5");
    press(Qt::Key_Return);
    const int row = rowOf(dialog, "02");
    EXPECT_EQ(cell(dialog, row, "qty"), "6");
    EXPECT_EQ(cell(dialog, row, "sumto"), "63.00");

    // Down goes to the first size of the next row, wherever the cursor was.
    goTo(dialog, "01", "s3");
    type("4");
    press(Qt::Key_Down);
    EXPECT_EQ(dialog->cxGrid2DBTableView1->currentIndex().column(),
              dialog->cxGrid2DBTableView1->SectionOf("s1"));
    EXPECT_EQ(footer(dialog, "goodsid"), "3") << "colour rows";
    EXPECT_EQ(footer(dialog, "s3"), "5");
    EXPECT_EQ(footer(dialog, "qty"), "10");
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();

    // Another item before "添加[F2]": the quantities typed so far are dropped.
    enterCode(dialog, "A1002");
    EXPECT_EQ(dialog->DBmaster_table->RecordCount(), 2);
    EXPECT_EQ(footer(dialog, "qty"), "0");
    press(Qt::Key_F2);
    EXPECT_EQ(target->RecordCount(), 0);
}

// A quantity that is not a whole number of pieces, or is negative, is told
// and not taken: the editor stays open on it, the cell and the totals keep
// what they had, and nothing reaches the caller until it is corrected.
TEST_F(ColorSize, AQuantityThatIsNoWholeNumberOrIsNegativeIsRefused) {
    auto* dialog = openDialog(QStringLiteral("B2001"));
    press(Qt::Key_Return);
    type("4");
    press(Qt::Key_Return);
    goTo(dialog, "03", "s1");

    struct Case {
        const char* typed;
        Qt::Key key;
        const char* message;
    };
    const Case cases[] = {
        {"1.5", Qt::Key_Return, "数量必须是整数!"}, {"abc", Qt::Key_Return, "数量必须是整数!"},
        {"-2", Qt::Key_Return, "数量不能为负数!"},  {"-1", Qt::Key_Down, "数量不能为负数!"},
        {"99999999999", Qt::Key_Tab, "数量太大!"},  {"0.5", Qt::Key_F2, "数量必须是整数!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        script.clear();
        QWidget* editor = openEditor(dialog);
        if (editor) editor->setFocus();
        type(QString::fromLatin1(c.typed));
        press(c.key);
        EXPECT_EQ(script.texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(current(dialog), "03.s1") << "the cursor stays";
        EXPECT_NE(openEditor(dialog), nullptr) << "open to be corrected";
        EXPECT_EQ(cell(dialog, 0, "s1"), "4");
        EXPECT_EQ(cell(dialog, 0, "qty"), "4");
        EXPECT_EQ(target->RecordCount(), 0);
    }

    // Leaving the cell by the mouse drops the wrong text silently.
    goTo(dialog, "03", "s2");
    EXPECT_EQ(cell(dialog, 0, "s1"), "4");
    type("0");
    press(Qt::Key_F2);
    EXPECT_EQ(targetRows(), QStringList{"B2001|03|4|0|0|0|0|0|0|0|0|0|0|0"});
}

TEST_F(ColorSize, OnlyRowsWithAQuantityReachTheCallerWithTheirSlots) {
    target->Append();
    target->FieldByName("fgoodsid").SetAsString("X0001");
    target->Post();
    auto* dialog = openDialog(QStringLiteral("A1002"));
    press(Qt::Key_Return);
    goTo(dialog, "02", "s12");
    type("7");
    press(Qt::Key_Down);
    goTo(dialog, "02", "s2");
    type("0");
    press(Qt::Key_Return);
    type("5");
    press(Qt::Key_Return);
    goTo(dialog, "01", "fbalancprice");
    type("88");
    press(Qt::Key_Return);  // a price without quantities goes nowhere

    press(Qt::Key_F2);
    EXPECT_EQ(targetRows(),
              (QStringList{"X0001|||||||||||||", "A1002|02|0|0|5|0|0|0|0|0|0|0|0|7"}));
    EXPECT_EQ(dialog->DBmaster_table->RecordCount(), 0) << "emptied for the next item";
    EXPECT_TRUE(dialog->Edit_goodsid->text().isEmpty());
    EXPECT_TRUE(dialog->Edit_goodsid->hasFocus());

    // The next item goes the same way; nothing typed adds nothing.
    enterCode(dialog, "B2001");
    press(Qt::Key_F2);
    EXPECT_EQ(target->RecordCount(), 2);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
}

TEST_F(ColorSize, ACodeFindingSeveralGoodsListsThemToBeTakenOneByOne) {
    auto* dialog = openDialog();
    enterCode(dialog, "a10");  // like ignores case
    EXPECT_EQ(pickList(dialog), (QStringList{"A1001", "A1002"}));
    EXPECT_EQ(dialog->DBmaster_table->RecordCount(), 0) << "nothing loaded yet";
    EXPECT_TRUE(dialog->cxGrid1DBTableView1->hasFocus());

    const QString first = dialog->DBgoods_table->FieldByName("goodsid").AsString();
    press(Qt::Key_Return);
    EXPECT_EQ(cell(dialog, 0, "goodsid"), first);
    EXPECT_EQ(dialog->DBgoods_table->RecordCount(), 1) << "taken out of the list";
    EXPECT_TRUE(dialog->cxGrid2DBTableView1->hasFocus());

    const QString second = dialog->DBgoods_table->FieldByName("goodsid").AsString();
    EXPECT_NE(second, first);
    press(Qt::Key_F3);
    EXPECT_EQ(cell(dialog, 0, "goodsid"), second);
    EXPECT_EQ(dialog->DBgoods_table->RecordCount(), 0);
    press(Qt::Key_F3);  // an empty list has nothing to take
    EXPECT_EQ(cell(dialog, 0, "goodsid"), second);

    // A double-click takes the row under the mouse.
    enterCode(dialog, "1");
    EXPECT_EQ(pickList(dialog), (QStringList{"A1001", "A1002", "B2001"}));
    TDBTableView* list = dialog->cxGrid1DBTableView1;
    ASSERT_TRUE(dialog->DBgoods_table->Locate("goodsid", "B2001"));
    const QRect rect = list->visualRect(list->currentIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(cell(dialog, 0, "goodsid"), "B2001");
    EXPECT_EQ(pickList(dialog), (QStringList{"A1001", "A1002"}));

    // A quote in the code stays inside its literal; no goods, no error.
    enterCode(dialog, "O'N");
    EXPECT_TRUE(pickList(dialog).isEmpty());
    EXPECT_EQ(cell(dialog, 0, "goodsid"), "B2001") << "the loaded item stays";
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
}

// The caller keeps the dialog in a QPointer; F4 closes and frees it, so the
// next opening starts empty.
TEST_F(ColorSize, F4ClosesAndFreesTheDialog) {
    QPointer<Tfrm_colorsize> dialog = openDialog(QStringLiteral("B2001"));
    press(Qt::Key_Return);
    type("2");
    press(Qt::Key_F4);
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(target->RecordCount(), 0) << "closing hands nothing over";
    EXPECT_EQ(rows("select fstate from syslog order by fautoid"), (QStringList{"进入", "离开"}));

    // Run modally with the caller's code in the box.
    script.onDialog([&](QDialog& shown) {
        auto* again = qobject_cast<Tfrm_colorsize*>(&shown);
        EXPECT_EQ(again->Edit_goodsid->text(), "B2001");
        EXPECT_EQ(again->DBmaster_table->RecordCount(), 0);
        again->Edit_goodsidEnter();
        again->DBmaster_table->Edit();
        again->DBmaster_table->FieldByName("s2").SetAsInteger(6);
        again->But_Add->click();
        again->But_Close->click();
        return int(QDialog::Rejected);
    });
    md::ui::EnterColorSizeQuantities(nullptr, *target, "B2001");
    EXPECT_EQ(targetRows(), QStringList{"B2001|03|0|6|0|0|0|0|0|0|0|0|0|0"});
}

}  // namespace
