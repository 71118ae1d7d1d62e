// 参考成本价导入: a cost list pasted from a spreadsheet into the dialog and
// imported into 货品参考成本价's list; bad rows stay with their reason.
#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

#include "costsfixture.h"
#include "prices/frm_PlanPriceAdd.h"
#include "prices/frm_planprice.h"

namespace md::test {
namespace {

class PlanPriceImport : public CostsTest {
  protected:
    QStringList stored() {
        return rows(
            QStringLiteral("select fgoodsid,planprice,goodsno from planprice order by fgoodsid"));
    }
    // Opens 导入 on the list, pastes the text into its grid as the user does
    // (Ctrl+V), then presses 确定 (or 取消). Returns the list the dialog kept
    // ("code|cost|reason"), empty when it closed.
    QStringList importText(Tfrm_planprice* form, const QString& text, bool ok = true) {
        QStringList kept;
        script.onDialog([&](QDialog& shown) {
            auto& dialog = static_cast<Tfrm_PlanPriceAdd&>(shown);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("参考成本价导入"));
            EXPECT_EQ(dialog.DBlist->RecordCount(), 0) << "each time an empty list";
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            dialog.cxGrid1DBTableView1->setFocus();
            QApplication::clipboard()->setText(text);
            QTest::keyClick(dialog.cxGrid1DBTableView1, Qt::Key_V, Qt::ControlModifier);
            (ok ? dialog.But_OK : dialog.But_Cancel)->click();
            if (dialog.isVisible()) {
                TRemoteUdpDataSet* list = dialog.DBlist;
                for (int row = 0; row < list->RecordCount(); ++row) {
                    QStringList cells;
                    for (int field = 0; field < 3; ++field)
                        cells << list->displayTextAt(row, field);
                    kept << cells.join(QLatin1Char('|'));
                }
                dialog.reject();
            }
            return dialog.result();
        });
        form->first_action->setEnabled(true);
        form->first_action->trigger();
        return kept;
    }
};

TEST_F(PlanPriceImport, SetsListedCostsAddsNewGoodsAndPassesOverRowsWithoutCode) {
    auto* form = openShown<Tfrm_planprice>();
    const QStringList kept = importText(
        form, QStringLiteral("货号\t参考成本价\r\ng001\t88\r\n\t50\r\nG004\t\"1,044.5\"\r\n"
                             "G003\t30\r\nG003\t31\r\n"));
    EXPECT_TRUE(kept.isEmpty()) << kept.join('\n').toStdString();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored(),
              QStringList({QStringLiteral("G001|88|N1"), QStringLiteral("G002|120|N2"),
                           QStringLiteral("G003|31|N3"), QStringLiteral("G004|1044.5|N4")}))
        << "the caption row and the row without a code are passed over; a code twice keeps "
           "the later cost";
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 4) << "the list is read again";

    // A new code then edited in the grid: found again by the GoodsNo it was given.
    ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fgoodsid"), QStringLiteral("G004")));
    form->edit_action->trigger();
    typeIntoCell(form->cxGrid1DBTableView1, form->DBmaster_table->RecNo() - 1, "planprice",
                 QStringLiteral("45"));
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored().value(3), QStringLiteral("G004|45|N4"));
}

TEST_F(PlanPriceImport, BadRowsAreListedWithTheirReasonAndTheGoodRowsImported) {
    auto* form = openShown<Tfrm_planprice>();
    // A search that hides G002: its cost is still found and set.
    form->Edit_goodsid->setText(QStringLiteral("1"));
    form->But_Find->click();
    const QStringList kept =
        importText(form, QStringLiteral("G001\t90\nG003\tabc\nG004\t-5\nX999\t10\nG002\t130\n"
                                        "G005\t\n"));
    EXPECT_EQ(kept, QStringList({QStringLiteral("G003||参考成本价必须是数字!(abc)"),
                                 QStringLiteral("G004|-5|参考成本价不能为负数!"),
                                 QStringLiteral("X999|10|货号不存在!"),
                                 QStringLiteral("G005||参考成本价不能为空!")}));
    ASSERT_EQ(script.texts().size(), 1);
    EXPECT_EQ(script.texts().first(),
              QStringLiteral("以下4行没有导入：\n第2行 G003：参考成本价必须是数字!(abc)\n"
                             "第3行 G004：参考成本价不能为负数!\n第4行 X999：货号不存在!\n"
                             "第6行 G005：参考成本价不能为空!"));
    EXPECT_EQ(stored(), QStringList({QStringLiteral("G001|90|N1"), QStringLiteral("G002|130|N2")}))
        << "nothing else changed";
    EXPECT_EQ(pairs(form->DBmaster_table, "planprice"), QStringList({QStringLiteral("G001=90")}));
}

TEST_F(PlanPriceImport, CancelChangesNothing) {
    auto* form = openShown<Tfrm_planprice>();
    importText(form, QStringLiteral("G001\t90\nG003\t30\n"), false);
    EXPECT_EQ(stored(), QStringList({QStringLiteral("G001|0|N1"), QStringLiteral("G002|120|N2")}));
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
}

}  // namespace
}  // namespace md::test
