// Demo repair notes: a month of garments the shops sent back for repair, one
// or two notes on most days, each with one to three lines. How far a line has
// got follows the note's age: the last days' notes are just registered, older
// ones went to a garment factory, older still came back from it, and the
// oldest went back to the shop and are done, most of those approved. Lines
// carry follow-up remarks (d_GoodsReturnTran) as staff chased them, and their
// 回复 count (fanswerint) is the number of those remarks. Note numbers follow
// the editor's rule: yyMMdd, "K", the day's count in four digits.
#include <QDate>
#include <QHash>

#include "demodata.h"
#include "rowsink.h"

namespace md::server {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QString kDay = QStringLiteral("yyyy-MM-dd");

struct Item {
    QString goodsId;
    QString colorId;
    double price = 0;
};

struct Size {
    QString name;
    QString slot;
};

// The steps a line has been through: 0 registered, 1 at the factory, 2 back
// from the factory, 3 returned to the shop.
struct Line {
    QString billId;
    Item item;
    Size size;
    int qty = 1;
    int stage = 0;
    QString factory;
    QDate sent, received, returned;
    int sentQty = 0, receivedQty = 0, returnedQty = 0;
    QStringList remarks;  // follow-ups, oldest first
    QList<QDate> remarkDays;
};

const char* const kProblems[] = {"开线", "掉扣", "拉链损坏", "起球",     "染色不均",
                                 "污渍", "破洞", "走线不直", "胶印脱落", "缩水变形"};
const char* const kTypes[] = {"质量返修", "客户退修", "换配件"};
const char* const kKeymen[] = {"王丽", "赵倩", "孙悦", "周婷", "陈静"};

QList<QString> column(TRemoteUdpConnection& connection, const QString& sql) {
    ResultTable rows;
    connection.OpenSQL(sql, rows);
    QList<QString> values;
    for (int row = 0; row < rows.rowCount; ++row) values << rows.at(row, 0).toString().trimmed();
    return values;
}

// A day some days after `from`, never after today.
QDate later(DemoContext& demo, const QDate& from, int least, int most, const QDate& today) {
    const QDate day = from.addDays(least + int(demo.random().bounded(most - least + 1)));
    return qMin(day, today);
}

void followUps(DemoContext& demo, Line& line, const QDate& billDate, const QDate& today) {
    auto add = [&line](const QDate& day, const char* remark) {
        line.remarks << text(remark);
        line.remarkDays << day;
    };
    if (line.stage == 0) {
        if (demo.random().bounded(2) == 0) add(billDate, "已收到店铺寄回，待检验");
        return;
    }
    add(line.sent, "已检验，寄工厂维修");
    if (line.stage == 1) {
        if (demo.random().bounded(2) == 0)
            add(qMin(line.sent.addDays(3), today), "已联系工厂，预计一周内修好");
        return;
    }
    add(line.received, "工厂已修好寄回");
    if (line.receivedQty < line.sentQty) add(line.received, "有一件无法修复，工厂折价处理");
    if (line.stage == 3) add(line.returned, "已寄回店铺，店铺确认收货");
}

void generateRepairs(DemoContext& demo) {
    TRemoteUdpConnection& connection = demo.connection();
    const QList<QString> shops = column(
        connection, QStringLiteral("select fcode from dt_client where fcode in(select fclientcode "
                                   "from ba_squad) order by fcode"));
    // Garment factories are listed first among the suppliers.
    const QList<QString> factories =
        column(connection, QStringLiteral("select top 5 fcode from dt_supplier order by fcode"));
    ResultTable goods;
    connection.OpenSQL(QStringLiteral("select top 400 goodsid,colorid,unitprice from vgoodscolor "
                                      "order by goodsid,colorid"),
                       goods);
    if (shops.isEmpty() || factories.isEmpty() || goods.rowCount == 0) return;
    ResultTable sizeRows;
    connection.OpenSQL(QStringLiteral("select goodsid,size_name,fieldname from vgoodssize order by "
                                      "goodsid,displayindex"),
                       sizeRows);
    QHash<QString, QList<Size>> sizes;
    for (int row = 0; row < sizeRows.rowCount; ++row)
        sizes[sizeRows.at(row, 0).toString().trimmed()] << Size{
            sizeRows.at(row, 1).toString().trimmed(), sizeRows.at(row, 2).toString().trimmed()};
    QList<Item> items;
    for (int row = 0; row < goods.rowCount; ++row) {
        Item item{goods.at(row, 0).toString().trimmed(), goods.at(row, 1).toString().trimmed(),
                  goods.at(row, 2).toDouble()};
        if (sizes.contains(item.goodsId)) items << item;
    }
    if (items.isEmpty()) return;

    const QString admin = demo::kAdminUser;
    const QString adminName = text("系统管理员");
    const QDate today = QDate::currentDate();
    const QStringList headerColumns = {
        QStringLiteral("fbillid"),     QStringLiteral("fmanualid"),
        QStringLiteral("fbilldate"),   QStringLiteral("fclientcode"),
        QStringLiteral("fkeyman"),     QStringLiteral("fbilltype"),
        QStringLiteral("fremark"),     QStringLiteral("finputdate"),
        QStringLiteral("finputuser"),  QStringLiteral("finputusername"),
        QStringLiteral("fposted"),     QStringLiteral("fposteduser"),
        QStringLiteral("fposteddate"), QStringLiteral("fstatus"),
        QStringLiteral("fclick"),      QStringLiteral("freturn")};
    const QStringList lineColumns = {
        QStringLiteral("fbillid"),        QStringLiteral("fgoodsid"),
        QStringLiteral("fcolorid"),       QStringLiteral("fsize"),
        QStringLiteral("fieldname"),      QStringLiteral("fretailprice"),
        QStringLiteral("fbalancprice"),   QStringLiteral("fqty"),
        QStringLiteral("freturnremark"),  QStringLiteral("fisnew"),
        QStringLiteral("fsuppliercode"),  QStringLiteral("fsupqty"),
        QStringLiteral("fsupdate"),       QStringLiteral("fsupreturnqty"),
        QStringLiteral("fsupreturndate"), QStringLiteral("fcliqty"),
        QStringLiteral("fclidate"),       QStringLiteral("fremark"),
        QStringLiteral("fflag"),          QStringLiteral("fanswerint")};
    auto day = [](const QDate& d) { return d.isValid() ? QVariant(d.toString(kDay)) : QVariant(); };

    QList<Line> lines;
    int manual = 0;
    for (int age = 29; age >= 0; --age) {
        const QDate billDate = today.addDays(-age);
        const int notes = 1 + int(demo.random().bounded(2)) + (age % 7 == 3 ? 1 : 0);
        for (int n = 1; n <= notes; ++n) {
            const QString billId = billDate.toString(QStringLiteral("yyMMdd")) +
                                   QStringLiteral("K") +
                                   QString::number(n).rightJustified(4, QLatin1Char('0'));
            // How far the note has got follows its age, with a little chance.
            int stage = age < 4 ? 0 : age < 10 ? 1 : age < 17 ? 2 : 3;
            if (stage > 0 && demo.random().bounded(5) == 0) --stage;
            const bool approved = stage == 3 && demo.random().bounded(4) != 0;
            const QString shop = shops.at(int(demo.random().bounded(qsizetype(shops.size()))));
            const QString factory =
                factories.at(int(demo.random().bounded(qsizetype(factories.size()))));
            demo.insert(
                QStringLiteral("d_GoodsReturnNote"), headerColumns,
                {billId, QStringLiteral("FX%1").arg(++manual, 5, 10, QLatin1Char('0')),
                 billDate.toString(kDay), shop, text(kKeymen[demo.random().bounded(5)]),
                 text(kTypes[demo.random().bounded(3)]), stage == 3 ? text("维修完毕") : QString(),
                 billDate.toString(kDay), admin, adminName, approved ? 1 : 0,
                 approved ? QVariant(admin) : QVariant(),
                 approved ? day(later(demo, billDate, 20, 26, today)) : QVariant(), 0, 0, 0});
            const int count = 1 + int(demo.random().bounded(3));
            for (int k = 0; k < count; ++k) {
                Line line;
                line.billId = billId;
                line.item = items.at(int(demo.random().bounded(qsizetype(items.size()))));
                const QList<Size>& offered = sizes.value(line.item.goodsId);
                line.size = offered.at(int(demo.random().bounded(qsizetype(offered.size()))));
                line.qty = 1 + (demo.random().bounded(4) == 0 ? 1 : 0);
                line.stage = stage;
                if (stage >= 1) {
                    line.factory = factory;
                    line.sentQty = line.qty;
                    line.sent = later(demo, billDate, 1, 2, today);
                }
                if (stage >= 2) {
                    // Now and then a piece cannot be mended.
                    line.receivedQty =
                        line.qty > 1 && demo.random().bounded(3) == 0 ? line.qty - 1 : line.qty;
                    line.received = later(demo, line.sent, 5, 8, today);
                }
                if (stage == 3) {
                    line.returnedQty = line.receivedQty;
                    line.returned = later(demo, line.received, 1, 3, today);
                }
                followUps(demo, line, billDate, today);
                demo.insert(QStringLiteral("d_GoodsReturnNoteDetail"), lineColumns,
                            {billId,
                             line.item.goodsId,
                             line.item.colorId,
                             line.size.name,
                             line.size.slot,
                             line.item.price,
                             0,
                             line.qty,
                             text(kProblems[demo.random().bounded(10)]),
                             demo.random().bounded(3) == 0 ? text("旧") : text("新"),
                             line.factory.isEmpty() ? QVariant() : QVariant(line.factory),
                             line.sentQty,
                             day(line.sent),
                             line.receivedQty,
                             day(line.received),
                             line.returnedQty,
                             day(line.returned),
                             line.receivedQty < line.sentQty ? text("一件无法修复") : QString(),
                             stage == 3 ? 1 : 0,
                             int(line.remarks.size())});
                lines << line;
            }
        }
    }

    // The lines' keys, in the order they were stored.
    ResultTable keys;
    connection.OpenSQL(
        QStringLiteral("select fautoid from d_GoodsReturnNoteDetail order by fautoid"), keys);
    const QStringList tranColumns = {
        QStringLiteral("fbillid"),      QStringLiteral("fBillAutoid"),
        QStringLiteral("fgoodsbillid"), QStringLiteral("fTranRemark"),
        QStringLiteral("finputuser"),   QStringLiteral("finputusername"),
        QStringLiteral("finputdate")};
    for (int i = 0; i < lines.size() && i < keys.rowCount; ++i) {
        const Line& line = lines.at(i);
        const int autoid = keys.at(i, 0).toInt();
        for (int r = 0; r < line.remarks.size(); ++r)
            demo.insert(
                QStringLiteral("d_GoodsReturnTran"), tranColumns,
                QVariantList{QVariant(line.billId), QVariant(autoid),
                             QVariant(line.billId + QString::number(autoid)),
                             QVariant(line.remarks.at(r)), QVariant(admin), QVariant(adminName),
                             QVariant(line.remarkDays.at(r).toString(kDay))});
    }
}

}  // namespace

// After the goods (their colours and sizes) and the suppliers (the factories).
const RegisterDemoGenerator registerRepairs(68, "repair notes", &generateRepairs);

}  // namespace md::server
