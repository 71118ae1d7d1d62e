// Pictures of 商品返修登记 in each mode for a person to look at:
// /tmp/repair_edit_<mode>.png (0 view … 5 return to client).
#include <QDir>

#include "repairsfixture.h"

using namespace md::test;

namespace {

class RepairPictures : public RepairsTest {};

TEST_F(RepairPictures, EditorInEachMode) {
    addNote("260301K0001", "2026-03-01", false,
            {"G001|01|M|3|3|2|1", "G001|02|L|1|1|1|0", "G002|01|S|2|0|0|0"});
    db.exec(
        "update d_GoodsReturnNote set fmanualid='SX-0301',fkeyman='李娜',fbilltype='开线',"
        "fremark='客户要求月底前返回' where fbillid='260301K0001'");
    db.exec(
        "update d_GoodsReturnNoteDetail set freturnremark='袖口开线',fisnew='新',"
        "fsuppliercode='S01',fsupdate='2026-03-03',fsupreturndate='2026-03-10',"
        "fclidate='2026-03-12',fremark='已修好'");
    for (int mode = 0; mode <= 5; ++mode) {
        const auto m = md::ui::RepairNoteMode(mode);
        auto* f = editor(m == md::ui::RepairNoteMode::New ? QString() : "260301K0001", m);
        f->resize(f->width(), 480);
        QApplication::processEvents();
        const QString file = QDir::temp().filePath(QString("repair_edit_%1.png").arg(mode));
        EXPECT_TRUE(f->grab().toImage().save(file)) << file.toStdString();
        f->reject();
    }
}

}  // namespace
