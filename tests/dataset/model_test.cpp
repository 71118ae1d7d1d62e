// The grid model and the data source over a dataset.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "datasetmodel.h"
#include "datasource.h"
#include "memorytables.h"

using md::test::addGoods;
using md::test::filledGoods;

namespace {

int column(const TDataSetModel& model, const char* name) {
    return model.columnOf(QString::fromLatin1(name));
}

}  // namespace

TEST(DataSetModel, StaysConsistentWhileRowsComeAndGo) {
    auto ds = filledGoods();
    TDataSetModel model(ds.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removes(&model, &QAbstractItemModel::rowsRemoved);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.columnCount(), 6);

    ds->SetRecNo(3);
    ds->Insert();  // in the middle
    EXPECT_EQ(model.rowCount(), 6);
    ds->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("M"));
    EXPECT_EQ(model.index(2, column(model, "fcode")).data(), QVariant("M"));
    ds->Post();
    addGoods(*ds, QStringLiteral("Z"), QString(), 1, 1, true);
    ds->Append();
    ds->Cancel();
    ds->First();
    ds->Delete();
    EXPECT_EQ(inserts.count(), 3);
    EXPECT_EQ(removes.count(), 2);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(model.rowCount(), 6);

    ds->SetFilter(QStringLiteral("checkid=1"));
    ds->SetFiltered(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    ds->Edit();
    ds->FieldByName(QStringLiteral("checkid")).SetAsBoolean(false);
    ds->Post();  // leaves the filtered view: one row removed
    EXPECT_EQ(model.rowCount(), 2);
    ds->SetFiltered(false);
    ds->DisableControls();
    for (int i = 0; i < 10; ++i)
        addGoods(*ds, QStringLiteral("B%1").arg(i), QString(), 1, 1, false);
    ds->Delete();
    ds->EnableControls();
    EXPECT_EQ(model.rowCount(), ds->RecordCount());
    ds->Close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(DataSetModel, RolesHeadersAndFlags) {
    auto ds = md::test::goodsTable();
    ds->AddCalcField(QStringLiteral("fdouble"), ftCurrency);
    ds->OnCalcFields = [](TRemoteUdpDataSet& d) {
        d.FieldByName(QStringLiteral("fdouble"))
            .SetAsFloat(d.FieldByName(QStringLiteral("fprice")).AsFloat() * 2);
    };
    ds->FieldByName(QStringLiteral("fprice")).SetDisplayFormat(QStringLiteral("0.00"));
    ds->FieldByName(QStringLiteral("fname")).SetDisplayLabel(QStringLiteral("货品名称"));
    ds->CreateDataSet();
    addGoods(*ds, QStringLiteral("A1"), QStringLiteral("衬衫"), 1, 12.5, true);
    ds->Edit();
    ds->FieldByName(QStringLiteral("fdate"))
        .SetAsDateTime(QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    ds->Post();

    TDataSetModel model(ds.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.headerData(column(model, "fname"), Qt::Horizontal), QVariant("货品名称"));
    EXPECT_EQ(model.headerData(column(model, "fcode"), Qt::Horizontal), QVariant("fcode"));
    EXPECT_EQ(model.index(0, column(model, "fprice")).data(), QVariant("12.50"));
    EXPECT_EQ(model.index(0, column(model, "fprice")).data(Qt::EditRole), QVariant(12.5));
    EXPECT_EQ(model.index(0, column(model, "fdate")).data(), QVariant("2024-05-01"));
    EXPECT_EQ(model.index(0, column(model, "fdouble")).data(), QVariant("25"));
    const QModelIndex check = model.index(0, column(model, "checkid"));
    EXPECT_FALSE(check.data().isValid());
    EXPECT_EQ(check.data(Qt::CheckStateRole), QVariant(Qt::Checked));
    EXPECT_TRUE(model.flags(check) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, column(model, "fdouble"))) & Qt::ItemIsEditable);
}

TEST(DataSetModel, SetDataEditsThatRowThroughTheDataSet) {
    auto ds = filledGoods();
    TDataSetModel model(ds.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    EXPECT_TRUE(model.setData(model.index(3, column(model, "fname")), QStringLiteral("改名")));
    EXPECT_EQ(ds->RecNo(), 4);
    EXPECT_EQ(ds->State(), dsEdit);
    EXPECT_GE(changed.count(), 1);
    // Writing another row posts this one first.
    EXPECT_TRUE(
        model.setData(model.index(0, column(model, "checkid")), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(ds->RecNo(), 1);
    EXPECT_TRUE(ds->FieldByName(QStringLiteral("checkid")).AsBoolean());
    EXPECT_EQ(ds->valueAt(3, column(model, "fname")), QVariant("改名"));

    // An untouched new record above the target row is dropped on leaving it:
    // the value still lands in the record that was meant.
    ds->SetRecNo(2);
    ds->Insert();
    const int a3Row = 3;  // A3 is row 3 while the new record sits at row 1
    EXPECT_EQ(ds->valueAt(a3Row, column(model, "fcode")), QVariant("A3"));
    EXPECT_TRUE(model.setData(model.index(a3Row, column(model, "fname")), QStringLiteral("第三")));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QStringLiteral("A3"));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fname")).AsString(), QStringLiteral("第三"));
    EXPECT_EQ(ds->RecordCount(), 5);

    // The framework decides whether the row may be edited; errors go to its handler.
    ds->Post();
    model.BeforeEditRow = [](int) { return false; };
    EXPECT_FALSE(model.setData(model.index(1, column(model, "fname")), QStringLiteral("x")));
    EXPECT_EQ(ds->State(), dsBrowse);
    model.BeforeEditRow = [&](int) {
        ds->Edit();
        return true;
    };
    QString error;
    model.OnError = [&](const std::exception& e) { error = QString::fromUtf8(e.what()); };
    EXPECT_FALSE(model.setData(model.index(1, column(model, "ftype")), QStringLiteral("abc")));
    EXPECT_EQ(error, QStringLiteral("'abc' 不是有效的整数值"));
}

TEST(DataSource, ReportsStateAndDataAndEditsOnDemand) {
    auto ds = filledGoods();
    TDataSource source(QStringLiteral("DbMaster_Source"), nullptr);
    QSignalSpy states(&source, &TDataSource::stateChanged);
    QSignalSpy data(&source, &TDataSource::dataChanged);
    source.setDataSet(ds.get());
    EXPECT_EQ(source.State(), dsBrowse);
    states.clear();
    data.clear();

    ds->Next();
    EXPECT_EQ(data.count(), 1);
    EXPECT_TRUE(source.Edit());
    EXPECT_EQ(source.State(), dsEdit);
    EXPECT_EQ(states.count(), 1);
    ds->FieldByName(QStringLiteral("fname")).SetAsString(QStringLiteral("x"));
    EXPECT_EQ(data.last().at(0).toInt(), ds->FieldByName(QStringLiteral("fname")).Index());
    ds->Post();
    source.SetAutoEdit(false);
    EXPECT_FALSE(source.Edit());
    EXPECT_EQ(ds->State(), dsBrowse);
    ds.reset();
    EXPECT_EQ(source.State(), dsInactive);
}
