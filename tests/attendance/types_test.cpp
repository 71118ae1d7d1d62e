// 考勤参数设定 and 考勤项目设置: the pages by category, the system types that
// stay as they are, the edit dialogs' checks.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "attendancefixture.h"
#include "staff/frm_KQItem_Edit.h"
#include "staff/frm_KQ_Item.h"
#include "staff/frm_KQtype.h"
#include "staff/frm_KQtypeEdit.h"

namespace md::test {
namespace {

using TypesTest = AttendanceTest;

const QString kLocked = QStringLiteral("系统默认的考勤类型，不能修改与删除！");

TEST_F(TypesTest, SystemTypesCanBeNeitherChangedNorDeletedOnAnyPage) {
    auto* f = open<Tfrm_KQtype>();
    int dialogs = 0;
    script.onDialog([&](QDialog&) {
        ++dialogs;
        return int(QDialog::Rejected);
    });
    for (int page : {0, 1}) {  // 平时加班 on 加班类型定义, 事假 first on 请假类型定义
        f->PageControl1->setCurrentIndex(page);
        ASSERT_EQ(f->DBmaster_table->RecordCount(), page == 0 ? 1 : 2);
        f->DBmaster_table->First();
        script.clear();
        f->EditButtons.at(page)->click();
        f->DelButtons.at(page)->click();
        EXPECT_EQ(script.texts(), QStringList({kLocked, kLocked})) << page;
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(rows("select fcode from kq_type where fisSys=1 order by fcode"),
              QStringList({"JB01", "QJ01"}));

    // The user's own type is deleted after the question.
    f->DBmaster_table->Locate("fcode", "QJ09");
    script.clear();
    script.answer(md::ui::Answer::No);
    f->DelButtons.at(1)->click();
    EXPECT_EQ(rows("select count(*) from kq_type"), QStringList({"3"}));
    f->DelButtons.at(1)->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确认删除此记录?", "是否确认删除此记录?"}));
    EXPECT_EQ(rows("select count(*) from kq_type where fcode='QJ09'"), QStringList({"0"}));
}

TEST_F(TypesTest, TypeAddedOnTheLeavePageIsALeaveTypeListedOnlyThere) {
    auto* f = open<Tfrm_KQtype>();
    EXPECT_EQ(f->PageControl1->tabText(1), "请假类型定义");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 1) << "page 1 at start";
    f->PageControl1->setCurrentIndex(1);
    QString heading;
    QStringList refusals;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQtypeEdit*>(&d);
        heading = e->Label_Heading->text();
        e->But_Save->click();            // nothing typed
        typeInto(e->Edit_Code, "JB01");  // the overtime type's code
        EXPECT_TRUE(e->Edit_Code->text().isEmpty()) << "the taken code is not kept";
        typeInto(e->Edit_Code, "QJ05");
        e->But_Save->click();
        typeInto(e->Edit_Name, QStringLiteral("事假"));
        typeInto(e->Edit_Name, QStringLiteral("丧假"));
        refusals = script.texts();
        e->But_Save->click();
        return e->result();
    });
    f->AddButtons.at(1)->click();
    EXPECT_EQ(heading, "添加请假类型");
    EXPECT_EQ(refusals, QStringList({"请输入类型代码！", "此类型代码系统已存在,请重新输入！",
                                     "请输入类型名称！", "此类型名称系统已存在,请重新输入！"}));
    EXPECT_EQ(rows("select fname,ftype,fisSys from kq_type where fcode='QJ05'"),
              QStringList({"丧假|2|0"}));
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3);
    EXPECT_EQ(shownRow(f->Grids.at(1)->View(), 0).last(), "请假");
    for (int page : {0, 2, 3}) {
        f->PageControl1->setCurrentIndex(page);
        EXPECT_FALSE(f->DBmaster_table->Locate("fcode", "QJ05")) << page;
    }
}

TEST_F(TypesTest, CancelledAddLeavesNothingBehind) {
    auto* f = open<Tfrm_KQtype>();
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQtypeEdit*>(&d);
        typeInto(e->Edit_Code, "JB07");
        e->But_Cancel->click();
        return e->result();
    });
    f->AddButtons.at(0)->click();
    EXPECT_EQ(rows("select count(*) from kq_type"), QStringList({"3"}));
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 1);
    EXPECT_FALSE(f->DBmaster_table->InEditState());
}

TEST_F(TypesTest, ItemsShowTheirModeAndKindAndNeedCodeNameAndUnit) {
    db.exec(
        "insert into KQ_Item(fcode,fname,fmode,funit,funitprice,ftype) "
        "values('01','迟到扣款',-1,'按次数',20,0)");
    auto* f = open<Tfrm_KQ_Item>();
    EXPECT_EQ(shownRow(f->cxGrid1->View(), 0),
              QStringList({"01", "迟到扣款", "减项", "按次数", "20.00", "迟到"}));

    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQItem_Edit*>(&d);
        EXPECT_EQ(e->Combo_Mode->currentText(), "增项") << "a new item adds";
        e->But_Save->click();
        typeInto(e->Edit_Code, "02");
        e->But_Save->click();
        typeInto(e->Edit_Name, QStringLiteral("加班补贴"));
        e->But_Save->click();
        e->Combo_Type->setCurrentIndex(2);
        emit e->Combo_Type->activated(2);
        typeInto(e->Combo_Unit->lineEdit(), QStringLiteral("按小时"));
        e->But_Save->click();
        return e->result();
    });
    f->But_Add->click();
    EXPECT_EQ(script.texts(), QStringList({"编号不能为空!", "名称不能为空!", "请选择计算单位"}));
    EXPECT_EQ(script.shown().first().title, md::ui::kApplicationName) << "plain messages";
    EXPECT_EQ(rows("select fname,fmode,funit,ftype from KQ_Item where fcode='02'"),
              QStringList({"加班补贴|1|按小时|2"}));

    // Turned into a deduction.
    f->DBItem->Locate("fcode", "02");
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQItem_Edit*>(&d);
        e->Combo_Mode->setCurrentIndex(1);
        emit e->Combo_Mode->activated(1);
        e->But_Save->click();
        return e->result();
    });
    f->But_Edit->click();
    EXPECT_EQ(rows("select fmode from KQ_Item where fcode='02'"), QStringList({"-1"}));
    f->DBItem->Locate("fcode", "02");
    EXPECT_EQ(shownRow(f->cxGrid1->View(), f->DBItem->RecNo() - 1).at(2), "减项");
}

}  // namespace
}  // namespace md::test
