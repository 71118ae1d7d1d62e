// The ten windows from the host's side: each opens through CreateDLLForm on the
// demo database (modal ones run modally) and shows its demo rows; the shop user
// sees only the shops of his scope.
#include <QApplication>
#include <QMainWindow>

#include "codes/frm_squad.h"
#include "codesfixture.h"
#include "createdllform.h"
#include "demo/demodata.h"
#include "shoplist.h"

using namespace md::test;

namespace {

const QList<md::server::DemoRightList> kWindows = {
    {"frm_color", "基本颜色设置"},
    {"frm_Area", "地区资料"},
    {"frm_dpt", "部门资料"},
    {"frm_MrType", "物料类别"},
    {"frm_Ptype", "供应商类别"},
    {"frm_Etype", "员工类别"},
    {"frm_squad", "店铺班次设定"},
    {"frm_account", "资金帐户设置"},
    {"frm_RetailChargesItem", "零售费用项目"},
    {"frm_ltd", "公司信息"},
};

class Windows : public ::testing::Test {
  protected:
    Windows() {
        home.writeSoftConfig();
        md::entry::resetModule();
        md::Shared() = md::SharedValues();
        md::server::createDemoData(db.conn(), 0, kWindows);
    }
    ~Windows() override {
        md::entry::resetModule();
        md::Session() = md::SessionContext();
        md::Shared() = md::SharedValues();
    }
    QWidget* call(const QString& name, const QString& user) {
        return CreateDLLForm(qApp, nullptr, name, user.toUtf8().constData(),
                             name.toUtf8().constData(), &db.conn(), &mainWindow);
    }
    // Rows of the window's edited dataset, once it is shown.
    static int shownRows(QWidget* window) {
        window->show();
        auto* ds = window->findChild<TRemoteUdpDataSet*>("DBmaster_table");
        return ds && ds->Active() ? ds->RecordCount() : -1;
    }

    ProgramHome home;
    TestDb db;
    QMainWindow mainWindow;
    md::ui::MessageScript script;
};

TEST_F(Windows, EachOpensFromTheRegistryWithItsDemoRows) {
    for (const md::server::DemoRightList& w : kWindows) {
        SCOPED_TRACE(w.name.toStdString());
        int rows = -1;
        QString caption;
        script.onDialog([&](QDialog& dialog) {
            rows = shownRows(&dialog);
            caption = dialog.windowTitle();
            return int(QDialog::Rejected);
        });
        if (QWidget* window = call(w.name, md::server::demo::kAdminUser)) {
            rows = shownRows(window);
            caption = window->windowTitle();
        }
        EXPECT_GT(rows, 0);
        EXPECT_EQ(caption, w.caption);
    }
    EXPECT_EQ(script.texts(), QStringList{}) << "no error on the way";
}

TEST_F(Windows, TheShopUserSeesOnlyHisShops) {
    auto* squad = qobject_cast<Tfrm_squad*>(call("frm_squad", md::server::demo::kShopUser));
    ASSERT_TRUE(squad);
    TRemoteUdpDataSet* shops = squad->ShopList->DBshop_table;
    QStringList codes;
    for (int row = 0; row < shops->RecordCount(); ++row) codes << shops->valueAt(row, 0).toString();
    EXPECT_EQ(codes, md::server::demo::kShopUserShops);
    EXPECT_GT(squad->DBmaster_table->RecordCount(), 0) << "the first shop's shifts";
    EXPECT_FALSE(squad->append_action->isEnabled()) << "browsing only";
}

}  // namespace
