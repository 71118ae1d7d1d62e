// Colours: the in-use check before deleting, the empty code, and a duplicate
// code left to the database.
#include <QAction>

#include "codes/frm_color.h"
#include "codesfixture.h"

using namespace md::test;

namespace {

class Colors : public CodesTest {
  protected:
    Colors() {
        db.exec("insert into ba_color(colorid,colorname_ch) values('01','黑色')");
        db.exec("insert into ba_color(colorid,colorname_ch) values('02','白色')");
        db.exec("insert into goodscolor(fgoodsid,fcolorid) values('A1001','01')");
    }
};

TEST_F(Colors, AColourInUseIsRefusedBeforeTheQuestionAndAnUnusedOneIsDeleted) {
    auto* f = open<Tfrm_color>();
    ASSERT_TRUE(f->DBmaster_table->Locate("colorid", "01"));
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能删除货品档案已使用的颜色"})
        << "no question after the refusal";
    EXPECT_EQ(db.count("ba_color where colorid='01'"), 1);

    script.clear();
    ASSERT_TRUE(f->DBmaster_table->Locate("colorid", "02"));
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除此记录？"});
    EXPECT_EQ(rows("select colorid from ba_color"), QStringList{"01"});
    EXPECT_EQ(states(), (QStringList{"进入", "删除"}));
}

TEST_F(Colors, AnEmptyCodeIsRefusedAndADuplicateReachesTheErrorBox) {
    auto* f = open<Tfrm_color>();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"颜色编号不能为空！"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

    script.clear();
    f->DBmaster_table->FieldByName("colorid").SetAsString("01");
    f->DBmaster_table->FieldByName("colorname_ch").SetAsString("乌黑");
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError) << "the form does not look for the code itself";
    EXPECT_EQ(script.texts(), QStringList{"颜色编号“01”已存在"});
    EXPECT_TRUE(f->DBmaster_table->UpdatesPending()) << "the failed insert stays in the cache";
    EXPECT_EQ(rows("select colorname_ch from ba_color where colorid='01'"), QStringList{"黑色"});
    EXPECT_EQ(states(), (QStringList{"进入", "新增"})) << "a failed save writes no log";
}

}  // namespace
