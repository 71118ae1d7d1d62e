// Pictures of the two recalculations after "计算" over the demo data and of
// the import dialog holding refused rows, for a person to look at
// (/tmp/plancac.png, clientplanpricecac.png, planpriceadd.png).
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>

#include "costsfixture.h"
#include "demo/demodata.h"
#include "editors.h"
#include "prices/frm_ClientPlanPriceCac.h"
#include "prices/frm_PlanCac.h"
#include "prices/frm_PlanPriceAdd.h"

namespace md::test {
namespace {

class CostPictures : public FormTest {
  protected:
    CostPictures() : FormTest(QStringLiteral("frm_planprice")) {
        md::Shared().ClientScopeAll = true;
        md::Shared().BrandScopeAll = true;
        md::server::createDemoData(db.conn());
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_excel", "b_print"});
    }
    static void save(QWidget* window, const char* name) {
        window->resize(window->size());
        window->show();
        QApplication::processEvents();
        EXPECT_TRUE(window->grab().toImage().save(
            QDir::temp().filePath(QString::fromLatin1(name) + QStringLiteral(".png"))));
    }
};

TEST_F(CostPictures, RecalculationsAfterComputingAndTheImportWithRefusedRows) {
    auto* house = open<Tfrm_PlanCac>();
    ASSERT_EQ(house->Combo_date->count(), 2) << "the demo's two snapshots of CK02";
    house->Combo_date->setCurrentIndex(0);
    house->cac_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_GT(house->DBmaster_table->RecordCount(), 20);
    EXPECT_GT(db.count(QStringLiteral("hstock_planprice where fplanprice>0")), 20)
        << "the opening balances are costed from the receipts before them";
    save(house, "plancac");

    auto* shop = open<Tfrm_ClientPlanPriceCac>();
    shop->Lookup_shop->setKeyValue(QStringLiteral("S0101"));
    ASSERT_EQ(shop->Combo_date->count(), 2);
    shop->Combo_date->setCurrentIndex(1);
    shop->cac_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_GT(shop->DBmaster_table->RecordCount(), 5);
    save(shop, "clientplanpricecac");

    auto* import = open<Tfrm_PlanPriceAdd>();
    import->Import = [](const QList<TPastedCost>& costs) { QList<TRefusedCost> refused;
    for (const TPastedCost& cost : costs)
        if (cost.goodsid.startsWith(QLatin1Char('X')))
            refused << TRefusedCost{cost.row, QStringLiteral("货号不存在!")};
    return refused;
};
import->PasteText(
    QStringLiteral("货号\t参考成本价\nCY241C0001\t91.5\nCY241T0002\t三十\n"
                   "X0001\t20\nCY241W0003\t-8\n"));
import->But_OK->click();
save(import, "planpriceadd");
}  // namespace

}  // namespace md::test
}  // namespace md::test
