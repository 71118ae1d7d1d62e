#pragma once
// Conversions of single values the way SQL Server does them: text to dates and
// numbers, numbers and dates to text. The SQLite runtime functions use them per
// row; the translator uses them to convert literals once.
#include <QString>
#include <optional>

namespace md::sql::values {

struct DateTime {
    int year = 1900, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// "2026-01-31", "2026/1/31", "2026.1.31", "20260131", "2026年1月31日", each with an
// optional time "10:05[:30[.123]]" after a blank or "T"; a time alone is on
// 1900-01-01, and blank text is 1900-01-01 00:00:00, as in SQL Server.
std::optional<DateTime> parseDateTime(QStringView text);
// Days since 1900-01-01 (the fraction is the time of day), as SQL Server reads numbers.
std::optional<DateTime> dateTimeFromDays(double days);

// The milliseconds of a fraction of a second written with `digits` digits
// (".5" is 500, ".1234" is 123).
int millisecondsOf(int fraction, int digits);

QString formatDateTime(const DateTime& d);  // yyyy-MM-dd HH:mm:ss
QString formatDate(const DateTime& d);      // yyyy-MM-dd
QString formatTime(const DateTime& d);      // HH:mm:ss
// convert(varchar, <datetime>, style) for the styles in use (120, 121, 23, 112,
// 111, 102, 108, 20, 21, 8); other styles print as 120.
QString formatDateTimeStyle(const DateTime& d, int style);

// convert(int, 'text'): digits with an optional sign and blanks; blank text is 0.
std::optional<qint64> parseInteger(QStringView text);
// convert(decimal, 'text'): plain decimal notation; blank text is refused.
std::optional<double> parseDecimal(QStringView text);
// convert(float, 'text'): decimal or exponent notation; blank text is 0.
std::optional<double> parseFloat(QStringView text);

// Rounded to `scale` decimals, halves away from zero as decimal literals round.
double roundHalfAway(double value, int scale);
// A number as text: with `scale` decimals when scale >= 0, else integers without
// ".0" and other values with up to 15 significant digits.
QString formatNumber(double value, int scale);
// A float as convert(varchar, <float>) prints it: six significant digits,
// exponents with three digits ("1.23457e+006").
QString formatFloat(double value);

// The messages SQL Server gives for failed conversions.
QString dateConversionError();
QString integerConversionError(const QString& text);
QString numericConversionError();

}  // namespace md::sql::values
