// Field values: conversions, canonical dates, display formats, lookup by name.
#include <gtest/gtest.h>

#include "memorytables.h"

using md::test::filledGoods;
using md::test::goodsTable;

namespace {

QString errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return QString();
}

}  // namespace

TEST(DataSetFields, TextConvertsToNumbersOrSaysWhyNot) {
    auto ds = goodsTable();
    ds->CreateDataSet();
    ds->Append();
    TField& code = ds->FieldByName(QStringLiteral("fcode"));
    code.SetAsString(QStringLiteral("12"));
    EXPECT_EQ(code.AsInteger(), 12);
    EXPECT_DOUBLE_EQ(code.AsFloat(), 12.0);
    code.SetAsString(QStringLiteral("abc"));
    EXPECT_EQ(errorOf([&] { code.AsInteger(); }), QStringLiteral("'abc' 不是有效的整数值"));
    EXPECT_FALSE(errorOf([&] { code.AsFloat(); }).isEmpty());

    // Typed text goes into number fields as numbers; a refused text leaves the old value.
    TField& type = ds->FieldByName(QStringLiteral("ftype"));
    type.SetAsString(QStringLiteral(" 7 "));
    EXPECT_EQ(type.Value(), QVariant(qlonglong(7)));
    EXPECT_EQ(errorOf([&] { type.SetAsString(QStringLiteral("x1")); }),
              QStringLiteral("'x1' 不是有效的整数值"));
    EXPECT_EQ(type.AsInteger(), 7);
    type.SetAsString(QString());
    EXPECT_TRUE(type.IsNull());
    EXPECT_EQ(type.AsInteger(), 0);
    EXPECT_EQ(type.AsString(), QString());
}

TEST(DataSetFields, BooleansDatesAndFloatsHaveOneTextForm) {
    auto ds = goodsTable();
    ds->CreateDataSet();
    ds->Append();
    TField& check = ds->FieldByName(QStringLiteral("checkid"));
    check.SetAsString(QStringLiteral("True"));
    EXPECT_TRUE(check.AsBoolean());
    EXPECT_EQ(check.AsString(), QStringLiteral("1"));  // goes straight into SQL
    EXPECT_EQ(check.DisplayText(), QStringLiteral("是"));
    check.SetValue(0);
    EXPECT_FALSE(check.AsBoolean());
    EXPECT_EQ(check.AsString(), QStringLiteral("0"));

    TField& date = ds->FieldByName(QStringLiteral("fdate"));
    date.SetAsDateTime(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(date.Value(), QVariant(QStringLiteral("2024-03-05")));
    date.SetAsDateTime(QDateTime(QDate(2024, 3, 5), QTime(8, 30, 15)));
    EXPECT_EQ(date.AsString(), QStringLiteral("2024-03-05 08:30:15"));
    date.SetAsString(QStringLiteral("2024/3/6"));
    EXPECT_EQ(date.AsString(), QStringLiteral("2024-03-06"));
    date.SetValue(QStringLiteral("2024-03-07 00:00:00"));  // as SQLite may hand it over
    EXPECT_EQ(date.AsString(), QStringLiteral("2024-03-07"));
    EXPECT_EQ(date.AsDateTime(), QDateTime(QDate(2024, 3, 7), QTime(0, 0)));
    EXPECT_FALSE(errorOf([&] { date.SetAsString(QStringLiteral("2024-13-01")); }).isEmpty());
    // Written as stored, a date is still checked for being a day of the calendar.
    EXPECT_FALSE(errorOf([&] { date.SetAsString(QStringLiteral("2023-02-29")); }).isEmpty());
    date.SetAsString(QStringLiteral("2024-02-29"));
    EXPECT_EQ(date.AsDateTime(), QDateTime(QDate(2024, 2, 29), QTime(0, 0)));

    TField& price = ds->FieldByName(QStringLiteral("fprice"));
    price.SetAsFloat(12.5);
    EXPECT_EQ(price.AsString(), QStringLiteral("12.5"));
    price.SetAsFloat(0.1 + 0.2);
    EXPECT_EQ(price.AsString(), QStringLiteral("0.3"));
}

TEST(DataSetFields, DisplayFormats) {
    EXPECT_EQ(TField::formatNumber(12.5, QStringLiteral("0.00")), QStringLiteral("12.50"));
    EXPECT_EQ(TField::formatNumber(1234567.891, QStringLiteral("#,##0.00")),
              QStringLiteral("1,234,567.89"));
    EXPECT_EQ(TField::formatNumber(-3.1, QStringLiteral("0.##")), QStringLiteral("-3.1"));
    EXPECT_EQ(TField::formatNumber(-0.001, QStringLiteral("0.00")), QStringLiteral("0.00"));
    EXPECT_EQ(TField::formatNumber(2, QStringLiteral("0")), QStringLiteral("2"));
    EXPECT_EQ(TField::formatNumber(0.25, QStringLiteral("0%")), QStringLiteral("25%"));
    EXPECT_EQ(TField::formatNumber(0.5, QStringLiteral("￥0.00")), QStringLiteral("￥0.50"));
    const QDateTime dt(QDate(2024, 1, 2), QTime(9, 5, 7));
    EXPECT_EQ(TField::formatDateTime(dt, QStringLiteral("yyyy-mm-dd hh:nn:ss")),
              QStringLiteral("2024-01-02 09:05:07"));
    EXPECT_EQ(TField::formatDateTime(dt, QStringLiteral("yyyy年m月d日 hh:mm")),
              QStringLiteral("2024年1月2日 09:05"));

    auto ds = filledGoods();
    ds->FieldByName(QStringLiteral("fprice")).SetDisplayFormat(QStringLiteral("0.00"));
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fprice")).DisplayText(), QStringLiteral("10.00"));
}

TEST(DataSetFields, FieldsAreFoundInAnyCaseAndMissingOnesAreNamed) {
    auto ds = filledGoods();
    EXPECT_EQ(&ds->FieldByName(QStringLiteral("FCODE")), &ds->FieldByName(QStringLiteral("fCode")));
    EXPECT_EQ(ds->FindField(QStringLiteral("nosuch")), nullptr);
    const QString message = errorOf([&] { ds->FieldByName(QStringLiteral("nosuch")); });
    EXPECT_TRUE(message.contains(QStringLiteral("goods_mem")));
    EXPECT_TRUE(message.contains(QStringLiteral("nosuch")));
    EXPECT_THROW(ds->AddCalcField(QStringLiteral("late"), ftInteger),
                 EDatabaseError);  // only while closed
    // Fields of an empty or closed dataset read as null instead of failing.
    ds->EmptyDataSet();
    EXPECT_EQ(ds->FieldByName(QStringLiteral("fcode")).AsString(), QString());
    ds->Close();
    EXPECT_TRUE(ds->FieldByName(QStringLiteral("ftype")).IsNull());
}

TEST(DataSetFields, WritingNeedsTheEditStateAndAWritableField) {
    auto ds = filledGoods();
    TField& name = ds->FieldByName(QStringLiteral("fname"));
    EXPECT_FALSE(errorOf([&] { name.SetAsString(QStringLiteral("x")); }).isEmpty());
    ds->Edit();
    name.SetReadOnly(true);
    EXPECT_FALSE(errorOf([&] { name.SetAsString(QStringLiteral("x")); }).isEmpty());
    name.SetReadOnly(false);
    name = QStringLiteral("新名称");
    EXPECT_TRUE(ds->Modified());
    EXPECT_EQ(name.OldValue(), QVariant(QStringLiteral("货品1")));
    ds->Post();
    EXPECT_EQ(name.AsString(), QStringLiteral("新名称"));

    // Required fields are checked when posting.
    ds->FieldByName(QStringLiteral("ftype")).SetRequired(true);
    ds->Append();
    EXPECT_TRUE(errorOf([&] { ds->Post(); }).contains(QStringLiteral("ftype")));
    EXPECT_EQ(ds->State(), dsInsert);
}

TEST(DataSetFields, OnValidateSeesTheNewValueAndMayRefuseIt) {
    auto ds = filledGoods();
    TField& code = ds->FieldByName(QStringLiteral("fcode"));
    QStringList seen;
    int changes = 0;
    code.OnValidate = [&](TField& f) {
        seen << f.AsString();
        if (f.AsString() == QLatin1String("A3")) Abort();  // "already exists"
    };
    code.OnChange = [&](TField&) { ++changes; };
    ds->Append();
    EXPECT_THROW(code.SetAsString(QStringLiteral("A3")), EAbort);
    EXPECT_TRUE(code.IsNull());
    EXPECT_EQ(changes, 0);
    code.SetAsString(QStringLiteral("A9"));
    EXPECT_EQ(code.AsString(), QStringLiteral("A9"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("A3"), QStringLiteral("A9")}));
    EXPECT_EQ(changes, 1);
}
