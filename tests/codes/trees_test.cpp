// Regions, departments and material categories: the checks before saving with
// each form's messages, duplicates refused for new records only, Enter moving
// on, and material categories saving without checks.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include "codes/frm_area.h"
#include "codes/frm_dpt.h"
#include "codes/frm_mrtype.h"
#include "codesfixture.h"
#include "dbcontrols.h"
#include "treelist.h"

using namespace md::test;

namespace {

class Trees : public CodesTest {
  protected:
    static void type(QWidget* editor, const QString& text) {
        auto* edit = qobject_cast<TDBEdit*>(editor);
        ASSERT_TRUE(edit);
        edit->setText(text);
        Q_EMIT edit->textEdited(text);
    }

    // The checks of one region-like form on a table holding 01 > 0101.
    template <class Form>
    void checkTreeRules(const QString& table, const QStringList& messages) {
        db.exec("insert into " + table + "(fCode,fparentcode,fName) values('01','0','华东')");
        db.exec("insert into " + table + "(fCode,fparentcode,fName) values('0101','01','上海')");
        auto* f = open<Form>();
        f->show();  // regions open when first shown
        ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "01"));
        f->append_action->trigger();
        EXPECT_EQ(field(f->DBmaster_table, "fparentcode"), "01");
        f->post_action->trigger();  // no name yet
        type(f->NameEditor, "江苏");
        type(f->CodeEditor, "");
        f->post_action->trigger();
        type(f->CodeEditor, "0101");
        f->post_action->trigger();
        EXPECT_EQ(script.texts(), messages) << "in check order";
        EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

        type(f->CodeEditor, "0102");
        f->post_action->trigger();
        EXPECT_EQ(rows("select fCode,fparentcode,fName from " + table + " where fName='江苏'"),
                  QStringList{"0102|01|江苏"});

        // An edited record keeps its code, which exists: not a duplicate.
        script.clear();
        ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "0101"));
        f->edit_action->trigger();
        EXPECT_FALSE(f->CodeEditor->isEnabled());
        type(f->NameEditor, "上海市");
        f->post_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{});
        EXPECT_EQ(rows("select fName from " + table + " where fCode='0101'"),
                  QStringList{"上海市"});
        EXPECT_FALSE(f->excel_action->isVisible());
    }

    // Enter in the code editor moves the focus on to the name editor.
    template <class Form>
    void checkEnterMovesOn() {
        auto* f = open<Form>();
        f->show();
        QApplication::setActiveWindow(f);
        f->append_action->trigger();
        f->CodeEditor->setFocus();
        ASSERT_TRUE(f->CodeEditor->hasFocus());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(f->CodeEditor, &enter);
        EXPECT_TRUE(f->NameEditor->hasFocus());
    }
};

TEST_F(Trees, RegionsRefuseInOrderAndCheckDuplicatesOfNewRecordsOnly) {
    checkTreeRules<Tfrm_Area>("ba_Area",
                              {"请输入地区名称!", "地区编号不能为空!", "地区编号不能重复!"});
}

TEST_F(Trees, DepartmentsRefuseInOrderAndCheckDuplicatesOfNewRecordsOnly) {
    checkTreeRules<Tfrm_dpt>("ba_Department",
                             {"请输入部门名称!", "部门编号不能为空!", "部门编号不能重复!"});
}

TEST_F(Trees, EnterMovesToTheNextEditorInRegionsAndDepartments) {
    checkEnterMovesOn<Tfrm_Area>();
    checkEnterMovesOn<Tfrm_dpt>();
}

TEST_F(Trees, MaterialCategoriesSaveWithoutChecks) {
    db.exec("insert into ba_MrType(fCode,fparentcode,fName) values('01','0','面料')");
    auto* f = open<Tfrm_MrType>();
    f->append_action->trigger();
    EXPECT_EQ(field(f->DBmaster_table, "fparentcode"), "01");
    type(f->CodeEditor, "0101");  // and no name
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fCode,fparentcode,fName from ba_MrType where fCode='0101'"),
              QStringList{"0101|01|"});
}

}  // namespace
