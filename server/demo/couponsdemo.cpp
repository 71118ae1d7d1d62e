// Demo cash coupons, three batches made by the administrator: 50-yuan
// coupons of this month's shop anniversary (valid from the first of the month
// to today, so the coupon window's default filter shows them), partly still
// in the safe, partly issued to the shops and partly used there; last month's
// 100-yuan coupons, used or expired; and 200-yuan coupons valid from today for
// three months, mostly not issued yet. Barcodes come from the key view, as the
// window draws them.
#include <QDate>

#include "demodata.h"
#include "rowsink.h"

namespace md::server {

namespace {

struct Shop {
    QString code;
    QString fid;
};

struct Batch {
    const char* prefix;
    double money;
    int count;
    QDate begin;
    QDate end;
    QDate made;
    // How many of the batch, in number order, are in each status 1 to 4.
    int byStatus[4];
};

QList<Shop> demoShops(DemoContext& demo) {
    ResultTable rows;
    demo.connection().OpenSQL(QStringLiteral("select fcode,fid from dt_client where fcode in("
                                             "select fclientcode from ba_squad) order by fcode"),
                              rows);
    QList<Shop> shops;
    // The shop user's shops first: their coupons are the ones that user sees.
    for (const QString& code : demo::kShopUserShops)
        for (int row = 0; row < rows.rowCount; ++row)
            if (rows.at(row, 0).toString() == code) shops << Shop{code, rows.at(row, 1).toString()};
    for (int row = 0; row < rows.rowCount; ++row)
        if (!demo::kShopUserShops.contains(rows.at(row, 0).toString()))
            shops << Shop{rows.at(row, 0).toString(), rows.at(row, 1).toString()};
    return shops;
}

QString freshBarcode(DemoContext& demo) {
    ResultTable rows;
    demo.connection().OpenSQL(QStringLiteral("select * from v_Getpassword12"), rows);
    return rows.at(0, 0).toString();
}

// A day between two days, both included.
QDate dayBetween(DemoContext& demo, const QDate& from, const QDate& to) {
    const qint64 span = qMax<qint64>(0, from.daysTo(to));
    return from.addDays(qint64(demo.random().bounded(quint64(span + 1))));
}

void generateCoupons(DemoContext& demo) {
    const QList<Shop> shops = demoShops(demo);
    if (shops.isEmpty()) return;
    const QDate today = QDate::currentDate();
    const QDate monthStart(today.year(), today.month(), 1);
    const QDate lastMonth = monthStart.addMonths(-1);
    const Batch batches[] = {
        {"DQ", 50, 30, monthStart, today, monthStart.addDays(-3), {8, 12, 10, 0}},
        {"XJ", 100, 20, lastMonth, monthStart.addDays(-1), lastMonth.addDays(-5), {0, 0, 12, 8}},
        {"CJ", 200, 20, today, today.addMonths(3), today, {15, 5, 0, 0}},
    };
    const QString admin = demo::kAdminUser;
    const QStringList handlers = {QStringLiteral("张敏"), QStringLiteral("刘洋"),
                                  QStringLiteral("陈静")};
    const QStringList receivers = {QStringLiteral("王丽"), QStringLiteral("赵倩"),
                                   QStringLiteral("孙悦"), QStringLiteral("周婷")};
    const QStringList columns = {QStringLiteral("fcardno"),     QStringLiteral("fpassword"),
                                 QStringLiteral("fmoney"),      QStringLiteral("fbegindate"),
                                 QStringLiteral("fenddate"),    QStringLiteral("fstatus"),
                                 QStringLiteral("finputdate"),  QStringLiteral("finputuser"),
                                 QStringLiteral("fclientcode"), QStringLiteral("fclientno"),
                                 QStringLiteral("foutemp"),     QStringLiteral("foutdate"),
                                 QStringLiteral("foutuser"),    QStringLiteral("fuserclientcode"),
                                 QStringLiteral("fsaledate"),   QStringLiteral("fsalebillid"),
                                 QStringLiteral("fremark"),     QStringLiteral("fname"),
                                 QStringLiteral("fmobile"),     QStringLiteral("fcheck")};
    const QString dateFormat = QStringLiteral("yyyy-MM-dd");
    int bill = 0;
    for (const Batch& batch : batches) {
        int serial = 0;
        for (int status = 1; status <= 4; ++status) {
            for (int n = 0; n < batch.byStatus[status - 1]; ++n) {
                ++serial;
                const QString cardno = QString::fromLatin1(batch.prefix) +
                                       QString::number(serial).rightJustified(6, QLatin1Char('0'));
                QVariantList row;
                row << cardno << freshBarcode(demo) << batch.money
                    << batch.begin.toString(dateFormat) << batch.end.toString(dateFormat) << status
                    << batch.made.toString(dateFormat) << admin;
                const bool issued = status != 1 && !(status == 4 && n % 2 == 0);
                const Shop& shop = shops.at(int(demo.random().bounded(qMin(4, int(shops.size())))));
                const QDate outDate = dayBetween(demo, batch.made, qMin(batch.begin, today));
                if (issued)
                    row << shop.code << shop.fid << handlers.at(serial % handlers.size())
                        << outDate.toString(dateFormat) << admin;
                else
                    row << QVariant() << QVariant() << QVariant() << QVariant() << QVariant();
                if (status == 3) {
                    const QDate saleDate =
                        dayBetween(demo, qMax(outDate, batch.begin), qMin(batch.end, today));
                    row << shop.code << saleDate.toString(dateFormat)
                        << QStringLiteral("XS%1%2")
                               .arg(saleDate.toString(QStringLiteral("yyyyMMdd")))
                               .arg(++bill, 4, 10, QLatin1Char('0'));
                } else {
                    row << QVariant() << QVariant() << QVariant();
                }
                const bool named = issued && serial % 3 != 0;
                row << (status == 4 ? QStringLiteral("过期未用") : QString())
                    << (named ? receivers.at(serial % receivers.size()) : QString())
                    << (named ? QStringLiteral("1380013%1").arg(4000 + serial * 7) : QString())
                    << 0;
                demo.insert(QStringLiteral("D_MoneyCard"), columns, row);
            }
        }
    }
}

}  // namespace

// After the clients (the shops coupons are issued to) and the users.
const RegisterDemoGenerator registerCoupons(53, "cash coupons", &generateCoupons);

}  // namespace md::server
