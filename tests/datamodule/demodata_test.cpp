// The demo database: users who can log in, the administrator's rights, the shop
// user's scopes, settings, company record and size groups as the loaders see them.
#include "demo/demodata.h"

#include "demo/passwords.h"
#include "routines.h"
#include "sessionfixture.h"

namespace {

namespace demo = md::server::demo;

class DemoData : public md::test::SessionFixture {
  protected:
    DemoData() {
        md::server::createDemoData(db.conn(), 0,
                                   {{"frm_color", "基本颜色设置"}, {"frm_size", "尺码资料"}});
        writeSoftConfig();
    }
    QString storedHash(const QString& user) {
        return db.scalar("select fpassword from usermain where userno='" + user + "'").toString();
    }
};

TEST_F(DemoData, PasswordsAreSaltedHashesThatVerify) {
    const QString admin = storedHash(demo::kAdminUser);
    EXPECT_FALSE(admin.contains(demo::kAdminPassword));
    EXPECT_TRUE(admin.startsWith("$argon2id$"));
    EXPECT_TRUE(md::server::verifyPassword(admin, demo::kAdminPassword));
    EXPECT_FALSE(md::server::verifyPassword(admin, "wrong"));
    EXPECT_TRUE(md::server::verifyPassword(storedHash(demo::kShopUser), demo::kShopPassword));
    EXPECT_NE(md::server::hashPassword("x"), md::server::hashPassword("x"));  // salted
    EXPECT_FALSE(md::server::verifyPassword("plain", "plain"));  // a stored plain text never passes
}

TEST_F(DemoData, AdministratorHasEveryRightAndNoScopes) {
    md::Session().UserNo = demo::kAdminUser;
    for (const QString list :
         {"frm_color", "frm_size", "M_pricevisible", "M_priceedit", "M_PlanpriceBit", "m_config",
          "M_BackSup", "M_SupBack", "M_BackClient"}) {
        const md::RightFlags r = md::LoadRights(list);
        EXPECT_TRUE(r.RightAdd && r.RightEdit && r.RightDelete && r.RightPrint && r.RightPosted &&
                    r.RightUnposted && r.RightExcel)
            << list.toStdString();
    }
    md::LoadUserScopes();
    md::LoadUserOptions();
    EXPECT_TRUE(md::Shared().ClientScopeAll && md::Shared().BrandScopeAll &&
                md::Shared().HouseScopeAll);
    EXPECT_TRUE(md::Shared().PriceVisible && md::Shared().PriceEdit &&
                md::Shared().PlanPriceVisible);
}

TEST_F(DemoData, ShopUserIsRestricted) {
    md::Session().UserNo = demo::kShopUser;
    md::LoadUserScopes();
    md::LoadUserOptions();
    EXPECT_EQ(md::Shared().ClientScopeList, "'S0101','S0102'");
    EXPECT_FALSE(md::Shared().BrandScopeAll);
    EXPECT_EQ(md::Shared().BrandScopeList, "'" + demo::kShopUserBrand + "'");
    EXPECT_EQ(md::Shared().HouseScopeList, "'" + demo::kShopUserWarehouse + "'");
    EXPECT_TRUE(md::Shared().PriceVisible);
    EXPECT_FALSE(md::Shared().PriceEdit);
    const md::RightFlags color = md::LoadRights("frm_color");
    EXPECT_TRUE(color.RightPrint);
    EXPECT_FALSE(color.RightAdd || color.RightDelete || color.RightExcel);
}

TEST_F(DemoData, SizeSlotsAndPrefixAsTheLoadersSeeThem) {
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(md::Shared().SizeSlotCount, 11);  // trousers 26..36, the widest group
    EXPECT_EQ(md::Shared().NationalCodePrefix, demo::kNationalCodePrefix);
    EXPECT_EQ(md::server::demoGeneratorNames().mid(0, 2), (QStringList{"system", "sizes"}));
}

}  // namespace
