// 新增: a batch from the create dialog, its numbers, the occupied ones shown
// and left out, the checks before anything is made.
#include <QRegularExpression>

#include "couponsfixture.h"

using namespace md::test;

class CouponCreate : public CouponTest {};

TEST_F(CouponCreate, BothEndsAreMadeAndStoredWithTheirBarcodes) {
    Tfrm_MoneyCard* form = open();
    createBatch(form, QStringLiteral("Q"), QStringLiteral("98"), QStringLiteral("101"), 6,
                QStringLiteral("50"));
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("是否确认生成现金券？")});
    EXPECT_EQ(
        rows(QStringLiteral("select fcardno,fstatus,finputuser from D_MoneyCard order by fcardno")),
        (QStringList{QStringLiteral("Q000098|1|u1"), QStringLiteral("Q000099|1|u1"),
                     QStringLiteral("Q000100|1|u1"), QStringLiteral("Q000101|1|u1")}));
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where fmoney=50 and finputdate='") +
                       day(today()) + QStringLiteral("' and fbegindate='") + day(today()) +
                       QStringLiteral("' and fenddate='") + day(today().addDays(30)) +
                       QStringLiteral("'")),
              4);
    const QStringList barcodes = rows(QStringLiteral("select distinct fpassword from D_MoneyCard"));
    EXPECT_EQ(barcodes.size(), 4);
    for (const QString& code : barcodes)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-Z]{12}$")).match(code).hasMatch())
            << qPrintable(code);
    // The list shows the new coupons; the log has one "新增" without a key.
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 4);
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_EQ(logEntries(), (QStringList{QStringLiteral("进入|"), QStringLiteral("新增|")}));
}

TEST_F(CouponCreate, ThreeDigitsWrapAndEveryTakenNumberIsShownButNotStored) {
    addCoupon(QStringLiteral("T500"), QStringLiteral("STORED000500"));
    Tfrm_MoneyCard* form = open();
    QStringList shown;
    createBatch(form, QStringLiteral("T"), QStringLiteral("1"), QStringLiteral("1001"), 3,
                QStringLiteral("20"),
                [&](Tfrm_MoneyCardCreate& dialog) { shown = listed(dialog); });
    ASSERT_EQ(shown.size(), 1001);
    EXPECT_EQ(shown.at(0), QStringLiteral("T001|"));
    EXPECT_EQ(shown.at(499), QStringLiteral("T500|此现金券编号已被占用"));
    EXPECT_EQ(shown.at(999), QStringLiteral("T000|"));                       // serial 1000
    EXPECT_EQ(shown.at(1000), QStringLiteral("T001|此现金券编号已被占用"));  // serial 1001
    // 999 new ones beside the coupon stored before, which keeps its barcode.
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard")), 1000);
    EXPECT_EQ(db.scalar(QStringLiteral("select fpassword from D_MoneyCard where fcardno='T500'"))
                  .toString(),
              QStringLiteral("STORED000500"));
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where fcardno='T000'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where fcardno='T001'")), 1);
}

TEST_F(CouponCreate, ABarcodeTheDatabaseAlreadyHoldsIsDrawnAgain) {
    Tfrm_MoneyCard* form = open();
    QString drawnTwice;
    createBatch(form, QStringLiteral("R"), QStringLiteral("1"), QStringLiteral("3"), 4,
                QStringLiteral("10"), [&](Tfrm_MoneyCardCreate& dialog) {
                    // Another coupon took the second barcode meanwhile.
                    drawnTwice = dialog.Cards().at(1).fpassword;
                    addCoupon(QStringLiteral("OTHER"), drawnTwice);
                });
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("是否确认生成现金券？")});
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where fcardno like 'R%'")), 3);
    EXPECT_EQ(db.scalar(QStringLiteral("select fcardno from D_MoneyCard where fpassword='") +
                        drawnTwice + QStringLiteral("'"))
                  .toString(),
              QStringLiteral("OTHER"));
    EXPECT_EQ(rows(QStringLiteral("select count(distinct fpassword) from D_MoneyCard")).value(0),
              QStringLiteral("4"));
}

TEST_F(CouponCreate, CheckedInOrderBeforeAnythingIsMade) {
    struct Case {
        const char* first;
        const char* last;
        const char* money;
        const char* prefix;
        int digits;
        int validDays;
        const char* message;
    };
    const Case cases[] = {
        {"", "10", "50", "Q", 6, 30, "请输入<起始编号>与<截止编号>！"},
        {"1", "0", "50", "Q", 6, 30, "请输入<起始编号>与<截止编号>！"},
        {"1", "10", "", "Q", 6, 30, "请输入<面值金额>！"},
        {"5", "5", "50", "Q", 6, 30, "截止编号必须大于起始编号！"},
        {"9", "5", "50", "Q", 6, 30, "截止编号必须大于起始编号！"},
        {"1a", "10", "50", "Q", 6, 30, "<起始编号>只能输入数字！"},
        {"1", "-10", "50", "Q", 6, 30, "<截止编号>只能输入数字！"},
        {"1", "10", "-5", "Q", 6, 30, "<面值金额>必须是大于0的金额！"},
        {"1", "10", "5O", "Q", 6, 30, "<面值金额>必须是大于0的金额！"},
        {"1", "10", "50", "ABCDEFGHIJKLMNOPQRSTU", 10, 30,
         "<编号前缀>与<编号位数>合计不能超过30位！"},
        {"1", "10", "50", "Q", 6, -1, "<失效日期>不能早于<生效日期>！"},
        {"1", "100001", "50", "Q", 6, 30, "一次最多生成100000张现金券！"},
    };
    for (const Case& c : cases) {
        Tfrm_MoneyCardCreate dialog;
        fillCreate(dialog, QString::fromUtf8(c.prefix), QString::fromUtf8(c.first),
                   QString::fromUtf8(c.last), c.digits, QString::fromUtf8(c.money));
        dialog.Date_End->setDate(dialog.Date_Begin->date().addDays(c.validDays));
        script.clear();
        dialog.But_Create->click();
        EXPECT_EQ(script.texts(), QStringList{QString::fromUtf8(c.message)}) << c.message;
        EXPECT_TRUE(dialog.Cards().isEmpty()) << c.message;
    }
    // A validity of one day is a validity.
    Tfrm_MoneyCardCreate dialog;
    fillCreate(dialog, QStringLiteral("Q"), QStringLiteral("1"), QStringLiteral("2"), 6,
               QStringLiteral("0.5"));
    dialog.Date_End->setDate(dialog.Date_Begin->date());
    script.clear();
    script.answer(md::ui::Answer::No);
    dialog.But_Create->click();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("是否确认生成现金券？")});
    EXPECT_TRUE(dialog.Cards().isEmpty());  // "No" makes nothing
    // 确定 does nothing while nothing is listed.
    dialog.But_OK->click();
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard")), 0);
}

TEST_F(CouponCreate, CancelStoresNothingAndARepeatedCreateStartsAfresh) {
    Tfrm_MoneyCard* form = open();
    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardCreate&>(d);
        EXPECT_TRUE(dialog.Cards().isEmpty());  // a new dialog each time
        fillCreate(dialog, QStringLiteral("C"), QStringLiteral("1"), QStringLiteral("5"), 3,
                   QStringLiteral("10"));
        dialog.But_Create->click();
        EXPECT_EQ(dialog.Cards().size(), 5);
        dialog.But_Cancel->click();
        return dialog.result();
    });
    form->append_action->trigger();
    form->append_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard")), 0);
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_EQ(logEntries(), QStringList{QStringLiteral("进入|")});
}
