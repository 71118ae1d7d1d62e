// 批量发放: the numbers of the range with the start number's width, the cards
// already there passed over, the dialog's refusals in order (nothing written),
// and the question before anything is issued.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "editors.h"
#include "members/frm_VipBatch.h"
#include "members/frm_vipcard.h"
#include "membersfixture.h"

using namespace md::test;

namespace {

class Batch : public MembersTest {
  protected:
    struct Input {
        Input(QString start, QString end, QString prefix, QString suffix = {},
              QString grade = "1001", QString shop = {}, QDate endDate = QDate(2099, 12, 31))
            : start(std::move(start)),
              end(std::move(end)),
              prefix(std::move(prefix)),
              suffix(std::move(suffix)),
              grade(std::move(grade)),
              shop(std::move(shop)),
              endDate(endDate) {}
        QString start, end, prefix, suffix, grade, shop;
        QDate endDate;
    };
    // Types into the dialog's boxes as a user does.
    static void fill(Tfrm_VipBatch& d, const Input& in) {
        auto typeInto = [](QWidget* box, const QString& text) {
            box->setFocus();
            if (auto* line = qobject_cast<QLineEdit*>(box)) line->clear();
            QTest::keyClicks(box, text);
        };
        typeInto(d.Edit_Begin, in.start);
        typeInto(d.Edit_End, in.end);
        typeInto(d.Edit_Prefix, in.prefix);
        typeInto(d.Edit_Suffix, in.suffix);
        d.Lookup_Grade->setEditText(QString());
        typeInto(d.Lookup_Grade->lineEdit(), in.grade);
        d.Lookup_Shop->setEditText(QString());
        typeInto(d.Lookup_Shop->lineEdit(), in.shop);
        if (in.endDate.isValid())
            d.Date_End->setDate(in.endDate);
        else
            d.Date_End->setValueText(QString());
    }
    // 批量发放 with the dialog filled from `in` and 确定 pressed.
    void issue(Tfrm_vipcard* f, const Input& in) {
        script.onDialog([in](QDialog& dialog) {
            auto* d = qobject_cast<Tfrm_VipBatch*>(&dialog);
            if (!d) return int(QDialog::Rejected);
            fill(*d, in);
            d->But_OK->click();
            return d->result();
        });
        f->batch_action->trigger();
    }

    const QString today = QDate::currentDate().toString(Qt::ISODate);
};

TEST_F(Batch, CardNumbersKeepTheWidthOfTheStartNumberWithItsLeadingZeros) {
    TVipBatchRequest r;
    r.prefix = "A";
    r.suffix = "X";
    r.startText = "0001";
    EXPECT_EQ(r.cardNumber(100), "A0100X");
    r.startText = "12";
    EXPECT_EQ(r.cardNumber(7), "A07X");
    // Thirteen zeros at most: a wider start text keeps what there is.
    r.startText = "0000000000000000";
    EXPECT_EQ(r.cardNumber(5), "A00000000000005X");

    auto* f = openShown<Tfrm_vipcard>();
    issue(f, {"0100", "0102", "a", "x", "1003", "S0102"});
    EXPECT_EQ(script.texts(), QStringList{"是否确认批量发放VIP卡?"});
    EXPECT_EQ(
        rows("select vipid,name,vipgrade,clientid,amount from dt_vipcard where vipid like "
             "'A%' order by vipid"),
        (QStringList{"A0100X||1003|S0102|0", "A0101X||1003|S0102|0", "A0102X||1003|S0102|0"}));
    EXPECT_EQ(
        db.scalar("select begaindate from dt_vipcard where vipid='A0100X'").toString().left(10),
        today);
    EXPECT_EQ(db.scalar("select enddate from dt_vipcard where vipid='A0102X'").toString().left(10),
              "2099-12-31");
    // The list shows them with their category and shop.
    ASSERT_TRUE(f->DBmaster_table->Locate("vipid", "A0101X"));
    EXPECT_EQ(field(f->DBmaster_table, "vipLBname") + "|" + field(f->DBmaster_table, "fabbrev"),
              "金卡会员|西湖文化广场店");
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());

    // Equal numbers issue the one card; no shop leaves the shop empty.
    issue(f, {"7", "7", "", "", "1001", ""});
    EXPECT_EQ(rows("select vipid,clientid from dt_vipcard where vipid='7'"), QStringList{"7|"});
}

TEST_F(Batch, AnOverlappingBatchCreatesOnlyTheMissingCardsWhateverTheListShows) {
    // Two cards of the range exist, in shops the user does not see, one of
    // them stored in small letters.
    restrictTo({"S0101"});
    addMember("b0101", "旧卡", "1001", "S0301");
    addMember("B0103", "旧卡", "1001", "S0201");
    auto* f = openShown<Tfrm_vipcard>();
    issue(f, {"0100", "0104", "B", "", "1002", "S0101"});
    EXPECT_EQ(script.texts(), QStringList{"是否确认批量发放VIP卡?"})
        << "nothing said of the others";
    EXPECT_EQ(rows("select vipid,vipgrade from dt_vipcard where clientid='S0101' and vipid like "
                   "'B%' order by vipid"),
              (QStringList{"B0100|1002", "B0102|1002", "B0104|1002"}));
    EXPECT_EQ(rows("select name from dt_vipcard where vipid in('b0101','B0103')"),
              (QStringList{"旧卡", "旧卡"}));
}

TEST_F(Batch, TheDialogRefusesInOrderAndKeepsOpenWithNothingWritten) {
    auto* f = openShown<Tfrm_vipcard>();
    QStringList focused;
    script.onDialog([&](QDialog& dialog) {
        auto* d = qobject_cast<Tfrm_VipBatch*>(&dialog);
        d->show();
        QApplication::setActiveWindow(d);
        EXPECT_TRUE(d->Edit_End->text().isEmpty()) << "the end number starts empty";
        EXPECT_EQ(d->Date_Begin->valueText(), today);
        auto attempt = [&](const Input& in) {
            fill(*d, in);
            d->But_OK->click();
            QWidget* at = QApplication::focusWidget();
            focused << (at ? at->objectName() : QString());
        };
        attempt({"0100", "", "A"});
        attempt({"0100", "100", "A"});
        attempt({"0100", "0200", "A", "", ""});
        attempt({"0100", "0200", "A", "", "9999"});
        attempt({"0100", "0200", "A", "", "1001", "", QDate()});
        attempt({"0100", "0200", "A", "", "1001", "S0301"});
        attempt({"0200", "0100", "A"});
        attempt({"0100", "0200", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "XY"});
        // Typed letters never get into a number box; a number too large for
        // 32 bits (set there by other means) is refused naming its box.
        d->Edit_Begin->clear();
        QTest::keyClicks(d->Edit_Begin, "12a3");
        EXPECT_EQ(d->Edit_Begin->text(), "123");
        d->Edit_Begin->setText("99999999999");
        d->Edit_End->setText("99999999998");
        d->But_OK->click();
        EXPECT_NE(d->result(), int(QDialog::Accepted));
        d->But_Cancel->click();
        return d->result();
    });
    f->batch_action->trigger();
    EXPECT_EQ(script.texts(),
              (QStringList{"请录入VIP起止卡号或截止卡号!", "VIP开始卡号与VIP截止卡号长度不一致!",
                           "请选择VIP类别!", "请选择VIP类别!", "生效日期与失效日期不能为空!",
                           "领取店铺“S0301”不存在!", "VIP截止卡号不能小于VIP开始卡号!",
                           "VIP卡号不能超过30个字符!", "VIP开始卡号“99999999999”不是有效的整数!"}))
        << "no question: the dialog was cancelled";
    // Each refusal puts the focus on the box at fault.
    ASSERT_EQ(focused.size(), 8);
    for (int i : {0, 1, 6}) EXPECT_EQ(focused[i], "Edit_End") << i;
    EXPECT_EQ(focused[4], "Date_End");
    EXPECT_EQ(focused[7], "Edit_Prefix");
    EXPECT_EQ(db.count("dt_vipcard"), 3);
}

TEST_F(Batch, NoToTheQuestionIssuesNothing) {
    auto* f = openShown<Tfrm_vipcard>();
    script.answer(md::ui::Answer::No);
    issue(f, {"1", "9", "N"});
    EXPECT_EQ(script.texts(), QStringList{"是否确认批量发放VIP卡?"});
    EXPECT_EQ(db.count("dt_vipcard"), 3);
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3);
}

}  // namespace
