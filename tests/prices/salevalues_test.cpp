// 销售提成方案: the type list, the total per piece, the checks before a row is
// kept (a type, an upper quantity not below the lower, no overlap with another
// range of the type, stored or new), whole quantities and amounts not below zero.
#include <QAction>
#include <QComboBox>

#include "prices/frm_SaleValues.h"
#include "pricesfixture.h"

using namespace md::test;

namespace {

class Commissions : public PricesTest {
  protected:
    Commissions() {
        db.exec(
            "insert into Ba_SaleValues(ftypename,fbeginqty,fendqty,fsalevalues,fmadivalues) "
            "values('零售',0,100,1,0.3),('零售',100,300,1.5,0.4),('批发',0,500,0.3,0.1)");
    }
    Tfrm_SaleValues* form() {
        auto* f = openShown<Tfrm_SaleValues>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    int current() { return ds->RecNo() - 1; }
    void newRange(Tfrm_SaleValues* f, const char* type, const char* from, const char* to) {
        f->append_action->trigger();
        typeIntoCell(v, current(), "ftypename", QString::fromUtf8(type));
        typeIntoCell(v, current(), "fbeginqty", from);
        typeIntoCell(v, current(), "fendqty", to);
    }
    QString stored() {
        return rows(
                   "select ftypename,fbeginqty,fendqty,fsalevalues,fmadivalues from "
                   "Ba_SaleValues order by fautoid")
            .join(' ');
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(Commissions, TypesInUseAreOfferedAndTheTotalIsTheSumPerPiece) {
    auto* f = form();
    QStringList types = v->Column("ftypename")->Items();
    types.sort();
    EXPECT_EQ(types, (QStringList{"批发", "零售"}));
    ASSERT_TRUE(ds->Locate("ftypename;fbeginqty", QVariantList{"零售", 100}));
    EXPECT_EQ(cell(v, current(), "fsumtotal"), "1.90");
    f->edit_action->trigger();
    typeIntoCell(v, current(), "fmadivalues", "0.55");
    EXPECT_EQ(cell(v, current(), "fsumtotal"), "2.05");
    f->post_action->trigger();

    // A new type, typed in lower case, is kept in upper case and joins the list.
    newRange(f, "vip", "0", "50");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_TRUE(v->Column("ftypename")->Items().contains("VIP"));
    EXPECT_EQ(stored(), "零售|0|100|1|0.3 零售|100|300|1.5|0.55 批发|0|500|0.3|0.1 VIP|0|50|0|0");

    // The new row got its key: a later change reaches it.
    f->edit_action->trigger();
    typeIntoCell(v, current(), "fsalevalues", "2");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fsalevalues from Ba_SaleValues where ftypename='VIP'"),
              QStringList{"2"});
}

TEST_F(Commissions, ARangeOverlappingAnotherOfItsTypeIsRefusedAndOneMeetingItAtAnEndIsKept) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请输入业务类别!"});
    script.clear();
    typeIntoCell(v, current(), "ftypename", "零售");
    typeIntoCell(v, current(), "fbeginqty", "250");
    typeIntoCell(v, current(), "fendqty", "200");
    f->post_action->trigger();
    typeIntoCell(v, current(), "fendqty", "400");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"截止销量不能小于起始销量!", "销量范围与“零售”的100-300件重叠!"}));
    EXPECT_EQ(ds->State(), dsInsert);

    // Meeting the stored range at 300, and another type's range is no concern.
    script.clear();
    typeIntoCell(v, current(), "fbeginqty", "300");
    f->post_action->trigger();
    newRange(f, "批发", "500", "800");
    ds->Append();  // as Down on the last row does: the range above waits in the list
    typeIntoCell(v, current(), "ftypename", "批发");
    typeIntoCell(v, current(), "fbeginqty", "700");
    typeIntoCell(v, current(), "fendqty", "900");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"销量范围与“批发”的500-800件重叠!"})
        << "a new range not saved yet counts too";
    typeIntoCell(v, current(), "fbeginqty", "800");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"销量范围与“批发”的500-800件重叠!"});
    EXPECT_EQ(db.count("Ba_SaleValues"), 6);

    // A stored range moved onto another of its type.
    script.clear();
    ASSERT_TRUE(ds->Locate("ftypename;fbeginqty", QVariantList{"零售", 0}));
    f->edit_action->trigger();
    typeIntoCell(v, current(), "fendqty", "150");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"销量范围与“零售”的100-300件重叠!"});
}

TEST_F(Commissions, QuantitiesAreWholeAndAmountsAreNumbersNotBelowZero) {
    auto* f = form();
    f->append_action->trigger();
    EXPECT_EQ(typeIntoCell(v, current(), "fbeginqty", "-3"), "-3");
    EXPECT_EQ(typeIntoCell(v, current(), "fsalevalues", "-0.5"), "-0.5");
    EXPECT_EQ(typeIntoCell(v, current(), "fmadivalues", "."), ".");
    EXPECT_EQ(script.texts(), (QStringList{"起始销量(件)不能为负数!", "销售提成(元/件)不能为负数!",
                                           "设计提成(元/件)必须是数字!"}));
    EXPECT_EQ(ds->FieldByName("fbeginqty").AsInteger(), 0);
    EXPECT_EQ(db.count("Ba_SaleValues"), 3);
}

}  // namespace
