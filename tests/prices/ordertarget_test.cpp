// 客户订货目标设置: clients picked for a batch once each at 0 and saved at
// once, the batch dialog's caller contract, typed client codes from the
// client list, one target per client and batch, and amounts that are numbers.
#include <QAction>
#include <QDate>
#include <QToolButton>

#include "codes/frm_BatchNO.h"
#include "editors.h"
#include "prices/frm_orderTarget.h"
#include "selectclient.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class OrderTarget : public TermsTest {
  protected:
    Tfrm_orderTarget* form() {
        auto* f = openShown<Tfrm_orderTarget>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    // The selection dialog marks these clients and ends with OK; the batch
    // dialog ends with OK on this batch.
    void answerDialogs(const QStringList& clients, const QString& batch = {}) {
        script.onDialog([this, clients, batch](QDialog& dialog) {
            ++dialogs;
            if (auto* pick = dynamic_cast<Tfrm_selectClient*>(&dialog)) {
                for (const QString& code : clients) {
                    EXPECT_TRUE(pick->DBmaster_table->Locate("fcode", code));
                    pick->DBmaster_table->Edit();
                    pick->DBmaster_table->FieldByName("checkid").SetAsBoolean(true);
                    pick->DBmaster_table->Post();
                }
            } else if (auto* batches = dynamic_cast<Tfrm_BatchNO*>(&dialog)) {
                EXPECT_EQ(batches->TableName(), "d_order");
                EXPECT_TRUE(batches->DBmaster_table->Locate("fBatchName", batch));
            }
            return int(QDialog::Accepted);
        });
    }
    // The selection button of the current row's client code, as a user clicks it.
    void pressClientButton() {
        auto* cell = qobject_cast<md::ui::TButtonEdit*>(openEditor(v, "fClientCode"));
        ASSERT_NE(cell, nullptr);
        cell->button()->click();
        v->CancelEditor();
    }
    QStringList stored() {
        return rows(
            "select fBatchNo,fClientCode,fMoney,fInputuser from d_orderTarget order by "
            "fBatchNo,fClientCode");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
    int dialogs = 0;
};

TEST_F(OrderTarget, PickingClientsForABatchTwiceAddsEachOnceAt0) {
    auto* f = form();
    answerDialogs({"C01", "C02", "S01"});
    f->append_action->trigger();
    pressClientButton();
    EXPECT_EQ(script.texts(), QStringList{"请先选择批次!"});
    EXPECT_EQ(dialogs, 0);

    EXPECT_FALSE(typeIntoCell(v, "fBatchNo", "B1"));
    pressClientButton();
    EXPECT_EQ(dialogs, 1);
    // C01 has its target in B1 already; the row the batch came from gave way.
    EXPECT_EQ(stored(), (QStringList{"B1|C01|5000|", "B1|C02|0|u1", "B1|S01|0|u1"}));
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(rows("select count(*) from d_orderTarget where finputdate>=" +
                   QuotedStr(QDate::currentDate().toString("yyyy-MM-dd"))),
              QStringList{"2"});

    ASSERT_TRUE(ds->Locate("fClientCode", "C02"));
    f->edit_action->trigger();
    pressClientButton();
    EXPECT_EQ(stored().size(), 3) << "picked again: nothing new";
    // Not editing (the cell takes no input then): the dialog shows, nothing is added.
    f->fClientCodeButtonClick();
    EXPECT_EQ(dialogs, 3);
    EXPECT_EQ(stored().size(), 3);
}

TEST_F(OrderTarget, TheBatchDialogPutsItsBatchIntoTheEditedRow) {
    auto* f = form();
    answerDialogs({}, "B2");
    EXPECT_EQ(f->find_action->isVisible(), false);
    EXPECT_TRUE(f->batch_action->isVisible());
    // Browsing: the dialog keeps batches, the list is read again, no row comes.
    db.exec(
        "insert into Ba_BatchInfo(ftablename,fBatchName,fDate) values('d_order','B3',"
        "'2025-08-01')");
    f->batch_action->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(ds->RecordCount(), 1);
    EXPECT_EQ(column(f->DBbatch, "fBatchName"), (QStringList{"B1", "B2", "B3"}));

    f->append_action->trigger();
    f->batch_action->trigger();
    EXPECT_EQ(field(ds, "fBatchNo"), "B2");
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "C02"));
    // The row was left (saved to the cache) while the window edits: a new one comes.
    ds->Post();
    f->batch_action->trigger();
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_EQ(field(ds, "fBatchNo"), "B2");
    EXPECT_EQ(field(ds, "fClientCode"), "");
    EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(OrderTarget, TypedClientsMustBeListedAndAClientHasOneTargetPerBatch) {
    auto* f = form();
    f->append_action->trigger();
    EXPECT_TRUE(typeIntoCell(v, "fClientCode", "ZZ9"));
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "c02"));
    EXPECT_EQ(field(ds, "fabbrev"), "松江开元");
    EXPECT_TRUE(typeIntoCell(v, "fMoney", "-"));
    EXPECT_TRUE(typeIntoCell(v, "fMoney", "-100"));
    EXPECT_FALSE(typeIntoCell(v, "fMoney", "80000"));
    f->post_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "fBatchNo", "B1"));
    EXPECT_FALSE(typeIntoCell(v, "fClientCode", "C01"));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"客户编号输入有误,请重新录入!",
                                           "订货目标金额必须是数字!", "订货目标金额不能为负数!",
                                           "请先选择批次!", "不能录入相同重复的记录！"}));
    EXPECT_FALSE(typeIntoCell(v, "fBatchNo", "B2"));
    f->post_action->trigger();
    EXPECT_EQ(stored(), (QStringList{"B1|C01|5000|", "B2|C01|80000|u1"}));
    EXPECT_EQ(
        v->SummaryText(*v->Column("fClientCode")) + " " + v->SummaryText(*v->Column("fMoney")),
        "合计：2 ￥85,000.00");
}

}  // namespace
