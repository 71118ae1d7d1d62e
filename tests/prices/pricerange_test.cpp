// 价位段设置: a band needs a name, a new one a name of its own; its upper
// price is not below its lower one, and prices are numbers not below zero.
#include <QAction>

#include "prices/frm_GoodsPriceRange.h"
#include "pricesfixture.h"

using namespace md::test;

namespace {

class PriceBands : public PricesTest {
  protected:
    PriceBands() {
        db.exec(
            "insert into Ba_GoodsPriceRange(fname,fbeginvalues,fendvalues) values"
            "('平价款',0,299),('精品款',300,999)");
    }
    Tfrm_GoodsPriceRange* form() {
        auto* f = openShown<Tfrm_GoodsPriceRange>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    QString stored() {
        return rows(
                   "select fname,fbeginvalues,fendvalues from Ba_GoodsPriceRange order by "
                   "fbeginvalues")
            .join(' ');
    }
    int current() { return ds->RecNo() - 1; }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(PriceBands, ANewBandNeedsANameOfItsOwnAndAnUpperPriceNotBelowTheLower) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    typeIntoCell(v, current(), "fname", "平价款");
    f->post_action->trigger();
    typeIntoCell(v, current(), "fname", "轻奢款");
    typeIntoCell(v, current(), "fbeginvalues", "1000");
    typeIntoCell(v, current(), "fendvalues", "800");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"价位名称不能为空!", "不能录入相同的记录!",
                                           "截止价位不能小于开始价位!"}));
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_EQ(stored(), "平价款|0|299 精品款|300|999");

    script.clear();
    typeIntoCell(v, current(), "fendvalues", "1000");  // a band of one price
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored(), "平价款|0|299 精品款|300|999 轻奢款|1000|1000");

    // Two new bands of one name before either is saved.
    f->append_action->trigger();
    typeIntoCell(v, current(), "fname", "特价款");
    ds->Append();
    typeIntoCell(v, current(), "fname", "特价款");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能录入相同的记录!"});
}

TEST_F(PriceBands, AnEditedBandIsNotCheckedForItsNameAndTheKeyRefusesADuplicate) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("fname", "精品款"));
    f->edit_action->trigger();
    typeIntoCell(v, current(), "fendvalues", "1299");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored(), "平价款|0|299 精品款|300|1299");

    f->edit_action->trigger();
    typeIntoCell(v, current(), "fname", "平价款");
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError) << "the name is the table's key";
    EXPECT_EQ(stored(), "平价款|0|299 精品款|300|1299");
    EXPECT_TRUE(ds->UpdatesPending()) << "the failed change stays to be corrected";
}

TEST_F(PriceBands, PricesThatAreNoNumberOrBelowZeroAreRefused) {
    auto* f = form();
    f->append_action->trigger();
    EXPECT_EQ(typeIntoCell(v, current(), "fbeginvalues", "-5"), "-5");
    EXPECT_EQ(typeIntoCell(v, current(), "fendvalues", "-"), "-");
    EXPECT_EQ(script.texts(), (QStringList{"开始价位不能为负数!", "截止价位必须是数字!"}));
    EXPECT_EQ(ds->FieldByName("fbeginvalues").AsFloat(), 0.0) << "a new band starts at 0 to 0";
}

}  // namespace
