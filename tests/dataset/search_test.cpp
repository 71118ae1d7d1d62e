// Filters, Locate, Lookup, calculated and lookup fields.
#include <gtest/gtest.h>

#include "memorytables.h"

using md::test::addGoods;
using md::test::codes;
using md::test::filledGoods;
using md::test::goodsTable;

namespace {

QStringList filtered(TRemoteUdpDataSet& ds, const QString& filter) {
    ds.SetFiltered(false);
    ds.SetFilter(filter);
    ds.SetFiltered(true);
    return codes(ds);
}

}  // namespace

TEST(DataSetFilter, ExpressionsTheWindowsUse) {
    auto ds = filledGoods();
    ds->Append();
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("O'N"));
    ds->Post();  // A6-like row with nulls: type, price, checkid and name are null
    EXPECT_EQ(filtered(*ds, QStringLiteral("checkid=1")), QStringList({"A2", "A4"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("checkid=true")), QStringList({"A2", "A4"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("checkid")), QStringList({"A2", "A4"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("ftype=2")), QStringList({"A2", "A3"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("FTYPE<>2")), QStringList({"A1", "A4", "A5"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("fprice>=30 and fprice<50")), QStringList({"A3", "A4"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("(ftype=1 or ftype=3) and not checkid=1")),
              QStringList({"A1", "A5"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("fcode='a1' or fCode='A5'")),
              QStringList({"A1", "A5"}));  // case ignored
    EXPECT_EQ(filtered(*ds, QStringLiteral("fcode='O''N'")), QStringList({"O'N"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("ftype is null")), QStringList({"O'N"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("fname=''")),
              QStringList({"O'N"}));  // null reads as '' against text
    EXPECT_EQ(filtered(*ds, QStringLiteral("fname like '%3'")), QStringList({"A3"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("fcode='A*'")).size(), 5);
    EXPECT_EQ(filtered(*ds, QStringLiteral("ftype in (2,3)")), QStringList({"A2", "A3", "A4"}));
    EXPECT_EQ(filtered(*ds, QStringLiteral("fcode>'A3'")), QStringList({"A4", "A5", "O'N"}));

    ds->SetFilterCaseInsensitive(false);
    EXPECT_TRUE(filtered(*ds, QStringLiteral("fcode='a1'")).isEmpty());
}

TEST(DataSetFilter, BadFiltersAreRefusedWithAReasonAndChangeNothing) {
    auto ds = filledGoods();
    auto messageOf = [&](const QString& filter) {
        ds->SetFiltered(false);
        ds->SetFilter(filter);
        try {
            ds->SetFiltered(true);
        } catch (const EDatabaseError& e) {
            EXPECT_FALSE(ds->Filtered());
            EXPECT_EQ(ds->RecordCount(), 5);
            return e.message();
        }
        return QString();
    };
    EXPECT_TRUE(messageOf(QStringLiteral("nosuch=1")).contains(QStringLiteral("nosuch")));
    EXPECT_TRUE(messageOf(QStringLiteral("ftype=")).contains(QStringLiteral("ftype=")));
    EXPECT_FALSE(messageOf(QStringLiteral("(ftype=1")).isEmpty());
    EXPECT_FALSE(messageOf(QStringLiteral("fcode='abc")).isEmpty());
    EXPECT_FALSE(messageOf(QStringLiteral("ftype=1 ftype=2")).isEmpty());

    // Changing the text of an active filter to a bad one keeps the old filter.
    ds->SetFilter(QStringLiteral("ftype=2"));
    ds->SetFiltered(true);
    EXPECT_THROW(ds->SetFilter(QStringLiteral("ftype==")), EDatabaseError);
    EXPECT_EQ(codes(*ds), QStringList({"A2", "A3"}));
}

TEST(DataSetFilter, EditsAndAppendsWhileFiltered) {
    auto ds = filledGoods();
    ds->SetFilter(QStringLiteral("checkid=1"));
    ds->SetFiltered(true);
    // A record that stops matching leaves the view when posted.
    ds->First();
    ds->Edit();
    ds->FieldByName(QStringLiteral("checkid")).SetAsBoolean(false);
    ds->Post();
    EXPECT_EQ(ds->RecordCount(), 1);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A4"));
    // An appended matching record stays, and shows where it belongs once unfiltered.
    addGoods(*ds, QStringLiteral("N"), QString(), 1, 1, true);
    EXPECT_EQ(codes(*ds), QStringList({"A4", "N"}));
    ds->SetFiltered(false);
    EXPECT_EQ(codes(*ds), QStringList({"A1", "A2", "A3", "A4", "A5", "N"}));
    // OnFilterRecord reads the record under test.
    ds->SetFilter(QString());
    ds->OnFilterRecord = [](TRemoteUdpDataSet& d, bool& accept) {
        EXPECT_EQ(d.State(), dsFilter);
        accept = d.FieldByName(QStringLiteral("ftype")).AsInteger() == 2;
    };
    ds->SetFiltered(true);
    EXPECT_EQ(codes(*ds), QStringList({"A2", "A3"}));
}

TEST(DataSetLocate, SingleMultiCaseInsensitiveAndPartial) {
    auto ds = filledGoods();
    EXPECT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("A3")));
    EXPECT_EQ(ds->RecNo(), 3);
    EXPECT_FALSE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("a4")));
    EXPECT_EQ(ds->RecNo(), 3);  // not found: the cursor stays
    EXPECT_TRUE(ds->Locate(QStringLiteral("fcode"), QStringLiteral("a4"), loCaseInsensitive));
    EXPECT_EQ(ds->RecNo(), 4);
    EXPECT_TRUE(ds->Locate(QStringLiteral("fname"), QStringLiteral("货品"), loPartialKey));
    EXPECT_EQ(ds->RecNo(), 1);
    EXPECT_TRUE(ds->Locate(QStringLiteral("ftype;checkid"), QVariantList{2, true}));
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_TRUE(ds->Locate(QStringLiteral("ftype;FCODE"),
                           QVariantList{QStringLiteral("2"), QStringLiteral("a3")},
                           TLocateOptions{loCaseInsensitive}));
    EXPECT_EQ(ds->RecNo(), 3);
    EXPECT_FALSE(ds->Locate(QStringLiteral("ftype"), QStringLiteral("abc")));
    EXPECT_THROW(ds->Locate(QStringLiteral("ftype;fcode"), 2), EDatabaseError);

    // Lookup does not move and matches text ignoring case.
    ds->First();
    EXPECT_EQ(ds->Lookup(QStringLiteral("fcode"), QStringLiteral("a5"), QStringLiteral("fname")),
              QVariant("货品5"));
    EXPECT_EQ(
        ds->Lookup(QStringLiteral("fcode"), QStringLiteral("A5"), QStringLiteral("ftype;fprice")),
        QVariant(QVariantList{qlonglong(1), 50.0}));
    EXPECT_TRUE(ds->Lookup(QStringLiteral("fcode"), QStringLiteral("zz"), QStringLiteral("fname"))
                    .isNull());
    EXPECT_EQ(ds->RecNo(), 1);
}

TEST(DataSetCalcFields, ComputedPerRowWithoutMovingAndRecomputedOnChange) {
    auto ds = goodsTable();
    ds->AddField(QStringLiteral("fqty"), ftInteger);
    ds->AddCalcField(QStringLiteral("famount"), ftCurrency);
    int calls = 0;
    ds->OnCalcFields = [&](TRemoteUdpDataSet& d) {
        ++calls;
        EXPECT_EQ(d.State(), dsCalcFields);
        d.FieldByName(QStringLiteral("famount"))
            .SetAsFloat(d.FieldByName(QStringLiteral("fqty")).AsInteger() *
                        d.FieldByName(QStringLiteral("fprice")).AsFloat());
    };
    ds->CreateDataSet();
    for (int i = 1; i <= 3; ++i) {
        addGoods(*ds, QStringLiteral("A%1").arg(i), QString(), 1, 10.0 * i, false);
        ds->Edit();
        ds->FieldByName(QStringLiteral("fqty")).SetAsInteger(i);
        ds->Post();
    }
    ds->First();
    calls = 0;
    const int amount = ds->FieldByName(QStringLiteral("famount")).Index();
    EXPECT_EQ(ds->valueAt(2, amount).toDouble(), 90.0);  // another row, cursor unmoved
    EXPECT_EQ(ds->RecNo(), 1);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("famount")).AsFloat(), 10.0);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("famount")).AsFloat(), 10.0);
    EXPECT_EQ(calls, 2);  // once per row, then read from the row's buffer

    ds->Edit();
    ds->FieldByName(QStringLiteral("fqty")).SetAsInteger(5);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("famount")).AsFloat(), 50.0);
    ds->Cancel();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("famount")).AsFloat(), 10.0);
    // Calculated fields take part in filters and Locate.
    ds->SetFilter(QStringLiteral("famount>=40"));
    ds->SetFiltered(true);
    EXPECT_EQ(codes(*ds), QStringList({"A2", "A3"}));
    EXPECT_TRUE(ds->Locate(QStringLiteral("famount"), 90));
    EXPECT_THROW(ds->FieldByName(QStringLiteral("famount")).SetAsFloat(1), EDatabaseError);
}

TEST(DataSetCalcFields, LookupFieldsFollowTheirSource) {
    TRemoteUdpDataSet shops(QStringLiteral("shops"), nullptr);
    shops.AddField(QStringLiteral("fcode"), ftString, 15);
    shops.AddField(QStringLiteral("fabbrev"), ftString, 30);
    shops.CreateDataSet();
    auto addShop = [&](const char* code, const char* name) {
        shops.Append();
        shops.FieldByName(QStringLiteral("fcode")).SetAsString(QString::fromUtf8(code));
        shops.FieldByName(QStringLiteral("fabbrev")).SetAsString(QString::fromUtf8(name));
        shops.Post();
    };
    addShop("S01", "南京路店");
    addShop("S02", "淮海路店");

    TRemoteUdpDataSet prices(QStringLiteral("prices"), nullptr);
    prices.AddField(QStringLiteral("fclientcode"), ftString, 15);
    prices.AddField(QStringLiteral("fprice"), ftCurrency);
    prices.AddLookupField(QStringLiteral("shopname"), QStringLiteral("fclientcode"), &shops,
                          QStringLiteral("fcode"), QStringLiteral("fabbrev"));
    prices.CreateDataSet();
    for (const char* code : {"S02", "s01", "S09"}) {
        prices.Append();
        prices.FieldByName(QStringLiteral("fclientcode")).SetAsString(QString::fromUtf8(code));
        prices.Post();
    }
    TField& shopName = prices.FieldByName(QStringLiteral("shopname"));
    prices.First();
    EXPECT_EQ(shopName.AsString(), QStringLiteral("淮海路店"));
    prices.Next();
    EXPECT_EQ(shopName.AsString(), QStringLiteral("南京路店"));  // codes match ignoring case
    prices.Next();
    EXPECT_TRUE(shopName.IsNull());
    addShop("S09", "新店");
    EXPECT_EQ(shopName.AsString(), QStringLiteral("新店"));
    shops.First();
    shops.Edit();
    shops.FieldByName(QStringLiteral("fabbrev")).SetAsString(QStringLiteral("南京东路店"));
    shops.Post();
    EXPECT_EQ(prices.valueAt(1, shopName.Index()).toString(), QStringLiteral("南京东路店"));
    EXPECT_TRUE(shopName.ReadOnly());
}
