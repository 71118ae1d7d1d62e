// 班次设置: shift times stored as day digit plus HH:mm, the windows, the checks
// on entry and on saving.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "attendancefixture.h"
#include "staff/frm_KQ_BanCi.h"
#include "staff/frm_KQ_BanCiEdit.h"

namespace md::test {
namespace {

using ShiftsTest = AttendanceTest;

const char* const kShiftRow =
    "select fname,fsb_time,fXb_time,fsb_timeb,fsb_timee,fxb_timeb,fxb_timee,fsb_iscard,"
    "fxb_iscard,fWorkTime_Mode,ftypecode from kq_banci where fcode=";

void setTime(TShiftTimeBox& box, int day, const QTime& time) {
    box.Day->setCurrentIndex(day);
    box.Time->setTime(time);
}

TEST_F(ShiftsTest, NightShiftIsStoredWithItsDaysAndUntouchedWindowsAreZero) {
    auto* f = open<Tfrm_KQ_BanCi>();
    QString mirrored;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_BanCiEdit*>(&d);
        EXPECT_TRUE(e->Radio_SbCard->isChecked() && e->Radio_XbCard->isChecked());
        EXPECT_TRUE(e->Radio_FixedHours->isChecked());
        EXPECT_EQ(e->SbTimeB.text(), "100:00");
        typeInto(e->Edit_Code, "n");
        typeInto(e->Edit_Name, QStringLiteral("晚夜班"));
        setTime(e->SbTime, 1, QTime(22, 0));
        setTime(e->XbTime, 2, QTime(6, 0));
        mirrored = e->SbMirror[0].text() + "," + e->SbMirror[1].text() + "," +
                   e->XbMirror[0].text() + "," + e->XbMirror[1].text();
        e->Radio_XbNoCard->setChecked(true);
        e->Radio_ActualHours->setChecked(true);
        e->But_Save->click();
        return e->result();
    });
    f->But_Add->click();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join("; ").toStdString();
    EXPECT_EQ(mirrored, "122:00,122:00,206:00,206:00");
    EXPECT_EQ(rows(QString(kShiftRow) + "'N'"),
              QStringList({"晚夜班|122:00|206:00|100:00|100:00|100:00|100:00|1|0|0|0"}));
}

TEST_F(ShiftsTest, ModifyLoadsTheStoredTimesIntoTheBoxes) {
    auto* f = open<Tfrm_KQ_BanCi>();
    ASSERT_TRUE(f->DBBanCi->Locate("fcode", "C"));
    EXPECT_EQ(shownRow(f->cxGrid1->View(), f->DBBanCi->RecNo() - 1).last(), "正常班次");
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_BanCiEdit*>(&d);
        EXPECT_EQ(e->XbTime.Day->currentText(), "第二天");
        EXPECT_EQ(e->XbTime.Time->time(), QTime(6, 0));
        EXPECT_TRUE(e->Radio_XbNoCard->isChecked());
        setTime(e->XbTimeB, 2, QTime(7, 0));
        e->But_Save->click();
        return e->result();
    });
    f->But_Edit->click();
    EXPECT_EQ(rows(QString(kShiftRow) + "'C'"),
              QStringList({"夜班|122:00|206:00|122:00|122:00|207:00|206:00|1|0|1|0"}));
}

TEST_F(ShiftsTest, EndBeforeStartOnTheSameDayIsRefusedAndNothingIsSaved) {
    auto* f = open<Tfrm_KQ_BanCi>();
    QStringList texts;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_BanCiEdit*>(&d);
        typeInto(e->Edit_Code, "N");
        typeInto(e->Edit_Name, QStringLiteral("晚夜班"));
        setTime(e->SbTime, 1, QTime(22, 0));
        setTime(e->XbTime, 1, QTime(6, 0));
        e->But_Save->click();
        EXPECT_TRUE(e->isVisible() || e->result() == 0) << "the dialog stays";
        texts = script.texts();
        e->But_Cancel->click();
        return e->result();
    });
    f->But_Add->click();
    EXPECT_EQ(texts, QStringList({"下班时间早于上班时间，跨天的班次请把下班时间选为“第二天”！"}));
    EXPECT_EQ(rows("select count(*) from kq_banci"), QStringList({"2"}));
}

TEST_F(ShiftsTest, TakenCodesAndNamesAndOffAreRefusedOnEntry) {
    auto* f = open<Tfrm_KQ_BanCi>();
    QString code;
    script.onDialog([&](QDialog& d) {
        auto* e = qobject_cast<Tfrm_KQ_BanCiEdit*>(&d);
        typeInto(e->Edit_Code, "a");
        typeInto(e->Edit_Code, "off");
        typeInto(e->Edit_Name, QStringLiteral("夜班"));
        code = e->Edit_Code->text();
        e->But_Cancel->click();
        return e->result();
    });
    f->But_Add->click();
    EXPECT_EQ(script.texts(), QStringList({"班次代码不能重复!", "OFF 表示休息，不能用作班次代码!",
                                           "班次名称不能重复!"}));
    EXPECT_TRUE(code.isEmpty());
    EXPECT_EQ(rows("select count(*) from kq_banci"), QStringList({"2"}));

    // Deleting asks first.
    f->DBBanCi->Locate("fcode", "A");
    script.clear();
    f->But_Del->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确认删除此班次?"}));
    EXPECT_EQ(rows("select fcode from kq_banci"), QStringList({"C"}));
}

}  // namespace
}  // namespace md::test
