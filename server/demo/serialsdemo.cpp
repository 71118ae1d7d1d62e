// Demo piece serial numbers: three pieces of each of a few goods variants, as
// the serial number window makes them (record numbers 2, 3, 4 after the base
// of 1), some of them registered by buyers. The codes come from the demo's
// fixed seed.
#include <QDate>

#include "demodata.h"

namespace md::server {

namespace {

const char* const kModes[] = {"电话注册", "短信注册", "网上注册"};

QString demoCode(DemoContext& demo) {
    static const char kSymbols[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    QString code;
    for (int i = 0; i < 6; ++i)
        code += QChar::fromLatin1(kSymbols[demo.random().bounded(62)]).toUpper();
    return code;
}

void generateSerials(DemoContext& demo) {
    // Variants of goods that have no serials yet, from the end of the range.
    ResultTable variants;
    demo.connection().OpenSQL(
        QStringLiteral("select top 24 a.fgoodsid,a.fcolorid,a.fsize,a.fbarcode1 from barcode a\n"
                       "where not exists(select 1 from barcodeguid g where "
                       "g.fgoodsid=a.fgoodsid)\n"
                       "order by a.fgoodsid desc,a.fcolorid,a.fsize"),
        variants);
    const QStringList columns = {
        QStringLiteral("fgoodsid"),   QStringLiteral("fcolorid"),   QStringLiteral("fsize"),
        QStringLiteral("frecid"),     QStringLiteral("fbarcode"),   QStringLiteral("fcode"),
        QStringLiteral("finputdate"), QStringLiteral("finputuser"), QStringLiteral("fflag"),
        QStringLiteral("fflagdate"),  QStringLiteral("fflagmode")};
    // The latest pieces were made today, so the maintenance window's default
    // date range finds them.
    const QDate today = QDate::currentDate();
    int piece = 0;
    for (int row = 0; row < variants.rowCount; ++row) {
        const QString barcode1 = variants.at(row, 3).toString();
        for (int recid = 2; recid <= 4; ++recid, ++piece) {
            const bool registered = piece % 4 == 1;
            const QDate date = today.addDays((row - variants.rowCount + 1) / 6);
            const QString serial =
                barcode1 + QString::number(recid).rightJustified(4, QLatin1Char('0'));
            QVariantList values = {
                variants.at(row, 0), variants.at(row, 1),        variants.at(row, 2), recid, serial,
                demoCode(demo),      date.toString(Qt::ISODate), demo::kAdminUser};
            values << (registered ? 1 : 0);
            values << (registered ? QVariant(date.toString(Qt::ISODate)) : QVariant());
            values << (registered ? QVariant(QString::fromUtf8(kModes[piece % 3])) : QVariant());
            demo.insert(QStringLiteral("barcodeguid"), columns, values);
        }
    }
}

// A print quantity list left prepared, as a user keeps it between openings of
// the tag and serial windows: a few goods colours with pieces in the first sizes.
void generatePrintList(DemoContext& demo) {
    ResultTable colours;
    demo.connection().OpenSQL(
        QStringLiteral("select top 4 a.fgoodsid,a.fcolorid,g.unitprice from barcode a\n"
                       "join goods g on g.goodsid=a.fgoodsid\n"
                       "group by a.fgoodsid,a.fcolorid,g.unitprice\n"
                       "order by a.fgoodsid,a.fcolorid"),
        colours);
    const QStringList columns = {QStringLiteral("fGoodsId"), QStringLiteral("fcolorid"),
                                 QStringLiteral("s1"),       QStringLiteral("s2"),
                                 QStringLiteral("s3"),       QStringLiteral("s4"),
                                 QStringLiteral("qty"),      QStringLiteral("fretailprice")};
    for (int row = 0; row < colours.rowCount; ++row) {
        const int s1 = 1 + row % 2, s2 = 2, s3 = 2 + row % 3, s4 = row % 2;
        demo.insert(QStringLiteral("barcodedetail"), columns,
                    {colours.at(row, 0), colours.at(row, 1), s1, s2, s3, s4, s1 + s2 + s3 + s4,
                     colours.at(row, 2)});
    }
}

}  // namespace

// After the goods and their barcodes.
const RegisterDemoGenerator registerSerials(66, "piece serial numbers", [](DemoContext& demo) {
    generateSerials(demo);
    generatePrintList(demo);
});

}  // namespace md::server
