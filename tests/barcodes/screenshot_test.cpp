// Pictures of the barcode window after a search and of the two mapping
// dialogs, for a person to look at (/tmp/barcode.png, barcolor.png, barsize.png).
#include <QApplication>
#include <QDir>

#include "barcodefixture.h"
#include "barcodes/frm_barcolor.h"
#include "barcodes/frm_barsize.h"

using namespace md::test;

class BarcodePictures : public BarcodeTest {};

TEST_F(BarcodePictures, WindowAfterASearchAndTheMappingDialogs) {
    Tfrm_barcode* form = open();
    form->show();
    search(form, QStringLiteral("A0"));
    form->nationalcode_action->trigger();
    QApplication::processEvents();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 8);
    EXPECT_TRUE(form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("barcode.png"))));

    for (const char* c : {"01", "02"})
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','颜色%1')")
                    .arg(QString::fromLatin1(c)));
    db.exec(
        QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                       "values('TOPS','XL',1,'S1')"));
    script.onDialog([](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_TRUE(dialog.grab().toImage().save(
            QDir::temp().filePath(dialog.objectName().mid(4) + QStringLiteral(".png"))));
        return int(QDialog::Rejected);
    });
    Tfrm_barcolor::Execute(form);
    Tfrm_barsize::Execute(form);
}
