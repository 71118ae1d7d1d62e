// Datasets over the database: opening, parameters, cached and immediate
// updates, failures, concurrency, paging and refresh.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "datasetdb.h"
#include "memorytables.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"

using md::test::codes;
using md::test::DataSetDb;

namespace {

const char* kTables = R"(
create table t_goods (
    fautoid int identity(1,1) not null primary key,
    fcode varchar(15) not null unique,
    fname varchar(50) null,
    fprice money null,
    fqty int null default 0,
    finused bit null default 1,
    finputdate datetime null
)
create table t_etype (
    fid varchar(20) not null primary key,
    fname varchar(50) null,
    fnotes varchar(50) null
)
create table t_nokey (
    fcode varchar(15) null,
    fname varchar(50) null
)
create table t_words (
    fautoid int identity(1,1) not null primary key,
    [option] varchar(10) null,
    [for] int null,
    [if] varchar(10) null
)
)";

class DataSetUpdates : public ::testing::Test {
  protected:
    DataSetUpdates() : db(QString::fromLatin1(kTables)) {}

    std::unique_ptr<TRemoteUdpDataSet> open(const QString& sql,
                                            TLockType lock = etBatchOptimistic) {
        auto ds = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("DBmaster_table"), nullptr);
        ds->setSetupUdpParent(&db.conn());
        ds->SetLockType(lock);
        ds->SetSQL(sql);
        ds->Open();
        return ds;
    }

    void seedGoods(int n) {
        for (int i = 1; i <= n; ++i)
            db.exec(
                QStringLiteral("insert into t_goods(fcode,fname,fprice) values('A%1','货品%1',%2)")
                    .arg(i)
                    .arg(i * 10));
    }

    static void appendGoods(TRemoteUdpDataSet& ds, const QString& code,
                            const QString& name = QString()) {
        ds.Append();
        ds.FieldByName(QStringLiteral("fcode")).SetAsString(code);
        if (!name.isEmpty()) ds.FieldByName(QStringLiteral("fname")).SetAsString(name);
        ds.Post();
    }

    QStringList loggedSince(int from) {
        const QStringList all = db.conn().log().entries();
        return all.mid(from);
    }
    int logSize() { return db.conn().log().entries().size(); }

    DataSetDb db;
};

}  // namespace

TEST_F(DataSetUpdates, OpenReadsTypedRowsAndTakesParametersInAnyCase) {
    seedGoods(3);
    auto ds = open(QStringLiteral("select * from t_goods where fcode=:Code or fprice>:minprice"));
    EXPECT_EQ(ds->RecordCount(), 0);  // parameters not set: null matches nothing
    ds->Close();
    ds->ParamByName(QStringLiteral("code")).SetValue(QStringLiteral("A1"));
    ds->ParamByName(QStringLiteral("MINPRICE")).SetAsInteger(25);
    EXPECT_THROW(ds->ParamByName(QStringLiteral("nosuch")), EDatabaseError);
    ds->Open();
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A3"}));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fautoid")).DataType(), ftInteger);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fprice")).DataType(), ftCurrency);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("finused")).DataType(), ftBoolean);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).Size(), 15);
    EXPECT_TRUE(ds->FieldByName(QStringLiteral("finused")).AsBoolean());

    // Field objects survive reopening, so handlers set on them stay.
    TField* code = &ds->FieldByName(QStringLiteral("fcode"));
    ds->Close();
    ds->SetSQL(QStringLiteral("select fcode from t_goods"));
    ds->Open();
    EXPECT_EQ(&ds->FieldByName(QStringLiteral("FCODE")), code);
    EXPECT_EQ(ds->FieldCount(), 1);

    ds->Close();
    ds->SetSQL(QStringLiteral("update t_goods set fqty=5 where fprice>15"));
    EXPECT_EQ(ds->ExecSQL(), 2);
    EXPECT_FALSE(ds->Active());
    EXPECT_THROW(ds->Open(), EDatabaseError);  // no result set

    TRemoteUdpDataSet unbound(QStringLiteral("lonely"), nullptr);
    unbound.SetSQL(QStringLiteral("select * from t_goods"));
    EXPECT_THROW(unbound.Open(), EDatabaseError);
    unbound.SetRTSQL(QStringLiteral("select fcode from t_goods"));
    unbound.setSetupUdpParent(&db.conn());
    unbound.setrtactive(true);
    EXPECT_EQ(unbound.RecordCount(), 3);
    EXPECT_EQ(unbound.SQL(), unbound.RTSQL());
}

TEST_F(DataSetUpdates, GeneratedStatementsWriteTheFirstTableAndReadBackIdentity) {
    seedGoods(1);
    auto ds = open(QStringLiteral("select a.*, 'x' as extra from t_goods a"));
    const int before = logSize();
    appendGoods(*ds, QStringLiteral("B1"), QStringLiteral("衬衫"));
    appendGoods(*ds, QStringLiteral("B2"));
    ds->UpdateBatch();
    EXPECT_EQ(loggedSince(before),
              QStringList({"insert into t_goods(fcode,fname) values(:fcode,:fname)",
                           "insert into t_goods(fcode) values(:fcode)"}));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fautoid")).AsInteger(),
              db.scalar(QStringLiteral("select fautoid from t_goods where fcode='B2'")).toInt());
    EXPECT_FALSE(ds->UpdatesPending());
    // Nulls were left out, so the server's defaults applied.
    EXPECT_EQ(db.scalar(QStringLiteral("select finused from t_goods where fcode='B2'")).toInt(), 1);

    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("新名"));
    ds->FieldByName(QStringLiteral("fqty")).SetAsInteger(3);
    ds->Post();
    ds->Last();
    ds->Delete();
    const int beforeSave = logSize();
    ds->UpdateBatch();
    EXPECT_EQ(
        loggedSince(beforeSave),
        QStringList({"update t_goods set fname=:fname,fqty=:fqty where fautoid=:fautoid and "
                     "fname=:fname and fqty=:fqty",
                     "select [fautoid],[fcode],[fname],[fprice],[fqty],[finused],[finputdate] "
                     "from [t_goods] where fautoid=:fautoid",
                     "delete from t_goods where fautoid=:fautoid"}));
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='A1'")).toString(),
              QStringLiteral("新名"));
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 2);

    // A record edited without a real change sends nothing.
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("新名"));
    ds->Post();
    const int unchanged = logSize();
    ds->UpdateBatch();
    EXPECT_EQ(logSize(), unchanged);
}

// A row added through a written insert can be changed and deleted by the next
// save of the same visit: its identity value is read back as for generated ones.
TEST_F(DataSetUpdates, WrittenInsertsReadBackIdentitySoTheNextSaveFindsTheRow) {
    auto ds = open(QStringLiteral("select * from t_goods"));
    TRemoteUpdateSql written;
    written.InsertSQL = QStringLiteral("insert into t_goods(fcode,fname) values(:fcode,:fname)");
    written.ModifySQL =
        QStringLiteral("update t_goods set fname=:fname where fautoid=:OLD_fautoid");
    written.DeleteSQL = QStringLiteral("delete from t_goods where fautoid=:OLD_fautoid");
    ds->SetupDataObject(&written);
    appendGoods(*ds, QStringLiteral("W1"), QStringLiteral("一"));
    appendGoods(*ds, QStringLiteral("W2"), QStringLiteral("二"));
    ds->UpdateBatch();
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("W1")));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fautoid")).AsInteger(),
              db.scalar(QStringLiteral("select fautoid from t_goods where fcode='W1'")).toInt());
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("改"));
    ds->Post();
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("W2")));
    ds->Delete();
    ds->UpdateBatch();
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='W1'")).toString(),
              QStringLiteral("改"));
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 1);
}

// Columns named like SQL Server's reserved words are bracketed in generated statements.
TEST_F(DataSetUpdates, GeneratedStatementsBracketColumnsNamedLikeReservedWords) {
    auto ds = open(QStringLiteral("select * from t_words"));
    ds->Append();
    ds->FieldByName(QStringLiteral("option")).SetAsString(QStringLiteral("a"));
    ds->FieldByName(QStringLiteral("for")).SetAsInteger(1);
    ds->FieldByName(QStringLiteral("if")).SetAsString(QStringLiteral("b"));
    ds->Post();
    ds->UpdateBatch();
    ds->Edit();
    ds->FieldByName(QStringLiteral("for")).SetAsInteger(2);
    ds->Post();
    ds->UpdateBatch();
    EXPECT_EQ(db.scalar(QStringLiteral("select [for] from t_words where [option]='a'")).toInt(), 2);
    ds->Delete();
    ds->UpdateBatch();
    EXPECT_EQ(db.count(QStringLiteral("t_words")), 0);
}

TEST_F(DataSetUpdates, AnInsertEditedLaterIsOneInsertAndOneDeletedLaterIsNothing) {
    auto ds = open(QStringLiteral("select * from t_goods"));
    appendGoods(*ds, QStringLiteral("C1"));
    appendGoods(*ds, QStringLiteral("C2"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("最终"));
    ds->Post();
    ds->First();
    ds->Delete();
    EXPECT_TRUE(ds->UpdatesPending());
    const int before = logSize();
    ds->UpdateBatch();
    EXPECT_EQ(loggedSince(before),
              QStringList({"insert into t_goods(fcode,fname) values(:fcode,:fname)"}));
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods")).toString(),
              QStringLiteral("最终"));
}

TEST_F(DataSetUpdates, ALongSendReportsItsProgressInSteps) {
    auto ds = open(QStringLiteral("select * from t_goods"));
    for (int i = 0; i < 2500; ++i) appendGoods(*ds, QStringLiteral("P%1").arg(i));
    QList<QPair<int, int>> steps;
    ds->OnUpdateProgress = [&steps](int sent, int total) { steps.append({sent, total}); };
    ds->UpdateBatch();
    EXPECT_EQ(steps, (QList<QPair<int, int>>{{1024, 2500}, {2048, 2500}}));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from t_goods")).toInt(), 2500);
}

TEST_F(DataSetUpdates, AnEditedKeyStillFindsItsRow) {
    db.exec(QStringLiteral("insert into t_etype(fid,fname) values('营业员','营业员')"));
    db.exec(QStringLiteral("insert into t_etype(fid,fname) values('店长','店长')"));
    auto ds = open(QStringLiteral("select * from t_etype"));
    ds->Locate(QStringLiteral("fid"), QStringLiteral("营业员"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("导购"));
    ds->FieldByName(QStringLiteral("fid"))
        .SetAsString(QStringLiteral("导购"));  // the name is the key
    ds->Post();
    const int before = logSize();
    ds->UpdateBatch();
    EXPECT_EQ(
        loggedSince(before),
        QStringList({"update t_etype set fid=:fid,fname=:fname where fid=:fid and fname=:fname"}));
    EXPECT_EQ(db.count(QStringLiteral("t_etype where fid='导购' and fname='导购'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("t_etype where fid='营业员'")), 0);

    // The same through the update object's text: where-parameters take the values as read.
    TRemoteUpdateSql update;
    update.ModifySQL =
        QStringLiteral("update t_etype set fid=:fid,fname=:fname,fnotes='改名'\nwhere fid=:fid");
    ds->SetupDataObject(&update);
    ds->Locate(QStringLiteral("fid"), QStringLiteral("店长"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fid")).SetAsString(QStringLiteral("经理"));
    ds->Post();
    ds->UpdateBatch();
    EXPECT_EQ(db.scalar(QStringLiteral("select fnotes from t_etype where fid='经理'")).toString(),
              QStringLiteral("改名"));
    EXPECT_EQ(db.count(QStringLiteral("t_etype")), 2);
}

TEST_F(DataSetUpdates, AFailedBatchAppliesNothingAndKeepsTheCacheExactly) {
    seedGoods(2);
    auto ds = open(QStringLiteral("select * from t_goods"));
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("改1"));
    ds->Post();
    ds->Next();
    ds->Delete();
    appendGoods(*ds, QStringLiteral("N1"));
    appendGoods(*ds, QStringLiteral("A1"));  // duplicate code: the server refuses it
    appendGoods(*ds, QStringLiteral("N3"));
    QSignalSpy resets(ds.get(), &TRemoteUdpDataSet::dataSetChanged);

    EXPECT_THROW(ds->UpdateBatch(), EDatabaseError);
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='A1'")).toString(),
              QStringLiteral("货品1"));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_TRUE(ds->UpdatesPending());
    EXPECT_EQ(codes(*ds), QStringList({"A1", "N1", "A1", "N3"}));
    ds->First();
    EXPECT_EQ(ds->UpdateStatus(), usModified);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).OldValue(), QVariant("货品1"));
    ds->Next();
    EXPECT_EQ(ds->UpdateStatus(), usInserted);
    EXPECT_TRUE(ds->FieldByName(QStringLiteral("fautoid")).IsNull());  // identity not taken

    // Once the duplicate is corrected the same cache goes through whole.
    ds->Next();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("N2"));
    ds->Post();
    ds->UpdateBatch();
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 4);
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='A2'")), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='A1'")).toString(),
              QStringLiteral("改1"));
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(ds->UpdateStatus(), usUnmodified);
}

TEST_F(DataSetUpdates, CancelUpdatesDiscardsEveryCachedChange) {
    seedGoods(3);
    auto ds = open(QStringLiteral("select * from t_goods"));
    QSignalSpy resets(ds.get(), &TRemoteUdpDataSet::dataSetChanged);
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("x"));
    ds->Post();
    ds->Next();
    ds->Delete();
    ds->Edit();  // now on A3
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("y"));
    ds->Post();
    appendGoods(*ds, QStringLiteral("N"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("editing"));
    ds->CancelUpdates();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(ds->State(), dsBrowse);
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A2", "A3"}));
    EXPECT_EQ(codes(*ds, QStringLiteral("fname")), QStringList({"货品1", "货品2", "货品3"}));
    ds->UpdateBatch();
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fname like '货品%'")), 3);
}

TEST_F(DataSetUpdates, AChangeBySomeoneElseIsDetectedNotOverwritten) {
    seedGoods(2);
    auto ds = open(QStringLiteral("select * from t_goods"));
    auto other = db.connect();
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("我的"));
    ds->Post();
    other->ExecSQL(QStringLiteral("update t_goods set fname='他的' where fcode='A1'"));
    try {
        ds->UpdateBatch();
        ADD_FAILURE() << "a lost update went through";
    } catch (const EConcurrencyError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("记录已被其他用户修改或删除，请刷新后重试。"));
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='A1'")).toString(),
              QStringLiteral("他的"));
    EXPECT_TRUE(ds->UpdatesPending());

    ds->CancelUpdates();
    ds->Last();
    ds->Delete();
    other->ExecSQL(QStringLiteral("delete from t_goods where fcode='A2'"));
    EXPECT_THROW(ds->UpdateBatch(), EConcurrencyError);

    // Refresh drops the stale cache and shows the current rows.
    ds->Refresh();
    EXPECT_EQ(codes(*ds, QStringLiteral("fname")), QStringList({"他的"}));
    EXPECT_FALSE(ds->UpdatesPending());
}

// Written texts save every column by the row's key, as the goods form does:
// the rows are read again first, so a value another user changed meanwhile is
// refused, not written back; a delete checks every value read as well.
TEST_F(DataSetUpdates, WrittenUpdatesAndDeletesRefuseRowsAnotherUserChanged) {
    seedGoods(3);
    auto ds = open(QStringLiteral("select * from t_goods"));
    TRemoteUpdateSql written;
    written.InsertSQL =
        QStringLiteral("insert into t_goods(fcode,fname,fprice) values(:fcode,:fname,:fprice)");
    written.ModifySQL = QStringLiteral(
        "update t_goods set fname=:fname,fprice=:fprice,fqty=:fqty,finused=:finused "
        "where fcode=:fcode");
    written.DeleteSQL = QStringLiteral("delete from t_goods where fcode=:fcode");
    ds->SetupDataObject(&written);
    auto other = db.connect();
    auto rename = [&](const QString& code, const QString& name) {
        ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), code, {}));
        ds->Edit();
        ds->FieldByName(QStringLiteral("fname")).SetAsString(name);
        ds->Post();
    };

    rename(QStringLiteral("A1"), QStringLiteral("我的"));
    other->ExecSQL(QStringLiteral("update t_goods set fprice=99 where fcode='A1'"));
    EXPECT_THROW(ds->UpdateBatch(), EConcurrencyError);
    EXPECT_EQ(db.rows(QStringLiteral("select fname,fprice from t_goods where fcode='A1'")),
              QStringList({"货品1|99"}));
    EXPECT_TRUE(ds->UpdatesPending());

    ds->CancelUpdates();
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("A2"), {}));
    ds->Delete();
    other->ExecSQL(QStringLiteral("update t_goods set fqty=5 where fcode='A2'"));
    EXPECT_THROW(ds->UpdateBatch(), EConcurrencyError);
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='A2'")), 1);

    // Read again, both go through; so does a row added in this visit, whose
    // defaults the server filled in without the dataset reading them.
    ds->Refresh();
    rename(QStringLiteral("A1"), QStringLiteral("我的"));
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("A2"), {}));
    ds->Delete();
    appendGoods(*ds, QStringLiteral("N1"), QStringLiteral("新"));
    ds->UpdateBatch();
    rename(QStringLiteral("N1"), QStringLiteral("新的"));
    ds->UpdateBatch();
    EXPECT_EQ(db.rows(QStringLiteral("select fcode,fname,fprice,fqty from t_goods order by fcode")),
              QStringList({"A1|我的|99|0", "A3|货品3|30|0", "N1|新的||"}));
}

// A written update sends only when a column it sets changed: a row changed in
// other columns leaves alone what someone saved meanwhile.
TEST_F(DataSetUpdates, AWrittenUpdateSkipsRowsWhoseSetColumnsAreUnchanged) {
    seedGoods(2);
    auto ds = open(QStringLiteral("select * from t_goods"));
    TRemoteUpdateSql written;
    written.ModifySQL = QStringLiteral("update t_goods set fprice=:fprice where fcode=:fcode");
    ds->SetupDataObject(&written);
    for (ds->First(); !ds->Eof(); ds->Next()) {
        ds->Edit();
        ds->FieldByName(QStringLiteral("fqty")).SetAsInteger(7);  // kept by the dataset alone
        ds->Post();
    }
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("A2"), {}));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fprice")).SetAsFloat(25);
    ds->Post();
    auto other = db.connect();
    other->ExecSQL(QStringLiteral("update t_goods set fprice=99 where fcode='A1'"));
    ds->UpdateBatch();
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(db.rows(QStringLiteral("select fcode,fprice,fqty from t_goods order by fcode")),
              QStringList({"A1|99|0", "A2|25|0"}));
}

// A generated delete addresses the row by its key; the values read are checked too.
TEST_F(DataSetUpdates, GeneratedDeletesRefuseRowsAnotherUserChanged) {
    seedGoods(2);
    auto ds = open(QStringLiteral("select * from t_goods"));
    auto other = db.connect();
    ds->First();
    ds->Delete();
    other->ExecSQL(QStringLiteral("update t_goods set fprice=1 where fcode='A1'"));
    EXPECT_THROW(ds->UpdateBatch(), EConcurrencyError);
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='A1'")), 1);
    ds->Refresh();
    ds->First();
    ds->Delete();
    ds->UpdateBatch();
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 1);
}

TEST_F(DataSetUpdates, OptimisticLockingAppliesEachPostAndDeleteAtOnce) {
    auto ds = open(QStringLiteral("select * from t_goods"), etOptimistic);
    appendGoods(*ds, QStringLiteral("O1"));
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='O1'")), 1);
    EXPECT_GT(ds->FieldByName(QStringLiteral("fautoid")).AsInteger(), 0);
    EXPECT_FALSE(ds->UpdatesPending());
    ds->Edit();
    ds->FieldByName(QStringLiteral("fprice")).SetAsFloat(12.5);
    ds->Post();
    EXPECT_DOUBLE_EQ(
        db.scalar(QStringLiteral("select fprice from t_goods where fcode='O1'")).toDouble(), 12.5);

    // A refused post leaves the record in its state with its values.
    ds->Append();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("O1"));
    EXPECT_THROW(ds->Post(), EDatabaseError);
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("O1"));
    ds->Cancel();

    ds->First();
    ds->Delete();
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 0);
    EXPECT_TRUE(ds->IsEmpty());
}

TEST_F(DataSetUpdates, ABatchInsideATransactionIsASavepoint) {
    auto ds = open(QStringLiteral("select * from t_goods"));
    db.conn().BeginTrans();
    db.exec(QStringLiteral("insert into t_goods(fcode) values('T0')"));
    appendGoods(*ds, QStringLiteral("T1"));
    appendGoods(*ds, QStringLiteral("T0"));  // fails inside the transaction
    EXPECT_THROW(ds->UpdateBatch(), EDatabaseError);
    EXPECT_TRUE(db.conn().InTransaction());
    ds->Last();
    ds->Delete();
    ds->UpdateBatch();
    db.conn().CommitTrans();
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 2);

    db.conn().BeginTrans();
    appendGoods(*ds, QStringLiteral("T2"));
    ds->UpdateBatch();
    db.conn().RollbackTrans();
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='T2'")), 0);
}

TEST_F(DataSetUpdates, ChangesSentInARolledBackTransactionAreCachedAgain) {
    seedGoods(3);
    auto ds = open(QStringLiteral("select * from t_goods"));
    auto rename = [&](const QString& code, const QString& name) {
        ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), code, {}));
        ds->Edit();
        ds->FieldByName(QStringLiteral("fname")).SetAsString(name);
        ds->Post();
    };
    db.conn().BeginTrans();
    rename(QStringLiteral("A1"), QStringLiteral("改1"));
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("A2"), {}));
    ds->Delete();
    appendGoods(*ds, QStringLiteral("N1"));
    appendGoods(*ds, QStringLiteral("N3"));
    ds->UpdateBatch();
    appendGoods(*ds, QStringLiteral("N2"));
    ds->UpdateBatch();  // a second send in the same transaction
    // Changes after the sends: an edit of a sent insert, a second edit, a sent insert deleted.
    rename(QStringLiteral("N1"), QStringLiteral("新1"));
    rename(QStringLiteral("A1"), QStringLiteral("改1b"));
    ASSERT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("N3"), {}));
    ds->Delete();
    QSignalSpy resets(ds.get(), &TRemoteUdpDataSet::dataSetChanged);
    db.conn().RollbackTrans();

    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 3);
    EXPECT_TRUE(ds->UpdatesPending());
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A3", "N1", "N2"}));
    ds->First();
    EXPECT_EQ(ds->UpdateStatus(), usModified);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).OldValue(), QVariant("货品1"));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).AsString(), QStringLiteral("改1b"));
    ds->Next();
    EXPECT_EQ(ds->UpdateStatus(), usUnmodified);
    for (ds->Next(); !ds->Eof(); ds->Next()) {
        EXPECT_EQ(ds->UpdateStatus(), usInserted);
        EXPECT_TRUE(ds->FieldByName(QStringLiteral("fautoid"))
                        .IsNull());  // the rolled-back identity is gone
    }

    // The same cache, sent again outside the transaction, arrives whole.
    ds->UpdateBatch();
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A3", "N1", "N2"}));
    EXPECT_EQ(db.count(QStringLiteral("t_goods")), 4);
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode in ('A2','N3')")), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='A1'")).toString(),
              QStringLiteral("改1b"));
    EXPECT_EQ(db.scalar(QStringLiteral("select fname from t_goods where fcode='N1'")).toString(),
              QStringLiteral("新1"));

    // Committed, the sent changes stay sent; a later rollback leaves them alone.
    db.conn().BeginTrans();
    appendGoods(*ds, QStringLiteral("N4"));
    ds->UpdateBatch();
    db.conn().CommitTrans();
    db.conn().BeginTrans();
    db.conn().RollbackTrans();
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(db.count(QStringLiteral("t_goods where fcode='N4'")), 1);
}

TEST_F(DataSetUpdates, TablesWithoutKeyAreAddressedByEveryValueRead) {
    db.exec(QStringLiteral("insert into t_nokey(fcode,fname) values('K1',null)"));
    db.exec(QStringLiteral("insert into t_nokey(fcode,fname) values('K2','b')"));
    auto ds = open(QStringLiteral("select * from t_nokey"));
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("a"));
    ds->Post();
    ds->Next();
    ds->Delete();
    const int before = logSize();
    ds->UpdateBatch();
    EXPECT_EQ(loggedSince(before),
              QStringList({"update t_nokey set fname=:fname where fcode=:fcode and fname is null",
                           "delete from t_nokey where fcode=:fcode and fname=:fname"}));
    EXPECT_EQ(db.count(QStringLiteral("t_nokey where fname='a'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("t_nokey")), 1);

    // Grouped rows and rows of a sub-select have no table to write: the batch
    // says so and keeps the changes.
    for (const char* sql : {"select fcode, count(*) as n from t_nokey group by fcode",
                            "select * from (select fcode from t_nokey) x"}) {
        auto other = open(QString::fromLatin1(sql));
        other->Edit();
        other->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("zz"));
        other->Post();
        EXPECT_THROW(other->UpdateBatch(), EDatabaseError) << sql;
        EXPECT_TRUE(other->UpdatesPending());
    }
    EXPECT_EQ(db.count(QStringLiteral("t_nokey where fcode='zz'")), 0);
}

TEST_F(DataSetUpdates, PagesOfPageSizeRows) {
    seedGoods(25);
    auto ds = std::make_unique<TRemoteUdpDataSet>(QStringLiteral("paged"), nullptr);
    ds->setSetupUdpParent(&db.conn());
    ds->SetSQL(QStringLiteral("select * from t_goods order by fautoid"));
    ds->Open();
    EXPECT_EQ(ds->PageSize(), 10);
    ds->NextPage();  // all rows fetched: a page is a move of PageSize records
    EXPECT_EQ(ds->RecNo(), 11);
    ds->PriorPage();
    EXPECT_EQ(ds->RecNo(), 1);
    ds->Close();

    ds->SetSelectType(SelectPage);
    ds->Open();
    EXPECT_EQ(ds->RecordCount(), 10);
    ds->NextPage();
    ds->NextPage();
    EXPECT_EQ(ds->PageIndex(), 2);
    EXPECT_EQ(codes(*ds), QStringList({"A21", "A22", "A23", "A24", "A25"}));
    ds->NextPage();  // no further page
    EXPECT_EQ(ds->PageIndex(), 2);
    ds->PriorPage();
    ds->First();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A11"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("x"));
    ds->Post();
    EXPECT_THROW(ds->NextPage(), EDatabaseError);  // unsaved changes are never dropped by paging
}

TEST_F(DataSetUpdates, RefreshRereadsAndStaysOnTheRecord) {
    seedGoods(5);
    auto ds = open(QStringLiteral("select * from t_goods order by fcode desc"));
    ds->Locate(QStringLiteral("fcode"), QStringLiteral("A2"));
    db.exec(QStringLiteral("insert into t_goods(fcode) values('A9')"));
    db.exec(QStringLiteral("update t_goods set fname='新' where fcode='A2'"));
    ds->Refresh();
    EXPECT_EQ(ds->RecordCount(), 6);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A2"));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).AsString(), QStringLiteral("新"));
}
