// 客户/店铺选择: the user's client scope on opening and after 检索过滤, the
// filter bar's conditions, "全选", and what the caller gets after OK, a
// double-click or Cancel.
#include "selectclient.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "shopsfixture.h"

using namespace md::test;

namespace {

class SelectClient : public ShopsTest {
  protected:
    Tfrm_selectClient* dialog() { return open<Tfrm_selectClient>(); }
    // The listed codes, sorted: the function's rows come in the server's order.
    static QStringList codes(const Tfrm_selectClient* d) {
        QStringList out = column(d->DBmaster_table, "fcode");
        out.sort();
        return out;
    }
    static QStringList picked(const QList<TPickedClient>& rows) {
        QStringList out;
        for (const TPickedClient& c : rows)
            out << c.fcode + "|" + c.fabbrev + "|" + c.fmathod + "|" + c.fgrad + "|" +
                       c.fprice_type + "|" + c.fareaname;
        out.sort();
        return out;
    }
    static void mark(Tfrm_selectClient* d, const char* code) {
        TRemoteUdpDataSet* rows = d->DBmaster_table;
        ASSERT_TRUE(rows->Locate("fcode", code));
        rows->Edit();
        rows->FieldByName("checkid").SetAsBoolean(true);
        rows->Post();
    }
    static QRect cell(Tfrm_selectClient* d, const char* code, const char* field) {
        TDBTableView* v = d->cxGrid1DBTableView1;
        const int row = int(column(d->DBmaster_table, "fcode").indexOf(code));
        return v->visualRect(v->gridModel()->index(row, v->SectionOf(field)));
    }
};

TEST_F(SelectClient, AScopedUserSeesOnlyPermittedClientsOnOpeningAndAfterFiltering) {
    restrictTo({"S0101", "S0102"});
    auto* d = dialog();
    EXPECT_EQ(d->DBmaster_table->SQL(),
              "select * from fn_checkclient('') where 1=1 and fcode in('S0101','S0102')");
    EXPECT_EQ(codes(d), (QStringList{"S0101", "S0102"}));

    d->Combo_mathod->setCurrentText("自营");
    d->But_Find->click();
    EXPECT_EQ(d->DBmaster_table->SQL(),
              "select * from fn_checkclient('') where 1=1  and fmathod='自营' and fcode "
              "in('S0101','S0102')");
    EXPECT_EQ(codes(d), QStringList{"S0101"}) << "C01 is 自营 too, but not the user's";

    d->Combo_mathod->setCurrentIndex(0);
    d->But_Find->click();
    EXPECT_EQ(codes(d), (QStringList{"S0101", "S0102"}));
}

TEST_F(SelectClient, AUserWithoutClientScopeRowsSeesEveryClient) {
    restrictTo({});
    ASSERT_TRUE(md::Shared().ClientScopeAll);
    EXPECT_EQ(codes(dialog()), (QStringList{"C01", "C02", "S0101", "S0102", "S0201", "S0301"}));

    // Restricted to an empty list (every scope row excluded): nobody is hidden either.
    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList.clear();
    auto* d = dialog();
    EXPECT_EQ(d->DBmaster_table->SQL(), "select * from fn_checkclient('') where 1=1");
    EXPECT_EQ(codes(d).size(), 6);
}

TEST_F(SelectClient, EachFilledBoxAddsItsConditionAndTheRowsMatchAll) {
    auto* d = dialog();
    struct Case {
        QString mathod, grad, price, code, abbrev;
        QString conditions;
        QStringList rows;
    };
    const QList<Case> cases = {
        {"", "一般客户", "", "", "", " and fgrad='一般客户'", {"S0101", "S0102"}},
        {"", "", "按折扣", "", "", " and fprice_type='按折扣'", {"C01", "S0101", "S0102", "S0301"}},
        {"", "", "", "s01", "", " and fcode like '%s01%'", {"S0101", "S0102"}},
        {"专柜",
         "一般客户",
         "按折扣",
         "S01",
         "西湖",
         " and fmathod='专柜' and fgrad='一般客户' and fprice_type='按折扣' and fcode like '%S01%' "
         "and fabbrev like '%西湖%'",
         {"S0102"}},
        // A quote typed into a box stays inside its value.
        {"", "", "", "", "O'Neil", " and fabbrev like '%O''Neil%'", {"S0301"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.conditions.toStdString());
        d->Combo_mathod->setCurrentText(c.mathod);
        d->Combo_grad->setCurrentText(c.grad);
        d->Combo_price_type->setCurrentText(c.price);
        d->Edit_code->setText(c.code);
        d->Edit_abbrev->setText(c.abbrev);
        d->But_Find->click();
        EXPECT_EQ(d->DBmaster_table->SQL(),
                  "select * from fn_checkclient('') where 1=1 " + c.conditions);
        EXPECT_EQ(codes(d), c.rows);
    }
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();

    // The lists offer exactly the system's values, after an empty "any".
    auto items = [](QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    };
    EXPECT_EQ(items(d->Combo_mathod), (QStringList{"", "自营", "专柜", "批发", "加盟", "代理"}));
    EXPECT_EQ(items(d->Combo_grad),
              (QStringList{"", "总代理", "一级代理", "二级代理", "经销商", "批发商", "一般客户"}));
    EXPECT_EQ(items(d->Combo_price_type), (QStringList{"", "按价格", "按折扣"}));
}

TEST_F(SelectClient, EnterInTheCodeBoxFilters) {
    auto* d = dialog();
    d->show();
    QApplication::setActiveWindow(d);
    d->Edit_code->setFocus();
    typeText(d->Edit_code, "S02");
    QTest::keyClick(d->Edit_code, Qt::Key_Return);
    EXPECT_EQ(codes(d), QStringList{"S0201"});
}

TEST_F(SelectClient, SelectAllMarksEveryRowInOneResetAndKeepsThePlace) {
    auto* d = dialog();
    TRemoteUdpDataSet* rows = d->DBmaster_table;
    ASSERT_TRUE(rows->Locate("fcode", "S0102"));
    QSignalSpy resets(d->cxGrid1DBTableView1->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(d->cxGrid1DBTableView1->model(), &QAbstractItemModel::dataChanged);
    d->CheckBox_all->click();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0) << "no repaint per row";
    EXPECT_EQ(d->CheckedRows().size(), 6);
    EXPECT_EQ(field(rows, "fcode"), "S0102");
    EXPECT_FALSE(rows->UpdatesPending()) << "marks are never sent";

    d->CheckBox_all->click();
    EXPECT_TRUE(d->CheckedRows().isEmpty());

    // A new search starts unmarked, the box too.
    d->CheckBox_all->click();
    d->But_Find->click();
    EXPECT_FALSE(d->CheckBox_all->isChecked());
    EXPECT_TRUE(d->CheckedRows().isEmpty());
}

TEST_F(SelectClient, OkGivesTheCheckedRowsAndCancelGivesNone) {
    script.onDialog([&](QDialog& shown) {
        auto* d = qobject_cast<Tfrm_selectClient*>(&shown);
        if (!d) return int(QDialog::Rejected);
        mark(d, "S0201");
        mark(d, "C02");
        d->But_OK->click();
        return int(QDialog::Rejected);  // the click decided already
    });
    EXPECT_EQ(picked(md::ui::PickClients(nullptr)),
              (QStringList{"C02|上海申雅|代理|一级代理|按等级|上海",
                           "S0201|南京东路店|加盟|经销商|按等级|上海"}));

    script.onDialog([&](QDialog& shown) {
        auto* d = qobject_cast<Tfrm_selectClient*>(&shown);
        if (!d) return int(QDialog::Rejected);
        mark(d, "S0201");
        d->But_Cancel->click();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(md::ui::PickClients(nullptr).isEmpty());
    EXPECT_EQ(rows("select fstate from syslog where modename='客户/店铺选择' order by fautoid"),
              (QStringList{"进入", "离开", "进入", "离开"}));
}

TEST_F(SelectClient, ATickAndADoubleClickAreTheMouseWayToOk) {
    script.onDialog([&](QDialog& shown) {
        auto* d = qobject_cast<Tfrm_selectClient*>(&shown);
        if (!d) return int(QDialog::Rejected);
        d->resize(760, 460);
        d->show();
        QApplication::setActiveWindow(d);
        QWidget* viewport = d->cxGrid1DBTableView1->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, cell(d, "S0102", "checkid").center());
        EXPECT_EQ(picked(d->CheckedRows()).size(), 1) << "the click ticked S0102";
        EXPECT_TRUE(QDir::temp().exists(".") &&
                    d->grab().save(QDir::temp().filePath("selectclient.png")));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, cell(d, "C01", "fabbrev").center());
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, cell(d, "C01", "fabbrev").center());
        EXPECT_FALSE(d->isVisible()) << "the double-click closed the dialog";
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(picked(md::ui::PickClients(nullptr)),
              QStringList{"S0102|西湖文化广场店|专柜|一般客户|按折扣|浙江"})
        << "the double-clicked row counts only when ticked";
}

}  // namespace
