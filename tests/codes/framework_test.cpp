// The framework pieces these windows brought: the field panel's layout, the
// shop list's reports of the current shop, and Enter moving on in a window.
#include "codesfixture.h"

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "shoplist.h"

#include <QGridLayout>
#include <QSplitter>
#include <QVBoxLayout>

using namespace md::test;

namespace {

using FrameworkAdditions = CodesTest;

TEST_F(FrameworkAdditions, FieldPanelFillsItsColumnsAndGivesWideFieldsAWholeRow)
{
    TDataSource source;
    TFieldPanel panel(&source, 2);
    panel.AddEdit("简称：", "fabbrev");
    panel.AddEdit("中文名称：", "fname_ch", true);  // starts a row of its own
    panel.AddEdit("职务：", "Job");
    panel.AddEdit("传真：", "fax");
    auto* grid = qobject_cast<QGridLayout*>(panel.layout());
    auto cellOf = [&](const char* field) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(grid->indexOf(panel.Editor(field)), &row, &column, &rowSpan, &columnSpan);
        return QList<int>{row, column, columnSpan};
    };
    EXPECT_EQ(cellOf("fabbrev"), (QList<int>{0, 1, 1}));
    EXPECT_EQ(cellOf("FNAME_CH"), (QList<int>{1, 1, 3}));
    EXPECT_EQ(cellOf("job"), (QList<int>{2, 1, 1}));
    EXPECT_EQ(cellOf("fax"), (QList<int>{2, 3, 1}));
    EXPECT_EQ(panel.Editor("nothing"), nullptr);
}

TEST_F(FrameworkAdditions, ShopListReportsTheCurrentShopOnceWhenItOpensAndOnEveryChange)
{
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

TEST_F(FrameworkAdditions, QueryReturnsRowAnswersWhetherAnyRowCame)
{
    db.exec("insert into ba_color(colorid) values('01')");
    EXPECT_TRUE(md::ui::QueryReturnsRow("select top 1 colorid from ba_color where colorid='01'"));
    EXPECT_FALSE(md::ui::QueryReturnsRow("select top 1 colorid from ba_color where colorid='02'"));
}

}  // namespace
