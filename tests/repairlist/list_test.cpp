// The repair list: what the filter group selects, the follow-ups of the
// current line, which actions a user gets, and what opens the note editor.
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "dbcontrols.h"
#include "gridexport.h"
#include "repairlistfixture.h"
#include "repairs/frm_GoodsReturnEdit.h"

using namespace md::test;

namespace {

class RepairList : public RepairListTest {
  protected:
    // Notes around January 2026: two outside the range, three inside.
    void addJanuary() {
        addNote("251231K0001", QDate(2025, 12, 31), "C01", false, {"G001|01|M|1||0|0|0"});
        addNote("260101K0001", QDate(2026, 1, 1), "C01", false,
                {"G001|01|M|2|S01|2|0|0", "KX200|01|L|1|S02|1|1|0"});
        addNote("260115K0001", QDate(2026, 1, 15), "C02", true, {"G001|02|S|1|S01|1|1|1"});
        addNote("260131K0001", QDate(2026, 1, 31), "C02", false, {"KX200|01|M|3||0|0|0"});
        addNote("260201K0001", QDate(2026, 2, 1), "C01", false, {"G001|01|L|1||0|0|0"});
    }
    void january(Tfrm_GoodsReturnNote* f) {
        f->Date1->setDate(QDate(2026, 1, 1));
        f->Date2->setDate(QDate(2026, 1, 31));
    }
};

TEST_F(RepairList, TheFilterSelectsByDaysClientFactoryAndCodeFragment) {
    addJanuary();
    auto* f = openList();
    // At start: this month up to today, already counted.
    EXPECT_EQ(f->Date1->date(), QDate(today().year(), today().month(), 1));
    EXPECT_EQ(f->Date2->date(), today());
    EXPECT_TRUE(list->Active());

    january(f);
    f->But_Count->click();
    // Newest note first, its lines in their order.
    EXPECT_EQ(listed(), (QStringList{"260131K0001|KX200|01", "260115K0001|G001|02",
                                     "260101K0001|G001|01", "260101K0001|KX200|01"}));
    EXPECT_EQ(value(0, "fabbrev"), "悦动");
    EXPECT_EQ(value(0, "fcolor"), "黑色");
    EXPECT_EQ(value(0, "fgoodsbillid"), "260131K0001" + lineKey("260131K0001"));

    f->Combo_Client->setKeyValue("C01");
    f->But_Count->click();
    EXPECT_EQ(listed(), (QStringList{"260101K0001|G001|01", "260101K0001|KX200|01"}));

    f->Combo_Supplier->setKeyValue("S02");
    f->But_Count->click();
    EXPECT_EQ(listed(), (QStringList{"260101K0001|KX200|01"}));

    f->Combo_Client->setKeyValue("");
    f->Combo_Supplier->setKeyValue("");
    f->Edit_GoodsID->setText("X2");
    f->But_Count->click();
    EXPECT_EQ(listed(), (QStringList{"260131K0001|KX200|01", "260101K0001|KX200|01"}));

    // Typed text stays text, quotes and all.
    f->Edit_GoodsID->setText("G'0");
    EXPECT_TRUE(f->Conditions().endsWith(" and a.fgoodsid like '%G''0%'"))
        << f->Conditions().toStdString();
    f->But_Count->click();
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();

    // A range that ends before it starts is refused.
    f->Date1->setDate(QDate(2026, 2, 1));
    f->But_Count->click();
    EXPECT_EQ(script.texts(), QStringList{"开始日期不能晚于结束日期！"});
}

TEST_F(RepairList, TheFollowUpsShownAreThoseOfTheCurrentLine) {
    addJanuary();
    const QString first = lineKey("260101K0001", 0), second = lineKey("260101K0001", 1);
    for (const auto& [key, remark] : {std::pair{first, "已寄工厂"}, std::pair{first, "工厂已收货"},
                                      std::pair{second, "待检验"}})
        db.exec(QStringLiteral("insert into d_GoodsReturnTran(fbillid,fBillAutoid,fgoodsbillid,"
                               "fTranRemark,finputuser,finputusername,finputdate) values("
                               "'260101K0001',%1,'260101K0001%1','%2','u1','张敏','2026-01-02')")
                    .arg(key, QString::fromUtf8(remark)));
    auto* f = openList();
    january(f);
    f->But_Count->click();
    auto remarks = [f] {
        QStringList out;
        TRemoteUdpDataSet* t = f->DBtran_table;
        const int at = t->FieldByName("fTranRemark").Index();
        for (int row = 0; row < t->RecordCount(); ++row) out << t->valueAt(row, at).toString();
        return out;
    };
    go(2);
    EXPECT_EQ(remarks(), (QStringList{"已寄工厂", "工厂已收货"}));
    go(3);
    EXPECT_EQ(remarks(), QStringList{"待检验"});
    go(0);
    EXPECT_TRUE(remarks().isEmpty());
}

TEST_F(RepairList, StepActionsNeedLinesAndTheirRightsAndEditNeedsANoteNotApproved) {
    addJanuary();
    grant({"b_browse"}, "M_SupBack");
    auto* f = openList();
    // This month holds no notes.
    if (list->IsEmpty()) {
        EXPECT_FALSE(f->edit_action->isEnabled());
        EXPECT_FALSE(f->SupBack_action->isEnabled());
    }
    f->Date1->setDate(QDate(2026, 3, 1));
    f->Date2->setDate(QDate(2026, 3, 31));
    f->But_Count->click();
    ASSERT_TRUE(list->IsEmpty());
    for (QAction* a : {f->edit_action, f->BackSup_action, f->SupBack_action, f->BackClient_action})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(f->append_action->isEnabled());
    EXPECT_TRUE(f->excel_action->isEnabled());

    january(f);
    f->But_Count->click();
    go(0);
    EXPECT_TRUE(f->edit_action->isEnabled());
    // Only the step whose right the user holds, looked up when the window opened.
    EXPECT_FALSE(f->RightBackSup);
    EXPECT_TRUE(f->RightSupBack);
    EXPECT_FALSE(f->BackSup_action->isEnabled());
    EXPECT_TRUE(f->SupBack_action->isEnabled());
    EXPECT_FALSE(f->BackClient_action->isEnabled());
    go(1);  // 260115K0001 is approved
    EXPECT_FALSE(f->edit_action->isEnabled());
    f->edit_action->trigger();
    EXPECT_TRUE(openings.isEmpty());
    go(2);
    EXPECT_TRUE(f->edit_action->isEnabled());

    // Rights granted later count only in a window opened later.
    grant({"b_browse"}, "M_BackSup");
    grant({"b_browse"}, "M_BackClient");
    EXPECT_FALSE(f->BackSup_action->isEnabled());
    auto* g = openList();
    january(g);
    g->But_Count->click();
    EXPECT_TRUE(g->BackSup_action->isEnabled());
    EXPECT_TRUE(g->BackClient_action->isEnabled());
}

TEST_F(RepairList, WithoutRightsNothingChanges) {
    addJanuary();
    db.exec("delete from dr_rightdetail");
    auto* f = openList();
    january(f);
    f->But_Count->click();
    for (QAction* a : {f->append_action, f->edit_action, f->BackSup_action, f->SupBack_action,
                       f->BackClient_action, f->excel_action})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(f->close_action->isEnabled());
    EXPECT_EQ(openCell(0, "fsupqty"), nullptr) << "no in-place input either";
}

TEST_F(RepairList, EachActionOpensTheNoteEditorInItsModeAndOkReadsTheListAgain) {
    addJanuary();
    grant({"b_browse"}, "M_BackSup");
    grant({"b_browse"}, "M_SupBack");
    grant({"b_browse"}, "M_BackClient");
    auto* f = openList();
    january(f);
    f->But_Count->click();
    go(3);  // 260101K0001, its second line

    // A double-click on a line's cell opens its note read-only.
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    const QModelIndex cell = v->gridModel()->index(3, v->SectionOf("goodsname"));
    const QPoint at = v->visualRect(cell).center();
    // As the window system delivers it: the second press comes with the double-click.
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(openings, QStringList{"0|260101K0001"});

    f->BackSup_action->trigger();
    f->SupBack_action->trigger();
    f->BackClient_action->trigger();
    f->append_action->trigger();
    go(0);
    f->edit_action->trigger();
    EXPECT_EQ(openings, (QStringList{"0|260101K0001", "3|260101K0001", "4|260101K0001",
                                     "5|260101K0001", "1|", "2|260131K0001"}));
    // Cancelled: nothing logged.
    EXPECT_EQ(db.count("syslog where fstate<>'进入'"), 0);

    // Closed with OK: the list is read again and stays on the line.
    go(3);
    editorAnswer = true;
    db.exec("update d_GoodsReturnNoteDetail set fsupreturnqty=1 where fbillid='260101K0001'");
    f->SupBack_action->trigger();
    EXPECT_EQ(value(2, "fsupreturnqty"), "1");
    EXPECT_EQ(list->RecNo(), 4);
    EXPECT_EQ(rows("select fstate,fbillid from syslog where fstate<>'进入'"),
              QStringList{"工厂返回|260101K0001"});
}

TEST_F(RepairList, TheNoteEditorItselfOpensOnTheCurrentNoteReadOnlyByADoubleClick) {
    addJanuary();
    auto* f = open<Tfrm_GoodsReturnNote>();  // with the real editor
    v = f->cxGrid1DBTableView1;
    list = f->DBmaster_table;
    january(f);
    f->But_Count->click();
    go(3);
    QString shown;
    int mode = -1;
    bool okOn = true;
    script.onDialog([&](QDialog& dialog) {
        if (auto* editor = dynamic_cast<Tfrm_GoodsReturnEdit*>(&dialog)) {
            shown = editor->windowTitle() + '|' + editor->Edit_BillId->text();
            mode = int(editor->Mode());
            okOn = editor->But_OK->isEnabled();
        }
        return int(QDialog::Rejected);
    });
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    const QPoint at = v->visualRect(v->gridModel()->index(3, v->SectionOf("fgoodsid"))).center();
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(shown, "商品返修登记|260101K0001");
    EXPECT_EQ(mode, int(md::ui::RepairNoteMode::View));
    EXPECT_FALSE(okOn);
}

TEST_F(RepairList, ExportWritesTheListToAWorkbook) {
    addJanuary();
    QTemporaryDir dir;
    QStringList opened;
    md::ui::SetDesktopOpener([&opened](const QString& file) { opened << file; });
    auto* f = openList();
    january(f);
    f->But_Count->click();
    const QString file = dir.filePath("repairs");
    script.onDialog([&](QDialog& dialog) {
        auto* save = qobject_cast<QFileDialog*>(&dialog);
        if (!save) return int(QDialog::Rejected);
        save->selectFile(file);
        return int(QDialog::Accepted);
    });
    f->excel_action->trigger();
    md::ui::SetDesktopOpener({});
    ASSERT_EQ(opened, QStringList{file + ".xlsx"}) << script.texts().join('\n').toStdString();
    EXPECT_GT(QFileInfo(opened.first()).size(), 0);
    EXPECT_EQ(db.count("syslog where fstate='导出'"), 1);
}

}  // namespace
