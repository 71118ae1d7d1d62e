// The data module's loaders against crafted databases and settings files.
#include "errors.h"
#include "sessionfixture.h"

using md::Shared;

namespace {

class Loaders : public md::test::SessionFixture {
  protected:
    void runAll() {
        md::LoadColourSettings();
        md::LoadSizeSlotsAndSettings();
        md::LoadUserScopes();
        md::LoadUserOptions();
    }
};

TEST_F(Loaders, ClientScopeListsPermittedCodesInRowOrder) {
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C02',0)");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C09',1)");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C01',null)");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u2','C07',0)");
    md::LoadUserScopes();
    EXPECT_FALSE(Shared().ClientScopeAll);
    EXPECT_EQ(Shared().ClientScopeList, "'C02','C01'");
    EXPECT_EQ(md::ClientScopeCondition(), " and fcode in('C02','C01')");
    EXPECT_EQ(md::ClientScopeCondition("a.fclientcode"), " and a.fclientcode in('C02','C01')");
}

TEST_F(Loaders, EveryClientRowExcludedGivesARestrictedEmptyList) {
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C01',1)");
    db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C02',1)");
    md::LoadUserScopes();
    EXPECT_FALSE(Shared().ClientScopeAll);
    EXPECT_EQ(Shared().ClientScopeList, "");
    EXPECT_EQ(md::ClientScopeCondition(), "");  // no in() with an empty list
}

TEST_F(Loaders, NoScopeRowsMeanUnrestricted) {
    db.exec("insert into userclient(fgroupid,fclientcode) values('other','C01')");
    db.exec("insert into userbrand(fgroupid,fbrand) values('other','B1')");
    db.exec("insert into userhouse(fgroupid,fhousecode) values('other','H1')");
    md::LoadUserScopes();
    EXPECT_TRUE(Shared().ClientScopeAll);
    EXPECT_TRUE(Shared().BrandScopeAll);
    EXPECT_TRUE(Shared().HouseScopeAll);
    EXPECT_EQ(Shared().BrandScopeList, "");
}

TEST_F(Loaders, BrandAndWarehouseScopes) {
    db.exec("insert into userbrand(fgroupid,fbrand) values('u1','雅韵')");
    db.exec("insert into userbrand(fgroupid,fbrand) values('u1','O''Neil')");
    db.exec("insert into userhouse(fgroupid,fhousecode,fstockbit) values('u1','H1',null)");
    db.exec("insert into userhouse(fgroupid,fhousecode,fstockbit) values('u1','H2',1)");
    db.exec("insert into userhouse(fgroupid,fhousecode,fstockbit) values('u1','H3',0)");
    md::LoadUserScopes();
    EXPECT_FALSE(Shared().BrandScopeAll);
    EXPECT_EQ(Shared().BrandScopeList, "'雅韵','O''Neil'");  // ready for in(...), quotes doubled
    EXPECT_FALSE(Shared().HouseScopeAll);
    EXPECT_EQ(Shared().HouseScopeList, "'H1','H3'");
}

TEST_F(Loaders, UserNumberWithAQuoteDoesNotBreakTheScopeQueries) {
    md::Session().UserNo = "o'brien";
    db.exec("insert into userbrand(fgroupid,fbrand) values('o''brien','B1')");
    md::LoadUserScopes();
    EXPECT_EQ(Shared().BrandScopeList, "'B1'");
}

TEST_F(Loaders, SizeSlotsPrefixAndSettingsWithSoftConfig) {
    writeSoftConfig("[KQSoft]\ndatalinkstr=DSN=clock\n[config]\nfontsize=12\n");
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) values('T','S',1,'S1')");
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) values('T','M',7,'S7')");
    db.exec("insert into dt_ltd(fname_ch,fcode) values('公司','690123456')");
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(Shared().SizeSlotCount, 7);
    EXPECT_EQ(Shared().NationalCodePrefix, "690123456");
    EXPECT_EQ(Shared().AttendanceConnStr, "DSN=clock");
    EXPECT_EQ(Shared().GridFontSize, 12);
    EXPECT_EQ(Shared().LocalDataConnStr,
              "Provider=SQLite;Data Source=" + home.path() + "/localData.db");
}

// A stray displayindex counts as the last of the 30 slots, not as billions of them.
TEST_F(Loaders, AStrayDisplayIndexCountsAsThirtySlots) {
    writeSoftConfig("[config]\nfontsize=10\n");
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) "
        "values('T','S',2147483647,'S1')");
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(Shared().SizeSlotCount, 30);
}

TEST_F(Loaders, EmptySizeTableAndDefaultsOfTheSoftConfigKeys) {
    writeSoftConfig("[config]\nfontsize=big\n");
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(Shared().SizeSlotCount, 0);
    EXPECT_EQ(Shared().NationalCodePrefix, "");
    EXPECT_EQ(Shared().GridFontSize, 10);  // not a number
    EXPECT_EQ(Shared().AttendanceConnStr,
              "Provider=MSDASQL.1;Persist Security Info=False;Data Source=KQ");
}

TEST_F(Loaders, WithoutSoftConfigTheDatabaseIsNotRead) {
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) values('T','S',3,'S3')");
    db.exec("insert into dt_ltd(fcode) values('690123456')");
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(Shared().SizeSlotCount, 0);
    EXPECT_EQ(Shared().NationalCodePrefix, "");
    EXPECT_EQ(Shared().GridFontSize, 0);
    EXPECT_EQ(Shared().AttendanceConnStr, "");
    EXPECT_TRUE(Shared().LocalDataConnStr.endsWith("/localData.db"));  // set in any case
}

TEST_F(Loaders, ColoursFromColorConfigWithDefaultsForMissingKeys) {
    md::LoadColourSettings();
    EXPECT_EQ(Shared().ColorBack, "$00F2DED5");
    writeFile("colorConfig.ini", "[fcolor]\nfbackcolor=$00FFFFFF\nFRZBUTCOLOR=clWhite\n");
    md::LoadColourSettings();
    EXPECT_EQ(Shared().ColorBack, "$00FFFFFF");
    EXPECT_EQ(Shared().ColorButton, "clWhite");  // key names in any case
    EXPECT_EQ(Shared().ColorButtonFrame, "$00149BF0");
    EXPECT_EQ(Shared().ColorGroupBox, "$00DCEBDF");
}

TEST_F(Loaders, PriceDecimalsAndThePriceFlags) {
    joinGroup("u1", "G1");
    grant("M_pricevisible", "G1", {"b_browse"});
    grant("M_PlanpriceBit", "G1", {"b_excel"});
    grant("M_priceedit", "G1", {});  // a row with no right set does not count
    md::LoadUserOptions();
    EXPECT_EQ(Shared().PriceDecimals, 2);  // no config row
    EXPECT_TRUE(Shared().PriceVisible);
    EXPECT_FALSE(Shared().PriceEdit);
    EXPECT_TRUE(Shared().PlanPriceVisible);

    db.exec("insert into config([id],mode) values(50009,3)");
    md::LoadUserOptions();
    EXPECT_EQ(Shared().PriceDecimals, 3);
}

TEST_F(Loaders, AFailingLoaderEndsTheSequence) {
    writeSoftConfig();
    db.exec(
        "insert into ba_size(size_class,size_name,displayindex,fieldname) values('T','S',4,'S4')");
    db.exec("insert into userbrand(fgroupid,fbrand) values('u1','B1')");
    db.exec("drop table userclient");
    EXPECT_THROW(runAll(), EDatabaseError);
    EXPECT_EQ(Shared().SizeSlotCount, 4);  // before the failure
    EXPECT_FALSE(Shared().BrandScopeAll);  // start values after it
    EXPECT_EQ(Shared().BrandScopeList, "");
    EXPECT_EQ(Shared().PriceDecimals, 2);
}

}  // namespace
