// A detail that follows its master: which rows it reads when the master
// moves, appends or closes; the key it carries on save; and a failed save
// that keeps every change.
#include "masterdetail.h"

#include "fixture.h"
#include "scopes.h"

using namespace md::test;

namespace {

class MasterDetail : public FrameworkTest {
  protected:
    MasterDetail() {
        for (const char* row :
             {"('E','华东','0')", "('E01','上海','E')", "('E02','江苏','E')", "('S','华南','0')"})
            db.exec(QStringLiteral("insert into t_area(fcode,fname,fparentcode) values") +
                    QString::fromUtf8(row));
        for (TRemoteUdpDataSet* ds : {&master, &detail}) ds->setSetupUdpParent(&db.conn());
        master.SetSQL(QStringLiteral("select * from t_area where fparentcode='0'"));
        detail.SetSQL(QStringLiteral("select * from t_area where fparentcode=:fparentcode"));
    }

    QStringList detailCodes() {
        QStringList codes;
        TBookmarkKept place(detail);
        for (detail.First(); !detail.Eof(); detail.Next())
            codes << detail.FieldByName(QStringLiteral("fcode")).AsString();
        codes.sort();
        return codes;
    }

    TRemoteUdpDataSet master{QStringLiteral("master"), nullptr};
    TRemoteUdpDataSet detail{QStringLiteral("detail"), nullptr};
    TMasterDetailLink link{
        &master, &detail, {{QStringLiteral("fcode"), QStringLiteral("fparentcode")}}};
};

}  // namespace

TEST_F(MasterDetail, TheDetailFollowsTheMastersRecordNotItsTyping) {
    master.Open();
    ASSERT_TRUE(master.Locate(QStringLiteral("fcode"), QStringLiteral("E")));
    EXPECT_EQ(detailCodes(), (QStringList{"E01", "E02"}));
    ASSERT_TRUE(master.Locate(QStringLiteral("fcode"), QStringLiteral("S")));
    EXPECT_TRUE(detail.IsEmpty());
    {
        // Moves under disabled controls arrive as one reset when they end.
        TControlsDisabled still(master);
        master.Locate(QStringLiteral("fcode"), QStringLiteral("E"));
    }
    EXPECT_EQ(detailCodes(), (QStringList{"E01", "E02"}));

    // A new record starts empty, whatever its typed key matches.
    master.Append();
    EXPECT_TRUE(detail.Active());
    EXPECT_TRUE(detail.IsEmpty());
    master.FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("E"));
    EXPECT_TRUE(detail.IsEmpty());
    master.Cancel();

    master.Close();
    EXPECT_FALSE(detail.Active());
}

TEST_F(MasterDetail, ARenamedMasterCarriesItsRowsAndAFailedSaveKeepsEverything) {
    master.Open();
    ASSERT_TRUE(master.Locate(QStringLiteral("fcode"), QStringLiteral("E")));
    master.Edit();
    master.FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("X"));
    master.Post();
    // A new row without its code: the detail's insert fails, the master's
    // update is rolled back, and both stay cached to be sent again.
    detail.Append();
    detail.FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("浙江"));
    detail.Post();
    {
        TTransactionScope transaction(db.conn());
        master.UpdateBatch();
        EXPECT_ANY_THROW(link.ApplyUpdates());
    }
    EXPECT_EQ(db.count(QStringLiteral("t_area where fcode='X'")), 0);
    EXPECT_TRUE(master.UpdatesPending());
    EXPECT_TRUE(detail.UpdatesPending());

    ASSERT_TRUE(detail.Locate(QStringLiteral("fname"), QStringLiteral("浙江")));
    detail.Edit();
    detail.FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("E03"));
    detail.Post();
    {
        TTransactionScope transaction(db.conn());
        master.UpdateBatch();
        link.ApplyUpdates();
        transaction.commit();
    }
    EXPECT_EQ(
        db.rows(QStringLiteral("select fcode from t_area where fparentcode='X' order by fcode")),
        (QStringList{"E01", "E02", "E03"}));
    EXPECT_EQ(db.count(QStringLiteral("t_area where fparentcode='E'")), 0);
}
