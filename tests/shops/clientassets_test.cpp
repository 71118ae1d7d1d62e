// 店铺固定资产列表: the shops and assets a scoped user sees, a chosen shop's
// name and nature, the amount, the checks before saving, bad numbers, the
// statements written and a batch that the server refuses as a whole.
#include <QAction>
#include <QClipboard>

#include "partners/frm_ClientAssets.h"
#include "shopsfixture.h"

using namespace md::test;

namespace {

class ClientAssets : public ShopsTest {
  protected:
    ClientAssets() {
        addAsset("S0101", "收银台", 1, 6800);
        addAsset("S0102", "全身模特", 4, 680);
        addAsset("S0201", "立式空调", 2, 7999);
        addAsset("C01", "样衣架", 3, 120);  // a client's asset, though C01 is no shop
    }
    void addAsset(const QString& shop, const QString& name, int qty, double price) {
        db.exec(QStringLiteral("insert into Dt_Clientassets(fclientcode,fassetsName,fqty,"
                               "fbalancprice,fremark) values(%1,%2,%3,%4,'')")
                    .arg(QuotedStr(shop), QuotedStr(name))
                    .arg(qty)
                    .arg(price));
    }
    Tfrm_ClientAssets* form() {
        auto* f = openShown<Tfrm_ClientAssets>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    static QStringList sorted(QStringList list) {
        list.sort();
        return list;
    }
    QStringList stored() {
        return rows(
            "select fclientcode,fassetsName,fqty,fbalancprice,fremark from Dt_Clientassets order "
            "by fautoid");
    }
    // "code|short name|nature" of the current row.
    QString shop() {
        return field(ds, "fclientcode") + "|" + field(ds, "fabbrev") + "|" + field(ds, "fmathod");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(ClientAssets, AScopedUserSeesOnlyHisShopsInTheListAndTheirAssets) {
    restrictTo({"S0101", "S0102", "C01"});
    auto* f = form();
    EXPECT_EQ(f->DBshop_table->SQL(),
              "select fcode,fabbrev,fmathod from dt_client where 1=1 and fcode "
              "in('S0101','S0102','C01') and fcode in(select fclientcode from ba_squad)");
    EXPECT_EQ(sorted(column(f->DBshop_table, "fcode")), (QStringList{"S0101", "S0102"}))
        << "C01 is permitted but has no shifts";
    EXPECT_EQ(ds->SQL(),
              "select a.*,b.fabbrev,b.fmathod from dbo.Dt_Clientassets a left join dt_client b on "
              "a.fclientcode=b.fcode where 1=1 and a.fclientcode in('S0101','S0102','C01')");
    EXPECT_EQ(sorted(column(ds, "fassetsName")), (QStringList{"全身模特", "收银台", "样衣架"}));

    // Without scope rows the user is not restricted.
    db.exec("delete from userclient");
    md::LoadUserScopes();
    auto* all = form();
    EXPECT_EQ(sorted(column(all->DBshop_table, "fcode")), (QStringList{"S0101", "S0102", "S0201"}));
    EXPECT_EQ(column(ds, "fassetsName").size(), 4);
}

TEST_F(ClientAssets, AChosenShopBringsItsNameAndNatureWhateverTheCaseTyped) {
    // A shop whose code was once stored in small letters.
    addClient("s0501", "宁波天一店", "加盟", "经销商", "按折扣", "0103");
    db.exec(
        "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,finused) "
        "values('s0501','早班','09:00:00','17:00:00',1)");
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请选择店铺编号!"});
    typeIntoCell(v, "fclientcode", "S0501");
    EXPECT_EQ(shop(), "s0501|宁波天一店|加盟") << "found ignoring case, kept as the list spells it";
    typeIntoCell(v, "fclientcode", "s0201");
    EXPECT_EQ(shop(), "S0201|南京东路店|加盟");
    typeIntoCell(v, "fclientcode", "S0101");
    EXPECT_EQ(shop(), "S0101|湖滨银泰店|自营");
    typeIntoCell(v, "fclientcode", "S0301");
    EXPECT_EQ(shop(), "S0301||") << "S0301 has no shifts: no shop, its names go";
    typeIntoCell(v, "fassetsName", "收银台");
    f->post_action->trigger();
    typeIntoCell(v, "fclientcode", "S0102");
    typeIntoCell(v, "fassetsName", "   ");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"请选择店铺编号!", "请选择店铺编号!", "请输入固定资产名称!"}));
    EXPECT_EQ(db.count("Dt_Clientassets"), 4);
    EXPECT_EQ(ds->State(), dsInsert);
    typeIntoCell(v, "fassetsName", "收银台");
    f->post_action->trigger();
    EXPECT_EQ(stored().last(), "S0102|收银台|0|0|");
}

TEST_F(ClientAssets, AmountIsTheWholeQuantityTimesThePriceAndTheFooterSumsIt) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("fclientcode", "S0201"));
    EXPECT_EQ(field(ds, "sumto"), "15998");
    f->edit_action->trigger();
    typeIntoCell(v, "fqty", "2.4");
    EXPECT_EQ(field(ds, "sumto"), "15998") << "2.4 pieces count as 2";
    typeIntoCell(v, "fbalancprice", "7999.5");
    EXPECT_EQ(field(ds, "sumto"), "15999");
    EXPECT_EQ(v->SummaryText(*v->Column("sumto")), "25879.00");
    EXPECT_EQ(v->SummaryText(*v->Column("fqty")), "10.4");
    EXPECT_EQ(v->SummaryText(*v->Column("fclientcode")), "合计");
    EXPECT_EQ(v->SummaryText(*v->Column("fassetsName")), "4");
}

TEST_F(ClientAssets, NegativeOrNonNumericQuantitiesAndPricesAreRefused) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("fclientcode", "S0102"));
    f->edit_action->trigger();
    typeIntoCell(v, "fqty", "-2");
    auto* delegate = qobject_cast<TGridDelegate*>(v->itemDelegate());
    EXPECT_NE(delegate->openEditor(), nullptr) << "left open to be corrected";
    typeIntoCell(v, "fbalancprice", "-");
    // Corrected in the editor still open, and refused again.
    QWidget* open = delegate->openEditor();
    ASSERT_NE(open, nullptr);
    QTest::keyClick(open, Qt::Key_A, Qt::ControlModifier);
    typeText(open, ".");
    QTest::keyClick(open, Qt::Key_Return);

    EXPECT_EQ(script.texts(),
              (QStringList{"数量不能为负数!", "单价必须是数字!", "单价必须是数字!"}));
    // A refused editor left for another cell writes nothing.
    typeIntoCell(v, "fassetsName", "模特");
    EXPECT_EQ(field(ds, "fqty") + "|" + field(ds, "fbalancprice"), "4|680");
    // Letters never get into a number cell: the editor takes digits, sign and point only.
    typeIntoCell(v, "fqty", "abc5");
    EXPECT_EQ(field(ds, "fqty"), "5");
    // A pasted negative price is refused the same way.
    v->setCurrentIndex(
        v->gridModel()->index(v->currentIndex().row(), v->SectionOf("fbalancprice")));
    QApplication::clipboard()->setText("-1");
    v->PasteFromClipboard();
    EXPECT_EQ(script.texts().last(), "单价不能为负数!");
    EXPECT_EQ(field(ds, "fbalancprice"), "680");
    f->post_action->trigger();
    EXPECT_EQ(
        rows("select fassetsName,fqty,fbalancprice from Dt_Clientassets where fclientcode='S0102'"),
        QStringList{"模特|5|680"});
    EXPECT_EQ(script.texts().size(), 4);
}

TEST_F(ClientAssets, ChangesAreWrittenByTheFormsOwnStatementsOnTheRowsNumber) {
    auto* f = form();
    db.conn().log().clear();
    f->append_action->trigger();
    typeIntoCell(v, "fclientcode", "S0201");
    typeIntoCell(v, "fassetsName", "POS收银机");
    typeIntoCell(v, "fbalancprice", "3580");
    typeIntoCell(v, "fqty", "1");
    typeIntoCell(v, "fremark", "含小票打印机");
    f->post_action->trigger();
    EXPECT_EQ(statementsWith("Dt_Clientassets("),
              QStringList{"insert into Dt_Clientassets(fclientcode,fassetsname,fqty,fbalancprice,"
                          "fremark)\nvalues(:fclientcode,:fassetsname,:fqty,:fbalancprice,:"
                          "fremark)"});

    // The new row is found again by its number: edited at once, then deleted.
    f->edit_action->trigger();
    typeIntoCell(v, "fqty", "2");
    f->post_action->trigger();
    EXPECT_EQ(statementsWith("update Dt_Clientassets"),
              QStringList{"update Dt_Clientassets set fclientcode=:fclientcode,fassetsname=:"
                          "fassetsname,fqty=:fqty,fbalancprice=:fbalancprice,fremark=:fremark\n"
                          "where fautoid=:fautoid"});
    EXPECT_EQ(stored().last(), "S0201|POS收银机|2|3580|含小票打印机");
    f->del_action->trigger();
    EXPECT_EQ(statementsWith("delete from Dt_Clientassets"),
              QStringList{"delete from Dt_Clientassets where fautoid=:fautoid"});
    EXPECT_EQ(db.count("Dt_Clientassets"), 4);
    EXPECT_EQ(db.count("Dt_Clientassets where fassetsName='立式空调' and fqty=2"), 1);
}

TEST_F(ClientAssets, ABatchTheServerRefusesSavesNothingAndKeepsEveryChange) {
    auto* f = form();
    f->append_action->trigger();
    typeIntoCell(v, "fclientcode", "S0101");
    typeIntoCell(v, "fassetsName", "中岛展示柜");
    QTest::keyClick(v, Qt::Key_Down);  // a further row: the first one goes into the cache
    ASSERT_EQ(ds->RecordCount(), 6);
    typeIntoCell(v, "fclientcode", "S0102");
    // Longer than its column (the cell editor would not take it; a paste could).
    ds->FieldByName("fassetsName").SetAsString(QString(60, QChar(u'柜')));
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(db.count("Dt_Clientassets"), 4) << "neither row";
    EXPECT_TRUE(ds->UpdatesPending());

    ds->Last();
    f->edit_action->trigger();
    typeIntoCell(v, "fassetsName", "展示柜");
    f->post_action->trigger();
    EXPECT_EQ(db.count("Dt_Clientassets"), 6);
    EXPECT_EQ(db.count("Dt_Clientassets where fassetsName in('中岛展示柜','展示柜')"), 2);
}

}  // namespace
