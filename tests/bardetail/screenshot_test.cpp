// A picture of 条形码批量打印 for a person to look at (/tmp/bardetail.png):
// opened from 条形码资料's 批量打印 on the demo data, a few rows typed; and
// the first printed tag's PDF (/tmp/bardetail_tag.pdf).
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "barcodes/frm_barcode.h"
#include "bardetailfixture.h"
#include "demo/demodata.h"

using namespace md::test;

class BardetailPicture : public BardetailTest {};

TEST_F(BardetailPicture, OpenedFromTheBarcodeFormWithDemoRows) {
    if (testOnPostgres()) GTEST_SKIP() << "the picture is made once, on SQLite";
    for (const char* table : {"barcode", "goodscolor", "goods", "ba_color", "ba_size"})
        db.exec(QStringLiteral("delete from ") + QString::fromLatin1(table));
    md::server::createDemoData(db.conn());
    md::Shared().SizeSlotCount = db.scalar("select max(displayindex) from ba_size").toInt();
    grant({"b_add", "b_edit", "b_del", "b_print", "b_excel"});
    joinGroup();

    auto* barcodes = open<Tfrm_barcode>();
    barcodes->batchprint_action->trigger();
    auto* form = barcodes->findChild<Tfrm_bardetail*>();
    if (!form)
        for (QWidget* top : QApplication::topLevelWidgets())
            if ((form = qobject_cast<Tfrm_bardetail*>(top))) break;
    ASSERT_NE(form, nullptr);
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));

    const QStringList items = db.rows(
        "select top 3 goodsid,colorid from vgoodscolor where size_class in(select "
        "size_class from ba_size group by size_class having count(*)>=5) order by goodsid");
    ASSERT_EQ(items.size(), 3);
    int n = 0;
    for (const QString& item : items) {
        const QStringList parts = item.split('|');
        ++n;
        typeRow(form, parts[0], parts[1], {QString::number(n), "", QString::number(n + 1), "2"});
    }
    goTo(form, 0, "s1");
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_TRUE(form->grab().toImage().save(QDir::temp().filePath("bardetail.png")));

    form->PopupMenu1->Menu_bar->trigger();
    EXPECT_GT(pdfPages(), 0);
    QFile::remove(QDir::temp().filePath("bardetail_tag.pdf"));
    QFile::copy(pdf, QDir::temp().filePath("bardetail_tag.pdf"));
    script.answer(md::ui::Answer::No);
    form->Close();
    flushDeletes();
}
