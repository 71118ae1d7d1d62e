// The shop list beside a shop form's grid: where it goes and when it reports
// the current shop.
#include "shoplist.h"

#include <QSplitter>
#include <QVBoxLayout>

#include "codesfixture.h"

using namespace md::test;

namespace {

using ShopList = CodesTest;

TEST_F(ShopList, ReportsTheCurrentShopOnceWhenItOpensAndOnEveryChange) {
    db.exec("insert into dt_client(fid,fcode,fabbrev,fmathod) values('K1','S01','一店','直营店')");
    db.exec("insert into dt_client(fid,fcode,fabbrev,fmathod) values('K2','S02','二店','加盟店')");
    QWidget holder;
    auto* layout = new QVBoxLayout(&holder);
    auto* grid = new QWidget(&holder);
    layout->addWidget(grid);
    auto* list = new TShopList(&holder);
    list->PlaceBeside(grid);
    auto* splitter = holder.findChild<QSplitter*>();
    ASSERT_TRUE(splitter);
    EXPECT_EQ(splitter->widget(0), list);
    EXPECT_EQ(splitter->widget(1), grid);

    QStringList reported;
    list->OnShopChanged = [&](const QString& code) { reported << code; };
    list->DBshop_table->SetSQL("select fcode,fabbrev,fmathod from dt_client order by fcode");
    list->Open();
    EXPECT_EQ(reported, QStringList{"S01"});
    list->DBshop_table->Next();
    list->DBshop_table->Next();  // at the end already: no change
    EXPECT_EQ(reported, (QStringList{"S01", "S02"}));
    list->Open();
    EXPECT_EQ(reported, (QStringList{"S01", "S02", "S01"})) << "every opening reports";

    db.exec("delete from dt_client");
    list->Open();
    EXPECT_EQ(reported.last(), "") << "an empty list reports no shop";
    EXPECT_EQ(list->CurrentCode(), "");
}

}  // namespace
