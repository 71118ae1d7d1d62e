// The grid dictionary editor: state rule across rights, the actions' steps,
// confirmations and log words, failures, the grid's editing gate.
#include <QAbstractItemModelTester>
#include <QTest>

#include "fixture.h"
#include "griddelegate.h"

using namespace md::test;
using md::ui::Answer;
using md::ui::Icon;

namespace {

class GridEditor : public FrameworkTest {
  protected:
    Tfrm_testcolor* openColors(int rows = 3) {
        const char* names[] = {"红", "绿", "蓝", "黄", "黑"};
        for (int i = 0; i < rows; ++i)
            db.exec(QStringLiteral("insert into t_color(colorid,colorname_ch,fqty,fprice,finused) "
                                   "values('C%1','%2',%3,%4,%5)")
                        .arg(i + 1)
                        .arg(QString::fromUtf8(names[i % 5]))
                        .arg(i + 1)
                        .arg(10.5 * (i + 1))
                        .arg(i % 2));
        return open<Tfrm_testcolor>();
    }
    static QString field(Tfrm_testcolor* f, const char* name) {
        return f->DBmaster_table->FieldByName(name).AsString();
    }
    static bool editable(Tfrm_testcolor* f, int row, const char* fieldName) {
        TDBTableView* v = f->cxGrid1DBTableView1;
        return v->gridModel()->flags(v->gridModel()->index(row, v->SectionOf(fieldName))) &
               Qt::ItemIsEditable;
    }
    // The enabled actions, by name, in toolbar order.
    static QStringList enabled(Tfrm_testcolor* f) {
        QStringList out;
        for (QAction* a : {f->first_action, f->prio_action, f->next_action, f->last_action,
                           f->append_action, f->edit_action, f->post_action, f->cacel_action,
                           f->del_action, f->find_action, f->print_action, f->excel_action})
            if (a->isEnabled()) out << a->objectName().section('_', 0, 0);
        return out;
    }
};

}  // namespace

TEST_F(GridEditor, ActionsHaveTheirCaptionsVisibilityAndToolbarOrder) {
    auto* f = open<Tbase_frmDictMdi>();  // a bare grid editor
    QStringList captions;
    for (QAction* a : f->ToolBar1->actions())
        captions << (a->isSeparator() ? QStringLiteral("|") : a->text());
    EXPECT_EQ(captions, (QStringList{"首笔", "前笔", "后笔", "末笔", "|", "新增", "修改", "保存",
                                     "撤消", "删除", "查找", "打印", "导出", "关闭"}));
    EXPECT_FALSE(f->find_action->isVisible());
    EXPECT_FALSE(f->print_action->isVisible());
    EXPECT_TRUE(f->excel_action->isVisible());
    EXPECT_EQ(f->findChild<QAction*>("cacel_action"), f->cacel_action);
    EXPECT_EQ(f->findChild<TDBTableView*>("cxGrid1DBTableView1"), f->cxGrid1DBTableView1);
    EXPECT_EQ(f->findChild<TRemoteUdpDataSet*>("DBmaster_table")->LockType(), etBatchOptimistic);
}

TEST_F(GridEditor, AUserWithoutARightsRowGetsAReadOnlyWindow) {
    auto* f = openColors();
    EXPECT_EQ(enabled(f), (QStringList{"next", "last", "find"}));
    EXPECT_FALSE(editable(f, 0, "colorname_ch"));
    f->last_action->trigger();
    EXPECT_EQ(enabled(f), (QStringList{"first", "prio", "find"}));
    EXPECT_EQ(states(), QStringList{"进入"}) << "navigation writes no log";
}

TEST_F(GridEditor, StateRuleAcrossRights) {
    struct Case {
        QStringList rights;
        QStringList browse;  // enabled after opening (first record)
        QStringList afterEdit;
        bool gridTakesInput;  // after edit
    };
    const QList<Case> cases = {
        {{"b_add"}, {"next", "last", "append", "find"}, {"post", "cacel"}, true},
        {{"b_edit"}, {"next", "last", "edit", "find"}, {"next", "last", "edit", "find"}, false},
        {{"b_add", "b_edit"}, {"next", "last", "append", "edit", "find"}, {"post", "cacel"}, true},
        {{"b_del", "b_print", "b_excel"},
         {"next", "last", "del", "find", "print", "excel"},
         {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rights.join(','));
        db.exec("delete from dr_rightdetail");
        db.exec("delete from dr_right");
        db.exec("delete from t_color");
        grant(c.rights);
        auto* f = openColors(2);
        EXPECT_EQ(enabled(f), c.browse);
        if (!f->edit_action->isEnabled()) continue;
        f->edit_action->trigger();
        EXPECT_EQ(f->DBmaster_table->State(), dsEdit);
        EXPECT_EQ(enabled(f), c.afterEdit);
        EXPECT_EQ(editable(f, 0, "colorname_ch"), c.gridTakesInput);
        EXPECT_EQ(f->StatusBar1->isEnabled(), c.gridTakesInput);
        f->close();
        flushDeletes();
    }
}

TEST_F(GridEditor, AppendEditSaveWriteTheRecordAndTheirLogWords) {
    grantAll();
    auto* f = openColors(1);
    f->cxGrid1DBTableView1->setCurrentIndex(f->cxGrid1DBTableView1->gridModel()->index(0, 1));
    f->append_action->trigger();
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    TDBTableView* v = f->cxGrid1DBTableView1;
    EXPECT_EQ(v->currentIndex().row(), 1) << "the new row is current";
    EXPECT_EQ(v->currentIndex().column(), v->SectionOf("colorid")) << "at its first cell";
    TGridModel* m = v->gridModel();
    EXPECT_TRUE(m->setData(m->index(1, v->SectionOf("colorid")), "c9"));  // through the grid
    f->DBmaster_table->FieldByName("colorname_ch").SetAsString("紫");
    f->post_action->trigger();
    EXPECT_EQ(db.rows("select colorid,colorname_ch from t_color where colorid='C9'"),
              QStringList{"C9|紫"})
        << "the upper-case column stores what its editor makes of the text";
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));
    EXPECT_EQ(log().last(), "测试颜色|保存");
    EXPECT_FALSE(editable(f, 0, "colorname_ch"));
}

TEST_F(GridEditor, SavingAnUnchangedRecordStillSavesAndLogs) {
    grantAll();
    auto* f = openColors(2);
    f->edit_action->trigger();
    f->post_action->trigger();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
    EXPECT_EQ(states(), (QStringList{"进入", "修改", "保存"}));
    EXPECT_TRUE(f->append_action->isEnabled());
}

TEST_F(GridEditor, CancelAsksAndDiscardsEveryCachedChange) {
    grantAll();
    auto* f = openColors(3);
    TDBTableView* v = f->cxGrid1DBTableView1;
    TGridModel* m = v->gridModel();
    f->edit_action->trigger();
    f->DBmaster_table->FieldByName("colorname_ch").SetAsString("改一");
    // Typing into another row posts the first into the cache and edits the second.
    EXPECT_TRUE(m->setData(m->index(1, v->SectionOf("colorname_ch")), "改二"));
    EXPECT_EQ(f->DBmaster_table->RecNo(), 2);

    script.answer(Answer::No);
    f->cacel_action->trigger();
    EXPECT_EQ(f->DBmaster_table->State(), dsEdit) << "No ends the action";
    EXPECT_EQ(states(), (QStringList{"进入", "修改"}));

    f->cacel_action->trigger();  // Yes
    ASSERT_EQ(script.shown().size(), 2);
    for (const md::ui::ShownMessage& m : script.shown()) {
        EXPECT_EQ(m.text, "是否确认撤消本次修改？");
        EXPECT_EQ(m.title, "系统提示");
        EXPECT_EQ(m.icon, Icon::Question);
        EXPECT_EQ(m.buttons, md::ui::Buttons::YesNo);
    }
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
    f->DBmaster_table->First();
    EXPECT_EQ(field(f, "colorname_ch"), "红");
    f->DBmaster_table->Next();
    EXPECT_EQ(field(f, "colorname_ch"), "绿");
    EXPECT_EQ(states(), (QStringList{"进入", "修改", "撤消"}));
}

TEST_F(GridEditor, DeleteAsksThenSendsTheDeletion) {
    grantAll();
    auto* f = openColors(2);
    script.answer(Answer::No);
    f->del_action->trigger();
    EXPECT_EQ(db.count("t_color"), 2);
    f->del_action->trigger();
    EXPECT_EQ(db.count("t_color"), 1);
    EXPECT_EQ(script.texts(), (QStringList{"是否确认删除此记录？", "是否确认删除此记录？"}));
    EXPECT_EQ(script.shown().last().icon, Icon::Question);
    EXPECT_EQ(states(), (QStringList{"进入", "删除"}));
}

TEST_F(GridEditor, ARefusedCheckShowsItsBoxAndKeepsTheRecordWithoutLog) {
    grantAll();
    auto* f = openColors(1);
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("colorname_ch").SetAsString("无编号");
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().text, "颜色编号不能为空！");
    EXPECT_EQ(script.shown().first().title, "系统提示");
    EXPECT_EQ(script.shown().first().icon, Icon::Information);
    EXPECT_FALSE(script.shown().first().isError);
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(field(f, "colorname_ch"), "无编号");
    EXPECT_TRUE(f->post_action->isEnabled());
    EXPECT_EQ(states(), (QStringList{"进入", "新增"}));
}

TEST_F(GridEditor, AServerErrorReachesTheErrorBoxAndTheChangeStaysCached) {
    grantAll();
    auto* f = openColors(1);
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("colorid").SetAsString("C1");  // unique on the server
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError) << script.texts().join('|');
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse) << "posted into the cache";
    EXPECT_TRUE(f->DBmaster_table->UpdatesPending());
    EXPECT_TRUE(f->post_action->isEnabled()) << "save can be tried again";
    EXPECT_EQ(states(), (QStringList{"进入", "新增"}));

    // Fixing the code and saving again sends the cached record.
    f->DBmaster_table->Last();
    f->DBmaster_table->Edit();
    f->DBmaster_table->FieldByName("colorid").SetAsString("C2");
    f->post_action->trigger();
    EXPECT_EQ(db.count("t_color"), 2);
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));
}

TEST_F(GridEditor, TheGridTakesInputOnlyWhileEditing) {
    grantAll();
    auto* f = openColors(2);
    TGridModel* m = f->cxGrid1DBTableView1->gridModel();
    const int name = f->cxGrid1DBTableView1->SectionOf("colorname_ch");
    EXPECT_FALSE(m->setData(m->index(0, name), "不行"));
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    f->edit_action->trigger();
    EXPECT_TRUE(m->setData(m->index(0, name), "可以"));
    const int check = f->cxGrid1DBTableView1->SectionOf("finused");
    EXPECT_TRUE(m->flags(m->index(0, check)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(m->setData(m->index(0, check), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(f->DBmaster_table->FieldByName("finused").AsBoolean());
    f->post_action->trigger();
    EXPECT_FALSE(m->flags(m->index(0, check)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(db.rows("select colorname_ch,finused from t_color where colorid='C1'"),
              QStringList{"可以|1"});
}

TEST_F(GridEditor, FooterSummariesFollowTheRows) {
    grantAll();
    auto* f = openColors(3);
    TDBTableView* v = f->cxGrid1DBTableView1;
    EXPECT_EQ(v->SummaryText(*v->Column("colorid")), "记录数：3");
    EXPECT_EQ(v->SummaryText(*v->Column("fqty")), "6");
    EXPECT_EQ(v->SummaryText(*v->Column("fprice")), "合计：63.00");
    EXPECT_EQ(f->cxGrid1->Footer()->text(*v->Column("fprice")), "合计：63.00");
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("colorid").SetAsString("C9");
    f->DBmaster_table->FieldByName("fprice").SetAsFloat(0.25);
    EXPECT_EQ(f->cxGrid1->Footer()->text(*v->Column("fprice")), "合计：63.25");
    EXPECT_EQ(f->cxGrid1->Footer()->text(*v->Column("colorid")), "记录数：4");
    EXPECT_TRUE(f->cxGrid1->Footer()->isVisibleTo(f));
}

TEST_F(GridEditor, TheModelStaysConsistentThroughTheEditorsWork) {
    grantAll();
    auto* f = openColors(4);
    QAbstractItemModelTester tester(f->cxGrid1DBTableView1->gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    f->append_action->trigger();
    f->DBmaster_table->FieldByName("colorid").SetAsString("C8");
    f->post_action->trigger();
    f->del_action->trigger();
    f->edit_action->trigger();
    f->DBmaster_table->FieldByName("colorname_ch").SetAsString("x");
    f->cacel_action->trigger();
    f->cxGrid1DBTableView1->ApplyFilter({{false, "fqty", ">", "2"}});
    f->DBmaster_table->Close();
    f->DBmaster_table->Open();
    EXPECT_EQ(f->cxGrid1DBTableView1->gridModel()->rowCount(), f->DBmaster_table->RecordCount());
}

TEST_F(GridEditor, FindHidesTheRowsThatDoNotMatch) {
    auto* f = openColors(5);
    TDBTableView* v = f->cxGrid1DBTableView1;
    script.onDialog([](QDialog& dialog) {
        auto* builder = qobject_cast<TFilterDialog*>(&dialog);
        if (!builder) return int(QDialog::Rejected);
        builder->setConditions({{false, "fqty", ">=", "2"},
                                {false, "colorname_ch", "包含", "蓝"},
                                {true, "colorid", "开头是", "C5"}});
        return int(QDialog::Accepted);
    });
    f->find_action->trigger();
    EXPECT_EQ(v->gridModel()->rowCount(), 2);
    EXPECT_EQ(md::ui::FilterText(v->FilterConditions(), *f->DBmaster_table),
              "(fqty >= 2) and (colorname_ch like '%蓝%') or (colorid like 'C5%')");
    QStringList codes;
    v->reportColumnCount();
    for (int r = 0; r < v->gridModel()->rowCount(); ++r) codes << v->reportText(r, 0);
    EXPECT_EQ(codes, (QStringList{"C3", "C5"}));
    EXPECT_EQ(states(), QStringList{"进入"});
    v->ClearFilter();
    EXPECT_EQ(v->gridModel()->rowCount(), 5);
    // A quote in a value stays inside its literal.
    EXPECT_EQ(md::ui::FilterText({{false, "colorname_ch", "=", "O'Neil"}}, *f->DBmaster_table),
              "(colorname_ch = 'O''Neil')");
}

TEST_F(GridEditor, EnterMovesToTheNextCellThenTheNextRow) {
    auto* f = openColors(2);
    TDBTableView* v = f->cxGrid1DBTableView1;
    const QList<int> sections = v->VisibleSections();
    ASSERT_EQ(sections.size(), 6);
    v->setCurrentIndex(v->gridModel()->index(0, sections.at(4)));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(v, &enter);
    EXPECT_EQ(v->currentIndex().column(), sections.at(5));
    QCoreApplication::sendEvent(v, &enter);
    EXPECT_EQ(v->currentIndex().row(), 1);
    EXPECT_EQ(v->currentIndex().column(), sections.at(0));
    EXPECT_EQ(f->DBmaster_table->RecNo(), 2) << "the dataset follows the grid";
}

// Typing into the open cell editor: Enter writes the cell and moves exactly one
// cell on, once the view has done everything it queued; nothing warns.
TEST_F(GridEditor, EnterInAnOpenCellEditorWritesItAndMovesOneCell) {
    grantAll();
    auto* f = openColors(2);
    TDBTableView* v = f->cxGrid1DBTableView1;
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    f->edit_action->trigger();
    const QList<int> sections = v->VisibleSections();
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf("colorname_ch")));
    v->edit(v->currentIndex());
    auto* delegate = qobject_cast<TGridDelegate*>(v->itemDelegate());
    QWidget* editor = delegate->openEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Navy");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    qInstallMessageHandler(previous);
    EXPECT_EQ(field(f, "colorname_ch"), "Navy");
    EXPECT_EQ(v->currentIndex().row(), 0);
    EXPECT_EQ(v->currentIndex().column(), v->SectionOf("fqty")) << "one cell on";
    EXPECT_EQ(delegate->openEditor(), nullptr);
    EXPECT_TRUE(warnings.filter("commitData").isEmpty()) << warnings.join('\n').toStdString();

    // Going to another row with the editor open leaves the cursor where the user went.
    v->setCurrentIndex(v->gridModel()->index(0, sections.at(0)));
    v->edit(v->currentIndex());
    QTest::keyClicks(delegate->openEditor(), "c7");
    v->setCurrentIndex(v->gridModel()->index(1, sections.at(1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(v->currentIndex().column(), sections.at(1));
    EXPECT_EQ(v->currentIndex().row(), 1);
    f->post_action->trigger();
    EXPECT_EQ(db.rows("select colorid,colorname_ch from t_color order by colorid"),
              (QStringList{"C2|绿", "C7|Navy"}));
}

// With no row there is nothing to delete: no question, no error.
TEST_F(GridEditor, DeleteOnAnEmptyListEndsSilently) {
    grantAll();
    auto* f = openColors(0);
    EXPECT_TRUE(f->del_action->isEnabled()) << "the state rule stays";
    f->del_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_EQ(states(), QStringList{"进入"});
}
