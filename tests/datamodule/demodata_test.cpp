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

// The demo at a company's scale: shops, barcodes and stock grow with the goods.
TEST(LargeDemo, ShopsBarcodesAndStockGrowWithTheGoods) {
    md::test::TestDb db;
    md::server::createDemoData(db.conn(), 3000);  // ten times the everyday demo
    EXPECT_EQ(db.count("goods"), 3000);
    EXPECT_EQ(db.count("dt_client where fcode in(select fclientcode from ba_squad)"), 140)
        << "ten times the fourteen shops";
    EXPECT_EQ(db.count("ba_squad"), 140 * 3) << "each shop with its three shifts";
    EXPECT_EQ(db.scalar("select count(distinct fgoodsid) from barcode").toInt(), 3000);
    EXPECT_EQ(db.count("barcode a join goods g on g.goodsid=a.fgoodsid "
                       "where a.fbarcode1<>g.goodsid+a.fcolorid+a.fsize"),
              0)
        << "barcode 1 is goods, colour and size";
    const int stocked = db.scalar("select count(distinct fgoodsid) from stock").toInt();
    EXPECT_GT(stocked, 900);
    EXPECT_LT(stocked, 1100);
    // The everyday part keeps what the shop user's scope and the tests rely on.
    EXPECT_EQ(db.count("dt_client where fcode in('S0101','S0102')"), 2);
    EXPECT_GT(db.count("barcode where fbarcode2 is not null"), 0);
}
