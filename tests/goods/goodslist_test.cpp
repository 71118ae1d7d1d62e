// The list page of the goods form: the 3000-goods rule, the filter, the
// online flags, the batch changes, the saved record in the list, navigation
// and closing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "dbcontrols.h"
#include "editors.h"
#include "goodsfixture.h"
#include "griddelegate.h"
#include "gridmodel.h"

using namespace md::test;
using md::ui::Answer;

namespace {
const QChar CR(13);
}

class GoodsList : public GoodsTest {
  protected:
    void addMany(int count) {
        db.conn().BeginTrans();
        for (int i = 0; i < count; ++i) {
            const ParamMap values{
                {QStringLiteral("goodsid"), QStringLiteral("G%1").arg(i, 5, 10, QLatin1Char('0'))}};
            db.conn().ExecSQL(
                QStringLiteral("insert into goods(goodsid,brand) values(:goodsid,'雅韵')"),
                &values);
        }
        db.conn().CommitTrans();
    }
    static void tick(Tfrm_goods* form, const QString& code, const char* column = "fcheck") {
        ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), code));
        form->DBgoodslist->Edit();
        form->DBgoodslist->FieldByName(QString::fromLatin1(column)).SetAsBoolean(true);
        form->DBgoodslist->Post();
    }
};

TEST_F(GoodsList, UpTo3000GoodsTheListOpensFullBeyondItEmpty) {
    addMany(3000);
    Tfrm_goods* form = open();
    EXPECT_EQ(form->DBgoodslist->RecordCount(), 3000);
    EXPECT_EQ(form->DBgoodslist->SQL(), Tfrm_goods::ListBaseSQL());
    form->DBgoodslist->First();
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"),
              field(form->DBgoodslist, "goodsid"));  // the record follows the first row
    delete form;

    db.exec(QStringLiteral("insert into goods(goodsid) values('Z9999')"));
    form = open();
    EXPECT_EQ(form->DBgoodslist->RecordCount(), 0);
    EXPECT_TRUE(
        form->DBgoodslist->SQL().startsWith(QStringLiteral("select top 0 a.fcheck,a.goodsid,")));
    EXPECT_EQ(form->DBgoodslist->FieldCount(), 14);
    EXPECT_TRUE(form->DBmaster_table->IsEmpty());
}

TEST_F(GoodsList, FilterJoinsTheAttributeConditionAndTheCodeFoundAnywhere) {
    addGoods(QStringLiteral("AB123"));
    addGoods(QStringLiteral("X123Y"), QStringLiteral("悦动"));
    addGoods(QStringLiteral("123"), QStringLiteral("雅韵"), QStringLiteral("夏"));
    addGoods(QStringLiteral("Q45"));
    Tfrm_goods* form = open();
    ASSERT_EQ(listCodes(form).size(), 4);

    form->Edit_GoodsId->setText(QStringLiteral("123"));
    QSignalSpy resets(form->GridListView->gridModel()->dataSetModel(),
                      &QAbstractItemModel::modelReset);
    form->But_Filter->click();
    EXPECT_EQ(resets.count(), 1);  // the grid takes the new rows in one go
    EXPECT_EQ(sorted(listCodes(form)),
              sorted({QStringLiteral("AB123"), QStringLiteral("X123Y"), QStringLiteral("123")}));
    EXPECT_EQ(form->DBgoodslist->SQL(), Tfrm_goods::ListBaseSQL() + QStringLiteral(" where 1=1 ") +
                                            CR + QLatin1Char('\n') +
                                            QStringLiteral(" and  a.goodsid like '%123%'"));

    // Two attributes: a brand and a season, each partly ticked.
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), QStringLiteral("雅韵"), true);
    form->CheckTree1->SetChecked(QStringLiteral("季节"), QStringLiteral("春"), true);
    form->But_Filter->click();
    EXPECT_EQ(listCodes(form), QStringList{QStringLiteral("AB123")});
    EXPECT_EQ(
        form->DBgoodslist->SQL(),
        Tfrm_goods::ListBaseSQL() + QStringLiteral(" where 1=1 ") + CR + QLatin1Char('\n') +
            QStringLiteral(
                " and (a.brand in('雅韵'))and(a.season in('春')) and a.goodsid like '%123%'"));
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("AB123"));

    // Every value of a field ticked restricts nothing.
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), QStringLiteral("悦动"), true);
    form->Edit_GoodsId->clear();
    form->But_Filter->click();
    EXPECT_EQ(sorted(listCodes(form)),
              sorted({QStringLiteral("AB123"), QStringLiteral("X123Y"), QStringLiteral("Q45")}));

    // Enter in the code box filters, once.
    form->Edit_GoodsId->setText(QStringLiteral("q4"));
    db.conn().log().clear();
    QTest::keyClick(form->Edit_GoodsId, Qt::Key_Return);
    EXPECT_EQ(listCodes(form), QStringList{QStringLiteral("Q45")});
    EXPECT_EQ(statements().filter(QStringLiteral("from goods a left join")).size(), 1);
}

TEST_F(GoodsList, OnlineFlagsAreSentWhenTheFilterRunsAndWhenTheFormCloses) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    Tfrm_goods* form = open();
    tick(form, QStringLiteral("A01"), "fisshoptop");
    tick(form, QStringLiteral("A02"), "fcheck");  // selection only: nothing of it reaches goods
    EXPECT_EQ(db.count(QStringLiteral("goods where fisshoptop=1")), 0);
    db.conn().log().clear();
    form->But_Filter->click();
    EXPECT_EQ(db.count(QStringLiteral("goods where fisshoptop=1")), 1);
    EXPECT_EQ(db.count(QStringLiteral("goods where fcheck=1")), 0);
    EXPECT_TRUE(statements().contains(
        QStringLiteral("update goods set fisshoptop=:fisshoptop where goodsid=:goodsid")));

    tick(form, QStringLiteral("A02"), "fisshoptop");
    db.conn().log().clear();
    form->Close();
    EXPECT_EQ(db.count(QStringLiteral("goods where fisshoptop=1")), 2);
    EXPECT_TRUE(statements().contains(QStringLiteral("exec updategoodsfield")));
}

TEST_F(GoodsList, SavedRecordShowsInTheListWhateverTheFilter) {
    addGoods(QStringLiteral("A01"), QStringLiteral("悦动"));
    addGoods(QStringLiteral("A02"), QStringLiteral("雅韵"));
    Tfrm_goods* form = open();
    form->CheckTree1->SetChecked(QStringLiteral("品牌"), QStringLiteral("悦动"), true);
    form->But_Filter->click();
    ASSERT_EQ(listCodes(form), QStringList{QStringLiteral("A01")});

    // An edited row changes in place, even when the filter would not select it any more.
    trigger(form->edit_action);
    ASSERT_TRUE(
        form->cxDBVerticalGrid1->SetRowText(QStringLiteral("brand"), QStringLiteral("雅韵")));
    trigger(form->post_action);
    ASSERT_EQ(listCodes(form), QStringList{QStringLiteral("A01")});
    EXPECT_EQ(field(form->DBgoodslist, "brand"), QStringLiteral("雅韵"));

    // A new item joins the list.
    trigger(form->append_action);
    TDBVerticalGrid* grid = form->cxDBVerticalGrid1;
    ASSERT_TRUE(grid->SetRowText(QStringLiteral("goodsid"), QStringLiteral("n01")));
    ASSERT_TRUE(grid->SetRowText(QStringLiteral("size_class"), QStringLiteral("PANTS")));
    ASSERT_TRUE(grid->SetRowText(QStringLiteral("brand"), QStringLiteral("城野")));
    trigger(form->post_action);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(QLatin1Char('/')).toStdString();
    EXPECT_EQ(sorted(listCodes(form)), sorted({QStringLiteral("A01"), QStringLiteral("N01")}));
    EXPECT_EQ(field(form->DBgoodslist, "brand"), QStringLiteral("城野"));
    EXPECT_EQ(db.count(QStringLiteral(
                  "goods where goodsid='N01' and brand='城野' and size_class='PANTS'")),
              1);
    // The free text joined the brand list; the list sends nothing of the rows it was given.
    EXPECT_TRUE(grid->Row(QStringLiteral("brand"))->Items().contains(QStringLiteral("城野")));
    EXPECT_FALSE(form->DBgoodslist->UpdatesPending());
    form->But_Filter->click();
    EXPECT_TRUE(listCodes(form).isEmpty());
}

TEST_F(GoodsList, BatchAttributeChangeChecksItsInputAndLeavesTheListAsItWas) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    addGoods(QStringLiteral("A03"));
    db.exec(
        QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
                       "values(50,'goods','','无字段',0)"));
    Tfrm_goods* form = open();
    tick(form, QStringLiteral("A01"));
    tick(form, QStringLiteral("A03"));

    form->But_FieldOK->click();
    form->Combo_Field->setCurrentIndex(form->Combo_Field->findText(QStringLiteral("季节")));
    form->But_FieldOK->click();
    form->Combo_Field->setCurrentIndex(form->Combo_Field->findText(QStringLiteral("无字段")));
    form->Edit_Value->setText(QStringLiteral("冬"));
    form->But_FieldOK->click();
    EXPECT_EQ(script.texts(),
              (QStringList{QStringLiteral("请选择货品属性!"), QStringLiteral("请输入要更改的值!"),
                           QStringLiteral("没有找到对应的数据库字段!")}));
    script.clear();
    form->Combo_Field->setCurrentIndex(form->Combo_Field->findText(QStringLiteral("季节")));
    script.answer(Answer::No);
    form->But_FieldOK->click();
    EXPECT_EQ(db.count(QStringLiteral("goods where season='冬'")), 0);
    db.conn().log().clear();
    form->But_FieldOK->click();
    EXPECT_EQ(script.texts(),
              (QStringList{QStringLiteral("是否确认更改?"), QStringLiteral("是否确认更改?"),
                           QStringLiteral("批量修改完成,请按检索过滤刷新!")}));
    EXPECT_EQ(rows(QStringLiteral("select goodsid from goods where season='冬' order by goodsid")),
              (QStringList{QStringLiteral("A01"), QStringLiteral("A03")}));
    EXPECT_TRUE(
        statements().contains(QStringLiteral("update goods set season='冬' where goodsid='A01'")));
    // The list still shows the old values until the filter runs.
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A01")));
    EXPECT_EQ(field(form->DBgoodslist, "season"), QStringLiteral("春"));
    form->But_Filter->click();
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A01")));
    EXPECT_EQ(field(form->DBgoodslist, "season"), QStringLiteral("冬"));
}

// The column a description field names goes into the statement as a name:
// anything but a goods column is refused before a statement is sent.
TEST_F(GoodsList, BatchAttributeChangeRefusesAFieldThatNamesNoGoodsColumn) {
    addGoods(QStringLiteral("A01"));
    db.exec(QStringLiteral("insert into usermain(userno,fpassword) values('admin','口令散列')"));
    db.exec(QStringLiteral(
        "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
        "values(51,'goods','remark=(select max(fpassword) from usermain),sort','备注二',0)"));
    Tfrm_goods* form = open();
    tick(form, QStringLiteral("A01"));
    form->Combo_Field->setCurrentIndex(form->Combo_Field->findText(QStringLiteral("备注二")));
    form->Edit_Value->setText(QStringLiteral("x"));
    form->But_FieldOK->click();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral(
                                  "字段设置中的“remark=(select max(fpassword) from usermain),"
                                  "sort”不是表 goods 的字段，没有做任何修改。")});
    EXPECT_EQ(rows(QStringLiteral("select isnull(remark,'-'),sort from goods")),
              QStringList{QStringLiteral("-|T恤")});
}

TEST_F(GoodsList, SelectAllAndBatchGoodsType) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    addGoods(QStringLiteral("A03"));
    db.exec(
        QStringLiteral("insert into goodstype(fcode,fname,fparentcode) values('T1','上装','0')"));
    db.exec(
        QStringLiteral("insert into goodstype(fcode,fname,fparentcode) values('T11','T恤','T1')"));
    Tfrm_goods* form = open();
    ASSERT_TRUE(form->DBgoodslist->Locate(QStringLiteral("goodsid"), QStringLiteral("A02")));
    form->Check_All->click();
    EXPECT_EQ(form->DBgoodslist->RecordCount(), 3);
    EXPECT_EQ(field(form->DBgoodslist, "goodsid"), QStringLiteral("A02"));  // the position stays
    form->Lookup_Type->setKeyValue(QStringLiteral("T11"));
    form->But_TypeOK->click();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("批量修改完成!")});
    EXPECT_EQ(db.count(QStringLiteral("goods where typecode='T11'")), 3);
    form->Check_All->click();  // unticks every row
    EXPECT_EQ(form->DBgoodslist->RecordCount(), 3);
    form->Lookup_Type->setKeyValue(QStringLiteral("T1"));
    form->But_TypeOK->click();
    EXPECT_EQ(db.count(QStringLiteral("goods where typecode='T11'")), 3);
}

TEST_F(GoodsList, NavigationMovesTheListAndTheRecordFollows) {
    addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("01"));
    addGoods(QStringLiteral("A02"), QStringLiteral("雅韵"), QStringLiteral("春"),
             QStringLiteral("02,03"));
    Tfrm_goods* form = open();
    const QStringList codes = listCodes(form);
    ASSERT_EQ(codes.size(), 2);
    auto colourCount = [](const QString& code) { return code == QStringLiteral("A01") ? 1 : 2; };
    EXPECT_FALSE(form->first_action->isVisible());
    EXPECT_FALSE(form->prio_action->isEnabled());
    trigger(form->next_action);
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), codes[1]);
    EXPECT_EQ(form->DBcolor->RecordCount(), colourCount(codes[1]));
    EXPECT_TRUE(form->prio_action->isEnabled());
    trigger(form->next_action);  // past the last row: the end is reached
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), codes[1]);
    EXPECT_FALSE(form->next_action->isEnabled());
    // Moving in the list and entering the detail page loads the row's goods item.
    form->DBgoodslist->First();
    form->ShowDetailPage();
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), codes[0]);
    EXPECT_EQ(form->DBcolor->RecordCount(), colourCount(codes[0]));
    // While editing, the record stays whatever the list does.
    trigger(form->edit_action);
    EXPECT_FALSE(form->next_action->isEnabled());
    form->DBgoodslist->Last();
    form->ShowListPage();
    form->ShowDetailPage();
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), codes[0]);
    EXPECT_EQ(db.count(QStringLiteral("syslog where fbillid='") + codes[0] +
                       QStringLiteral("' and fstate='修改'")),
              1);
}

namespace {

// The view row of a goods code in the list.
QModelIndex listCell(Tfrm_goods* form, const QString& code, const char* column) {
    TRemoteUdpDataSet* list = form->DBgoodslist;
    const int codeColumn = list->FieldByName(QStringLiteral("goodsid")).Index();
    for (int row = 0; row < list->RecordCount(); ++row)
        if (list->valueAt(row, codeColumn).toString() == code) {
            TGridModel* m = form->GridListView->gridModel();
            return m->index(m->viewRow(row),
                            form->GridListView->SectionOf(QString::fromLatin1(column)));
        }
    return {};
}

}  // namespace

// While a record is edited, a double-click in the list only shows the detail
// page, as moving in the list does: the edit is not thrown away.
TEST_F(GoodsList, DoubleClickingAnotherRowWhileEditingKeepsTheEdit) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    Tfrm_goods* form = open();
    select(form, QStringLiteral("A01"));
    trigger(form->edit_action);
    form->DBmaster_table->FieldByName(QStringLiteral("goodsname"))
        .SetAsString(QStringLiteral("改名"));
    form->ShowListPage();
    const QModelIndex other = listCell(form, QStringLiteral("A02"), "goodsname");
    ASSERT_TRUE(other.isValid());
    TDBTableView* v = form->GridListView;
    // A double-click: the first click makes the row current, the second opens it.
    auto doubleClick = [v](const QModelIndex& at) {
        v->setCurrentIndex(at);
        Q_EMIT v->doubleClicked(at);
    };
    doubleClick(other);
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabDetail);
    EXPECT_EQ(form->DBmaster_table->State(), dsEdit);
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A01"));
    EXPECT_EQ(field(form->DBmaster_table, "goodsname"), QStringLiteral("改名"));
    trigger(form->post_action);
    EXPECT_EQ(rows(QStringLiteral("select goodsname from goods order by goodsid")),
              (QStringList{QStringLiteral("改名"), QStringLiteral("品名A02")}));

    // Browsing, the double-click opens the row's item.
    form->ShowListPage();
    doubleClick(other);
    EXPECT_EQ(field(form->DBmaster_table, "goodsid"), QStringLiteral("A02"));
}

// 全选 edits every list row; saving 上架 on the detail page afterwards is not
// undone by the list's rows, which still hold the flag as read.
TEST_F(GoodsList, OnlineTickedOnTheDetailPageAfterSelectAllIsKept) {
    addGoods(QStringLiteral("A01"));
    addGoods(QStringLiteral("A02"));
    Tfrm_goods* form = open();
    form->Check_All->click();
    select(form, QStringLiteral("A01"));
    trigger(form->edit_action);
    form->Check_Top->click();
    trigger(form->post_action);
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_EQ(rows(QStringLiteral("select goodsid,fisshoptop from goods order by goodsid")),
              (QStringList{QStringLiteral("A01|1"), QStringLiteral("A02|0")}));
    EXPECT_EQ(listCell(form, QStringLiteral("A01"), "fisshoptop").data(Qt::CheckStateRole),
              int(Qt::Checked))
        << "the list shows what was saved";
    form->But_Filter->click();  // sends the list's own changes
    EXPECT_EQ(db.count(QStringLiteral("goods where fisshoptop=1")), 1);
}
