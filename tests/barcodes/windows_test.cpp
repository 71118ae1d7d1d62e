// The windows the barcode window leads to: "打印" prints the current row's
// hang tag through the label library, "批量打印" shows the batch printing
// window beside it, "生成向导" runs the wizard modally.
#include <QApplication>

#include "barcodefixture.h"
#include "barcodes/frm_barcodeAdd.h"
#include "formfactory.h"

using namespace md::test;

class BarcodeWindows : public BarcodeTest {};

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

TEST_F(BarcodeWindows, BatchPrintShowsOneWindowBesideTheForm) {
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

TEST_F(BarcodeWindows, PrintShowsTheHangTagOfTheCurrentRow) {
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

TEST_F(BarcodeWindows, TheWizardRunsModallyAndNeedsTheAddRight) {
    Tfrm_barcode* form = open();
    QStringList shown;
    script.onDialog([&](QDialog& dialog) {
        if (qobject_cast<Tfrm_barcodeAdd*>(&dialog)) shown << QStringLiteral("wizard");
        return int(QDialog::Rejected);
    });
    form->wizard_action->trigger();
    EXPECT_EQ(shown, QStringList{"wizard"});

    form->RightAdd = false;
    form->edit_action->trigger();  // any action runs the state rule again
    EXPECT_FALSE(form->wizard_action->isEnabled());
}
