// 发放: coupons scanned into the issue dialog, the scan problems on its
// message line, and what the window writes for the accepted ones.
#include "couponsfixture.h"

using namespace md::test;

class CouponIssue : public CouponTest {
  protected:
    CouponIssue() {
        addCoupon(QStringLiteral("A001"), QStringLiteral("BC0000000001"));
        addCoupon(QStringLiteral("A002"), QStringLiteral("BC0000000002"));
        addCoupon(QStringLiteral("A003"), QStringLiteral("BC0000000003"));
        addCoupon(QStringLiteral("A004"), QStringLiteral("BC0000000004"), 2);
        addCoupon(QStringLiteral("A005"), QStringLiteral("BC0000000005"), 3);
        addCoupon(QStringLiteral("A006"), QStringLiteral("BC0000000006"), 4);
        // Valid from next month: the default filter leaves it out of the list.
        addCoupon(QStringLiteral("B001"), QStringLiteral("BC0000000101"), 1,
                  monthStart().addMonths(1), monthStart().addMonths(2));
    }

    static QString scannedNumbers(const Tfrm_MoneyCardOut& dialog) {
        QStringList numbers;
        for (const TIssuedMoneyCard& card : dialog.Cards()) numbers << card.fcardno;
        return numbers.join(QLatin1Char(','));
    }
};

TEST_F(CouponIssue, AScannerStreamFillsTheListAndProblemsStayOnTheMessageLine) {
    Tfrm_MoneyCard* form = open();
    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardOut&>(d);
        chooseShop(dialog, QStringLiteral("S001"), QStringLiteral("Zhang"));
        EXPECT_EQ(QApplication::focusWidget(), dialog.Edit_Barcode);
        // A stream of scans, each code and Enter, without a mouse.
        scan(dialog, {QStringLiteral("BC0000000001"), QStringLiteral("bc0000000002")});
        EXPECT_EQ(scannedNumbers(dialog), QStringLiteral("A001,A002"));
        EXPECT_TRUE(dialog.Edit_Barcode->text().isEmpty());
        EXPECT_TRUE(dialog.Edit_Message->text().isEmpty());

        const std::pair<const char*, const char*> problems[] = {
            {"BC0000000001", "请不要重复扫描！"},
            {"BC0000000004", "不能重复发放！"},
            {"BC0000000005", "此现金券已消费，不能发放！"},
            {"BC0000000006", "此现金券已失效，不能发放！"},
            {"NOSUCHCODE", "条形码有误！"},
        };
        for (const auto& [code, message] : problems) {
            scan(dialog, {QString::fromLatin1(code)});
            EXPECT_EQ(dialog.Edit_Message->text(), QString::fromUtf8(message)) << code;
            // The code stays selected: the next scan replaces it.
            EXPECT_EQ(dialog.Edit_Barcode->selectedText(), QString::fromLatin1(code));
            EXPECT_EQ(QApplication::focusWidget(), dialog.Edit_Barcode);
        }
        // The next good scan after a refused one, typed over the selection.
        scan(dialog, {QStringLiteral("BC0000000101")});
        EXPECT_EQ(scannedNumbers(dialog), QStringLiteral("A001,A002,B001"));
        EXPECT_TRUE(dialog.Edit_Message->text().isEmpty());
        EXPECT_TRUE(script.shown().isEmpty());  // no box for any of it
        dialog.But_OK->click();
        return dialog.result();
    });
    form->out_action->trigger();

    // Issued: the listed ones. B001 was accepted by the dialog but is not in
    // the list the window shows, so it stays as it was.
    const QString issued = QStringLiteral("2|S001|F0000000S001|Zhang|u1");
    EXPECT_EQ(issueOf(QStringLiteral("A001")), issued);
    EXPECT_EQ(issueOf(QStringLiteral("A002")), issued);
    EXPECT_EQ(issueOf(QStringLiteral("A003")), QStringLiteral("1||||"));
    EXPECT_EQ(issueOf(QStringLiteral("B001")), QStringLiteral("1||||"));
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where foutdate='") + day(today()) +
                       QStringLiteral("'")),
              2);
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
}

TEST_F(CouponIssue, AShopIsNeededAndAnUnknownShopCodeIsSaidSo) {
    Tfrm_MoneyCardOut dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    type(dialog.Edit_Barcode, QString());
    scan(dialog, {QStringLiteral("BC0000000001")});
    EXPECT_EQ(dialog.Edit_Message->text(), QStringLiteral("请先选择领券店铺！"));
    EXPECT_TRUE(dialog.Cards().isEmpty());

    type(dialog.Combo_Shop->lineEdit(), QStringLiteral("S999"));
    QTest::keyClick(dialog.Combo_Shop->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.Edit_Message->text(), QStringLiteral("店铺编号有误！"));
    EXPECT_TRUE(dialog.ShopCode.isEmpty());
    type(dialog.Combo_Shop->lineEdit(), QStringLiteral("s002"));
    QTest::keyClick(dialog.Combo_Shop->lineEdit(), Qt::Key_Return);
    // The shop as stored, with its fid and short name.
    EXPECT_EQ(dialog.ShopCode + dialog.ShopId + dialog.ShopName,
              QStringLiteral("S002F0000000S002二号店"));
    type(dialog.Edit_Barcode, QString());
    scan(dialog, {QStringLiteral("BC0000000001")});
    EXPECT_EQ(scannedNumbers(dialog), QStringLiteral("A001"));
    EXPECT_TRUE(script.shown().isEmpty());
}
