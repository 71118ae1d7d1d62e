// Pictures of the coupon window and its three dialogs, for a person to look
// at: /tmp/moneycard.png, moneycard_create.png, moneycard_out.png and
// moneycard_edit.png.
#include <QDir>

#include "couponsfixture.h"
#include "members/frm_MoneyCardEdit.h"

using namespace md::test;

namespace {

void save(QWidget& window, const char* name) {
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().toImage().save(QDir::temp().filePath(QString::fromLatin1(name))));
}

}  // namespace

class CouponPictures : public CouponTest {};

TEST_F(CouponPictures, TheWindowAndItsDialogs) {
    for (int i = 1; i <= 6; ++i)
        addCoupon(QStringLiteral("DQ%1").arg(i, 6, 10, QLatin1Char('0')),
                  QStringLiteral("K7Q2M9X%1").arg(i * 731, 5, 10, QLatin1Char('0')), i % 4 + 1);
    db.exec(QStringLiteral("update D_MoneyCard set fclientcode='S001',foutuser='u1',foutdate='") +
            day(today()) + QStringLiteral("' where fstatus>1"));
    Tfrm_MoneyCard* form = open();
    form->resize(1180, 560);
    form->show();
    form->But_Count->click();
    save(*form, "moneycard.png");

    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardCreate&>(d);
        fillCreate(dialog, QStringLiteral("DQ"), QStringLiteral("5"), QStringLiteral("12"), 6,
                   QStringLiteral("50"));
        dialog.But_Create->click();
        save(dialog, "moneycard_create.png");
        return int(QDialog::Rejected);
    });
    form->append_action->trigger();

    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardOut&>(d);
        chooseShop(dialog, QStringLiteral("S002"), QStringLiteral("Zhang"));
        scan(dialog, {QStringLiteral("K7Q2M9X02924"), QStringLiteral("K7Q2M9X02924")});
        save(dialog, "moneycard_out.png");
        return int(QDialog::Rejected);
    });
    form->out_action->trigger();

    script.onDialog([&](QDialog& d) {
        save(d, "moneycard_edit.png");
        return int(QDialog::Rejected);
    });
    form->edit_action->trigger();
}
