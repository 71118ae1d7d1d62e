// The goods colour description list: its filter, the checks before a row is
// saved, picking goods colours and fetching the missing pairs.
#include <QToolButton>
#include <QTreeWidgetItem>

#include "checktree.h"
#include "editors.h"
#include "goodscolorsfixture.h"

using namespace md::test;

namespace {

class GoodsColourList : public GoodsColoursTest {
  protected:
    Tfrm_goodscolor* openList() { return open<Tfrm_goodscolor>(); }
};

TEST_F(GoodsColourList, OpensOnEveryDescriptionAndFiltersByAttributeAndCode) {
    describe("A1001", "01", "黑色磨毛");
    describe("A1002", "03", "红色水洗");
    describe("B2001", "02", "白色");
    auto* f = openList();
    EXPECT_EQ(f->windowTitle(), "货品颜色");
    EXPECT_EQ(f->find_action->text(), "自动取数");
    EXPECT_TRUE(f->find_action->isVisible());
    EXPECT_FALSE(f->first_action->isVisible() || f->prio_action->isVisible() ||
                 f->next_action->isVisible() || f->last_action->isVisible());
    EXPECT_EQ(f->DBmaster_table->SQL(), "select * from ba_goodscolor where 1=1 \r");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3);
    ASSERT_EQ(f->cxTreeView1->topLevelItemCount(), 1);

    f->cxTreeView1->SetChecked("品牌", "雅韵", true);
    f->But_Find->click();
    EXPECT_EQ(f->DBmaster_table->SQL(),
              "select * from ba_goodscolor where 1=1 \r\n and fgoodsid in(select goodsid from "
              "goods where 1=1 and (brand in('雅韵')))");
    EXPECT_EQ(listed(f->DBmaster_table), (QStringList{"A1001|01|黑色磨毛", "B2001|02|白色"}));

    // The code alone, then both; Enter in the box runs the filter too.
    f->cxTreeView1->SetChecked("品牌", "雅韵", false);
    f->Edit_goodsid->setText("1001");
    QTest::keyClick(f->Edit_goodsid, Qt::Key_Return);
    EXPECT_EQ(f->DBmaster_table->SQL(),
              "select * from ba_goodscolor where 1=1 \r\n and fgoodsid in(select goodsid from "
              "goods where 1=1 and  fgoodsid like '%1001%')");
    EXPECT_EQ(listed(f->DBmaster_table), QStringList{"A1001|01|黑色磨毛"});
    f->cxTreeView1->SetChecked("品牌", "雅韵", true);
    f->Edit_goodsid->setText("B");
    f->But_Find->click();
    EXPECT_EQ(listed(f->DBmaster_table), QStringList{"B2001|02|白色"});
    f->Edit_goodsid->clear();
    f->cxTreeView1->SetChecked("品牌", "雅韵", false);
    QTest::keyClick(f->Edit_goodsid, Qt::Key_Return);
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3) << "an empty box lists every row";
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
}

TEST_F(GoodsColourList, TheFilterDoesNotDropRowsNotSavedYet) {
    auto* f = openList();
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("fgoodsid").SetAsString("A1001");
    f->But_Find->click();
    EXPECT_EQ(script.texts(), QStringList{"请先保存或撤消当前的修改!"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(f->DBmaster_table->FieldByName("fgoodsid").AsString(), "A1001");
}

// Typed into the grid as a user does: the checks come in order and stop the save.
TEST_F(GoodsColourList, ARowNeedsCodeAndColourAndANewOneMustNotBeThereYet) {
    describe("A1001", "01", "黑色磨毛");
    auto* f = openList();
    TDBTableView* v = f->cxGrid1DBTableView1;
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"货号不能为空!"});

    script.clear();
    typeInto(v, "fGoodsId", "A1001");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"颜色编号不能为空!"});

    script.clear();
    typeInto(v, "fColorId", "01");
    typeInto(v, "fcolor", "乌黑");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能录入相同的记录!"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(described(), QStringList{"A1001|01|黑色磨毛"});

    script.clear();
    typeInto(v, "fColorId", "02");
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_EQ(described(), (QStringList{"A1001|01|黑色磨毛", "A1001|02|乌黑"}));

    // Changing a saved row is no new row: no look for a duplicate.
    db.conn().log().clear();
    f->edit_action->trigger();
    typeInto(v, "fcolor", "米白");
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_TRUE(statementsWith("select fgoodsid from ba_goodscolor where").isEmpty());
    EXPECT_EQ(described(), (QStringList{"A1001|01|黑色磨毛", "A1001|02|米白"}));
}

// The "货号" button of the grid picks in the selection dialog; pairs the list
// holds (in any letter case) stay as they are.
TEST_F(GoodsColourList, PickingAddsOnlyPairsTheListDoesNotHold) {
    describe("a1001", "01", "黑色磨毛");
    auto* f = openList();
    int dialogs = 0;
    script.onDialog([&](QDialog& d) {
        ++dialogs;
        auto& dialog = dynamic_cast<Tfrm_segoodscolor&>(d);
        dialog.Edit_goodsid->setText("A100");
        dialog.But_Find->click();
        mark(dialog, {"A1001|01", "A1001|02", "A1002|03"});
        dialog.But_OK->click();
        return int(QDialog::Accepted);
    });

    // Not editing: refused without a word.
    EXPECT_FALSE(f->Run([&] { f->fGoodsIdButtonClick(); }));
    EXPECT_EQ(dialogs, 0);

    f->append_action->trigger();
    QWidget* cell = openCell(f->cxGrid1DBTableView1, "fGoodsId");
    auto* button = qobject_cast<md::ui::TButtonEdit*>(cell);
    ASSERT_NE(button, nullptr);
    button->button()->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(listed(f->DBmaster_table),
              (QStringList{"a1001|01|黑色磨毛", "A1001|02|白色", "A1002|03|红色"}))
        << "the empty new row gives way";
    EXPECT_TRUE(f->post_action->isEnabled());

    // Picking the same again adds nothing.
    f->Run([&] { f->fGoodsIdButtonClick(); });
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3);

    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_EQ(described(), (QStringList{"a1001|01|黑色磨毛", "A1001|02|白色", "A1002|03|红色"}));
}

TEST_F(GoodsColourList, FetchingWithNothingMissingStaysBrowsing) {
    for (const char* pair : {"A1001|01", "A1001|02", "A1002|01", "A1002|03", "B2001|02"}) {
        const QStringList p = QString::fromUtf8(pair).split('|');
        describe(p[0], p[1], "");
    }
    // Blanks around the codes do not count.
    db.exec("update ba_goodscolor set fgoodsid=' B2001 ' where fgoodsid='B2001'");
    auto* f = openList();
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_TRUE(f->append_action->isEnabled());
    EXPECT_FALSE(f->post_action->isEnabled());
    EXPECT_EQ(states(), QStringList{"进入"});
}

// "自动取数" adds every missing pair through "新增"; the rows skip the look for
// duplicates (the query left the described pairs out) and one save sends them.
TEST_F(GoodsColourList, FetchingAppendsExactlyTheMissingPairsAndOneSaveWritesThem) {
    describe("A1001", "01", "黑色磨毛");
    describe("A1002", "03", "红色水洗");
    auto* f = openList();
    db.conn().log().clear();
    f->find_action->trigger();
    EXPECT_TRUE(f->post_action->isEnabled() && f->cacel_action->isEnabled());
    EXPECT_FALSE(f->find_action->isEnabled());
    EXPECT_EQ(states(), (QStringList{"进入", "新增"}));
    QStringList rows = listed(f->DBmaster_table);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.mid(0, 2), (QStringList{"A1001|01|黑色磨毛", "A1002|03|红色水洗"}));
    QStringList fetched = rows.mid(2);
    fetched.sort();
    EXPECT_EQ(fetched, (QStringList{"A1001|02|", "A1002|01|", "B2001|02|"}));
    EXPECT_TRUE(f->DBmaster_table->UpdatesPending());

    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_TRUE(statementsWith("select fgoodsid from ba_goodscolor where").isEmpty());
    EXPECT_EQ(described(), (QStringList{"A1001|01|黑色磨毛", "A1001|02|", "A1002|01|",
                                        "A1002|03|红色水洗", "B2001|02|"}));
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));

    // Now nothing is missing.
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
}

TEST_F(GoodsColourList, FetchedRowsAreDroppedByCancel) {
    auto* f = openList();
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 5);
    f->cacel_action->trigger();
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 0);
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_TRUE(described().isEmpty());
}

}  // namespace
