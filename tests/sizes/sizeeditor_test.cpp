// The size editor: load, save, delete, new rows and columns, states, keys.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTest>

#include "formregistry.h"
#include "goods/frm_size.h"
#include "sizesfixture.h"

using namespace md::test;

namespace {

// The grid row of a group code, or -1.
int rowOf(const Tfrm_size& form, const QString& group) {
    for (int r = 1; r < form.RowCount(); ++r)
        if (form.Cells(0, r) == group) return r;
    return -1;
}

QStringList rowTexts(const Tfrm_size& form, int row) {
    QStringList texts;
    for (int c = 1; c < form.ColCount(); ++c) texts << form.Cells(c, row);
    while (!texts.isEmpty() && texts.last().isEmpty()) texts.removeLast();
    return texts;
}

// "新增 修改 删除 保存 撤消 尺码" as 1/0.
QString enabling(const Tfrm_size& form) {
    QString out;
    for (QAction* a : {form.append_action, form.edit_action, form.del_action, form.post_action,
                       form.cacel_action, form.first_action})
        out += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

const QString kSizeRows = QStringLiteral(
    "select size_class,size_name,displayindex,fieldname from ba_size "
    "order by size_class,displayindex,size_name");

}  // namespace

TEST_F(SizesTest, LoadClosesGapsAndSaveRenumbers) {
    addSizes("A", {"XS", "S", "M"}, {1, 3, 7});
    addSizes("B", {"28"}, {2});
    auto* form = open<Tfrm_size>();
    EXPECT_EQ(host.captions, QStringList{"尺码资料"});
    ASSERT_EQ(form->ColCount(), 8) << "the largest stored number plus the group column";
    ASSERT_EQ(form->RowCount(), 3);
    EXPECT_EQ(form->Cells(0, 0), "尺码类别");
    EXPECT_EQ(form->Cells(7, 0), "S7");
    ASSERT_GT(rowOf(*form, "A"), 0);
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "A")), (QStringList{"XS", "S", "M"}));
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "B")), QStringList{"28"});
    EXPECT_EQ(form->State(), Tfrm_size::ssBrowse);
    EXPECT_EQ(enabling(*form), "111000");

    form->edit_action->trigger();
    EXPECT_EQ(enabling(*form), "000111");
    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|XS|1|S1", "A|S|2|S2", "A|M|3|S3", "B|28|1|S1"}));
    EXPECT_EQ(form->ColCount(), 4) << "reloaded after the save";
    EXPECT_EQ(form->State(), Tfrm_size::ssBrowse);
    EXPECT_EQ(enabling(*form), "111000");
    EXPECT_TRUE(script.shown().isEmpty());

    QPointer<Tfrm_size> guard(form);
    form->close_action->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(host.captions.isEmpty());
    ASSERT_NE(md::entry::findForm("frm_size"), nullptr);
    EXPECT_NE(md::entry::findForm("frm_size")->factory, nullptr) << "the host can open it";
}

TEST_F(SizesTest, SaveReadsEachRowUpToItsFirstBlankAndChecksNothingElse) {
    addSizes("A", {"S", "M"});
    auto* form = open<Tfrm_size>();
    form->append_action->trigger();
    EXPECT_EQ(form->State(), Tfrm_size::ssInsert);
    ASSERT_EQ(form->RowCount(), 3);
    form->first_action->trigger();  // S3
    form->SetCells(0, 2, "C");
    form->SetCells(1, 2, "90");
    form->SetCells(2, 2, "  ");
    form->SetCells(3, 2, "110");  // right of a blank: not saved
    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|M|2|S2", "C|90|1|S1"}));
    ASSERT_GT(rowOf(*form, "C"), 0);
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "C")), QStringList{"90"});

    // Sizes without a group code are saved under an empty one, as typed.
    form->append_action->trigger();
    form->SetCells(1, form->RowCount() - 1, " L");
    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"| L|1|S1", "A|S|1|S1", "A|M|2|S2", "C|90|1|S1"}));
    EXPECT_EQ(form->RowCount(), 4);

    // A second row of A: both are saved, two sizes in slot 1.
    form->edit_action->trigger();
    const int blank = rowOf(*form, "");
    ASSERT_GT(blank, 0);
    form->SetCells(0, blank, "A");
    form->SetCells(1, blank, "XL");
    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|XL|1|S1", "A|M|2|S2", "C|90|1|S1"}));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(SizesTest, NewRowsAndColumnsAndCancel) {
    addSizes("A", {"S", "M"});
    auto* form = open<Tfrm_size>();
    form->append_action->trigger();
    EXPECT_EQ(form->RowCount(), 3) << "a row below a filled one";
    EXPECT_EQ(enabling(*form), "000111");
    form->cacel_action->trigger();
    form->append_action->trigger();
    EXPECT_EQ(form->RowCount(), 3) << "an empty last row is reused";

    for (int i = 0; i < 28; ++i) form->first_action->trigger();
    EXPECT_EQ(form->ColCount(), 31);
    EXPECT_EQ(form->Cells(30, 0), "S30");
    EXPECT_TRUE(script.shown().isEmpty());
    form->first_action->trigger();
    EXPECT_EQ(form->ColCount(), 31) << "quantities have 30 size slots";
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.texts().first().contains("30"));

    form->SetCells(1, 1, "XXL");
    form->SetCells(0, 2, "B");
    form->SetCells(30, 2, "Z");
    form->cacel_action->trigger();
    EXPECT_EQ(form->ColCount(), 3) << "added columns are gone";
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "A")), (QStringList{"S", "M"}));
    EXPECT_EQ(form->Cells(0, 2), "");
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|M|2|S2"}));
}

TEST_F(SizesTest, DeleteAsksTwiceAndRemovesTheCurrentGroup) {
    addSizes("A", {"S", "M"});
    addSizes("O'B", {"1"});
    auto* form = open<Tfrm_size>();
    form->StringGrid1->setCurrentCell(rowOf(*form, "O'B") - 1, 1);
    script.answer(md::ui::Answer::Ok);
    script.answer(md::ui::Answer::Cancel);
    form->del_action->trigger();
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown().at(0).text, "请确认该尺码尚未使用,如已使用删除后将造成数据丢失!");
    EXPECT_EQ(script.shown().at(0).icon, md::ui::Icon::Information);
    EXPECT_EQ(script.shown().at(1).text, "是否确认删除?");
    EXPECT_EQ(script.shown().at(1).title, "提示");
    EXPECT_EQ(script.shown().at(1).buttons, md::ui::Buttons::OkCancel);
    EXPECT_EQ(db.count("ba_size"), 3) << "Cancel deletes nothing";

    script.answer(md::ui::Answer::Ok);
    script.answer(md::ui::Answer::Ok);
    form->del_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|M|2|S2"}));
    EXPECT_EQ(form->RowCount(), 2) << "one row per group";

    form->StringGrid1->setCurrentCell(rowOf(*form, "A") - 1, 0);
    script.answer(md::ui::Answer::Ok);
    script.answer(md::ui::Answer::Ok);
    form->del_action->trigger();
    EXPECT_EQ(db.count("ba_size"), 0);
    EXPECT_EQ(form->RowCount(), 2) << "the last group leaves its row behind, empty";
    EXPECT_EQ(form->ColCount(), 1);
    EXPECT_EQ(form->Cells(0, 1), "");
}

TEST_F(SizesTest, TypedLettersBecomeCapitalsAndEnterStaysInTheRow) {
    addSizes("A", {"S", "M"});
    auto* form = open<Tfrm_size>();
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->edit_action->trigger();
    QTableWidget* grid = form->StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(0, 2);
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());

    auto type = [](const QString& text) {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            const int key = c.isLetter() && c.unicode() < 128
                                ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                            : c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                                          : Qt::Key_unknown;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(target, &press);
        }
    };
    auto enter = [] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    };
    type("xl2中");
    enter();
    EXPECT_EQ(form->Cells(2, 1), "XL2中") << "a-z in capitals, digits and Chinese as typed";
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), 1) << "from the last column back to column 1, same row";
    enter();
    EXPECT_EQ(grid->currentColumn(), 2);
    EXPECT_EQ(grid->currentRow(), 0);

    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|XL2中|2|S2"}));
}

TEST_F(SizesTest, AFailedSaveRollsBackAndKeepsWhatWasTyped) {
    addSizes("A", {"S", "M"});
    addSizes("B", {"28"});
    // One size per slot and group: a second row of A cannot be stored.
    db.exec("create unique index ix_size_slot on ba_size(size_class,displayindex)");
    auto* form = open<Tfrm_size>();
    form->edit_action->trigger();
    const int a = rowOf(*form, "A");
    const int b = rowOf(*form, "B");
    form->SetCells(2, a, "L");
    form->SetCells(0, b, "A");
    form->SetCells(1, b, "XL");
    form->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_FALSE(db.conn().InTransaction());
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|M|2|S2", "B|28|1|S1"}))
        << "the delete is rolled back too";
    EXPECT_EQ(form->Cells(2, a), "L") << "the grid is not reloaded";
    EXPECT_EQ(form->Cells(0, b), "A");
    EXPECT_EQ(form->Cells(1, b), "XL");
    EXPECT_EQ(form->State(), Tfrm_size::ssBrowse);
    EXPECT_EQ(enabling(*form), "111000");
}

// A stray displayindex (2^31-1) neither overflows nor hides sizes: columns
// stop at the 30 slots, the sizes sit in consecutive columns, the window says
// so once, and a save numbers them again.
TEST_F(SizesTest, AStrayDisplayIndexIsReportedOnceAndRenumberedBySaving) {
    addSizes("A", {"S", "M"});
    addSizes("B", {"28"});
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) "
        "values('A','L',2147483647,'S3')");
    auto* form = open<Tfrm_size>();
    ASSERT_EQ(form->ColCount(), 31);
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "A")), (QStringList{"S", "M", "L"}));
    EXPECT_EQ(rowTexts(*form, rowOf(*form, "B")), QStringList{"28"});
    EXPECT_EQ(script.texts(),
              QStringList{"尺码的排列序号(displayindex)最大为2147483647，超过了30个尺码栏位。"
                          "各尺码已按顺序排在S1起的栏位中，修改并保存后将重新编号。"});
    form->edit_action->trigger();
    form->cacel_action->trigger();
    EXPECT_EQ(script.shown().size(), 1) << "said once";
    form->edit_action->trigger();
    form->post_action->trigger();
    EXPECT_EQ(rows(kSizeRows), (QStringList{"A|S|1|S1", "A|M|2|S2", "A|L|3|S3", "B|28|1|S1"}));
    EXPECT_EQ(form->ColCount(), 4);
}
