#include "field.h"

#include <cmath>

#include "errors.h"
#include "remoteudpdataset.h"
#include "tsql/valueconv.h"

using md::data::isIntegerVariant;
using md::sql::SqlType;

TFieldType fieldTypeFromSql(SqlType type) {
    switch (type) {
        case SqlType::Text:
            return ftString;
        case SqlType::Integer:
            return ftInteger;
        case SqlType::Decimal:
            return ftCurrency;
        case SqlType::Float:
            return ftFloat;
        case SqlType::Bit:
            return ftBoolean;
        case SqlType::DateTime:
            return ftDateTime;
        case SqlType::Date:
            return ftDate;
        case SqlType::Time:
            return ftTime;
        case SqlType::Blob:
            return ftBlob;
        case SqlType::Unknown:
            break;
    }
    return ftUnknown;
}

TField::TField(TRemoteUdpDataSet* dataSet, QString name, TFieldType type, int size, TFieldKind kind)
    : m_dataSet(dataSet), m_name(std::move(name)), m_type(type), m_size(size), m_kind(kind) {}

// ---------------------------------------------------------------- conversions

bool md::data::isIntegerVariant(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
            return true;
        default:
            return false;
    }
}

bool md::data::isNumericVariant(const QVariant& v) {
    return isIntegerVariant(v) || v.typeId() == QMetaType::Double ||
           v.typeId() == QMetaType::Float || v.typeId() == QMetaType::Bool;
}

namespace {

const QString& stringRef(const QVariant& value) {
    return *static_cast<const QString*>(value.constData());
}

QString floatText(double value) {
    return QString::number(value, 'g', 15);
}

[[noreturn]] void conversionError(const QString& text, const char* what) {
    throw EDatabaseError(QStringLiteral("'%1' 不是有效的%2").arg(text, QString::fromUtf8(what)));
}

// 'yyyy-MM-dd' of a real day: the form dates are stored in.
bool isStoredDate(QStringView text) {
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return false;
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') return false;
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    return QDate::isValid(parts[0], parts[1], parts[2]);
}

// 'yyyy-MM-dd HH:mm:ss' at a time other than midnight: exactly what
// dateTimeText writes for it (midnight it writes as the date alone).
bool isStoredDateTime(QStringView text) {
    if (text.size() != 19 || text[10] != QLatin1Char(' ') || text[13] != QLatin1Char(':') ||
        text[16] != QLatin1Char(':') || !isStoredDate(text.first(10)))
        return false;
    int parts[3] = {0, 0, 0};
    for (int p = 0; p < 3; ++p)
        for (int i = 11 + 3 * p; i < 13 + 3 * p; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') return false;
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    return parts[0] < 24 && parts[1] < 60 && parts[2] < 60 &&
           (parts[0] != 0 || parts[1] != 0 || parts[2] != 0);
}

// Reads up to `count` digits at text[i]; false when there are none.
bool readDigits(QStringView text, qsizetype& i, int minCount, int maxCount, int& out) {
    out = 0;
    int n = 0;
    while (i < text.size() && n < maxCount && text[i].isDigit()) {
        out = out * 10 + text[i].digitValue();
        ++i;
        ++n;
    }
    return n >= minCount;
}

// 'yyyy-MM-dd', 'yyyy/M/d', optionally followed by ' HH:mm[:ss[.zzz]]' or
// 'THH:mm...'; or a time alone. Returns an invalid value when the text is none.
QDateTime parseDateTime(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    QDate date(1899, 12, 30);
    auto parseTime = [&](qsizetype& at) -> bool {
        if (!readDigits(text, at, 1, 2, hour) || at >= text.size() || text[at] != QLatin1Char(':'))
            return false;
        ++at;
        if (!readDigits(text, at, 2, 2, minute)) return false;
        if (at < text.size() && text[at] == QLatin1Char(':')) {
            ++at;
            if (!readDigits(text, at, 2, 2, second)) return false;
            if (at < text.size() && text[at] == QLatin1Char('.')) {
                ++at;
                const qsizetype start = at;
                int fraction = 0;
                if (!readDigits(text, at, 1, 9, fraction)) return false;
                msec = md::sql::values::millisecondsOf(fraction, int(at - start));
            }
        }
        return at == text.size();
    };

    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (colon >= 0 && (dash < 0 || colon < dash) && (slash < 0 || colon < slash)) {
        if (!parseTime(i)) return {};
        const QTime time(hour, minute, second, msec);
        return time.isValid() ? QDateTime(date, time) : QDateTime();
    }
    if (!readDigits(text, i, 4, 4, year) || i >= text.size()) return {};
    const QChar sep = text[i];
    if (sep != QLatin1Char('-') && sep != QLatin1Char('/') && sep != QLatin1Char('.')) return {};
    ++i;
    if (!readDigits(text, i, 1, 2, month) || i >= text.size() || text[i] != sep) return {};
    ++i;
    if (!readDigits(text, i, 1, 2, day)) return {};
    date = QDate(year, month, day);
    if (!date.isValid()) return {};
    if (i == text.size()) return QDateTime(date, QTime(0, 0));
    if (text[i] != QLatin1Char(' ') && text[i] != QLatin1Char('T')) return {};
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('T'))) ++i;
    if (!parseTime(i)) return {};
    const QTime time(hour, minute, second, msec);
    return time.isValid() ? QDateTime(date, time) : QDateTime();
}

void appendPadded(QString& out, int value, int width) {
    QChar buffer[8];
    for (int k = width - 1; k >= 0; --k) {
        buffer[k] = QChar(u'0' + value % 10);
        value /= 10;
    }
    out.append(buffer, width);
}

bool isDateType(TFieldType type) {
    return type == ftDate || type == ftTime || type == ftDateTime;
}

}  // namespace

QString TField::dateTimeText(const QDateTime& value, TFieldType type) {
    if (!value.isValid()) return QString();
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    out.reserve(19);
    if (type != ftTime) {
        appendPadded(out, d.year(), 4);
        out += QLatin1Char('-');
        appendPadded(out, d.month(), 2);
        out += QLatin1Char('-');
        appendPadded(out, d.day(), 2);
        if (type == ftDate || (t.hour() == 0 && t.minute() == 0 && t.second() == 0)) return out;
        out += QLatin1Char(' ');
    }
    appendPadded(out, t.hour(), 2);
    out += QLatin1Char(':');
    appendPadded(out, t.minute(), 2);
    out += QLatin1Char(':');
    appendPadded(out, t.second(), 2);
    return out;
}

QString TField::textOf(const QVariant& value, TFieldType type) {
    if (value.isNull()) return QString();
    if (isDateType(type)) {
        if (value.typeId() == QMetaType::QString) {
            const QString& text = stringRef(value);
            // Already canonical: the common case, no parsing.
            if (type == ftDate && text.size() == 10) return text;
            if (type == ftDateTime && text.size() == 10) return text;
            if (type == ftDateTime && text.size() == 19 && text.at(10) == QLatin1Char(' ') &&
                !text.endsWith(QLatin1String(" 00:00:00")))
                return text;
            if (type == ftTime && text.size() == 8) return text;
            const QDateTime parsed = parseDateTime(text);
            return parsed.isValid() ? dateTimeText(parsed, type) : text;
        }
        const QDateTime dt = dateTimeOf(value);
        return dateTimeText(dt, type);
    }
    switch (value.typeId()) {
        case QMetaType::QString:
            if (type == ftBoolean) {
                try {
                    return booleanOf(value) ? QStringLiteral("1") : QStringLiteral("0");
                } catch (const EDatabaseError&) {
                }
            }
            return stringRef(value);
        case QMetaType::Double:
        case QMetaType::Float:
            return floatText(value.toDouble());
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case QMetaType::QByteArray:
            return QString::fromUtf8(value.toByteArray());
        case QMetaType::QDate:
            return dateTimeText(value.toDate().startOfDay(), ftDate);
        case QMetaType::QDateTime:
            return dateTimeText(value.toDateTime(), ftDateTime);
        case QMetaType::QTime:
            return dateTimeText(QDateTime(QDate(1899, 12, 30), value.toTime()), ftTime);
        default:
            if (type == ftBoolean && isIntegerVariant(value))
                return value.toLongLong() != 0 ? QStringLiteral("1") : QStringLiteral("0");
            return value.toString();
    }
}

qint64 TField::integerOf(const QVariant& value) {
    if (const qlonglong* n = md::data::valueIf<qlonglong>(value)) return *n;
    if (value.isNull()) return 0;
    if (isIntegerVariant(value)) return value.toLongLong();
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return qRound64(value.toDouble());
        case QMetaType::Bool:
            return value.toBool() ? 1 : 0;
        case QMetaType::QString: {
            const QString trimmed = stringRef(value).trimmed();
            if (trimmed.isEmpty()) return 0;
            bool ok = false;
            const qint64 n = trimmed.toLongLong(&ok);
            if (!ok) conversionError(stringRef(value), "整数值");
            return n;
        }
        default:
            break;
    }
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    if (!ok) conversionError(value.toString(), "整数值");
    return n;
}

double TField::floatOf(const QVariant& value) {
    if (const double* d = md::data::valueIf<double>(value)) return *d;
    if (const qlonglong* n = md::data::valueIf<qlonglong>(value)) return double(*n);
    if (value.isNull()) return 0;
    switch (value.typeId()) {
        case QMetaType::Double:
            return value.toDouble();
        case QMetaType::Bool:
            return value.toBool() ? 1 : 0;
        case QMetaType::QString: {
            const QString trimmed = stringRef(value).trimmed();
            if (trimmed.isEmpty()) return 0;
            bool ok = false;
            const double d = trimmed.toDouble(&ok);
            if (!ok) conversionError(stringRef(value), "浮点数值");
            return d;
        }
        default:
            break;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok) conversionError(value.toString(), "浮点数值");
    return d;
}

bool TField::booleanOf(const QVariant& value) {
    if (value.isNull()) return false;
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool();
        case QMetaType::Double:
        case QMetaType::Float:
            return value.toDouble() != 0;
        case QMetaType::QString: {
            const QString t = stringRef(value).trimmed();
            static const QStringList yes = {QStringLiteral("1"),   QStringLiteral("true"),
                                            QStringLiteral("t"),   QStringLiteral("y"),
                                            QStringLiteral("yes"), QStringLiteral("是")};
            static const QStringList no = {
                QString(),           QStringLiteral("0"), QStringLiteral("false"),
                QStringLiteral("f"), QStringLiteral("n"), QStringLiteral("no"),
                QStringLiteral("否")};
            if (yes.contains(t, Qt::CaseInsensitive)) return true;
            if (t.isEmpty() || no.contains(t, Qt::CaseInsensitive)) return false;
            bool ok = false;
            const double d = t.toDouble(&ok);
            if (ok) return d != 0;
            conversionError(stringRef(value), "布尔值");
        }
        default:
            break;
    }
    if (isIntegerVariant(value)) return value.toLongLong() != 0;
    return value.toBool();
}

QDateTime TField::dateTimeOf(const QVariant& value) {
    if (value.isNull()) return {};
    switch (value.typeId()) {
        case QMetaType::QDateTime:
            return value.toDateTime();
        case QMetaType::QDate:
            return value.toDate().startOfDay();
        case QMetaType::QTime:
            return QDateTime(QDate(1899, 12, 30), value.toTime());
        case QMetaType::QString: {
            const QString& text = stringRef(value);
            if (text.trimmed().isEmpty()) return {};
            const QDateTime dt = parseDateTime(text);
            if (!dt.isValid()) conversionError(text, "日期时间值");
            return dt;
        }
        default:
            conversionError(value.toString(), "日期时间值");
    }
}

QVariant TField::normalized(const QVariant& value, TFieldType type) {
    if (value.isNull()) return QVariant();
    const bool blankText =
        value.typeId() == QMetaType::QString && stringRef(value).trimmed().isEmpty();
    switch (type) {
        case ftUnknown:
            return value;
        case ftString:
            if (value.typeId() == QMetaType::QString) return value;
            if (value.typeId() == QMetaType::QDateTime)
                return dateTimeText(value.toDateTime(), ftDateTime);
            if (value.typeId() == QMetaType::QDate)
                return dateTimeText(value.toDate().startOfDay(), ftDate);
            return textOf(value, ftUnknown);
        case ftInteger:
            if (blankText) return QVariant();
            return QVariant(qlonglong(integerOf(value)));
        case ftFloat:
        case ftCurrency:
            if (blankText) return QVariant();
            return QVariant(floatOf(value));
        case ftBoolean:
            if (blankText) return QVariant();
            return QVariant(qlonglong(booleanOf(value) ? 1 : 0));
        case ftDate:
        case ftTime:
        case ftDateTime:
            if (blankText) return QVariant();
            // A date already written as stored needs no trip through a local
            // time (each one asks the system for its time zone).
            if (type != ftTime && value.typeId() == QMetaType::QString &&
                (isStoredDate(stringRef(value)) ||
                 (type == ftDateTime && isStoredDateTime(stringRef(value)))))
                return value;
            return dateTimeText(dateTimeOf(value), type);
        case ftBlob:
            if (value.typeId() == QMetaType::QString) return stringRef(value).toUtf8();
            return value.toByteArray();
    }
    return value;
}

// ---------------------------------------------------------------- display formats

// A FormatFloat subset: "0.00", "#,##0.00", "0.##", "0", "#0.0%"; literal text
// before and after the digit placeholders is kept.
QString TField::formatNumber(double value, const QString& format) {
    if (format.isEmpty()) return floatText(value);
    // "positive;negative;zero": a third section that is not empty is what a zero shows.
    if (value == 0 && format.count(QLatin1Char(';')) >= 2) {
        const QString zero = format.section(QLatin1Char(';'), 2, 2);
        if (!zero.isEmpty()) return formatNumber(value, zero);
    }
    const QString section = format.section(QLatin1Char(';'), 0, 0);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
            c == QLatin1Char(',')) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) return section;
    const QString prefix = section.left(first);
    const QString suffix = section.mid(last + 1);
    const QString pattern = section.mid(first, last - first + 1);
    if (suffix.contains(QLatin1Char('%'))) value *= 100;

    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QString intPattern = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPattern = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int minFrac = int(fracPattern.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPattern.count(QLatin1Char('#')));
    const int minInt = int(intPattern.count(QLatin1Char('0')));
    const bool grouping = intPattern.contains(QLatin1Char(','));

    QString digits = QString::number(std::fabs(value), 'f', maxFrac);
    QString intPart = digits, fracPart;
    if (const qsizetype p = digits.indexOf(QLatin1Char('.')); p >= 0) {
        intPart = digits.left(p);
        fracPart = digits.mid(p + 1);
    }
    while (fracPart.size() > minFrac && fracPart.endsWith(QLatin1Char('0'))) fracPart.chop(1);
    if (intPart == QLatin1String("0") && minInt == 0) intPart.clear();
    while (intPart.size() < minInt) intPart.prepend(QLatin1Char('0'));
    if (grouping) {
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3) intPart.insert(i, QLatin1Char(','));
    }
    bool allZero = true;
    for (QChar c : QString(intPart + fracPart))
        if (c.isDigit() && c != QLatin1Char('0')) allZero = false;
    const bool negative = value < 0 && !allZero;
    QString out = prefix;
    if (negative) out += QLatin1Char('-');
    out += intPart;
    if (!fracPart.isEmpty()) out += QLatin1Char('.') + fracPart;
    if (intPart.isEmpty() && fracPart.isEmpty()) out += QLatin1Char('0');
    return out + suffix;
}

// Date display formats: yyyy, yy, mm/m (month; minutes after h), dd/d, hh/h,
// nn/n, ss/s, zzz; text in quotes is kept.
QString TField::formatDateTime(const QDateTime& value, const QString& format) {
    if (!value.isValid()) return QString();
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i].toLower();
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toLower() == c) ++run;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = format.indexOf(format[i], i + 1);
            out += format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        switch (c.unicode()) {
            case 'y':
                if (run >= 3)
                    appendPadded(out, d.year(), 4);
                else
                    appendPadded(out, d.year() % 100, 2);
                break;
            case 'm':
                if (afterHour)
                    appendPadded(out, t.minute(), run >= 2 ? 2 : 1);
                else if (run >= 2)
                    appendPadded(out, d.month(), 2);
                else
                    out += QString::number(d.month());
                afterHour = false;
                break;
            case 'd':
                if (run >= 2)
                    appendPadded(out, d.day(), 2);
                else
                    out += QString::number(d.day());
                break;
            case 'h':
                if (run >= 2)
                    appendPadded(out, t.hour(), 2);
                else
                    out += QString::number(t.hour());
                afterHour = true;
                i += run;
                continue;
            case 'n':
                if (run >= 2)
                    appendPadded(out, t.minute(), 2);
                else
                    out += QString::number(t.minute());
                break;
            case 's':
                if (run >= 2)
                    appendPadded(out, t.second(), 2);
                else
                    out += QString::number(t.second());
                break;
            case 'z':
                appendPadded(out, t.msec(), 3);
                break;
            default:
                out += format.mid(i, run);
                i += run;
                continue;
        }
        i += run;
    }
    return out;
}

// ---------------------------------------------------------------- reading

QVariant TField::Value() const {
    return m_dataSet->fieldValue(*this);
}
bool TField::IsNull() const {
    return m_dataSet->fieldValue(*this).isNull();
}

QString TField::AsString() const {
    const QVariant& v = m_dataSet->fieldValue(*this);
    if (m_type == ftString)
        if (const QString* text = md::data::valueIf<QString>(v)) return *text;
    return textOf(v, m_type);
}

int TField::AsInteger() const {
    return int(integerOf(m_dataSet->fieldValue(*this)));
}
qint64 TField::AsLargeInt() const {
    return integerOf(m_dataSet->fieldValue(*this));
}
double TField::AsFloat() const {
    return floatOf(m_dataSet->fieldValue(*this));
}
bool TField::AsBoolean() const {
    return booleanOf(m_dataSet->fieldValue(*this));
}
QDateTime TField::AsDateTime() const {
    return dateTimeOf(m_dataSet->fieldValue(*this));
}
QVariant TField::OldValue() const {
    return m_dataSet->fieldOldValue(*this);
}

QString TField::DisplayText() const {
    return displayTextOf(m_dataSet->fieldValue(*this));
}

QString TField::displayTextOf(const QVariant& v) const {
    if (v.isNull()) return QString();
    try {
        switch (m_type) {
            case ftBoolean:
                return booleanOf(v) ? QStringLiteral("是") : QStringLiteral("否");
            case ftInteger:
            case ftFloat:
            case ftCurrency:
                if (!m_displayFormat.isEmpty()) return formatNumber(floatOf(v), m_displayFormat);
                break;
            case ftDate:
            case ftTime:
            case ftDateTime:
                if (!m_displayFormat.isEmpty())
                    return formatDateTime(dateTimeOf(v), m_displayFormat);
                break;
            default:
                break;
        }
    } catch (const EDatabaseError&) {
        // A value that does not fit the format is shown as it is.
    }
    return textOf(v, m_type);
}

// ---------------------------------------------------------------- writing

void TField::SetValue(const QVariant& value) {
    m_dataSet->setFieldValue(*this, normalized(value, m_type));
}

void TField::SetAsString(const QString& value) {
    if (m_type == ftString) {  // the common case: stored as given
        m_dataSet->setFieldValue(*this, QVariant(value));
        return;
    }
    if (m_type != ftString && m_type != ftUnknown && m_type != ftBlob &&
        value.trimmed().isEmpty()) {
        m_dataSet->setFieldValue(*this, QVariant());
        return;
    }
    m_dataSet->setFieldValue(*this, normalized(value, m_type));
}

void TField::SetAsInteger(qint64 value) {
    SetValue(QVariant(qlonglong(value)));
}
void TField::SetAsFloat(double value) {
    SetValue(QVariant(value));
}
void TField::SetAsBoolean(bool value) {
    SetValue(QVariant(qlonglong(value ? 1 : 0)));
}
void TField::SetAsDate(const QDate& value) {
    SetAsDateTime(value.startOfDay());
}

void TField::SetAsDateTime(const QDateTime& value) {
    if (!value.isValid()) {
        m_dataSet->setFieldValue(*this, QVariant());
        return;
    }
    const TFieldType textType = isDateType(m_type) ? m_type : ftDateTime;
    m_dataSet->setFieldValue(*this, normalized(dateTimeText(value, textType), m_type));
}
