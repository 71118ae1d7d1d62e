// Demo suppliers: garment factories (listed first), fabric mills, trims
// makers, a printer and a carrier in the supplier categories of the code
// tables, the garment factories marked as suppliers of finished goods; dated
// quotes of the factories for some goods items (a few without a material
// price yet, for "计  算"); and a receipt, a purchase and a payment of the
// first two factories, so that those suppliers have business and cannot be
// deleted.
#include <QDate>
#include <iterator>

#include "demodata.h"

namespace md::server {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

double cents(double value) {
    return qRound64(value * 100) / 100.0;
}

struct Supplier {
    const char* code;
    const char* name;
    const char* abbrev;
    const char* category;  // ba_Ptype
    bool finishedGoods;
    const char* keyman;
    const char* contact;
    const char* tel;
    const char* mobile;
    const char* address;
    const char* area;
    const char* created;
    double capital;  // registered capital, yuan
    int employees;
    const char* style;
    const char* output;
    const char* scope;
};

const Supplier kSuppliers[] = {
    {"GY001", "东莞虎门鑫隆制衣厂", "鑫隆制衣", "03", true, "陈志强", "陈志强", "0769-85012345",
     "13702681234", "广东省东莞市虎门镇龙眼工业区12栋", "0301", "2005-04-01", 3000000, 380,
     "都市女装、通勤", "月产成衣12万件", "女装梭织、针织成衣加工及贴牌生产"},
    {"GY002", "杭州萧山华美服饰有限公司", "华美服饰", "03", true, "徐海峰", "徐敏", "0571-82761234",
     "13906521345", "浙江省杭州市萧山区衙前镇工业园5号", "010301", "2009-10-16", 5000000, 520,
     "休闲男装", "月产成衣20万件", "男装梭织、衬衫、夹克成衣加工"},
    {"GY003", "湖州织里童装制造有限公司", "织里童装", "03", true, "吴建明", "吴丹", "0572-3081234",
     "13757231234", "浙江省湖州市吴兴区织里镇珍贝路88号", "0103", "2012-02-28", 2000000, 210,
     "童装、亲子装", "月产童装15万件", "童装针织、梭织成衣加工"},
    {"GY004", "广州增城新塘牛仔服装厂", "新塘牛仔", "03", true, "黄伟强", "黄小玲", "020-82771234",
     "13922471234", "广东省广州市增城区新塘镇牛仔城A区9号", "030101", "2004-06-06", 4000000, 460,
     "牛仔、水洗", "月产牛仔裤18万条", "牛仔裤、牛仔外套加工及水洗"},
    {"GY005", "晋江运动服饰有限公司", "晋江运动", "03", true, "许振华", "许婷", "0595-85661234",
     "13905951234", "福建省晋江市陈埭镇工业区16号", "0302", "2007-08-18", 6000000, 600,
     "运动、户外", "月产运动服25万件", "运动服、卫衣、速干衣加工"},
    {"GY006", "绍兴柯桥华纺面料有限公司", "华纺面料", "01", false, "王建国", "王建国",
     "0575-84123456", "13905751234", "浙江省绍兴市柯桥区中国轻纺城东市场3楼", "0103", "2003-05-18",
     5000000, 260, "", "月产面料80万米", "梭织面料、涤棉混纺、功能性面料"},
    {"GY007", "苏州吴江盛泽丝绸织造厂", "盛泽丝绸", "01", false, "沈国良", "沈丽", "0512-63521188",
     "13862321177", "江苏省苏州市吴江区盛泽镇舜湖西路66号", "010202", "1998-09-01", 8000000, 420,
     "", "月产真丝及仿真丝面料50万米", "真丝、雪纺、仿真丝面料"},
    {"GY008", "常州武进针织面料有限公司", "武进针织", "01", false, "钱卫东", "钱晓燕",
     "0519-86312276", "13915021188", "江苏省常州市武进区湖塘镇科技园12号", "0102", "2008-03-12",
     3000000, 150, "", "月产针织坯布300吨", "汗布、罗纹、卫衣面料"},
    {"GY009", "宁波甬辉纽扣辅料厂", "甬辉辅料", "02", false, "李美华", "李美华", "0574-88451122",
     "13857416688", "浙江省宁波市鄞州区姜山镇工业园8号", "010302", "2006-07-20", 1000000, 85, "",
     "月产纽扣2000万粒", "树脂纽扣、金属扣、四合扣"},
    {"GY010", "温州瓯海拉链有限公司", "瓯海拉链", "02", false, "林志伟", "林芳", "0577-86651234",
     "13806651234", "浙江省温州市瓯海区娄桥工业区3号", "010303", "2001-11-08", 2000000, 120, "",
     "月产拉链600万条", "尼龙拉链、金属拉链、隐形拉链"},
    {"GY011", "杭州之江印务有限公司", "之江印务", "04", false, "赵刚", "赵小红", "0571-86881234",
     "13805711234", "浙江省杭州市西湖区转塘科技园3号", "010301", "2010-01-05", 1000000, 60, "", "",
     "吊牌、洗水唛、包装袋印刷"},
    {"GY012", "浙江顺捷物流有限公司", "顺捷物流", "05", false, "孙立", "孙立", "0571-82951234",
     "13516851234", "浙江省杭州市萧山区新街镇物流园B区", "010301", "2011-05-12", 2000000, 140, "",
     "", "干线运输、门店配送"},
};

void generateSupplierFile(DemoContext& demo) {
    const QStringList columns = {
        QStringLiteral("fid"),        QStringLiteral("fcode"),       QStringLiteral("fname"),
        QStringLiteral("fabbrev"),    QStringLiteral("fsortcode"),   QStringLiteral("fareacode"),
        QStringLiteral("keyman"),     QStringLiteral("contactman"),  QStringLiteral("tel1"),
        QStringLiteral("tel2"),       QStringLiteral("fax"),         QStringLiteral("addres"),
        QStringLiteral("email"),      QStringLiteral("taxrate"),     QStringLiteral("first_amount"),
        QStringLiteral("stratbit"),   QStringLiteral("Category"),    QStringLiteral("bank_name"),
        QStringLiteral("bank_no"),    QStringLiteral("fcreatedate"), QStringLiteral("fregmoney"),
        QStringLiteral("fempqty"),    QStringLiteral("fgoodsstyle"), QStringLiteral("fgoodsqty"),
        QStringLiteral("fyearmoney"), QStringLiteral("fgoodsitem")};
    int n = 0;
    for (const Supplier& s : kSuppliers) {
        ++n;
        const QString code = text(s.code);
        // The fax line is the last number of the exchange.
        const QString tel = text(s.tel);
        const QString fax = tel.left(tel.size() - 1) + QLatin1Char('9');
        // The carrier (the last) no longer works for the company.
        const bool inUse = n < int(std::size(kSuppliers));
        demo.insert(
            QStringLiteral("dt_supplier"), columns,
            {demo.freshKey(),
             code,
             text(s.name),
             text(s.abbrev),
             text(s.category),
             text(s.area),
             text(s.keyman),
             text(s.contact),
             tel,
             text(s.mobile),
             fax,
             text(s.address),
             QString(QStringLiteral("service@") + code.toLower() + QStringLiteral(".com.cn")),
             0.0,
             0.0,
             inUse ? 1 : 0,
             s.finishedGoods ? 1 : 0,
             text("中国工商银行"),
             QStringLiteral("62220210%1").arg(n * 7919, 11, 10, QLatin1Char('0')),
             text(s.created),
             s.capital,
             s.employees,
             text(s.style),
             text(s.output),
             s.capital * 6,
             text(s.scope)});
    }
}

// Every fourth goods item (fewer in the large data sets) is quoted by one or
// two of the garment factories, once or twice over the last half year; the
// material of one quote in seven is not priced yet.
void generateQuotes(DemoContext& demo) {
    ResultTable goods;
    demo.connection().OpenSQL(
        QStringLiteral("select goodsid,unitprice from goods order by goodsid"), goods);
    QStringList factories;
    for (const Supplier& s : kSuppliers)
        if (s.finishedGoods) factories << text(s.code);
    const QStringList columns = {QStringLiteral("fSupplierCode"), QStringLiteral("fGoodsid"),
                                 QStringLiteral("fDate"),         QStringLiteral("fMasterialPrice"),
                                 QStringLiteral("fManualPrice"),  QStringLiteral("fPosted"),
                                 QStringLiteral("fInputDate"),    QStringLiteral("fInputUser"),
                                 QStringLiteral("fRemark")};
    const QDate today = QDate::currentDate();
    int quotes = 0;
    const int step = qMax(4, goods.rowCount / 75);
    for (int row = 0; row < goods.rowCount; row += step) {
        const double tag = goods.at(row, 1).toDouble();
        const int suppliers = 1 + int(demo.random().bounded(2));
        const int first = int(demo.random().bounded(factories.size()));
        for (int k = 0; k < suppliers; ++k) {
            const QString supplier = factories.at((first + k) % factories.size());
            const int dates = 1 + int(demo.random().bounded(2));
            for (int d = 0; d < dates; ++d) {
                // Apart by more than a day: one quote per supplier, goods item and date.
                const QDate date = today.addDays(-int(demo.random().bounded(80)) - d * 90);
                const bool unpriced = ++quotes % 7 == 0;
                const double material =
                    unpriced ? 0 : cents(tag * (14 + int(demo.random().bounded(8))) / 100.0);
                const double making = cents(tag * (6 + int(demo.random().bounded(5))) / 100.0);
                const QString day = date.toString(QStringLiteral("yyyy-MM-dd"));
                demo.insert(QStringLiteral("Dt_SupplierPrice"), columns,
                            {supplier, goods.at(row, 0), day, material, making, 1, day,
                             demo::kAdminUser, unpriced ? text("面料待定") : QVariant()});
            }
        }
    }
}

// A receipt and a purchase of the first two factories and a payment to the
// first: they have business now.
void generateSupplierDocuments(DemoContext& demo) {
    ResultTable goods;
    demo.connection().OpenSQL(
        QStringLiteral("select top 2 goodsid,unitprice from goods order by goodsid"), goods);
    if (goods.rowCount == 0) return;
    const QString day = QDate::currentDate().addDays(-20).toString(QStringLiteral("yyyy-MM-dd"));
    const double price = cents(goods.at(0, 1).toDouble() * 0.3);
    demo.insert(
        QStringLiteral("d_purchase"),
        {QStringLiteral("fbillid"), QStringLiteral("fsuppliercode"), QStringLiteral("fbilldate"),
         QStringLiteral("fgoodsid"), QStringLiteral("fqty"), QStringLiteral("fprice")},
        {QStringLiteral("CG0001"), QStringLiteral("GY001"), day, goods.at(0, 0), 300, price});
    demo.insert(QStringLiteral("d_receving"),
                {QStringLiteral("fbillid"), QStringLiteral("fsuppliercode"),
                 QStringLiteral("fbilldate"), QStringLiteral("fhousecode"),
                 QStringLiteral("fgoodsid"), QStringLiteral("fqty"), QStringLiteral("fprice")},
                {QStringLiteral("RK0001"), QStringLiteral("GY002"), day, QStringLiteral("CK01"),
                 goods.at(goods.rowCount - 1, 0), 200, price});
    demo.insert(QStringLiteral("d_payments"),
                {QStringLiteral("fbillid"), QStringLiteral("fsuppliercode"),
                 QStringLiteral("fbilldate"), QStringLiteral("faccount"), QStringLiteral("fmoney")},
                {QStringLiteral("FK0001"), QStringLiteral("GY001"), day, QStringLiteral("01"),
                 price * 100});
}

void generateSuppliers(DemoContext& demo) {
    generateSupplierFile(demo);
    generateQuotes(demo);
    generateSupplierDocuments(demo);
}

// After the code tables (supplier categories) and the goods.
const RegisterDemoGenerator registerSuppliers(64, "suppliers", &generateSuppliers);

}  // namespace

}  // namespace md::server
