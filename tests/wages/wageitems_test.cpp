// 工资项目设置 and its edit dialog: system items stay as they are, the
// dialog's checks and their messages, 取消 leaving nothing behind.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "dbcontrols.h"
#include "staff/frm_KQ_WageItemEdit.h"
#include "staff/frm_KQ_WagesItem.h"
#include "typedinput.h"
#include "wagesfixture.h"

namespace md::test {
namespace {

using WageItemsTest = WagesTest;

const QString kLocked = QStringLiteral("此项目为系统默认，不允许修改或删除！");
const QString kDeleteQuestion = QStringLiteral("是否确认删除此项目！");

TEST_F(WageItemsTest, ListShowsModeAndFlagsAsWords) {
    auto* f = open<Tfrm_KQ_WagesItem>();
    ASSERT_EQ(f->DBItem->RecordCount(), 5);
    ASSERT_TRUE(f->DBItem->Locate("fcode", "03"));
    EXPECT_EQ(shownRow(f->cxGrid1->View(), f->DBItem->RecNo() - 1),
              QStringList({"03", "销售提成", "增项", "0.00", "是", "否"}));
    ASSERT_TRUE(f->DBItem->Locate("fcode", "05"));
    EXPECT_EQ(shownRow(f->cxGrid1->View(), f->DBItem->RecNo() - 1),
              QStringList({"05", "社保扣款", "减项", "380.00", "否", "是"}));
    f->grab().save(QDir::temp().filePath("q2_wageitems.png"));
}

TEST_F(WageItemsTest, SystemItemCanBeNeitherChangedNorDeleted) {
    auto* f = open<Tfrm_KQ_WagesItem>();
    int dialogs = 0;
    script.onDialog([&](QDialog&) {
        ++dialogs;
        return int(QDialog::Rejected);
    });
    for (const char* code : {"01", "05"}) {
        ASSERT_TRUE(f->DBItem->Locate("fcode", code));
        script.clear();
        f->But_Edit->click();
        f->But_Del->click();
        emit f->cxGrid1->View()->doubleClicked(f->cxGrid1->View()->currentIndex());
        EXPECT_EQ(script.texts(), QStringList({kLocked, kLocked, kLocked})) << code;
        EXPECT_EQ(script.shown().first().title, "系统提示");
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(f->DBItem->InEditState());
    EXPECT_EQ(rows("select fcode,fname,fmode,fmoney from kq_wagesitem where fisSys=1 order by "
                   "fcode"),
              QStringList({"01|基本工资|1|0", "02|全勤奖|1|200", "05|社保扣款|-1|380"}));

    // An item of the user's own goes after the question, and only on yes.
    ASSERT_TRUE(f->DBItem->Locate("fcode", "04"));
    script.clear();
    script.answer(md::ui::Answer::No);
    f->But_Del->click();
    EXPECT_EQ(rows("select count(*) from kq_wagesitem"), QStringList({"5"}));
    f->But_Del->click();
    EXPECT_EQ(script.texts(), QStringList({kDeleteQuestion, kDeleteQuestion}));
    EXPECT_EQ(rows("select fcode from kq_wagesitem order by fcode"),
              QStringList({"01", "02", "03", "05"}));
    EXPECT_EQ(f->DBItem->RecordCount(), 4);
}

TEST_F(WageItemsTest, NewItemNeedsFreeCodeAndNameAndANumber) {
    auto* f = openShown<Tfrm_KQ_WagesItem>();
    QString heading;
    QStringList refusals;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_WageItemEdit*>(&d);
        heading = e->Label_Heading->text();
        EXPECT_EQ(e->windowTitle(), "工资项目编辑");
        EXPECT_EQ(e->Combo_Mode->currentText(), "增项") << "a new item adds";
        EXPECT_FALSE(e->Check_SaleMoney->isChecked());
        d.grab().save(QDir::temp().filePath("q2_wageitemedit.png"));
        e->But_Save->click();  // nothing typed
        typeInto(e->Edit_Code, "05");
        EXPECT_TRUE(e->Edit_Code->text().isEmpty()) << "the taken code is not kept";
        typeInto(e->Edit_Code, "06");
        e->But_Save->click();
        typeInto(e->Edit_Name, QStringLiteral("社保扣款"));
        EXPECT_TRUE(e->Edit_Name->text().isEmpty()) << "the taken name is not kept";
        typeInto(e->Edit_Name, QStringLiteral("   "));
        e->But_Save->click();  // blanks are no name
        typeInto(e->Edit_Name, QStringLiteral("加班费"));
        typeInto(e->Edit_Money, "12a");
        e->But_Save->click();
        refusals = script.texts();
        typeInto(e->Edit_Money, "150");
        e->Combo_Mode->setCurrentIndex(1);
        emit e->Combo_Mode->activated(1);
        e->Check_SaleMoney->click();
        e->But_Save->click();
        return e->result();
    });
    f->But_Add->click();
    EXPECT_EQ(heading, "添加工资项目");
    EXPECT_EQ(refusals, QStringList({"项目编号不能为空,请重新录入!", "项目编号已存在,请重新录入!",
                                     "项目名称不能为空,请重新录入!", "项目名称已存在,请重新录入!",
                                     "项目名称不能为空,请重新录入!", "固定金额必须是数字!"}));
    EXPECT_EQ(rows("select fname,fmode,fmoney,fisSaleMoney,fisSys from kq_wagesitem where "
                   "fcode='06'"),
              QStringList({"加班费|-1|150|1|0"}));
    EXPECT_EQ(rows("select count(*) from kq_wagesitem"), QStringList({"6"}));
    EXPECT_FALSE(f->DBItem->UpdatesPending());
}

TEST_F(WageItemsTest, ChangedItemKeepsItsOwnNamesAndCancelDropsTheChange) {
    auto* f = openShown<Tfrm_KQ_WagesItem>();
    ASSERT_TRUE(f->DBItem->Locate("fcode", "04"));
    QString heading;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_WageItemEdit*>(&d);
        heading = e->Label_Heading->text();
        EXPECT_EQ(e->Combo_Mode->currentText(), "减项");
        typeInto(e->Edit_Code, "04");  // its own code: no clash
        typeInto(e->Edit_Name, QStringLiteral("迟到扣款"));
        typeInto(e->Edit_Name, QStringLiteral("迟到罚款"));
        typeInto(e->Edit_Money, "30");
        e->But_Cancel->click();
        return e->result();
    });
    f->But_Edit->click();
    EXPECT_EQ(heading, "修改工资项目");
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(";").toStdString();
    EXPECT_EQ(rows("select fname,fmoney from kq_wagesitem where fcode='04'"),
              QStringList({"迟到扣款|20"}));
    EXPECT_EQ(f->DBItem->FieldByName("fname").AsString(), "迟到扣款");
    EXPECT_FALSE(f->DBItem->InEditState());

    // Saved this time, with another item's name refused first.
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_WageItemEdit*>(&d);
        typeInto(e->Edit_Name, QStringLiteral("全勤奖"));
        typeInto(e->Edit_Name, QStringLiteral("迟到罚款"));
        typeInto(e->Edit_Money, "30");
        e->But_Save->click();
        return e->result();
    });
    f->But_Edit->click();
    EXPECT_EQ(script.texts(), QStringList({"项目名称已存在,请重新录入!"}));
    EXPECT_EQ(rows("select fname,fmode,fmoney from kq_wagesitem where fcode='04'"),
              QStringList({"迟到罚款|-1|30"}));
    EXPECT_EQ(rows("select fname from kq_wagesitem where fcode='02'"), QStringList({"全勤奖"}));
}

}  // namespace
}  // namespace md::test
