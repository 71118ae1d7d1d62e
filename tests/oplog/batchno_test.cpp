// The batch number dialog: batches saved under the caller's table; F4 and
// 取消 ask first; "确定" without a change sends nothing; closing only hides
// the dialog, so the caller reads the chosen batch afterwards.
#include <QApplication>
#include <QDate>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "codes/frm_BatchNO.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "oplogfixture.h"
#include "remoteudpdataset.h"

using namespace md::test;
using md::ui::Answer;

namespace {

class BatchNo : public OplogTest {
  protected:
    BatchNo() {
        db.exec(
            "insert into ba_BatchInfo(ftablename,fBatchName,fDate,fType) values"
            "('d_order','2025QD01','2025-05-20','秋冬'),('d_order','2025CX01','2024-11-05',"
            "'春夏'),('d_sale','X1','2025-01-01','其他')");
    }
    Tfrm_BatchNO* openFor(const char* table) {
        auto* f = open<Tfrm_BatchNO>();
        f->OpenForTable(table);
        f->show();
        QApplication::setActiveWindow(f);
        return f;
    }
    // Opens the cell editor of the field on the current row and types into it:
    // letters as keys, Chinese as the input method's commit.
    static void typeInto(Tfrm_BatchNO* f, const char* field, const QString& text) {
        TDBTableView* v = f->cxGrid1DBTableView1;
        v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(), v->SectionOf(field)));
        v->edit(v->currentIndex());
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        ASSERT_NE(editor, nullptr);
        if (auto* line = editor->findChild<QLineEdit*>()) editor = line;
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(editor, char(c.unicode()));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(editor, &commit);
            }
        }
        QTest::keyClick(editor, Qt::Key_Tab);
    }
    static void key(Tfrm_BatchNO* f, Qt::Key k) {
        f->cxGrid1DBTableView1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), k);
    }
    QStringList names() {
        return rows(
            "select fBatchName from ba_BatchInfo where ftablename='d_order' order by fdate");
    }
};

TEST_F(BatchNo, ANewBatchCarriesTheCallersTableTheDayAndTheUser) {
    auto* f = openFor("d_order");
    key(f, Qt::Key_F2);
    ASSERT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_FALSE(f->But_Add->isEnabled());
    typeInto(f, "fType", "补单");
    f->But_Save->click();
    EXPECT_EQ(script.texts(), QStringList{"批号不能为空!"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert) << "refused, still as typed";

    script.clear();
    typeInto(f, "fBatchName", "2026CX01");
    f->But_Save->click();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(rows("select ftablename,ftype,fInputUser from ba_BatchInfo where fBatchName="
                   "'2026CX01' and fdate='" +
                   today + "' and fInputdate='" + today + "'"),
              QStringList{"d_order|补单|u1"});
    EXPECT_TRUE(f->But_Add->isEnabled());
}

TEST_F(BatchNo, F4AndCancelAskFirstAndNoChangesNothing) {
    auto* f = openFor("d_order");
    ASSERT_TRUE(f->DBmaster_table->Locate("fBatchName", "2025CX01"));
    script.answer(Answer::No);
    key(f, Qt::Key_F4);
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除?"});
    EXPECT_EQ(names(), (QStringList{"2025CX01", "2025QD01"}));
    key(f, Qt::Key_F4);
    EXPECT_EQ(names(), QStringList{"2025QD01"});
    EXPECT_EQ(db.count("ba_BatchInfo where ftablename='d_sale'"), 1);

    script.clear();
    f->But_Edit->click();
    typeInto(f, "fType", "改");
    script.answer(Answer::No);
    f->But_Cancel->click();
    EXPECT_EQ(f->DBmaster_table->State(), dsEdit);
    f->But_Cancel->click();
    EXPECT_EQ(script.texts(), QStringList(2, "是否确认放弃此次编辑的内容?"));
    EXPECT_EQ(f->DBmaster_table->FieldByName("fType").AsString(), "秋冬");
    EXPECT_EQ(db.count("ba_BatchInfo where fType='改'"), 0);
}

TEST_F(BatchNo, OkSendsOnlyWhatChangedAndClosingOnlyHides) {
    QPointer<Tfrm_BatchNO> f = openFor("d_order");
    ASSERT_TRUE(f->DBmaster_table->Locate("fBatchName", "2025QD01"));
    db.conn().log().clear();
    f->But_OK->click();
    EXPECT_TRUE(db.conn().log().entries().isEmpty()) << db.conn().log().last().toStdString();
    EXPECT_EQ(f->result(), QDialog::Accepted);
    flushDeletes();
    ASSERT_FALSE(f.isNull()) << "not freed";
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->BatchName(), "2025QD01");

    // A row typed into and left for another one is still sent by 确定.
    f->show();
    ASSERT_TRUE(f->DBmaster_table->Locate("fBatchName", "2025CX01"));
    typeInto(f, "fRemark", "urgent");
    f->DBmaster_table->Next();
    EXPECT_TRUE(f->But_Save->isEnabled());
    f->But_OK->click();
    EXPECT_EQ(rows("select fRemark from ba_BatchInfo where fBatchName='2025CX01'"),
              QStringList{"urgent"});

    // The frame's close button drops the edit like 关闭.
    f->show();
    f->But_Add->click();
    typeInto(f, "fBatchName", "LOST");
    f->close();
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
    EXPECT_EQ(db.count("ba_BatchInfo where fBatchName='LOST'"), 0);
    EXPECT_EQ(states(), QStringList{"进入"}) << "no 离开";
}

// The order target window's 批次维护: the chosen batch goes into the record it
// is editing, or a new one when it was browsing; nothing without OK or editing.
TEST_F(BatchNo, TheCallerGetsTheChosenBatchOnlyAfterOkWhileEditing) {
    TRemoteUdpDataSet caller;
    caller.AddField("fbatchno", ftString, 15);
    caller.CreateDataSet();
    caller.Append();
    caller.Post();
    auto choose = [this](const char* batch, bool ok) {
        script.onDialog([batch, ok](QDialog& d) {
            auto& dialog = static_cast<Tfrm_BatchNO&>(d);
            EXPECT_TRUE(dialog.DBmaster_table->Locate("fBatchName", batch));
            (ok ? dialog.But_OK : dialog.But_Close)->click();
            return dialog.result();
        });
    };
    caller.Edit();
    choose("2025QD01", true);
    EXPECT_TRUE(md::ui::PutChosenBatch(nullptr, "d_order", caller, true));
    EXPECT_EQ(caller.FieldByName("fbatchno").AsString(), "2025QD01");
    caller.Post();

    choose("2025CX01", true);
    EXPECT_TRUE(md::ui::PutChosenBatch(nullptr, "d_order", caller, true));
    EXPECT_EQ(caller.State(), dsInsert) << "a browsing caller gets a new record";
    EXPECT_EQ(caller.FieldByName("fbatchno").AsString(), "2025CX01");
    caller.Cancel();

    choose("2025CX01", false);
    EXPECT_FALSE(md::ui::PutChosenBatch(nullptr, "d_order", caller, true));
    choose("2025CX01", true);
    EXPECT_FALSE(md::ui::PutChosenBatch(nullptr, "d_order", caller, false));
    EXPECT_EQ(caller.RecordCount(), 1);
    EXPECT_EQ(caller.FieldByName("fbatchno").AsString(), "2025QD01");
}

}  // namespace
