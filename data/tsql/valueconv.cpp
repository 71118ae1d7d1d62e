#include "tsql/valueconv.h"

#include <cmath>
#include <cstdio>

namespace md::sql::values {

namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool valid(const DateTime& d) {
    return d.year >= 1753 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month) && d.hour >= 0 && d.hour < 24 && d.minute >= 0 &&
           d.minute < 60 && d.second >= 0 && d.second < 60;
}

class Scanner {
  public:
    explicit Scanner(QStringView s) : m_s(s) {}
    bool atEnd() const { return m_i >= m_s.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_s[m_i]; }
    void skipBlanks() {
        while (!atEnd() && m_s[m_i].isSpace()) ++m_i;
    }
    bool accept(QChar c) {
        if (peek() != c) return false;
        ++m_i;
        return true;
    }
    // Up to maxDigits digits; the count read goes to *count.
    int number(int maxDigits, int* count) {
        int value = 0, n = 0;
        while (n < maxDigits && !atEnd() && m_s[m_i].unicode() >= '0' &&
               m_s[m_i].unicode() <= '9') {
            value = value * 10 + (m_s[m_i].unicode() - '0');
            ++m_i;
            ++n;
        }
        *count = n;
        return value;
    }
    int position() const { return m_i; }

  private:
    QStringView m_s;
    int m_i = 0;
};

bool parseTime(Scanner& in, DateTime& d) {
    int n = 0;
    d.hour = in.number(2, &n);
    if (n == 0 || !in.accept(QLatin1Char(':'))) return false;
    d.minute = in.number(2, &n);
    if (n == 0) return false;
    if (in.accept(QLatin1Char(':'))) {
        d.second = in.number(2, &n);
        if (n == 0) return false;
        if (in.accept(QLatin1Char('.'))) {
            int digits = 0;
            const int fraction = in.number(9, &digits);
            if (digits == 0) return false;
            d.msec = millisecondsOf(fraction, digits);
        }
    }
    in.skipBlanks();
    if (in.accept(QLatin1Char('A')) || in.accept(QLatin1Char('a'))) {
        if (!in.accept(QLatin1Char('M')) && !in.accept(QLatin1Char('m'))) return false;
        if (d.hour > 12) return false;
        if (d.hour == 12) d.hour = 0;
    } else if (in.accept(QLatin1Char('P')) || in.accept(QLatin1Char('p'))) {
        if (!in.accept(QLatin1Char('M')) && !in.accept(QLatin1Char('m'))) return false;
        if (d.hour > 12) return false;
        if (d.hour < 12) d.hour += 12;
    }
    return true;
}

}  // namespace

std::optional<DateTime> parseDateTime(QStringView text) {
    Scanner in(text);
    in.skipBlanks();
    DateTime d;
    if (in.atEnd()) return d;
    int n = 0;
    const int start = in.position();
    const int first = in.number(8, &n);
    if (n == 0) return std::nullopt;
    if (in.peek() == QLatin1Char(':')) {  // a time alone
        Scanner timeIn(text.mid(start));
        if (!parseTime(timeIn, d)) return std::nullopt;
        timeIn.skipBlanks();
        if (!timeIn.atEnd() || !valid(d)) return std::nullopt;
        return d;
    }
    if (n == 8) {
        d.year = first / 10000;
        d.month = first / 100 % 100;
        d.day = first % 100;
    } else if (n == 4) {
        d.year = first;
        const QChar sep = in.peek();
        const bool chinese = sep == QChar(0x5E74);  // 年
        if (sep != QLatin1Char('-') && sep != QLatin1Char('/') && sep != QLatin1Char('.') &&
            !chinese)
            return std::nullopt;
        in.accept(sep);
        d.month = in.number(2, &n);
        if (n == 0) return std::nullopt;
        if (!in.accept(chinese ? QChar(0x6708) : sep)) return std::nullopt;  // 月
        d.day = in.number(2, &n);
        if (n == 0) return std::nullopt;
        if (chinese) in.accept(QChar(0x65E5));  // 日
    } else {
        return std::nullopt;
    }
    const bool hasT = in.accept(QLatin1Char('T'));
    in.skipBlanks();
    if (!in.atEnd()) {
        if (!parseTime(in, d)) return std::nullopt;
        in.skipBlanks();
        if (!in.atEnd()) return std::nullopt;
    } else if (hasT) {
        return std::nullopt;
    }
    if (!valid(d)) return std::nullopt;
    return d;
}

std::optional<DateTime> dateTimeFromDays(double days) {
    if (!std::isfinite(days) || days < -53690 || days > 2958463) return std::nullopt;
    const double whole = std::floor(days);
    qint64 ms = qint64(std::llround((days - whole) * 86400000.0));
    qint64 dayNumber = qint64(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++dayNumber;
    }
    // Civil date from a day count (days from 1970-01-01), after H. Hinnant.
    qint64 z = dayNumber - 25567 + 719468;  // 1900-01-01 is day -25567 of the Unix epoch
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    DateTime d;
    d.day = int(doy - (153 * mp + 2) / 5 + 1);
    d.month = int(mp < 10 ? mp + 3 : mp - 9);
    d.year = int(yoe + era * 400 + (d.month <= 2 ? 1 : 0));
    d.hour = int(ms / 3600000);
    d.minute = int(ms / 60000 % 60);
    d.second = int(ms / 1000 % 60);
    d.msec = int(ms % 1000);
    if (!valid(d)) return std::nullopt;
    return d;
}

int millisecondsOf(int fraction, int digits) {
    while (digits > 3) {
        fraction /= 10;
        --digits;
    }
    while (digits < 3) {
        fraction *= 10;
        ++digits;
    }
    return fraction;
}

QString formatDateTime(const DateTime& d) {
    return formatDate(d) + QLatin1Char(' ') + formatTime(d);
}

QString formatDate(const DateTime& d) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", d.year, d.month, d.day);
    return QString::fromLatin1(buffer);
}

QString formatTime(const DateTime& d) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", d.hour, d.minute, d.second);
    return QString::fromLatin1(buffer);
}

QString formatDateTimeStyle(const DateTime& d, int style) {
    char buffer[32];
    switch (style) {
        case 23:
            return formatDate(d);
        case 112:
            std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", d.year, d.month, d.day);
            return QString::fromLatin1(buffer);
        case 111:
            std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", d.year, d.month, d.day);
            return QString::fromLatin1(buffer);
        case 102:
            std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d", d.year, d.month, d.day);
            return QString::fromLatin1(buffer);
        case 8:
        case 108:
            return formatTime(d);
        case 21:
        case 121:
            std::snprintf(buffer, sizeof buffer, ".%03d", d.msec);
            return formatDateTime(d) + QString::fromLatin1(buffer);
        default:
            return formatDateTime(d);
    }
}

std::optional<qint64> parseInteger(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.isEmpty()) return 0;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) {
        negative = t[0] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size()) return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t u = t[i].unicode();
        if (u < '0' || u > '9') return std::nullopt;
        if (value > (Q_INT64_C(9223372036854775807) - (u - '0')) / 10) return std::nullopt;
        value = value * 10 + (u - '0');
    }
    return negative ? -value : value;
}

std::optional<double> parseDecimal(QStringView text) {
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    if (!t.isEmpty() && (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-'))) ++i;
    int digits = 0;
    bool point = false;
    for (qsizetype j = i; j < t.size(); ++j) {
        const char16_t u = t[j].unicode();
        if (u >= '0' && u <= '9')
            ++digits;
        else if (u == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    bool ok = false;
    const double value = t.toString().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> parseFloat(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.isEmpty()) return 0.0;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || u == '.' || u == 'e' || u == 'E' || u == '+' || u == '-'))
            return std::nullopt;
    }
    bool ok = false;
    const double value = t.toString().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

double roundHalfAway(double value, int scale) {
    if (scale < 0 || scale > 15 || !std::isfinite(value)) return value;
    const double factor = std::pow(10.0, scale);
    const double scaled = value * factor;
    const double whole = std::trunc(scaled);
    double rounded = std::round(scaled);
    // 1.255 is 1.25499999... in binary; written as 1.255 it rounds up.
    if (std::fabs(std::fabs(scaled - whole) - 0.5) < 1e-7) rounded = whole + (scaled < 0 ? -1 : 1);
    return rounded / factor;
}

QString formatNumber(double value, int scale) {
    if (scale >= 0) return QString::number(roundHalfAway(value, scale), 'f', qMin(scale, 17));
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

QString formatFloat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    QString s = QString::fromLatin1(buffer);
    // Three exponent digits, as SQL Server prints them.
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    if (e >= 0 && e + 2 < s.size()) {
        const QString digits = s.mid(e + 2);
        if (digits.size() < 3)
            s = s.left(e + 2) + QString(3 - digits.size(), QLatin1Char('0')) + digits;
    }
    return s;
}

QString dateConversionError() {
    return QStringLiteral("从字符串转换日期和/或时间时，转换失败。");
}

QString integerConversionError(const QString& text) {
    return QStringLiteral("在将 varchar 值 '%1' 转换成数据类型 int 时失败。").arg(text);
}

QString numericConversionError() {
    return QStringLiteral("从数据类型 varchar 转换为 numeric 时出错。");
}

}  // namespace md::sql::values
