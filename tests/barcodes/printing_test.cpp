// "打印" prints the current row's hang tag through the label library;
// "批量打印" shows the batch printing window.
#include <QApplication>

#include "barcodefixture.h"
#include "formfactory.h"

using namespace md::test;

class BarcodePrinting : public BarcodeTest {};

namespace {

// Stands in for the batch printing window: counts how often it is made.
class FakeBatchPrint : public Tbase_frm {
  public:
    static inline int made = 0;
    explicit FakeBatchPrint(QWidget* owner) : Tbase_frm(owner) { ++made; }
};

const md::ui::RegisterFormClass registerFakeBatchPrint("Tfrm_bardetail",
                                                       &md::ui::makeForm<FakeBatchPrint>);

}  // namespace

TEST_F(BarcodePrinting, BatchPrintShowsOneWindowBesideTheForm) {
    Tfrm_barcode* form = open();
    FakeBatchPrint::made = 0;
    form->batchprint_action->trigger();
    form->batchprint_action->trigger();
    EXPECT_EQ(FakeBatchPrint::made, 1);
    const auto windows = QApplication::topLevelWidgets();
    auto shown = std::find_if(windows.begin(), windows.end(), [](QWidget* w) {
        return dynamic_cast<FakeBatchPrint*>(w) && w->isVisible();
    });
    ASSERT_NE(shown, windows.end());
    EXPECT_FALSE((*shown)->isModal());
    delete *shown;
}

TEST_F(BarcodePrinting, PrintShowsTheHangTagOfTheCurrentRow) {
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("B01"));
    go(form, QStringLiteral("B01/02/L"));
    QString title;
    script.onDialog([&](QDialog& dialog) {
        title = dialog.windowTitle();
        return int(QDialog::Rejected);
    });
    db.conn().log().clear();
    form->print_action->trigger();
    EXPECT_EQ(title, QStringLiteral("打印预览 - 吊牌"));
    EXPECT_TRUE(statements().contains(
        QStringLiteral("select top 1 * from vbarcode where 条形码1='B0102L'")));
    EXPECT_EQ(rows(QStringLiteral("select fstate from syslog order by fautoid")).last(),
              QStringLiteral("打印"));
}
