// The tree dictionary editor: parent codes of new records, the code editor's
// rules, checks before saving, position restore, the tree's state.
#include "dbcontrols.h"
#include "fixture.h"

using namespace md::test;
using md::ui::Icon;

namespace {

class TreeEditor : public FrameworkTest {
  protected:
    TreeEditor() { grantAll(); }

    // 华东 (E) with 上海 (E01) and 江苏 (E02, with 南京 E0201); 华南 (S).
    void seed() {
        db.exec("insert into t_area(fcode,fname,fparentcode) values('E','华东','0')");
        db.exec("insert into t_area(fcode,fname,fparentcode) values('E01','上海','E')");
        db.exec("insert into t_area(fcode,fname,fparentcode) values('E02','江苏','E')");
        db.exec("insert into t_area(fcode,fname,fparentcode) values('E0201','南京','E02')");
        db.exec("insert into t_area(fcode,fname,fparentcode) values('S','华南','0')");
    }
    static QString field(Tfrm_testarea* f, const char* name) {
        return f->DBmaster_table->FieldByName(name).AsString();
    }
    static void go(Tfrm_testarea* f, const char* code) {
        ASSERT_TRUE(f->DBmaster_table->Locate("fcode", code));
    }
    static TDBEdit* codeEditor(Tfrm_testarea* f) { return qobject_cast<TDBEdit*>(f->CodeEditor); }
    // What the user types into an editor of the panel.
    static void type(TDBEdit* edit, const QString& text) {
        edit->setText(text);
        Q_EMIT edit->textEdited(text);
    }
};

}  // namespace

TEST_F(TreeEditor, ToolbarAndTreeOnOpening) {
    seed();
    auto* f = open<Tfrm_testarea>();
    QStringList captions;
    for (QAction* a : f->ToolBar1->actions())
        if (a->isVisible()) captions << a->text();
    EXPECT_EQ(captions,
              (QStringList{"新增同级", "新增下级", "修改", "保存", "撤消", "删除", "关闭"}));
    TTreeDataModel* tree = f->dxDBTreeList1->treeModel();
    ASSERT_EQ(tree->rowCount(), 2);
    const QModelIndex east = tree->index(0, 0);
    EXPECT_EQ(east.data().toString(), "华东");
    EXPECT_EQ(tree->rowCount(east), 2);
    EXPECT_TRUE(f->dxDBTreeList1->isExpanded(east));
    EXPECT_TRUE(f->dxDBTreeList1->isExpanded(tree->index(1, 0, east))) << "fully expanded";
    EXPECT_TRUE(f->insert_action->isEnabled());
    EXPECT_FALSE(f->post_action->isEnabled());
    EXPECT_TRUE(codeEditor(f)->isReadOnly()) << "the panel takes no input before an action";
    type(codeEditor(f), "XX");
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
}

TEST_F(TreeEditor, AChildOnAnEmptyTableIsARootWithAnEmptyCode) {
    auto* f = open<Tfrm_testarea>();
    f->append_action->trigger();
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(field(f, "fparentcode"), "0");
    EXPECT_EQ(field(f, "fcode"), "");
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());
    EXPECT_TRUE(f->CodeEditor->isEnabled());
    EXPECT_FALSE(codeEditor(f)->isReadOnly());
    EXPECT_FALSE(f->insert_action->isEnabled());
    EXPECT_EQ(states(), (QStringList{"进入", "新增"}));
}

TEST_F(TreeEditor, ASiblingOfARootIsARoot) {
    seed();
    auto* f = open<Tfrm_testarea>();
    go(f, "S");
    f->insert_action->trigger();
    EXPECT_EQ(field(f, "fparentcode"), "0");
    EXPECT_EQ(field(f, "fcode"), "S");
    EXPECT_EQ(f->LastCode, "S");
    EXPECT_EQ(f->LastParentCode, "0");
}

TEST_F(TreeEditor, AChildStartsWithItsParentsCodeAndIsRefusedUntilChanged) {
    seed();
    auto* f = open<Tfrm_testarea>();
    go(f, "E02");
    f->append_action->trigger();
    EXPECT_EQ(field(f, "fparentcode"), "E02");
    EXPECT_EQ(codeEditor(f)->text(), "E02");
    type(qobject_cast<TDBEdit*>(f->NameEditor), "苏州");
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().text, "地区编号不能重复!");
    EXPECT_EQ(script.shown().first().icon, Icon::Information);
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());

    type(codeEditor(f), "e0202");  // upper case as typed
    f->post_action->trigger();
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_EQ(db.rows("select fcode,fname,fparentcode from t_area where fname='苏州'"),
              QStringList{"E0202|苏州|E02"});
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));
}

TEST_F(TreeEditor, ChecksRunInOrderWithTheFormsMessages) {
    seed();
    auto* f = open<Tfrm_testarea>();
    go(f, "E");
    f->append_action->trigger();
    type(codeEditor(f), "");
    f->post_action->trigger();
    type(qobject_cast<TDBEdit*>(f->NameEditor), "华中");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"请输入地区名称!", "地区编号不能为空!"}));
}

TEST_F(TreeEditor, AnEditedCodeIsReadOnlyAndPositionsAreRestored) {
    seed();
    auto* f = open<Tfrm_testarea>();
    go(f, "E02");
    const int recNo = f->DBmaster_table->RecNo();
    f->edit_action->trigger();
    EXPECT_EQ(f->LastRecNo, recNo);
    EXPECT_FALSE(f->CodeEditor->isEnabled());
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());
    type(qobject_cast<TDBEdit*>(f->NameEditor), "江苏省");
    f->post_action->trigger();
    EXPECT_EQ(db.rows("select fname from t_area where fcode='E02'"), QStringList{"江苏省"});
    EXPECT_EQ(f->DBmaster_table->RecNo(), recNo);
    EXPECT_TRUE(f->CodeEditor->isEnabled());

    // Cancel of a new record returns to the record that was current.
    go(f, "E01");
    const int e01 = f->DBmaster_table->RecNo();
    f->insert_action->trigger();
    f->cacel_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认撤消本次修改？"});
    EXPECT_EQ(f->DBmaster_table->RecNo(), e01);
    EXPECT_EQ(field(f, "fcode"), "E01");
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());
    EXPECT_EQ(states(), (QStringList{"进入", "修改", "保存", "新增", "撤消"}));
}

TEST_F(TreeEditor, TheTreeFollowsTheCurrentRecordAndSelectsIt) {
    seed();
    auto* f = open<Tfrm_testarea>();
    go(f, "E0201");
    TDBTreeList* tree = f->dxDBTreeList1;
    EXPECT_EQ(tree->currentIndex().data().toString(), "南京");
    const QModelIndex south = tree->treeModel()->index(1, 0);
    tree->setCurrentIndex(south);
    EXPECT_EQ(field(f, "fcode"), "S");
    // Deleting re-reads the tree.
    f->del_action->trigger();
    EXPECT_EQ(tree->treeModel()->rowCount(), 1);
    EXPECT_EQ(states(), (QStringList{"进入", "删除"}));
}
