// Supplier and employee categories: codes that are keys. A new supplier
// category's code is checked as it is entered and becomes fID; an employee
// category's name is its key and may be renamed.
#include <QAction>

#include "codes/frm_etype.h"
#include "codes/frm_ptype.h"
#include "codesfixture.h"
#include "grid.h"
#include "gridmodel.h"

using namespace md::test;

namespace {

using Categories = CodesTest;

TEST_F(Categories, ANewSupplierCategoryWithATakenCodeIsRefusedAsTheCodeIsEntered) {
    db.exec("insert into ba_Ptype(fID,fCode,fName) values('01','01','面料供应商')");
    db.exec("insert into ba_Ptype(fID,fCode,fName) values('02','02','辅料供应商')");
    auto* f = open<Tfrm_Ptype>();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    f->append_action->trigger();
    TDBTableView* v = f->cxGrid1DBTableView1;
    TGridModel* m = v->gridModel();
    const int row = ds->RecNo() - 1;
    EXPECT_FALSE(m->setData(m->index(row, v->SectionOf("fCode")), "01")) << "typed into the grid";
    EXPECT_EQ(script.texts(), QStringList{"类别代号已存在，请重新录入！"});
    EXPECT_EQ(field(ds, "fCode"), "");

    // Edited records are not checked.
    script.clear();
    f->cacel_action->trigger();
    ASSERT_TRUE(ds->Locate("fCode", "02"));
    f->edit_action->trigger();
    ds->FieldByName("fCode").SetAsString("01");
    EXPECT_EQ(script.texts(), QStringList{"是否确认撤消本次修改？"});
}

TEST_F(Categories, ASupplierCategoryIsCheckedInOrderAndSavedWithItsCodeAsKey) {
    auto* f = open<Tfrm_Ptype>();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    f->append_action->trigger();
    f->post_action->trigger();
    ds->FieldByName("fCode").SetAsString("05");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"类别代号不能为空！", "类别名称不能为空！"}));
    ds->FieldByName("fName").SetAsString("物流服务");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fID,fCode,fName from ba_Ptype"), QStringList{"05|05|物流服务"});

    // A code changed while editing takes the key along.
    f->edit_action->trigger();
    ds->FieldByName("fCode").SetAsString("06");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fID,fCode from ba_Ptype"), QStringList{"06|06"});
    EXPECT_EQ(script.texts().size(), 2);
}

TEST_F(Categories, RenamingAnEmployeeCategoryChangesItsKeyAndUpdatesTheSameRow) {
    db.exec("insert into ba_Etype(fid,fName,fNotes) values('临时工','临时工','促销期间')");
    db.exec("insert into ba_Etype(fid,fName,fNotes) values('正式员工','正式员工','')");
    auto* f = open<Tfrm_Etype>();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    ASSERT_TRUE(ds->Locate("fid", "临时工"));
    f->edit_action->trigger();
    ds->FieldByName("fName").SetAsString("");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"类别名称不能为空!"});

    ds->FieldByName("fName").SetAsString("临时员工");
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts().size(), 1);
    EXPECT_EQ(rows("select fid,fName,fNotes from ba_Etype order by fNotes desc"),
              (QStringList{"临时员工|临时员工|促销期间", "正式员工|正式员工|"}));
    const QStringList updates = statementsWith("update ba_Etype");
    ASSERT_EQ(updates.size(), 1);
    EXPECT_TRUE(updates.first().contains(QStringLiteral(" where fid=:"), Qt::CaseInsensitive))
        << "the row is found by its old key: " << updates.first().toStdString();

    f->append_action->trigger();
    ds->FieldByName("fName").SetAsString("实习生");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fid from ba_Etype where fName='实习生'"), QStringList{"实习生"});
}

}  // namespace
