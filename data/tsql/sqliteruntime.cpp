#include "tsql/sqliteruntime.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QUuid>
#include <cmath>

#include "tsql/sqlitecollation.h"
#include "tsql/valueconv.h"

namespace md::sql {

namespace {

#ifndef SQLITE_INNOCUOUS
#define SQLITE_INNOCUOUS 0
#endif

QString textOf(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(text, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text64(ctx, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                          SQLITE_UTF8);
}

void resultError(sqlite3_context* ctx, const QString& message) {
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

// The date and time a value stands for: text in the forms SQL Server reads, or
// a number of days since 1900-01-01.
std::optional<values::DateTime> dateTimeOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return values::dateTimeFromDays(sqlite3_value_double(v));
        default:
            return values::parseDateTime(textOf(v));
    }
}

// SQL Server's "+": texts concatenate, numbers add, and a text meeting a number
// is converted to that number's type or fails.
void mdAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
    const bool numA = ta == SQLITE_INTEGER || ta == SQLITE_FLOAT;
    const bool numB = tb == SQLITE_INTEGER || tb == SQLITE_FLOAT;
    if (!numA && !numB) return resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
    if (numA && numB) {
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
            sqlite3_int64 sum = 0;
            if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]),
                                        &sum))
                return sqlite3_result_int64(ctx, sum);
        }
        return sqlite3_result_double(ctx,
                                     sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
    }
    sqlite3_value* number = numA ? argv[0] : argv[1];
    const QString text = textOf(numA ? argv[1] : argv[0]);
    if (sqlite3_value_type(number) == SQLITE_INTEGER) {
        const auto n = values::parseInteger(text);
        if (!n) return resultError(ctx, values::integerConversionError(text));
        return sqlite3_result_int64(ctx, sqlite3_value_int64(number) + *n);
    }
    const auto n = values::parseFloat(text);
    if (!n) return resultError(ctx, values::numericConversionError());
    sqlite3_result_double(ctx, sqlite3_value_double(number) + *n);
}

template <QString (*Format)(const values::DateTime&)>
void mdDateConvert(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const auto d = dateTimeOf(argv[0]);
    if (!d) return resultError(ctx, values::dateConversionError());
    resultText(ctx, Format(*d));
}

// md_datestr(value, style, length): a date as text in a convert() style.
void mdDateStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const auto d = dateTimeOf(argv[0]);
    QString text =
        d ? values::formatDateTimeStyle(*d, sqlite3_value_int(argv[1])) : textOf(argv[0]);
    const int length = sqlite3_value_int(argv[2]);
    if (length > 0) text.truncate(length);
    resultText(ctx, text);
}

// md_varchar(value, length, scale): a value as text. Integers print without
// ".0"; scale >= 0 prints that many decimals (money, decimal); scale -2 is a
// float as SQL Server prints it.
void mdVarchar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    QString text;
    const int scale = sqlite3_value_int(argv[2]);
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
            text = scale >= 0 ? values::formatNumber(double(sqlite3_value_int64(argv[0])), scale)
                              : QString::number(sqlite3_value_int64(argv[0]));
            break;
        case SQLITE_FLOAT:
            text = scale == -2 ? values::formatFloat(sqlite3_value_double(argv[0]))
                               : values::formatNumber(sqlite3_value_double(argv[0]), scale);
            break;
        default:
            text = textOf(argv[0]);
            break;
    }
    const int length = sqlite3_value_int(argv[1]);
    if (length > 0) text.truncate(length);
    resultText(ctx, text);
}

void mdInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        case SQLITE_FLOAT: {
            const double v = std::trunc(sqlite3_value_double(argv[0]));
            if (!std::isfinite(v) || std::fabs(v) > 9.2e18)
                return resultError(ctx, QStringLiteral("算术溢出。"));
            return sqlite3_result_int64(ctx, sqlite3_int64(v));
        }
        default: {
            const QString text = textOf(argv[0]);
            const auto n = values::parseInteger(text);
            if (!n) return resultError(ctx, values::integerConversionError(text));
            sqlite3_result_int64(ctx, *n);
        }
    }
}

// md_decimal(value, scale): rounded to scale decimals when scale >= 0.
void mdDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    double v = 0;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        case SQLITE_FLOAT:
            v = sqlite3_value_double(argv[0]);
            break;
        default: {
            const QString text = textOf(argv[0]);
            // Blank text is 0 as money; it is taken so for every decimal.
            const auto n =
                text.trimmed().isEmpty() ? std::optional<double>(0.0) : values::parseDecimal(text);
            if (!n) return resultError(ctx, values::numericConversionError());
            v = *n;
        }
    }
    sqlite3_result_double(ctx, values::roundHalfAway(v, sqlite3_value_int(argv[1])));
}

void mdFloat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        default: {
            const auto n = values::parseFloat(textOf(argv[0]));
            if (!n)
                return resultError(ctx, QStringLiteral("从数据类型 varchar 转换为 float 时出错。"));
            sqlite3_result_double(ctx, *n);
        }
    }
}

void mdBit(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            return sqlite3_result_null(ctx);
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_result_int(ctx, sqlite3_value_double(argv[0]) != 0 ? 1 : 0);
        default: {
            const QString text = textOf(argv[0]).trimmed();
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return sqlite3_result_int(ctx, 1);
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return sqlite3_result_int(ctx, 0);
            const auto n = text.isEmpty() ? std::nullopt : values::parseFloat(text);
            if (!n)
                return resultError(
                    ctx,
                    QStringLiteral("在将 varchar 值 '%1' 转换成数据类型 bit 时失败。").arg(text));
            sqlite3_result_int(ctx, *n != 0 ? 1 : 0);
        }
    }
}

template <int Part>
void mdDatePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const auto d = dateTimeOf(argv[0]);
    if (!d) return resultError(ctx, values::dateConversionError());
    sqlite3_result_int(ctx, Part == 0 ? d->year : Part == 1 ? d->month : d->day);
}

void mdGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void mdGetUtcDate(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx,
               QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void mdNewId(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
}

// charindex(needle, haystack[, start]): 1-based, 0 when absent, ignoring case.
void mdCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const QString needle = textOf(argv[0]);
    const QString haystack = textOf(argv[1]);
    const int start = argc > 2 ? qMax(sqlite3_value_int(argv[2]), 1) : 1;
    if (needle.isEmpty()) return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, haystack.indexOf(needle, start - 1, Qt::CaseInsensitive) + 1);
}

void mdRight(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) return resultError(ctx, QStringLiteral("传递给 RIGHT 函数的长度参数无效。"));
    resultText(ctx, textOf(argv[0]).right(qsizetype(qMin<sqlite3_int64>(n, 1 << 30))));
}

}  // namespace

void registerSqliteRuntime(sqlite3* db) {
    // The printer quotes names with double quotes; left on, SQLite would take a
    // quoted name that matches no column for a string and answer quietly.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerTextCollation(db);
    struct Entry {
        const char* name;
        int args;
        bool deterministic;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Entry kFunctions[] = {
        {"md_add", 2, true, mdAdd},
        {"md_datetime", 1, true, mdDateConvert<values::formatDateTime>},
        {"md_date", 1, true, mdDateConvert<values::formatDate>},
        {"md_time", 1, true, mdDateConvert<values::formatTime>},
        {"md_datestr", 3, true, mdDateStr},
        {"md_varchar", 3, true, mdVarchar},
        {"md_int", 1, true, mdInt},
        {"md_decimal", 2, true, mdDecimal},
        {"md_float", 1, true, mdFloat},
        {"md_bit", 1, true, mdBit},
        {"md_year", 1, true, mdDatePart<0>},
        {"md_month", 1, true, mdDatePart<1>},
        {"md_day", 1, true, mdDatePart<2>},
        {"md_charindex", 2, true, mdCharIndex},
        {"md_charindex", 3, true, mdCharIndex},
        {"md_right", 2, true, mdRight},
        {"md_getdate", 0, false, mdGetDate},
        {"md_getutcdate", 0, false, mdGetUtcDate},
        {"md_newid", 0, false, mdNewId},
    };
    for (const Entry& f : kFunctions) {
        const int flags =
            SQLITE_UTF8 | SQLITE_INNOCUOUS | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr,
                                   nullptr);
    }
}

}  // namespace md::sql
