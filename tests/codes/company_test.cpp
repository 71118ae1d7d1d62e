// The company dialog and the national codes: a first record with prefix "0",
// OK, the prefix update with its checks, and what
// P_UpdateGoodsEan13List does to the stored codes.
#include <QPushButton>

#include "codes/frm_ltd.h"
#include "codesfixture.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "routines.h"

using namespace md::test;

namespace {

class Company : public CodesTest {
  protected:
    void barcode(const QString& goods, const QString& size, const char* national) {
        const QString code =
            national ? "'" + QString::fromLatin1(national) + "'" : QStringLiteral("null");
        db.exec("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2) values('" +
                goods + "','01','" + size + "','" + goods + "01" + size + "'," + code + ")");
    }
    QStringList nationalCodes() {
        return rows("select fgoodsid,fsize,fbarcode2 from barcode order by fgoodsid,fsize");
    }
    static TDBEdit* prefixEditor(Tfrm_ltd* f) {
        return qobject_cast<TDBEdit*>(f->FieldPanel->Editor("fcode"));
    }
};

TEST_F(Company, AnEmptyCompanyTableStartsWithANewRecordWhosePrefixIsZero) {
    QPointer<Tfrm_ltd> f = open<Tfrm_ltd>();
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    EXPECT_EQ(prefixEditor(f)->text(), "0");
    prefixEditor(f)->setText("6901234");
    Q_EMIT prefixEditor(f)->textEdited("6901234");
    f->DBmaster_table->FieldByName("fname_ch").SetAsString("杭州雅韵服饰有限公司");
    f->But_OK->click();
    EXPECT_EQ(rows("select fname_ch,fcode from dt_ltd"),
              QStringList{"杭州雅韵服饰有限公司|6901234"});
    EXPECT_EQ(md::Shared().NationalCodePrefix, "6901234");
    flushDeletes();
    EXPECT_TRUE(f.isNull()) << "closed";
    EXPECT_EQ(states(), (QStringList{"进入", "离开"}));
}

TEST_F(Company, UpdatingTheNationalCodesSavesThePrefixFirstAndNeedsOne) {
    db.exec("insert into dt_ltd(fname_ch,fcode) values('雅韵服饰','690123456')");
    barcode("A1001", "M", "6901234560015");
    auto* f = open<Tfrm_ltd>();
    prefixEditor(f)->setText("");
    Q_EMIT prefixEditor(f)->textEdited("");
    f->But_UpdateCode->click();
    EXPECT_EQ(script.texts(), QStringList{"请输入国标码号！"});
    EXPECT_EQ(script.shown().first().icon, md::ui::Icon::None) << "a plain message";
    EXPECT_EQ(nationalCodes(), QStringList{"A1001|M|6901234560015"});
    EXPECT_EQ(rows("select fcode from dt_ltd"), QStringList{"690123456"}) << "nothing saved";

    script.clear();
    prefixEditor(f)->setText("6971234567");
    Q_EMIT prefixEditor(f)->textEdited("6971234567");
    f->But_UpdateCode->click();
    EXPECT_EQ(script.texts(), QStringList{"更新成功"});
    EXPECT_EQ(rows("select fcode from dt_ltd"), QStringList{"6971234567"});
    EXPECT_EQ(nationalCodes(), QStringList{"A1001|M|6971234567017"});
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_FALSE(f->DBmaster_table->UpdatesPending());
}

TEST_F(Company, WithoutTheEditRightTheRecordCanBeReadButNotSavedOrRenumbered) {
    db.exec("insert into dt_ltd(fname_ch,fcode) values('雅韵服饰','690123456')");
    barcode("A1001", "M", "6901234560015");
    md::Session().RightListName = "frm_ltd";
    grant({"b_browse", "b_print"}, "frm_ltd");
    auto* f = open<Tfrm_ltd>();
    EXPECT_EQ(prefixEditor(f)->text(), "690123456");
    EXPECT_FALSE(f->But_OK->isEnabled());
    EXPECT_FALSE(f->But_UpdateCode->isEnabled());
    EXPECT_TRUE(f->But_Cancel->isEnabled());
    f->But_UpdateCode->click();
    EXPECT_EQ(nationalCodes(), QStringList{"A1001|M|6901234560015"});
    EXPECT_TRUE(script.texts().isEmpty());
}

TEST_F(Company, TheProcedureKeepsEachSerialUnderTheNewPrefixAndLeavesOtherCodesAlone) {
    md::ExecuteSQL("Exec P_UpdateGoodsEan13List");  // no company, no barcodes: nothing to do
    db.exec("insert into dt_ltd(fname_ch,fcode) values('雅韵服饰','6971234567')");
    md::ExecuteSQL("Exec P_UpdateGoodsEan13List");  // no barcodes yet
    barcode("A1001", "L", "6901234560022");
    barcode("A1001", "M", "6901234560015");
    barcode("A1002", "M", "6901234123456");  // numbered under a shorter prefix
    barcode("A1003", "M", "12345");
    barcode("A1003", "S", "690123456003A");
    barcode("A1004", "M", nullptr);
    md::ExecuteSQL("Exec P_UpdateGoodsEan13List");
    EXPECT_EQ(nationalCodes(), (QStringList{"A1001|L|6971234567024", "A1001|M|6971234567017",
                                            "A1002|M|6971234567451", "A1003|M|12345",
                                            "A1003|S|690123456003A", "A1004|M|"}));

    // Back under a nine-digit prefix: the serial takes three digits again.
    db.exec("update dt_ltd set fcode='690000000'");
    md::ExecuteSQL("Exec P_UpdateGoodsEan13List");
    EXPECT_EQ(rows("select fbarcode2 from barcode where fgoodsid='A1001' and fsize='M'"),
              QStringList{"6900000007013"});
}

}  // namespace
