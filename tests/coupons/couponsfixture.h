#pragma once
// The cash coupon tests' world: a fresh database with two shops and the user
// u1 (every right on the coupon window), coupons put in as a test needs them,
// scripted message boxes, and helpers that work the dialogs as a user does:
// typing into the focused box and pressing the buttons.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "editors.h"
#include "formfixture.h"
#include "members/frm_MoneyCard.h"
#include "members/frm_MoneyCardCreate.h"
#include "members/frm_MoneyCardOut.h"
#include "remoteudpdataset.h"

namespace md::test {

class CouponTest : public FormTest {
  protected:
    CouponTest() : FormTest(QStringLiteral("frm_MoneyCard")) {
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit"), QStringLiteral("b_del"),
               QStringLiteral("b_excel")});
        db.exec(QStringLiteral("insert into usermain(userno,username) values('u1','李明')"));
        db.exec(
            QStringLiteral("insert into dt_client(fid,fparentid,fcode,fname,fabbrev) values"
                           "('F0000000S001',' ','S001','一号店有限公司','一号店'),"
                           "('F0000000S002',' ','S002','二号店有限公司','二号店')"));
    }

    Tfrm_MoneyCard* open() { return FormTest::open<Tfrm_MoneyCard>(); }

    static QDate today() { return QDate::currentDate(); }
    static QDate monthStart() { return QDate(today().year(), today().month(), 1); }
    static QString day(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

    // A stored coupon; by default valid within this month up to today.
    void addCoupon(const QString& cardno, const QString& barcode, int status = 1,
                   const QDate& begin = QDate(), const QDate& end = QDate()) {
        db.exec(QStringLiteral("insert into D_MoneyCard(fcardno,fpassword,fmoney,fbegindate,"
                               "fenddate,fstatus,finputdate,finputuser) values('%1','%2',50,'%3',"
                               "'%4',%5,'%4','u0')")
                    .arg(cardno, barcode, day(begin.isValid() ? begin : monthStart()),
                         day(end.isValid() ? end : today()))
                    .arg(status));
    }

    // The operation-log rows of the window: "state|bill id".
    QStringList logEntries() {
        return rows(
            QStringLiteral("select fstate,fbillid from syslog where "
                           "modename='现金券管理' order by fautoid"));
    }

    // Clicks into a box and types as a user does.
    static void type(QWidget* box, const QString& text) {
        box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
        QTest::keyClicks(box, text);
    }

    // Fills the create dialog's boxes; the dates stay as the dialog sets them.
    static void fillCreate(Tfrm_MoneyCardCreate& dialog, const QString& prefix,
                           const QString& first, const QString& last, int digits,
                           const QString& money) {
        type(dialog.Edit_Prefix, prefix);
        type(dialog.Edit_Begin, first);
        type(dialog.Edit_End, last);
        dialog.Spin_Digits->setValue(digits);
        type(dialog.Edit_Money, money);
    }

    // The dialog's listed rows: "number|remark".
    static QStringList listed(const Tfrm_MoneyCardCreate& dialog) {
        QStringList out;
        for (const TNewMoneyCard& card : dialog.Cards())
            out << card.fcardno + QLatin1Char('|') + card.fremark;
        return out;
    }

    // Runs 新增 with the create dialog filled and generated as given, then 确定.
    void createBatch(Tfrm_MoneyCard* form, const QString& prefix, const QString& first,
                     const QString& last, int digits, const QString& money,
                     const std::function<void(Tfrm_MoneyCardCreate&)>& beforeOk = {}) {
        script.onDialog([&](QDialog& d) {
            auto& dialog = dynamic_cast<Tfrm_MoneyCardCreate&>(d);
            fillCreate(dialog, prefix, first, last, digits, money);
            dialog.But_Create->click();
            if (beforeOk) beforeOk(dialog);
            dialog.But_OK->click();
            return int(QDialog::Accepted);
        });
        form->append_action->trigger();
    }

    // Scans codes into the issue dialog's barcode box: each typed, then Enter.
    static void scan(Tfrm_MoneyCardOut& dialog, const QStringList& codes) {
        for (const QString& code : codes) {
            QTest::keyClicks(QApplication::focusWidget(), code);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    }

    // Chooses a shop and a handler in the issue dialog, by keyboard, ending
    // in the barcode box.
    static void chooseShop(Tfrm_MoneyCardOut& dialog, const QString& shop, const QString& handler) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        type(dialog.Combo_Shop->lineEdit(), shop);
        QTest::keyClick(dialog.Combo_Shop->lineEdit(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), handler);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    // A status, shop and issuing user of a stored coupon: "status|shop|shop fid|handler|user".
    QString issueOf(const QString& cardno) {
        return rows(QStringLiteral("select fstatus,fclientcode,fclientno,foutemp,foutuser from "
                                   "D_MoneyCard where fcardno='%1'")
                        .arg(cardno))
            .value(0);
    }
};

}  // namespace md::test
