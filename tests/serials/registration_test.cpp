// 产品序列号注册: a piece is registered once, by serial and verification code;
// a second registration is refused, also when two workstations try at once.
#include <QComboBox>
#include <QLineEdit>
#include <atomic>
#include <thread>

#include "editors.h"
#include "serialsfixture.h"
#include "serverdb.h"

using namespace md::test;

namespace {
const QString kRefusedTwice = QStringLiteral(
    "此货品已被注册,每件货品只能注册一次!\n为了保障您所购买的货品为正品请您与购买处联系!");
}

class SerialRegistration : public SerialsTest {
  protected:
    SerialRegistration() : SerialsTest(QStringLiteral("frm_BarGuidReg")) {
        addSerial(QStringLiteral("A1001"), QStringLiteral("01"), QStringLiteral("S"), 2,
                  QStringLiteral("A100101S0002"), QStringLiteral("K7Q2ZP"));
    }
    Tfrm_BarGuidReg* openForm() { return openShown<Tfrm_BarGuidReg>(); }
    // Types into each field as a user does, Enter moving on to the next one.
    static void fill(Tfrm_BarGuidReg* form, const QString& serial, const QString& code,
                     int mode = 0) {
        form->Edit_Barcode->setFocus();
        form->Edit_Barcode->clear();
        QTest::keyClicks(form->Edit_Barcode, serial);
        press(Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), form->Edit_Code);
        form->Edit_Code->clear();
        QTest::keyClicks(form->Edit_Code, code);
        press(Qt::Key_Return);
        form->Combo_Mode->setCurrentIndex(mode);
    }
    QString registration() {
        return rows(QStringLiteral("select fflag,fflagdate,fflagmode from barcodeguid where "
                                   "fbarcode='A100101S0002'"))
            .value(0);
    }
};

TEST_F(SerialRegistration, UnknownSerialsAndWrongCodesAreRefusedAsTypedInUpperCase) {
    Tfrm_BarGuidReg* form = openForm();
    fill(form, QStringLiteral("a100101s0002"), QStringLiteral("k7q2zx"));
    EXPECT_EQ(form->Edit_Barcode->text(), QStringLiteral("A100101S0002"));
    EXPECT_EQ(form->Edit_Code->text(), QStringLiteral("K7Q2ZX"));
    form->But_OK->click();
    fill(form, QStringLiteral("a100101s0003"), QStringLiteral("k7q2zp"));
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList(2, QStringLiteral("没有此序列号,请检查重新录入!")));
    EXPECT_EQ(registration(), QStringLiteral("0||"));
}

TEST_F(SerialRegistration, EmptyFieldsAreRefusedInOrderWithTheFocusOnThem) {
    Tfrm_BarGuidReg* form = openForm();
    form->But_OK->click();
    EXPECT_EQ(QApplication::focusWidget(), form->Edit_Barcode);
    QTest::keyClicks(form->Edit_Barcode, QStringLiteral("A100101S0002"));
    form->But_OK->click();
    EXPECT_EQ(QApplication::focusWidget(), form->Edit_Code);
    QTest::keyClicks(form->Edit_Code, QStringLiteral("K7Q2ZP"));
    form->But_OK->click();
    EXPECT_EQ(QApplication::focusWidget(), form->Combo_Mode);
    form->Combo_Mode->setCurrentIndex(1);
    form->Date_Reg->setValueText(QString());
    form->But_OK->click();
    EXPECT_EQ(script.texts(),
              (QStringList{QStringLiteral("请输入产品序列号!"), QStringLiteral("请输入产品验证码!"),
                           QStringLiteral("请选择注册方式!"), QStringLiteral("请选择注册日期!")}));
    EXPECT_EQ(registration(), QStringLiteral("0||"));
}

TEST_F(SerialRegistration, APieceIsRegisteredOnceAndTheFirstRegistrationStays) {
    Tfrm_BarGuidReg* form = openForm();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    fill(form, QStringLiteral("A100101S0002"), QStringLiteral("K7Q2ZP"), 1);
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{QStringLiteral("注册成功,谢谢您购买本公司的产品!")});
    EXPECT_EQ(registration(), QStringLiteral("1|") + today + QStringLiteral("|短信注册"));

    script.clear();
    fill(form, QStringLiteral("A100101S0002"), QStringLiteral("K7Q2ZP"), 2);
    form->Date_Reg->setDate(QDate(2030, 1, 1));
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList{kRefusedTwice});
    EXPECT_EQ(registration(), QStringLiteral("1|") + today + QStringLiteral("|短信注册"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(SerialRegistration, OfTwoWorkstationsRegisteringOnePieceAtOnceExactlyOneSucceeds) {
    for (int i = 0; i < 20; ++i)
        addSerial(QStringLiteral("A1001"), QStringLiteral("01"), QStringLiteral("M"), i + 2,
                  QStringLiteral("A100101M%1").arg(i + 2, 4, 10, QLatin1Char('0')),
                  QStringLiteral("CODE%1").arg(i, 2, 10, QLatin1Char('0')));
    const ConnectionSettings settings = db.settings();
    std::atomic<int> ready{0};
    // Each thread a workstation: its own connection, the same pieces in turn.
    auto workstation = [&](QStringList* answers) {
        TRemoteUdpConnection connection;
        connection.Open(settings, md::server::objects());
        ++ready;
        while (ready < 2) std::this_thread::yield();
        for (int i = 0; i < 20; ++i)
            *answers << Tfrm_BarGuidReg::Register(
                connection, QStringLiteral("A100101M%1").arg(i + 2, 4, 10, QLatin1Char('0')),
                QStringLiteral("CODE%1").arg(i, 2, 10, QLatin1Char('0')),
                QStringLiteral("网上注册"), QStringLiteral("2026-01-01"));
    };
    QStringList first, second;
    std::thread a(workstation, &first);
    std::thread b(workstation, &second);
    a.join();
    b.join();
    ASSERT_EQ(first.size(), 20);
    ASSERT_EQ(second.size(), 20);
    for (int i = 0; i < 20; ++i) {
        const QStringList both = {first[i], second[i]};
        EXPECT_EQ(both.count(QStringLiteral("注册成功,谢谢您购买本公司的产品!")), 1)
            << i << both.join(QLatin1Char('/')).toStdString();
        EXPECT_EQ(both.count(kRefusedTwice), 1) << i;
    }
    EXPECT_EQ(db.count(QStringLiteral("barcodeguid where fflag=1")), 20);
}
