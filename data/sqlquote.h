#pragma once
#include <QString>

// The one place where a value is put between single quotes in SQL text: quotes
// inside the value are doubled, so a value can never end the literal early.
// "A01" gives 'A01'; "O'Neil" gives 'O''Neil'.
inline QString QuotedStr(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (QChar c : value) {
        if (c == QLatin1Char('\'')) out += QLatin1Char('\'');
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

// The value as it goes between quotes that the caller writes itself, as in
// "... where fcode='" + SqlText(code) + "'".
inline QString SqlText(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}
