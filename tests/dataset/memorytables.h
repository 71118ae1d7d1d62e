#pragma once
// Small in-memory tables shared by the dataset tests.
#include <QStringList>
#include <memory>

#include "remoteudpdataset.h"
#include "testprint.h"

namespace md::test {

// fcode text, fname text, ftype integer, fprice money, checkid bit, fdate datetime.
inline std::unique_ptr<TRemoteUdpDataSet> goodsTable(
    const QString& name = QStringLiteral("goods_mem")) {
    auto ds = std::make_unique<TRemoteUdpDataSet>(name, nullptr);
    ds->AddField(QStringLiteral("fcode"), ftString, 15);
    ds->AddField(QStringLiteral("fname"), ftString, 50);
    ds->AddField(QStringLiteral("ftype"), ftInteger);
    ds->AddField(QStringLiteral("fprice"), ftCurrency);
    ds->AddField(QStringLiteral("checkid"), ftBoolean);
    ds->AddField(QStringLiteral("fdate"), ftDateTime);
    return ds;
}

inline void addGoods(TRemoteUdpDataSet& ds, const QString& code, const QString& name, int type,
                     double price, bool checked) {
    ds.Append();
    ds.FieldByName(QStringLiteral("fcode")).SetAsString(code);
    ds.FieldByName(QStringLiteral("fname")).SetAsString(name);
    ds.FieldByName(QStringLiteral("ftype")).SetAsInteger(type);
    ds.FieldByName(QStringLiteral("fprice")).SetAsFloat(price);
    ds.FieldByName(QStringLiteral("checkid")).SetAsBoolean(checked);
    ds.Post();
}

// A1..A5 with types 1,2,2,3,1, prices 10..50, A2 and A4 checked.
inline std::unique_ptr<TRemoteUdpDataSet> filledGoods() {
    auto ds = goodsTable();
    ds->CreateDataSet();
    const int types[] = {1, 2, 2, 3, 1};
    for (int i = 0; i < 5; ++i)
        addGoods(*ds, QStringLiteral("A%1").arg(i + 1), QStringLiteral("货品%1").arg(i + 1),
                 types[i], 10.0 * (i + 1), i == 1 || i == 3);
    ds->First();
    return ds;
}

// The codes of the records in view, in order; leaves the cursor on the last record.
inline QStringList codes(TRemoteUdpDataSet& ds, const QString& field = QStringLiteral("fcode")) {
    QStringList out;
    for (ds.First(); !ds.Eof(); ds.Next()) out << ds.FieldByName(field).AsString();
    return out;
}

}  // namespace md::test
