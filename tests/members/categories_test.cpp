// VIP类别设定: the two bands, the id of a new category from the row count, an
// id a deleted category left in use, and what a save writes.
#include <QAction>

#include "members/frm_vipLB.h"
#include "membersfixture.h"

using namespace md::test;

namespace {

class Categories : public MembersTest {
  protected:
    Tfrm_vipLB* form() {
        auto* f = openShown<Tfrm_vipLB>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    // Adds a category through the grid as a user does and saves it.
    void addThroughGrid(Tfrm_vipLB* f, const QString& name, const QString& discount) {
        f->append_action->trigger();
        typeIntoCell(v, "vipLBname", name);
        typeIntoCell(v, "discount", discount);
        f->post_action->trigger();
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(Categories, TheGridHasItsTwoBandsAndOpensOnTheStoredCategories) {
    auto* f = form();
    EXPECT_EQ(f->windowTitle(), "VIP类别设定");
    EXPECT_EQ(v->Bands(), (QStringList{"类别折扣", "积分计算方式"}));
    for (const char* field : {"vipLBname", "integrals", "discount"})
        EXPECT_EQ(v->Column(field)->BandIndex(), 0) << field;
    for (const char* field : {"consumeamount", "integralscount"})
        EXPECT_EQ(v->Column(field)->BandIndex(), 1) << field;
    EXPECT_FALSE(v->VisibleSections().contains(v->SectionOf("viplbid")))
        << "the id is the system's, not shown";
    EXPECT_EQ(column(ds, "vipLBname"), (QStringList{"普通会员", "银卡会员", "金卡会员"}));
}

TEST_F(Categories, ANewCategoryIsNumberedFromTheRowCount) {
    auto* f = form();
    addThroughGrid(f, "钻石会员", "0.8");
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select viplbid,vipLBname from ba_viplb where viplbid='1004'"),
              QStringList{"1004|钻石会员"});
    EXPECT_DOUBLE_EQ(db.scalar("select discount from ba_viplb where viplbid='1004'").toDouble(),
                     0.8);

    // With nine stored, the tenth is 100 followed by 10.
    for (int i = 5; i <= 9; ++i) addThroughGrid(f, QStringLiteral("类别%1").arg(i), "1");
    EXPECT_EQ(db.count("ba_viplb"), 9);
    addThroughGrid(f, "员工卡", "0.5");
    EXPECT_EQ(rows("select vipLBname from ba_viplb where viplbid='10010'"), QStringList{"员工卡"});
    EXPECT_EQ(db.count("syslog where modename='VIP类别设定' and fstate='保存'"), 7);
}

TEST_F(Categories, AnIdADeletedCategoryLeftInUseIsPassedOver) {
    // 1001 gone, 1002 and 1003 left: the count gives 1003, which is taken.
    db.exec("delete from ba_viplb where viplbid='1001'");
    auto* f = form();
    addThroughGrid(f, "钻石会员", "0.8");
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select viplbid from ba_viplb order by viplbid"),
              (QStringList{"1002", "1003", "1004"}));
}

}  // namespace
