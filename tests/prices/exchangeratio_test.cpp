// 客户退换货率设置: the ratio columns named by fid 1001 .. 1006, the checks
// before saving in their order, a period of 0 days, one row per client
// checked on insert only, and the client tree moving the grid.
#include <QAction>

#include "prices/frm_exchangeratio.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class ReturnRatio : public TermsTest {
  protected:
    Tfrm_exchangeratio* form() {
        auto* f = openShown<Tfrm_exchangeratio>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    QStringList stored() {
        return rows(
            "select fClientCode,exchange_lb,exchange_day,futures_ratio from "
            "exchange_ratio order by fClientCode");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(ReturnRatio, RatioCaptionsFollowTheFidNotTheName) {
    // Names out of order, one fid of no ratio: the fid alone decides.
    nameRates({"discount2", "discount1", "discount9", "discount3", "discount4", "discount5"},
              {"1002", "1001", "1007", "1003", "1005", "1006"});
    form();
    EXPECT_EQ(caption(v, "futures_ratio"), "现货折扣");
    EXPECT_EQ(caption(v, "merchandlse_ratio"), "期货折扣");
    EXPECT_EQ(caption(v, "sever_ratio"), "铺货折扣");
    EXPECT_FALSE(v->Column("sever_ratio")->Visible());
    EXPECT_EQ(caption(v, "fanning_ratio"), "铺货退换货率") << "no row has fid 1004";
    EXPECT_EQ(caption(v, "field1_ratio"), "特价折扣");
    EXPECT_EQ(caption(v, "field2_ratio"), "备用折扣");
    EXPECT_EQ(caption(v, "exchange_day"), "退换货周期");
}

TEST_F(ReturnRatio, ChecksInOrderAPeriodOf0DaysAndOneRowPerClientOnInsertOnly) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "c01"));
    EXPECT_EQ(field(ds, "fClientCode"), "C01") << "typed in upper case";
    f->post_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "exchange_lb", "数量"));
    f->post_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "exchange_day", "0"));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"请选择客户编号！", "请选择退换货条件类型！",
                                           "请选择退换货周期！", "不能录入相同重复的记录！"}));

    // A second new row for one client, before either is saved.
    script.clear();
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "C02"));
    // Named by the company's first rate (fid 1001).
    EXPECT_TRUE(typeIntoCell(v, "futures_ratio", "-0.1"));
    ds->Append();  // as Down on the last row does
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "C02"));
    EXPECT_FALSE(typeIntoCell(v, "exchange_lb", "金额"));
    EXPECT_FALSE(typeIntoCell(v, "exchange_day", "30"));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"期货折扣不能为负数!", "不能录入相同重复的记录！"}));
    ds->Cancel();
    f->post_action->trigger();
    EXPECT_EQ(stored(), (QStringList{"C01|金额|90|0.15", "C02|数量|0|"}));

    // Editing a stored row is not checked again.
    script.clear();
    ASSERT_TRUE(ds->Locate("fClientCode", "C01"));
    f->edit_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "exchange_day", "60"));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored().first(), "C01|金额|60|0.15");
}

TEST_F(ReturnRatio, ChoosingAClientInTheTreeMovesTheGridToItsRow) {
    db.exec(
        "insert into exchange_ratio(fClientCode,exchange_lb,exchange_day) values('c02','数量',30)");
    auto* f = form();
    ASSERT_EQ(field(ds, "fClientCode"), "C01");
    chooseNode(f->dxDBTreeList1, "K2");
    EXPECT_EQ(field(ds, "fClientCode"), "c02") << "found ignoring case";
    // While a row is edited the tree takes no choice.
    f->append_action->trigger();
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());
}

}  // namespace
