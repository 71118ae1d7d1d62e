// Navigation, editing states and the order of events.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "memorytables.h"

using md::test::codes;
using md::test::filledGoods;
using md::test::goodsTable;

namespace {

// Records every event of a dataset by name.
struct EventLog {
    QStringList events;

    explicit EventLog(TRemoteUdpDataSet& ds) {
        auto hook = [this](TRemoteUdpDataSet::Event& event, const char* name) {
            event = [this, name](TRemoteUdpDataSet&) { events << QString::fromLatin1(name); };
        };
        hook(ds.BeforeOpen, "BeforeOpen");
        hook(ds.AfterOpen, "AfterOpen");
        hook(ds.BeforeClose, "BeforeClose");
        hook(ds.AfterClose, "AfterClose");
        hook(ds.BeforeInsert, "BeforeInsert");
        hook(ds.OnNewRecord, "OnNewRecord");
        hook(ds.AfterInsert, "AfterInsert");
        hook(ds.BeforeEdit, "BeforeEdit");
        hook(ds.AfterEdit, "AfterEdit");
        hook(ds.BeforePost, "BeforePost");
        hook(ds.AfterPost, "AfterPost");
        hook(ds.BeforeCancel, "BeforeCancel");
        hook(ds.AfterCancel, "AfterCancel");
        hook(ds.BeforeDelete, "BeforeDelete");
        hook(ds.AfterDelete, "AfterDelete");
        hook(ds.BeforeScroll, "BeforeScroll");
        hook(ds.AfterScroll, "AfterScroll");
    }
    QStringList take() { return std::exchange(events, {}); }
};

QStringList list(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* n : names) out << QString::fromLatin1(n);
    return out;
}

}  // namespace

TEST(DataSetNavigation, BofAndEofFollowTheUsualRules) {
    auto ds = goodsTable();
    ds->CreateDataSet();
    EXPECT_TRUE(ds->Bof());
    EXPECT_TRUE(ds->Eof());
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_EQ(ds->RecNo(), 0);
    ds->Next();
    EXPECT_TRUE(ds->Eof());

    ds = filledGoods();
    EXPECT_TRUE(ds->Bof());
    EXPECT_FALSE(ds->Eof());
    ds->Next();
    EXPECT_FALSE(ds->Bof());
    ds->Prior();  // back on the first record, not yet before it
    EXPECT_FALSE(ds->Bof());
    ds->Prior();
    EXPECT_TRUE(ds->Bof());
    EXPECT_EQ(ds->RecNo(), 1);
    ds->Last();
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(ds->RecNo(), 5);
    ds->SetRecNo(4);
    EXPECT_FALSE(ds->Eof());
    EXPECT_EQ(ds->MoveBy(3), 1);  // stops on the last record, which sets Eof
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A5"));
    EXPECT_EQ(codes(*ds).size(), 5);
}

TEST(DataSetNavigation, InsertGoesBeforeTheCurrentRecordAndAppendAtTheEnd) {
    auto ds = filledGoods();
    ds->SetRecNo(3);
    ds->Insert();
    EXPECT_EQ(ds->RecNo(), 3);
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("I"));
    ds->Post();
    ds->Append();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("Z"));
    ds->Post();
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A2", "I", "A3", "A4", "A5", "Z"}));
    EXPECT_EQ(ds->RecordCount(), 7);
}

TEST(DataSetNavigation, EventsFireInTheDocumentedOrder) {
    auto ds = goodsTable();
    EventLog log(*ds);
    ds->CreateDataSet();
    EXPECT_EQ(log.take(), list({"BeforeOpen", "AfterOpen"}));

    ds->Append();
    EXPECT_EQ(log.take(),
              list({"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("X"));
    ds->Post();
    EXPECT_EQ(log.take(), list({"BeforePost", "AfterPost"}));

    // Appending while editing a modified record posts it first.
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("n"));
    ds->Append();
    EXPECT_EQ(log.take(),
              list({"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeInsert",
                    "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
    ds->Cancel();
    EXPECT_EQ(log.take(), list({"BeforeCancel", "AfterCancel"}));

    ds->Delete();
    EXPECT_EQ(log.take(), list({"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    ds->Close();
    EXPECT_EQ(log.take(), list({"BeforeClose", "AfterClose"}));
}

TEST(DataSetNavigation, NavigationPostsAModifiedRecordAndDropsAnUntouchedNewOne) {
    auto ds = filledGoods();
    ds->Edit();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("改过"));
    ds->Next();
    EXPECT_EQ(ds->State(), dsBrowse);
    ds->First();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).AsString(), QStringLiteral("改过"));

    // Values set by OnNewRecord do not make the record modified.
    ds->OnNewRecord = [](TRemoteUdpDataSet& d) {
        d.FieldByName(QStringLiteral("ftype")).SetAsInteger(9);
    };
    ds->Append();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("ftype")).AsInteger(), 9);
    EXPECT_FALSE(ds->Modified());
    ds->First();
    EXPECT_EQ(ds->RecordCount(), 5);

    ds->Append();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("B1"));
    ds->First();
    EXPECT_EQ(ds->RecordCount(), 6);
    ds->Last();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("B1"));
}

TEST(DataSetNavigation, SilentAbortInBeforePostKeepsTheRecordAndItsValues) {
    auto ds = filledGoods();
    ds->BeforePost = [](TRemoteUdpDataSet& d) {
        if (d.FieldByName(QStringLiteral("fcode")).AsString().isEmpty()) Abort();
    };
    ds->Append();
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("没有编号"));
    EXPECT_THROW(ds->Post(), EAbort);
    EXPECT_EQ(ds->State(), dsInsert);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).AsString(), QStringLiteral("没有编号"));
    EXPECT_EQ(ds->RecordCount(), 6);
    // Navigation posts, so it is refused the same way and the cursor stays.
    EXPECT_THROW(ds->First(), EAbort);
    EXPECT_EQ(ds->RecNo(), 6);
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("A6"));
    ds->Post();
    EXPECT_EQ(ds->State(), dsBrowse);

    ds->BeforeEdit = [](TRemoteUdpDataSet&) { Abort(); };
    EXPECT_THROW(ds->Edit(), EAbort);
    EXPECT_EQ(ds->State(), dsBrowse);
}

TEST(DataSetNavigation, CancelRestoresValuesAndRemovesNewRecords) {
    auto ds = filledGoods();
    ds->SetRecNo(2);
    ds->Edit();
    ds->FieldByName(QStringLiteral("ftype")).SetAsInteger(99);
    ds->Cancel();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("ftype")).AsInteger(), 2);
    ds->Insert();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("new"));
    ds->Cancel();
    EXPECT_EQ(ds->RecordCount(), 5);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A2"));
    // Delete in insert state only cancels; Delete on an empty table is an error.
    ds->Append();
    ds->Delete();
    EXPECT_EQ(ds->RecordCount(), 5);
    ds->EmptyDataSet();
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    // Edit on an empty table starts a new record.
    ds->Edit();
    EXPECT_EQ(ds->State(), dsInsert);
}

TEST(DataSetNavigation, DeleteKeepsTheCursorInPlace) {
    auto ds = filledGoods();
    ds->SetRecNo(2);
    ds->Delete();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A3"));
    ds->Last();
    ds->Delete();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A4"));
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A3", "A4"}));
}

TEST(DataSetNavigation, DisabledControlsHearNothingUntilOneReset) {
    auto ds = filledGoods();
    QSignalSpy resets(ds.get(), &TRemoteUdpDataSet::dataSetChanged);
    QSignalSpy inserted(ds.get(), &TRemoteUdpDataSet::rowInserted);
    QSignalSpy fields(ds.get(), &TRemoteUdpDataSet::fieldChanged);
    ds->DisableControls();
    ds->DisableControls();
    for (int i = 0; i < 3; ++i)
        md::test::addGoods(*ds, QStringLiteral("B%1").arg(i), QString(), 1, 1, false);
    ds->EnableControls();
    EXPECT_EQ(resets.count() + inserted.count() + fields.count(), 0);
    ds->EnableControls();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    md::test::addGoods(*ds, QStringLiteral("C"), QString(), 1, 1, false);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(fields.count(), 5);
}

TEST(DataSetNavigation, BookmarksSurviveFilteringAndDieWithTheData) {
    auto ds = filledGoods();
    ds->SetRecNo(4);
    const TBookmark a4 = ds->GetBookmark();
    ds->SetRecNo(3);
    const TBookmark a3 = ds->GetBookmark();
    ds->SetFilter(QStringLiteral("checkid=1"));
    ds->SetFiltered(true);
    ds->GotoBookmark(a4);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A4"));
    EXPECT_TRUE(ds->BookmarkValid(a3));
    EXPECT_THROW(ds->GotoBookmark(a3), EDatabaseError);  // filtered out
    ds->SetFiltered(false);
    ds->GotoBookmark(a3);
    EXPECT_EQ(ds->RecNo(), 3);
    ds->Delete();
    EXPECT_FALSE(ds->BookmarkValid(a3));
    ds->Close();
    ds->CreateDataSet();
    EXPECT_FALSE(ds->BookmarkValid(a4));
}
