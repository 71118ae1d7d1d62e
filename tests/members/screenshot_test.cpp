// Pictures of the member windows for a person to look at: /tmp/vip_list.png,
// vip_detail.png, vip_batch.png, vip_import.png and vip_report.png.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "editors.h"
#include "members/frm_VipBatch.h"
#include "members/frm_VipCarInput.h"
#include "members/frm_vipcard.h"
#include "membersfixture.h"
#include "reportbridge.h"

using namespace md::test;

namespace {

void picture(QWidget* window, const char* name) {
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().toImage().save(QDir::temp().filePath(QString::fromLatin1(name))))
        << name;
}

class MemberPictures : public MembersTest {};

TEST_F(MemberPictures, WindowsAndDialogs) {
    auto* f = openShown<Tfrm_vipcard>();
    f->resize(960, 600);
    picture(f, "vip_list.png");
    ASSERT_TRUE(f->DBmaster_table->Locate("vipid", "V01020001"));
    f->ShowDetailPage();
    picture(f, "vip_detail.png");

    Tfrm_VipBatch batch(f);
    batch.OpenLists();
    batch.Edit_Begin->setText("000100");
    batch.Edit_End->setText("000199");
    batch.Edit_Prefix->setText("YY");
    batch.Lookup_Grade->setEditText("1002");
    batch.Lookup_Shop->setEditText("S0101");
    batch.Date_End->setDate(QDate(2027, 12, 31));
    batch.show();
    picture(&batch, "vip_batch.png");

    Tfrm_VipCarInput* import = f->ImportForm();
    import->PasteText(
        "V9001\t张三\t2025-01-01\t2026-12-31\t普通会员\t湖滨银泰店\t120\t女\r\n"
        "V9002\t李四\t2025/3/5\t20261231\t金卡会员\t雅韵上海南京东路店\t\t男\r\n"
        "V01010001\t吴九\t2025-01-01\t2026-12-31\t钻石会员\t湖滨银泰店\r\n"
        "V9009\t郑十\t2025-01-01\t\t银卡会员\t不存在的店\r\n");
    import->But_CheckClick();
    import->show();
    picture(import, "vip_import.png");
    import->hide();

    // The member report of the plug-in beside the program.
    f->excel_action->trigger();
    if (auto* report = qobject_cast<QWidget*>(md::lastReportWindow())) {
        report->resize(1100, 420);
        report->show();
        picture(report, "vip_report.png");
        report->close();
    }
}

}  // namespace
