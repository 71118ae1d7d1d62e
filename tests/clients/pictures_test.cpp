// The client window over the demo's clients, as a person sees it: pictures of
// its pages and of the client report it opens (/tmp/client_detail.png,
// client_list.png, client_extra.png, client_survey.png, client_report.png).
#include <QApplication>
#include <QMdiSubWindow>

#include "dbcontrols.h"
#include "demo/demodata.h"
#include "formfixture.h"
#include "grid.h"
#include "partners/frm_client.h"
#include "remoteudpdataset.h"
#include "reportbridge.h"
#include "treelist.h"
#include "treelookup.h"

using namespace md::test;

namespace {

class ClientPictures : public FormTest {
  protected:
    ClientPictures() : FormTest(QStringLiteral("frm_client")) {
        md::server::createDemoData(db.conn(), 30);
        md::Shared().ClientScopeAll = true;
        md::Shared().PriceVisible = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
    }
    static void picture(QWidget* w, const char* file) {
        QCoreApplication::processEvents();
        w->grab().save(QStringLiteral("/tmp/") + QString::fromLatin1(file));
    }
};

TEST_F(ClientPictures, PagesAndTheClientReport) {
    auto* f = open<Tfrm_client>();
    f->show();
    // The company at the top, everyone else below it; the shop user's shops under its own retail.
    EXPECT_EQ(f->dxDBTreeList1->model()->rowCount(), 1);
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "S0102"));
    EXPECT_EQ(f->dxDBTreeList1->currentIndex().parent().data().toString(), "C01");
    EXPECT_EQ(f->Lookup_Parent->currentText(), "C01");
    EXPECT_FALSE(f->Lookup_Salesman->currentText().isEmpty());
    picture(f, "client_detail.png");
    f->ShowListPage();
    picture(f, "client_list.png");
    f->PageControl1->setCurrentWidget(f->TabExtra);
    picture(f, "client_extra.png");
    f->PageControl1->setCurrentWidget(f->TabSurvey);
    picture(f, "client_survey.png");

    // The demo's documents name a shop user's shop, and two clients by money only.
    for (const char* code : {"S0102", "C02", "F0201"}) {
        ASSERT_TRUE(f->DBmaster_table->Locate("fcode", code));
        script.clear();
        f->del_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{"不能删除已经发生业务的客户档案!"}) << code;
    }

    // 导出 opens the client report of the report plug-in beside the program.
    f->excel_action->trigger();
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    if (!report) GTEST_SKIP() << "no report plug-in beside the test program";
    EXPECT_EQ(report->windowTitle(), "客户资料表");
    auto* rows = report->findChild<TRemoteUdpDataSet*>("DBmaster_table");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->RecordCount(), f->DBmaster_table->RecordCount());
    ASSERT_TRUE(rows->Locate("fcode", "C02"));
    EXPECT_EQ(rows->FieldByName("fareaname").AsString(), "上海");
    EXPECT_EQ(rows->FieldByName("fcredit").AsFloat(), 500000);
    report->resize(1100, 520);
    report->show();
    picture(report, "client_report.png");
    report->close();
}

}  // namespace
