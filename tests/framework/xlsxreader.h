#pragma once
// Reads back the first worksheet of an .xlsx file: a zip of XML parts. Only
// what the export writes is understood: shared strings and numbers.
#include <zlib.h>

#include <QFile>
#include <QHash>
#include <QList>
#include <QVariant>
#include <QXmlStreamReader>

namespace md::test {

struct XlsxSheet {
    QList<QVariantList> rows;  // QString for text cells, double for numbers
};

namespace detail {

inline quint32 le(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | quint8(b.at(at + i));
    return v;
}

// The parts of a zip archive by name (stored or deflated).
inline QHash<QString, QByteArray> unzip(const QByteArray& zip) {
    QHash<QString, QByteArray> parts;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0) return parts;
    const int entries = int(le(zip, end + 10, 2));
    qsizetype at = le(zip, end + 16, 4);
    for (int i = 0; i < entries; ++i) {
        const int method = int(le(zip, at + 10, 2));
        const quint32 packed = le(zip, at + 20, 4);
        const quint32 size = le(zip, at + 24, 4);
        const int nameLength = int(le(zip, at + 28, 2));
        const int extra = int(le(zip, at + 30, 2));
        const int comment = int(le(zip, at + 32, 2));
        const qsizetype local = le(zip, at + 42, 4);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        at += 46 + nameLength + extra + comment;
        const qsizetype data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
        QByteArray out;
        if (method == 0) {
            out = zip.mid(data, packed);
        } else {
            out.resize(size);
            z_stream s{};
            inflateInit2(&s, -MAX_WBITS);
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.constData() + data));
            s.avail_in = packed;
            s.next_out = reinterpret_cast<Bytef*>(out.data());
            s.avail_out = size;
            inflate(&s, Z_FINISH);
            inflateEnd(&s);
        }
        parts.insert(name, out);
    }
    return parts;
}

inline int columnOf(const QString& ref) {
    int c = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter()) break;
        c = c * 26 + (ch.unicode() - 'A' + 1);
    }
    return c - 1;
}

}  // namespace detail

inline XlsxSheet readXlsx(const QString& path) {
    QFile file(path);
    XlsxSheet sheet;
    if (!file.open(QIODevice::ReadOnly)) return sheet;
    const QHash<QString, QByteArray> parts = detail::unzip(file.readAll());

    QStringList strings;
    QXmlStreamReader shared(parts.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!shared.atEnd()) {
        if (shared.readNext() == QXmlStreamReader::StartElement &&
            shared.name() == QLatin1String("t"))
            strings << shared.readElementText();
    }

    QXmlStreamReader xml(parts.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QVariantList row;
    int rowNumber = 0;
    QString type, ref;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("row")) {
            rowNumber = xml.attributes().value(QLatin1String("r")).toInt();
            while (sheet.rows.size() < rowNumber - 1) sheet.rows.append(QVariantList());
            row.clear();
        } else if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("c")) {
            type = xml.attributes().value(QLatin1String("t")).toString();
            ref = xml.attributes().value(QLatin1String("r")).toString();
        } else if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("v")) {
            const QString v = xml.readElementText();
            const int c = detail::columnOf(ref);
            while (row.size() < c) row.append(QVariant());
            row.append(type == QLatin1String("s") ? QVariant(strings.value(v.toInt()))
                                                  : QVariant(v.toDouble()));
        } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("row")) {
            sheet.rows.append(row);
        }
    }
    return sheet;
}

}  // namespace md::test
