// Barcode 2 from the pop-up menu: "清空条形码2" and "生成国标码" (the serial
// after the stored maximum, the EAN-13 check digit, the prefix check, and a
// failure that leaves the grid and the server as they were).
#include <QProgressBar>
#include <QSqlError>
#include <QSqlQuery>

#include "barcodefixture.h"
#include "routines.h"

using namespace md::test;
using md::ui::Answer;

namespace {

// The EAN-13 check digit worked out here, apart from the routine the form uses.
QString withCheckDigit(const QString& twelve) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (i % 2 ? 3 : 1) * (twelve.at(i).unicode() - '0');
    return twelve + QString::number((10 - sum % 10) % 10);
}

}  // namespace

class NationalCodes : public BarcodeTest {
  protected:
    // Barcode 2 of the grid's rows, in grid order.
    static QStringList codes2(Tfrm_barcode* form) {
        QStringList out;
        TRemoteUdpDataSet* ds = form->DBmaster_table;
        const int column = ds->FieldByName(QStringLiteral("fbarcode2")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, column).toString();
        return out;
    }
    QStringList serverCodes2(Tfrm_barcode* form) {
        QStringList out;
        for (const QString& variant : variants(form))
            out << row(variant, QStringLiteral("fbarcode2"));
        return out;
    }
    // Makes every update of barcode 2 of the given goods item fail on the server.
    void refuseUpdatesOf(const QString& goods) {
        QSqlQuery query(db.conn().database());
        const QStringList statements =
            db.isPostgres()
                ? QStringList{QStringLiteral("create function refuse_code() returns trigger as $$ "
                                             "begin if new.fgoodsid='%1' then raise exception "
                                             "'refused'; end if; return new; end $$ "
                                             "language plpgsql")
                                  .arg(goods),
                              QStringLiteral("create trigger refuse_code before update on barcode "
                                             "for each row execute function refuse_code()")}
                : QStringList{QStringLiteral("create trigger refuse_code before update of "
                                             "fbarcode2 on barcode when new.fgoodsid='%1' begin "
                                             "select raise(abort,'refused'); end")
                                  .arg(goods)};
        for (const QString& sql : statements)
            ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
    }
};

TEST_F(NationalCodes, RowsWithoutBarcode2AreNumberedInGridOrderOnServerAndGrid) {
    addBarcode(QStringLiteral("C01"), QStringLiteral("01"), QStringLiteral("M"),
               QStringLiteral("69012340051"));
    db.exec(
        QStringLiteral("update barcode set fbarcode2='6901234000109' where fgoodsid='A01' and "
                       "fcolorid='02' and fsize='M'"));
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A01"));
    go(form, QStringLiteral("A01/01/L"));
    script.clear();
    db.conn().log().clear();
    form->nationalcode_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(u'\n').toStdString();

    QStringList expected;
    int serial = 52;
    const QStringList before = variants(form);
    for (const QString& variant : before)
        expected << (variant == QStringLiteral("A01/02/M")
                         ? QStringLiteral("6901234000109")  // kept, and takes no serial
                         : withCheckDigit(
                               QStringLiteral("6901234%1").arg(serial++, 5, 10, QLatin1Char('0'))));
    EXPECT_EQ(codes2(form), expected);
    EXPECT_EQ(serverCodes2(form), expected);
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_EQ(value(form, "fgoodsid") + value(form, "fsize"), QStringLiteral("A01L"));
    EXPECT_EQ(statements().filter(QStringLiteral("update barcode set fbarcode2='")).size(), 3);
    EXPECT_EQ(db.count(QStringLiteral("barcode where fgoodsid='B01' and fbarcode2<>''")), 0);

    // Stored with its check digit, the maximum above counted as 51; 52 is new.
    EXPECT_EQ(withCheckDigit(QStringLiteral("400638133393")), QStringLiteral("4006381333931"));
}

TEST_F(NationalCodes, WithNoBarcode2StoredNumberingStartsAtOne) {
    md::Shared().NationalCodePrefix = QStringLiteral(" 69012 ");  // read with blanks around
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("B01"), QStringLiteral("M"));
    form->nationalcode_action->trigger();
    EXPECT_EQ(sorted(serverCodes2(form)), sorted({withCheckDigit(QStringLiteral("690120000001")),
                                                  withCheckDigit(QStringLiteral("690120000002"))}));
}

TEST_F(NationalCodes, AnUnusablePrefixOrTooFewSerialDigitsIsRefusedBeforeAnyWrite) {
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A01"));
    for (const QString& prefix :
         {QString(), QStringLiteral("69A1234"), QStringLiteral("690123456789")}) {
        SCOPED_TRACE(prefix.toStdString());
        md::Shared().NationalCodePrefix = prefix;
        EXPECT_EQ(md::NationalCodePrefixProblem(prefix),
                  QStringLiteral("国标码“%1”应为1到11位数字，才能留出流水号的位置。").arg(prefix));
        script.clear();
        db.conn().log().clear();
        form->nationalcode_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{md::NationalCodePrefixProblem(prefix)});
        EXPECT_TRUE(statements().isEmpty());
    }
    EXPECT_TRUE(md::NationalCodePrefixProblem(QStringLiteral("69012345678")).isEmpty());

    // Eleven digits leave one for the serial: from 9, four rows would need 12.
    md::Shared().NationalCodePrefix = QStringLiteral("69012345678");
    addBarcode(QStringLiteral("C01"), QStringLiteral("01"), QStringLiteral("M"),
               QStringLiteral("690123456788"));
    script.clear();
    form->nationalcode_action->trigger();
    EXPECT_EQ(script.texts(),
              QStringList{"国标码“69012345678”后只有1位流水号，给4个条码编号要用到12，超出了位数。"
                          "请在“公司信息”中改用位数较少的国标码前缀。"});
    EXPECT_EQ(db.count(QStringLiteral("barcode where fbarcode2<>''")), 1);
    EXPECT_EQ(codes2(form), (QStringList{"", "", "", ""}));
}

TEST_F(NationalCodes, AFailedWriteLeavesNoCodeOnTheServerOrInTheGrid) {
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("0"), QStringLiteral("L"));  // rows of A01, A02 and B01
    refuseUpdatesOf(QStringLiteral("B01"));
    script.clear();
    form->nationalcode_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(db.count(QStringLiteral("barcode where fbarcode2<>''")), 0);
    EXPECT_EQ(codes2(form), QStringList(6, QString()));
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_FALSE(form->ProgressBar1->isVisible());
    EXPECT_FALSE(db.conn().InTransaction());
}

TEST_F(NationalCodes, ClearingBarcode2EmptiesEveryRowOfTheTable) {
    db.exec(QStringLiteral("update barcode set fbarcode2='69012340001'"));
    Tfrm_barcode* form = open();
    search(form, QStringLiteral("A01"));
    script.answer(Answer::No);
    form->clearcode2_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("barcode where fbarcode2<>''")), 12);

    script.clear();
    form->clearcode2_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认清空条形码2的内容?"});
    EXPECT_EQ(db.count(QStringLiteral("barcode where fbarcode2<>''")), 0);
    EXPECT_EQ(codes2(form), (QStringList{"", "", "", ""}));  // the grid read again

    // Both need the edit right.
    form->RightEdit = false;
    form->append_action->trigger();
    form->cacel_action->trigger();
    EXPECT_FALSE(form->clearcode2_action->isEnabled());
    EXPECT_FALSE(form->nationalcode_action->isEnabled());
}
