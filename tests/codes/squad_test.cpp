// Shop shifts: the shop list with the client scope, the shifts of the chosen
// shop, new shifts belonging to it, the list held while a shift is edited.
#include <QAction>
#include <QTest>

#include "codes/frm_squad.h"
#include "codesfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "shoplist.h"

using namespace md::test;

namespace {

class Squad : public CodesTest {
  protected:
    Squad() {
        db.exec(
            "insert into dt_client(fid,fparentid,fcode,fabbrev,fmathod,stratbit) values('K1',' "
            "','S0101','湖滨店','直营店',1)");
        db.exec(
            "insert into dt_client(fid,fparentid,fcode,fabbrev,fmathod,stratbit) values('K2',' "
            "','S0102','西湖店','直营店',1)");
        db.exec(
            "insert into dt_client(fid,fparentid,fcode,fabbrev,fmathod,stratbit) values('K3',' "
            "','S0201','南京路店','代理店',1)");
        db.exec(
            "insert into dt_client(fid,fparentid,fcode,fabbrev,fmathod,stratbit) values('K4',' "
            "','S0999','旧店','直营店',0)");
        db.exec(
            "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,finused) "
            "values('S0101','早班','09:30:00','16:00:00',1)");
        db.exec(
            "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,finused) "
            "values('S0102','晚班','15:30:00','22:00:00',1)");
    }
    static QStringList shops(Tfrm_squad* f) {
        QStringList codes;
        TRemoteUdpDataSet* list = f->ShopList->DBshop_table;
        for (int row = 0; row < list->RecordCount(); ++row)
            codes << list->valueAt(row, 0).toString();
        return codes;
    }
    static QString shiftNames(Tfrm_squad* f) {
        QStringList names;
        for (int row = 0; row < f->DBmaster_table->RecordCount(); ++row)
            names << f->DBmaster_table
                         ->valueAt(row, f->DBmaster_table->FieldByName("fsquname").Index())
                         .toString();
        return names.join(',');
    }
};

TEST_F(Squad, TheShopListKeepsToEnabledClientsInTheUsersScopeAndShowsTheChosenShopsShifts) {
    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList = "'S0101','S0102','S0999'";
    auto* f = open<Tfrm_squad>();
    EXPECT_EQ(shops(f), (QStringList{"S0101", "S0102"}));
    EXPECT_EQ(f->ShopList->DBshop_table->SQL(),
              "select fcode,fabbrev,fmathod from dt_client where stratbit=1\n and fcode "
              "in('S0101','S0102','S0999')");
    EXPECT_EQ(shiftNames(f), "早班");
    f->ShopList->DBshop_table->Next();  // as a click on the second shop does
    EXPECT_EQ(shiftNames(f), "晚班");
    EXPECT_EQ(f->DBmaster_table->ParamByName(u"fclientcode").AsString(), "S0102");

    md::Shared().ClientScopeAll = true;
    auto* all = open<Tfrm_squad>();
    EXPECT_EQ(shops(all), (QStringList{"S0101", "S0102", "S0201"}));
}

TEST_F(Squad, ANewShiftIsInUseAndBelongsToTheSelectedShop) {
    auto* f = open<Tfrm_squad>();
    ASSERT_TRUE(f->ShopList->DBshop_table->Locate("fcode", "S0201"));
    f->append_action->trigger();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    EXPECT_TRUE(ds->FieldByName("finused").AsBoolean());
    EXPECT_TRUE(f->ShopList->isEnabled()) << "inserting leaves the list enabled";
    f->post_action->trigger();
    ds->FieldByName("fsquname").SetAsString("早班");
    f->post_action->trigger();
    ds->FieldByName("fbegintime").SetAsString("09:00:00");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"班次名称不能为空", "请录入上班时间", "请录入下班时间"}));
    ds->FieldByName("fendtime").SetAsString("17:30:00");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fclientcode,fsquname,fbegintime,fendtime,finused from ba_squad where "
                   "fclientcode='S0201'"),
              QStringList{"S0201|早班|09:00:00|17:30:00|1"});

    f->edit_action->trigger();
    EXPECT_FALSE(f->ShopList->isEnabled()) << "held while a shift is edited";
    f->cacel_action->trigger();
    EXPECT_TRUE(f->ShopList->isEnabled());
    f->edit_action->trigger();
    f->post_action->trigger();
    EXPECT_TRUE(f->ShopList->isEnabled());
}

// Times typed into the open cell editor: "0830", "083000", "HH:mm" and
// "HH:mm:ss" are times; "25:00" is refused with a message and changes nothing.
TEST_F(Squad, TimesAreTypedWithOrWithoutColonsAndAWrongOneIsRefused) {
    auto* f = open<Tfrm_squad>();
    ASSERT_TRUE(f->ShopList->DBshop_table->Locate("fcode", "S0201"));
    TDBTableView* v = f->cxGrid1DBTableView1;
    auto* delegate = qobject_cast<TGridDelegate*>(v->itemDelegate());
    auto typeInto = [&](const char* fieldName, const QString& text, Qt::Key key) {
        v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(), v->SectionOf(fieldName)));
        v->edit(v->currentIndex());
        QWidget* editor = delegate->openEditor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key);
    };
    struct Case {
        QString begin, end, stored;
    };
    const QList<Case> cases = {{"0830", "173000", "08:30:00|17:30:00"},
                               {"8:05", "23:59:59", "08:05:00|23:59:59"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin.toStdString());
        db.exec("delete from ba_squad where fclientcode='S0201'");
        f->DBmaster_table->Close();
        f->DBmaster_table->Open();
        f->append_action->trigger();
        typeInto("fsquname", "A", Qt::Key_Tab);
        typeInto("fbegintime", c.begin, Qt::Key_Tab);
        typeInto("fendtime", c.end, Qt::Key_Return);
        f->post_action->trigger();
        EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
        EXPECT_EQ(rows("select fbegintime,fendtime from ba_squad where fclientcode='S0201'"),
                  QStringList{c.stored});
    }

    f->edit_action->trigger();
    typeInto("fbegintime", "25:00", Qt::Key_Tab);
    EXPECT_EQ(script.texts(), QStringList{"'25:00' 不是有效的时间"});
    EXPECT_NE(delegate->openEditor(), nullptr) << "left open to be corrected";
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"'25:00' 不是有效的时间", "'25:00' 不是有效的时间"}));
    EXPECT_EQ(f->DBmaster_table->State(), dsEdit) << "the save stops";
    f->cacel_action->trigger();
    EXPECT_EQ(rows("select fbegintime from ba_squad where fclientcode='S0201'"),
              QStringList{"08:05:00"});
}

TEST_F(Squad, WithoutAnyShopANewShiftHasNoShop) {
    db.exec("delete from dt_client");
    auto* f = open<Tfrm_squad>();
    EXPECT_TRUE(f->DBmaster_table->Active()) << "the shifts open with the empty list";
    f->append_action->trigger();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    ds->FieldByName("fsquname").SetAsString("A班");
    ds->FieldByName("fbegintime").SetAsString("08:00:00");
    ds->FieldByName("fendtime").SetAsString("12:00:00");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fclientcode from ba_squad where fsquname='A班'"), QStringList{""});
}

}  // namespace
