// The conversions shared by the translator and the SQLite runtime functions.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QVariant>

#include "tsql/sqlitecollation.h"
#include "tsql/sqliteruntime.h"
#include "tsql/valueconv.h"

using namespace md::sql;

namespace {

QString datetimeOf(const char* text) {
    const auto d = values::parseDateTime(QString::fromUtf8(text));
    return d ? values::formatDateTime(*d) : QStringLiteral("<error>");
}

TEST(ValueConversion, DatesInTheFormsWorkstationsWrite) {
    EXPECT_EQ(datetimeOf("2026-01-31"), QStringLiteral("2026-01-31 00:00:00"));
    EXPECT_EQ(datetimeOf(" 2026/1/5 8:05 "), QStringLiteral("2026-01-05 08:05:00"));
    EXPECT_EQ(datetimeOf("2026.12.01 23:59:59.997"), QStringLiteral("2026-12-01 23:59:59"));
    EXPECT_EQ(datetimeOf("20260131"), QStringLiteral("2026-01-31 00:00:00"));
    EXPECT_EQ(datetimeOf("2026-01-31T10:00:00"), QStringLiteral("2026-01-31 10:00:00"));
    EXPECT_EQ(datetimeOf("2026年1月5日"), QStringLiteral("2026-01-05 00:00:00"));
    EXPECT_EQ(datetimeOf("2:30 PM"), QStringLiteral("1900-01-01 14:30:00"));
    EXPECT_EQ(datetimeOf(""), QStringLiteral("1900-01-01 00:00:00"));
    for (const char* bad : {"2026-02-30", "2025-02-29", "2026-13-01", "abc", "2026-01-31 25:00",
                            "1/5/2026", "2026-01"})
        EXPECT_EQ(datetimeOf(bad), QStringLiteral("<error>")) << bad;
    EXPECT_EQ(datetimeOf("2024-02-29"), QStringLiteral("2024-02-29 00:00:00"));
    EXPECT_EQ(values::formatDateTime(*values::dateTimeFromDays(45000.5)),
              QStringLiteral("2023-03-17 12:00:00"));
    EXPECT_EQ(values::formatDateTimeStyle(*values::parseDateTime(u"2026-01-05 08:05:09"), 112),
              QStringLiteral("20260105"));
}

TEST(ValueConversion, NumbersAsSqlServerConvertsThem) {
    EXPECT_EQ(values::parseInteger(u" -12 "), 12 * -1);
    EXPECT_EQ(values::parseInteger(u""), 0);
    EXPECT_FALSE(values::parseInteger(u"1.5"));
    EXPECT_FALSE(values::parseInteger(u"99999999999999999999"));
    EXPECT_EQ(values::parseDecimal(u"12.50"), 12.5);
    EXPECT_FALSE(values::parseDecimal(u"1e3"));
    EXPECT_EQ(values::parseFloat(u"1e3"), 1000.0);
    EXPECT_EQ(values::formatNumber(12.0, -1), QStringLiteral("12"));
    EXPECT_EQ(values::formatNumber(1.255, 2), QStringLiteral("1.26"));
    EXPECT_EQ(values::formatNumber(-1.255, 2), QStringLiteral("-1.26"));
    EXPECT_EQ(values::formatNumber(0.1 + 0.2, -1), QStringLiteral("0.3"));
    EXPECT_EQ(values::formatFloat(1234567.0), QStringLiteral("1.23457e+006"));
    EXPECT_EQ(values::formatFloat(123.456), QStringLiteral("123.456"));
}

class Runtime : public ::testing::Test {
  protected:
    Runtime() {
        sqlite3_open(":memory:", &db);
        registerSqliteRuntime(db);
    }
    ~Runtime() override { sqlite3_close(db); }

    // The value of one expression, or its error message as text prefixed by "!".
    QVariant eval(const char* expression) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray("select ") + expression;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            return QString(QStringLiteral("!prepare: ") + QString::fromUtf8(sqlite3_errmsg(db)));
        QVariant v;
        if (sqlite3_step(st) == SQLITE_ROW) {
            switch (sqlite3_column_type(st, 0)) {
                case SQLITE_INTEGER:
                    v = qlonglong(sqlite3_column_int64(st, 0));
                    break;
                case SQLITE_FLOAT:
                    v = sqlite3_column_double(st, 0);
                    break;
                case SQLITE_TEXT:
                    v = QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
                    break;
                default:
                    break;
            }
        } else {
            v = QString(QStringLiteral("!") + QString::fromUtf8(sqlite3_errmsg(db)));
        }
        sqlite3_finalize(st);
        return v;
    }
    sqlite3* db = nullptr;
};

TEST_F(Runtime, AddFollowsSqlServerTypes) {
    EXPECT_EQ(eval("md_add('A', 'B')"), QVariant(QStringLiteral("AB")));
    EXPECT_EQ(eval("md_add(1, 2)"), QVariant(3LL));
    EXPECT_EQ(eval("md_add(1.5, 2)"), QVariant(3.5));
    EXPECT_EQ(eval("md_add(1, ' 2')"), QVariant(3LL));
    EXPECT_EQ(eval("md_add(1, '2.5')"),
              QVariant(QStringLiteral("!在将 varchar 值 '2.5' 转换成数据类型 int 时失败。")));
    EXPECT_EQ(eval("md_add(1.5, '2.5')"), QVariant(4.0));
    EXPECT_FALSE(eval("md_add(NULL, 'x')").isValid());
    EXPECT_EQ(eval("md_add(9223372036854775807, 1)").typeId(), QMetaType::Double);
}

TEST_F(Runtime, ConversionsAndTheirErrors) {
    EXPECT_EQ(eval("md_datetime('2026-1-5')"), QVariant(QStringLiteral("2026-01-05 00:00:00")));
    EXPECT_EQ(eval("md_datetime('x')"),
              QVariant(QStringLiteral("!从字符串转换日期和/或时间时，转换失败。")));
    EXPECT_FALSE(eval("md_datetime(NULL)").isValid());
    EXPECT_EQ(eval("md_date('2026-01-05 23:00:00')"), QVariant(QStringLiteral("2026-01-05")));
    EXPECT_EQ(eval("md_datestr('2026-01-05 23:00:00', 23, 10)"),
              QVariant(QStringLiteral("2026-01-05")));
    EXPECT_EQ(eval("md_datestr('2026-01-05 23:00:00', 120, 30)"),
              QVariant(QStringLiteral("2026-01-05 23:00:00")));
    EXPECT_EQ(eval("md_varchar(12, 30, -1)"), QVariant(QStringLiteral("12")));
    EXPECT_EQ(eval("md_varchar(12, 30, 2)"), QVariant(QStringLiteral("12.00")));
    EXPECT_EQ(eval("md_varchar(12.5, 30, -1)"), QVariant(QStringLiteral("12.5")));
    EXPECT_EQ(eval("md_varchar(1234567.0, 30, -2)"), QVariant(QStringLiteral("1.23457e+006")));
    EXPECT_EQ(eval("md_varchar('abcdef', 3, -1)"), QVariant(QStringLiteral("abc")));
    EXPECT_EQ(eval("md_int('12')"), QVariant(12LL));
    EXPECT_EQ(eval("md_int(12.9)"), QVariant(12LL));
    EXPECT_EQ(eval("md_int('x')"),
              QVariant(QStringLiteral("!在将 varchar 值 'x' 转换成数据类型 int 时失败。")));
    EXPECT_EQ(eval("md_decimal('1.255', 2)"), QVariant(1.26));
    EXPECT_EQ(eval("md_decimal('', 2)"), QVariant(0.0));
    EXPECT_EQ(eval("md_bit('true')"), QVariant(1LL));
    EXPECT_EQ(eval("md_bit(0.0)"), QVariant(0LL));
    EXPECT_EQ(eval("md_year('2026-03-01')"), QVariant(2026LL));
    EXPECT_EQ(eval("md_month('2026-03-01')"), QVariant(3LL));
    EXPECT_EQ(eval("md_day('2026-03-01 10:00')"), QVariant(1LL));
}

TEST_F(Runtime, StringFunctions) {
    EXPECT_EQ(eval("md_charindex('b', 'ABCB')"), QVariant(2LL));
    EXPECT_EQ(eval("md_charindex('b', 'ABCB', 3)"), QVariant(4LL));
    EXPECT_EQ(eval("md_charindex('x', 'ABC')"), QVariant(0LL));
    EXPECT_EQ(eval("md_right('中文字', 2)"), QVariant(QStringLiteral("文字")));
    EXPECT_EQ(eval("md_right('ab', 5)"), QVariant(QStringLiteral("ab")));
    EXPECT_EQ(eval("md_right('ab', 0)"), QVariant(QString()));
    EXPECT_EQ(eval("length(md_newid())"), QVariant(36LL));
}

// Text compares as on SQL Server's Chinese_PRC_CI_AS: case ignored, trailing
// blanks ignored, Chinese in pinyin order after Latin.
TEST_F(Runtime, TextCollation) {
    EXPECT_EQ(eval("'YY241J0001 ' = 'yy241j0001' COLLATE NOCASE"), QVariant(1LL));
    EXPECT_EQ(eval("'a b' = 'ab' COLLATE NOCASE"), QVariant(0LL));
    EXPECT_EQ(eval("' a' = 'a' COLLATE NOCASE"), QVariant(0LL));
    EXPECT_EQ(eval("'Ä' = 'a' COLLATE NOCASE"), QVariant(0LL));
    EXPECT_EQ(eval("'ＡＢ' = 'ab' COLLATE NOCASE"), QVariant(1LL));
    sqlite3_exec(db,
                 "create table dept(fname varchar(20) collate nocase);"
                 "insert into dept values('张三'),('阿姨'),('北京'),('Zebra'),('中心'),('apple')",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, "select group_concat(fname, ' ') from (select fname from dept order by fname)", -1, &st,
        nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))),
              QStringLiteral("apple Zebra 阿姨 北京 张三 中心"));
    sqlite3_finalize(st);
}

// Codes of letters and digits take a shortcut past ICU; it must order exactly
// as ICU does, or an index built by one would be searched by the other.
TEST(TextCollation, TheShortcutForCodesOrdersAsTheCollator) {
    const char alphabet[] = "0123456789abcxyzABCXYZ";
    std::srand(20261205);
    for (int i = 0; i < 20000; ++i) {
        QByteArray a, b;
        for (int n = std::rand() % 6; n > 0; --n) a += alphabet[std::rand() % 22];
        for (int n = std::rand() % 6; n > 0; --n) b += alphabet[std::rand() % 22];
        if (std::rand() % 4 == 0) b = a.toUpper() + b.left(std::rand() % 2);
        const auto sign = [](int order) { return order < 0 ? -1 : order > 0 ? 1 : 0; };
        ASSERT_EQ(
            sign(compareText(a.constData(), int(a.size()), b.constData(), int(b.size()))),
            sign(compareTextByCollator(a.constData(), int(a.size()), b.constData(), int(b.size()))))
            << a.constData() << " " << b.constData();
    }
}

}  // namespace
