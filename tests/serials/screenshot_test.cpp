// Pictures of 生成产品序列号 with a quantity list and after 统计, for a person
// to look at (/tmp/serials_quantities.png, /tmp/serials_detail.png).
#include <QDir>
#include <QTabWidget>

#include "serialsfixture.h"

using namespace md::test;

class SerialPictures : public SerialsTest {};

TEST_F(SerialPictures, QuantitiesAndTheSerialsOfARun) {
    addQuantities(QStringLiteral("A1001"), QStringLiteral("01"), 2, 1, 3);
    addQuantities(QStringLiteral("A1001"), QStringLiteral("02"), 0, 2, 0);
    addQuantities(QStringLiteral("N3001"), QStringLiteral("01"), 1, 1, 1);
    auto* form = openShown<Tfrm_BarcodeGuID>();
    form->resize(900, 520);
    QApplication::processEvents();
    EXPECT_EQ(form->Quantities->SizeCaptions(),
              (QStringList{QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")}));
    EXPECT_TRUE(form->grab().toImage().save(
        QDir::temp().filePath(QStringLiteral("serials_quantities.png"))));
    form->But_Count->click();
    QApplication::processEvents();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 11);
    EXPECT_TRUE(
        form->grab().toImage().save(QDir::temp().filePath(QStringLiteral("serials_detail.png"))));
}
