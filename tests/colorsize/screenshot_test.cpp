// A picture of the quantity entry for a person to look at (/tmp/colorsize.png):
// a demo goods item found by its code, a few quantities typed.
#include <QDir>

#include "colorsizefixture.h"
#include "demo/demodata.h"

using namespace md::test;

class ColorSizePicture : public ColorSizeTest {};

TEST_F(ColorSizePicture, ADemoItemWithQuantities) {
    if (testOnPostgres()) GTEST_SKIP() << "the picture is made once, on SQLite";
    db.exec("delete from goodscolor");
    db.exec("delete from goods");
    db.exec("delete from ba_color");
    db.exec("delete from ba_size");
    md::server::createDemoData(db.conn());
    md::Shared().SizeSlotCount = db.scalar("select max(displayindex) from ba_size").toInt();
    // An item of a many-size group with several colours.
    const QString code =
        db.scalar(
              "select top 1 goodsid from vgoodscolor where size_class in(select size_class "
              "from ba_size group by size_class having count(*)>=5) group by goodsid "
              "having count(*)>=3 order by goodsid")
            .toString();
    ASSERT_FALSE(code.isEmpty());

    auto* dialog = openDialog();
    enterCode(dialog, code.left(4));  // several items to pick from
    ASSERT_GE(dialog->DBgoods_table->RecordCount(), 1);
    ASSERT_TRUE(dialog->DBgoods_table->Locate("goodsid", code));
    press(Qt::Key_F3);
    ASSERT_GE(dialog->DBmaster_table->RecordCount(), 3);
    for (const char* quantity : {"2", "5", "8", "3"}) {
        type(QString::fromLatin1(quantity));
        press(Qt::Key_Return);
    }
    press(Qt::Key_Down);
    for (const char* quantity : {"1", "4", "6"}) {
        type(QString::fromLatin1(quantity));
        press(Qt::Key_Return);
    }
    dialog->cxGrid2DBTableView1->setCurrentIndex(dialog->cxGrid2DBTableView1->gridModel()->index(
        1, dialog->cxGrid2DBTableView1->SectionOf("fbalancprice")));
    type("199");
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('|').toStdString();
    EXPECT_TRUE(dialog->grab().toImage().save(QDir::temp().filePath("colorsize.png")));
}
