// 货号选择: the goods picker's query (brand scope, attribute condition, code)
// and the rows it hands back.
#include "selectgoods.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>

#include "checktree.h"
#include "samplesfixture.h"

using namespace md::test;

namespace {

const QChar CR(13);

}  // namespace

class GoodsPicker : public SamplesTest {
  protected:
    GoodsPicker() {
        db.exec(
            QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,"
                           "visiblebit) values(1,'goods','season','季节',1)"));
        for (const char* season : {"春", "夏"})
            db.exec(QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,"
                                   "fFieldValues) values('goods','season','%1')")
                        .arg(QString::fromUtf8(season)));
        const char* const goods[][3] = {{"A01", "雅韵", "春"},
                                        {"A02", "雅韵", "夏"},
                                        {"B01", "悦动", "春"},
                                        {"A10", "雅韵", "春"}};
        for (const auto& g : goods)
            db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,season,ayear,sort,"
                                   "unitprice) values('%1','品%1','%2','%3','2026','T恤',99.5)")
                        .arg(QString::fromUtf8(g[0]), QString::fromUtf8(g[1]),
                             QString::fromUtf8(g[2])));
    }
    static QStringList codes(Tfrm_selectgoods* dialog) {
        QStringList found;
        TRemoteUdpDataSet* ds = dialog->DBmaster_table;
        const int column = ds->FieldByName(QStringLiteral("goodsid")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            found << ds->valueAt(row, column).toString();
        found.sort();
        return found;
    }
};

TEST_F(GoodsPicker, QueryAddsBrandScopeConditionAndCodeInThatOrder) {
    const QString head = QStringLiteral(
        "select checkid,goodsid,goodsname,ayear,season,brand,unit,sort,item,sex,size_class,"
        "unitprice,strat,inputdate from fn_checkgoods('') where 1=1 ");
    md::Shared().BrandScopeAll = true;
    EXPECT_EQ(Tfrm_selectgoods::FilterSQL(QString(), QString()), head + CR);
    md::Shared().BrandScopeAll = false;
    md::Shared().BrandScopeList = QStringLiteral("'雅韵','悦动'");
    EXPECT_EQ(
        Tfrm_selectgoods::FilterSQL(QStringLiteral("(season in('春'))"), QStringLiteral("A'")),
        head + CR + QStringLiteral(" and brand in('雅韵','悦动')") + CR +
            QStringLiteral(" and (season in('春')) and goodsid like '%A''%'"));
}

TEST_F(GoodsPicker, FindsTheUsersGoodsAndHandsBackTheMarkedRows) {
    md::Shared().BrandScopeAll = false;
    md::Shared().BrandScopeList = QStringLiteral("'雅韵'");
    auto* dialog = md::ui::CreateForm<Tfrm_selectgoods>();
    std::unique_ptr<Tfrm_selectgoods> owned(dialog);
    EXPECT_FALSE(dialog->But_OK->isEnabled());
    dialog->show();
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    dialog->Edit_goodsid->setFocus();

    dialog->cxTreeView1->SetChecked(QStringLiteral("季节"), QStringLiteral("春"), true);
    QTest::keyClicks(dialog->Edit_goodsid, QStringLiteral("a0"));
    QTest::keyClick(dialog->Edit_goodsid, Qt::Key_Return);
    EXPECT_EQ(codes(dialog), QStringList({QStringLiteral("A01")})) << "brand, season and code";
    dialog->cxTreeView1->SetChecked(QStringLiteral("季节"), QStringLiteral("春"), false);
    dialog->Edit_goodsid->clear();
    dialog->But_Find->click();
    EXPECT_EQ(codes(dialog),
              QStringList({QStringLiteral("A01"), QStringLiteral("A02"), QStringLiteral("A10")}));
    EXPECT_TRUE(dialog->But_OK->isEnabled());

    dialog->CheckBox_all->click();
    ASSERT_TRUE(dialog->DBmaster_table->Locate(QStringLiteral("goodsid"), QStringLiteral("A02")));
    dialog->cxGrid1DBTableView1DblClick();  // unmarks A02 again
    QStringList picked;
    for (const TPickedGoods& goods : dialog->CheckedRows())
        picked << goods.goodsid + QLatin1Char('|') + goods.goodsname + QLatin1Char('|') +
                      goods.brand + QLatin1Char('|') + QString::number(goods.unitprice);
    picked.sort();
    EXPECT_EQ(picked, QStringList({QStringLiteral("A01|品A01|雅韵|99.5"),
                                   QStringLiteral("A10|品A10|雅韵|99.5")}));
    EXPECT_TRUE(dialog->grab().save(QDir::temp().filePath(QStringLiteral("selectgoods.png"))));

    // After OK closed the dialog the caller still reads what was marked.
    dialog->But_OK->click();
    EXPECT_EQ(dialog->CheckedRows().size(), 2);
    EXPECT_EQ(db.count(QStringLiteral("goods")), 4) << "the marks are never sent";
}

TEST_F(GoodsPicker, PickGoodsGivesNothingAfterCancel) {
    md::Shared().BrandScopeAll = true;
    script.onDialog([](QDialog& dialog) {
        auto& picker = static_cast<Tfrm_selectgoods&>(dialog);
        picker.But_Find->click();
        picker.CheckBox_all->click();
        picker.But_Cancel->click();
        return picker.result();
    });
    EXPECT_TRUE(md::ui::PickGoods(nullptr).isEmpty());
    script.onDialog([](QDialog& dialog) {
        auto& picker = static_cast<Tfrm_selectgoods&>(dialog);
        QTest::keyClicks(picker.Edit_goodsid, QStringLiteral("B"));
        picker.But_Find->click();
        picker.CheckBox_all->click();
        picker.But_OK->click();
        return picker.result();
    });
    const QList<TPickedGoods> picked = md::ui::PickGoods(nullptr);
    ASSERT_EQ(picked.size(), 1);
    EXPECT_EQ(picked.first().goodsid, QStringLiteral("B01"));
    EXPECT_EQ(picked.first().season, QStringLiteral("春"));
}
