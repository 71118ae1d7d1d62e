// Demo warehouses over the stock the goods demo made (CK01 the shop user's,
// CK02 the head warehouse), storage locations and stock limits for part of
// it, colour descriptions of a few goods, batch numbers for orders and a
// month of operation-log entries.
#include <QDate>
#include <QTime>

#include "demodata.h"

namespace md::server {

namespace {

void generateHouses(DemoContext& demo) {
    const QStringList columns = {
        QStringLiteral("fid"),    QStringLiteral("fcode"),     QStringLiteral("fname"),
        QStringLiteral("keyman"), QStringLiteral("tel1"),      QStringLiteral("fax"),
        QStringLiteral("addres"), QStringLiteral("fAreacode"), QStringLiteral("strat_bit"),
        QStringLiteral("typeid"), QStringLiteral("remark")};
    demo.insert(
        QStringLiteral("dt_house"), columns,
        {demo.freshKey(), demo::kShopUserWarehouse, QStringLiteral("杭州配送仓"),
         QStringLiteral("周建平"), QStringLiteral("0571-86012345"), QStringLiteral("0571-86012346"),
         QStringLiteral("杭州市余杭区仓前街道良睦路18号"), QStringLiteral("010301"), 0,
         QStringLiteral("成品仓"), QStringLiteral("供华东直营店")});
    demo.insert(
        QStringLiteral("dt_house"), columns,
        {demo.freshKey(), QStringLiteral("CK02"), QStringLiteral("总仓"), QStringLiteral("陈海燕"),
         QStringLiteral("0571-88123456"), QStringLiteral("0571-88123457"),
         QStringLiteral("杭州市萧山区经济开发区建设四路9号"), QStringLiteral("010301"), 1,
         QStringLiteral("成品仓"), QString()});
    demo.insert(QStringLiteral("dt_house"), columns,
                {demo.freshKey(), QStringLiteral("CK03"), QStringLiteral("辅料仓"),
                 QStringLiteral("陈海燕"), QStringLiteral("0571-88123458"), QString(),
                 QStringLiteral("杭州市萧山区经济开发区建设四路9号"), QStringLiteral("010301"), 0,
                 QStringLiteral("物料仓"), QStringLiteral("纽扣、拉链、吊牌")});
}

// Shelves A to D, three levels: every other stocked goods colour of CK01 and
// every third of CK02 has a place.
void generateLocations(DemoContext& demo) {
    ResultTable stocked;
    demo.connection().OpenSQL(
        QStringLiteral(
            "select fhousecode,fgoodsid,fcolorid from stock"
            " group by fhousecode,fgoodsid,fcolorid order by fhousecode,fgoodsid,fcolorid"),
        stocked);
    int n = 0;
    for (int row = 0; row < stocked.rowCount; ++row) {
        const QString house = stocked.at(row, 0).toString();
        if (row % (house == demo::kShopUserWarehouse ? 2 : 3) != 0) continue;
        const QString place = QStringLiteral("%1-%2-%3")
                                  .arg(QLatin1Char(char('A' + (n / 30) % 4)))
                                  .arg((n / 3) % 10 + 1, 2, 10, QLatin1Char('0'))
                                  .arg(n % 3 + 1, 2, 10, QLatin1Char('0'));
        ++n;
        demo.insert(QStringLiteral("dt_HstockLocal"),
                    {QStringLiteral("fhousecode"), QStringLiteral("fgoodsid"),
                     QStringLiteral("fcolorid"), QStringLiteral("fhouselocal")},
                    {house, stocked.at(row, 1), stocked.at(row, 2), place});
    }
}

// Limits for the colours of the goods that sell most often: the first forty
// stocked pairs.
void generateStockLimits(DemoContext& demo) {
    ResultTable pairs;
    demo.connection().OpenSQL(
        QStringLiteral("select top 40 fgoodsid,fcolorid from stock"
                       " group by fgoodsid,fcolorid order by fgoodsid,fcolorid"),
        pairs);
    for (int row = 0; row < pairs.rowCount; ++row) {
        const int low = 5 * (1 + int(demo.random().bounded(4)));
        demo.insert(QStringLiteral("Ba_housestockLimit"),
                    {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"),
                     QStringLiteral("fmaxstock"), QStringLiteral("fminstock")},
                    {pairs.at(row, 0), pairs.at(row, 1), low * 8, low});
    }
}

// A goods-specific name for some colours: the first colours of the first goods.
void generateColourDescriptions(DemoContext& demo) {
    ResultTable colours;
    demo.connection().OpenSQL(
        QStringLiteral("select top 24 goodsid,colorid,colorname_ch from vgoodscolor"
                       " order by goodsid,colorid"),
        colours);
    const QStringList finishes = {QStringLiteral("磨毛"), QStringLiteral("水洗"),
                                  QStringLiteral("印花"), QStringLiteral("提花")};
    for (int row = 0; row < colours.rowCount; ++row)
        demo.insert(
            QStringLiteral("ba_goodscolor"),
            {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"), QStringLiteral("fcolor")},
            {colours.at(row, 0), colours.at(row, 1),
             QVariant(colours.at(row, 2).toString() + finishes[row % finishes.size()])});
}

void generateBatches(DemoContext& demo) {
    struct Batch {
        const char* name;
        const char* date;
        const char* type;
        const char* remark;
        int done;
    };
    const Batch batches[] = {
        {"2025CX01", "2024-11-05", "春夏订货会", "第一批订货，12月底前交齐", 1},
        {"2025CX02", "2025-01-10", "春夏补单", "畅销款补单", 1},
        {"2025QD01", "2025-05-20", "秋冬订货会", "第一批订货", 0},
        {"2025QD02", "2025-08-15", "秋冬补单", "", 0},
    };
    for (const Batch& b : batches)
        demo.insert(
            QStringLiteral("ba_BatchInfo"),
            {QStringLiteral("ftablename"), QStringLiteral("fBatchName"), QStringLiteral("fDate"),
             QStringLiteral("fType"), QStringLiteral("fRemark"), QStringLiteral("fFlag"),
             QStringLiteral("fInputdate"), QStringLiteral("fInputUser")},
            {QStringLiteral("d_order"), QString::fromUtf8(b.name), QString::fromUtf8(b.date),
             QString::fromUtf8(b.type), QString::fromUtf8(b.remark), b.done,
             QString::fromUtf8(b.date), demo::kAdminUser});
}

// The log of the month so far, as the windows write it: entering, a few edits,
// leaving. Dates count back from today so the window's default range shows them.
void generateLog(DemoContext& demo) {
    const char* const windows[] = {"货品档案", "基本颜色设置", "客户档案", "条形码资料",
                                   "仓库资料"};
    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    for (int day = 0; first.addDays(day) <= today; ++day) {
        const QDate date = first.addDays(day);
        const QString user = day % 3 == 2 ? demo::kShopUser : demo::kAdminUser;
        const QString window = QString::fromUtf8(windows[day % 5]);
        QTime time(9, 5 + day % 40, 12);
        for (const char* state : {"进入", "新增", "保存", "离开"}) {
            demo.insert(
                QStringLiteral("syslog"),
                {QStringLiteral("logindate"), QStringLiteral("begintime"), QStringLiteral("userno"),
                 QStringLiteral("clientname"), QStringLiteral("modename"),
                 QStringLiteral("fbillid"), QStringLiteral("fstate")},
                {date.toString(QStringLiteral("yyyy-MM-dd")),
                 time.toString(QStringLiteral("HH:mm:ss")), user, QString(), window, QString(),
                 QString::fromUtf8(state)});
            time = time.addSecs(97);
        }
    }
}

void generateWarehouses(DemoContext& demo) {
    generateHouses(demo);
    generateLocations(demo);
    generateStockLimits(demo);
    generateColourDescriptions(demo);
    generateBatches(demo);
    generateLog(demo);
}

const RegisterDemoGenerator registerWarehouses(70, "warehouses", &generateWarehouses);

}  // namespace

}  // namespace md::server
