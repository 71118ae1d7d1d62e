// Pictures of the supplier windows for a person to look at:
// /tmp/supplier_detail.png, supplier_quotes.png and supplier_report.png.
#include <QAction>
#include <QDir>

#include "partners/frm_SupplierPrice.h"
#include "partners/frm_supplier.h"
#include "reportbridge.h"
#include "suppliersfixture.h"

using namespace md::test;

namespace {

void picture(QWidget* window, const char* name) {
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().toImage().save(QDir::temp().filePath(QString::fromLatin1(name))))
        << name;
}

class SupplierPictures : public SuppliersTest {};

TEST_F(SupplierPictures, WindowsAndReport) {
    db.exec(
        "update dt_supplier set keyman='陈志强',tel2='13702681234',fax='0769-85012349',"
        "zipcode='523900',addres='广东省东莞市虎门镇龙眼工业区12栋',fregmoney=3000000,"
        "fempqty=380,fgoodsstyle='都市女装',fgoodsqty='月产成衣12万件',"
        "fgoodsitem='女装梭织、针织成衣加工及贴牌生产',yfk_code2='C01' where fcode='S02'");
    auto* f = openShown<Tfrm_supplier>();
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "S02"));
    f->edit_action->trigger();
    picture(f, "supplier_detail.png");
    f->cacel_action->trigger();

    addQuote("S01", "G002", "2026-03-01", 0, 35);
    addQuote("S01", "G004", "2026-03-01", 28.5, 12);
    auto* q = openShown<Tfrm_SupplierPrice>();
    q->edit_action->trigger();
    picture(q, "supplier_quotes.png");
    q->cacel_action->trigger();

    f->excel_action->trigger();
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    if (!report) GTEST_SKIP() << "no report plug-in beside the test program";
    report->show();
    report->resize(1100, 400);
    picture(report, "supplier_report.png");
    report->close();
}

}  // namespace
