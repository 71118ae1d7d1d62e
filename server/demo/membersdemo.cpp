// Demo VIP members: three card categories and a few hundred members of the
// shops (clients with shifts), with names, mobiles, birthdays, validity and
// points as a shop's register holds them; some cards have run out, and one
// shop holds a box of blank cards issued in a batch and not handed out yet.
#include <QDate>
#include <QHash>

#include "demodata.h"

namespace md::server {

namespace {

struct Category {
    const char* id;
    const char* name;
    double integrals;  // points per unit spent
    double discount;
    double consume;  // spending that earns the points back
    double points;
};

const Category kCategories[] = {
    {"1001", "普通会员", 1, 0.95, 100, 1},
    {"1002", "银卡会员", 1.5, 0.90, 100, 2},
    {"1003", "金卡会员", 2, 0.85, 100, 3},
};

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴",
                                 "周", "徐", "孙", "马", "朱", "胡", "郭", "何", "林",
                                 "罗", "高", "郑", "梁", "谢", "宋", "唐", "许", "韩",
                                 "冯", "邓", "曹", "沈", "叶", "蒋", "方", "俞", "钱"};
const char* const kWomen[] = {"丽",   "静",   "敏",   "燕",   "娟",   "婷",   "雪",   "倩",
                              "颖",   "佳",   "欣怡", "雨涵", "晓红", "秀英", "美玲", "思琪",
                              "梦瑶", "嘉怡", "玉兰", "慧敏", "丹丹", "紫薇", "晨曦", "诗涵"};
const char* const kMen[] = {"伟",   "强",   "磊",   "军",   "杰",   "涛",   "斌",   "超",
                            "浩然", "子轩", "建国", "志强", "俊杰", "宇航", "明辉", "海峰"};
const char* const kJobs[] = {"教师",   "医生",     "公务员", "财务",     "设计师", "销售",
                             "工程师", "自由职业", "学生",   "企业主管", "护士",   "律师"};
const char* const kEarnings[] = {"1000元以下", "1000-2000", "2000-3000",
                                 "3000-4000",  "5000-8000", "8000元以上"};
const char* const kStreets[] = {"文三路", "中山北路", "解放路", "人民路", "建设路",
                                "湖滨路", "新华路",   "学院路", "延安路", "和平路"};
const char* const kCommunities[] = {"阳光小区",   "翠苑新村", "金色家园", "锦绣花园", "滨江花园",
                                    "绿城桂花园", "万科城",   "世纪新城", "东方名苑"};

// The telephone area code of a shop's city; Hangzhou's when the city is not known.
QString areaCode(const QString& city) {
    static const QHash<QString, QString> codes = {
        {QStringLiteral("杭州市"), QStringLiteral("0571")},
        {QStringLiteral("宁波市"), QStringLiteral("0574")},
        {QStringLiteral("上海市"), QStringLiteral("021")},
        {QStringLiteral("南京市"), QStringLiteral("025")},
        {QStringLiteral("苏州市"), QStringLiteral("0512")},
        {QStringLiteral("合肥市"), QStringLiteral("0551")},
        {QStringLiteral("广州市"), QStringLiteral("020")},
        {QStringLiteral("北京市"), QStringLiteral("010")},
        {QStringLiteral("成都市"), QStringLiteral("028")}};
    return codes.value(city, QStringLiteral("0571"));
}

// The city of a shop's address ("杭州市上城区..." gives "杭州市").
QString cityOf(const QString& address) {
    const qsizetype at = address.indexOf(QStringLiteral("市"));
    return at > 0 && at <= 4 ? address.left(at + 1) : QStringLiteral("杭州市");
}

template <typename T, std::size_t N>
QString pick(DemoContext& demo, const T (&items)[N]) {
    return QString::fromUtf8(items[demo.random().bounded(int(N))]);
}

void generateMembers(DemoContext& demo) {
    for (const Category& c : kCategories)
        demo.insert(QStringLiteral("ba_viplb"),
                    {QStringLiteral("viplbid"), QStringLiteral("vipLBname"),
                     QStringLiteral("integrals"), QStringLiteral("discount"),
                     QStringLiteral("consumeamount"), QStringLiteral("integralscount")},
                    {QString::fromLatin1(c.id), QString::fromUtf8(c.name), c.integrals, c.discount,
                     c.consume, c.points});

    // The shops of the everyday demo; a larger demo's extra shops get none.
    ResultTable shops;
    demo.connection().OpenSQL(
        QStringLiteral("select fcode,faddres from dt_client where fcode in(select fclientcode "
                       "from ba_squad) and len(fcode)=5 order by fcode"),
        shops);
    if (shops.rowCount == 0) return;

    const QStringList columns = {
        QStringLiteral("vipid"),     QStringLiteral("name"),      QStringLiteral("sex"),
        QStringLiteral("idcard"),    QStringLiteral("workname"),  QStringLiteral("earning"),
        QStringLiteral("engname"),   QStringLiteral("birthdate"), QStringLiteral("begaindate"),
        QStringLiteral("enddate"),   QStringLiteral("vipgrade"),  QStringLiteral("clientid"),
        QStringLiteral("mobiletel"), QStringLiteral("email"),     QStringLiteral("address"),
        QStringLiteral("tel"),       QStringLiteral("frocksize"), QStringLiteral("waistline"),
        QStringLiteral("height"),    QStringLiteral("weight"),    QStringLiteral("shoesize"),
        QStringLiteral("amount"),    QStringLiteral("groupname"), QStringLiteral("remark")};
    const int members = demo.scaled(320);
    QHash<QString, int> serials;  // shop -> last card serial
    const QDate firstIssue(2022, 1, 1);
    for (int i = 0; i < members; ++i) {
        QRandomGenerator& r = demo.random();
        const int shopRow = r.bounded(shops.rowCount);
        const QString shop = shops.at(shopRow, 0).toString();
        const QString city = cityOf(shops.at(shopRow, 1).toString());
        const int serial = ++serials[shop];
        // Card numbers carry the shop's number: V + 0101 + serial.
        const QString card = QStringLiteral("V") + shop.mid(1) +
                             QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0'));
        const bool woman = r.bounded(100) < 78;  // most members of a women's label are women
        const QString name =
            pick(demo, kSurnames) + (woman ? pick(demo, kWomen) : pick(demo, kMen));
        const QDate birth = QDate(1962, 1, 1).addDays(r.bounded(40 * 365));
        const QDate begin = firstIssue.addDays(r.bounded(3 * 365 + 200));
        const QDate end = begin.addYears(1 + r.bounded(3));
        const int grade = r.bounded(100) < 60 ? 0 : r.bounded(100) < 75 ? 1 : 2;
        const QString mobile =
            QStringLiteral("1%1%2")
                .arg(QStringList{"35", "38", "39", "58", "86", "88"}.at(r.bounded(6)))
                .arg(r.bounded(100000000), 8, 10, QLatin1Char('0'));
        const QString idcard = QStringLiteral("3301%1%2%3")
                                   .arg(r.bounded(100), 2, 10, QLatin1Char('0'))
                                   .arg(birth.toString(QStringLiteral("yyyyMMdd")))
                                   .arg(r.bounded(10000), 4, 10, QLatin1Char('0'));
        // Some members leave a home telephone as well.
        const QString tel = r.bounded(5) < 2 ? areaCode(city) + QStringLiteral("-8") +
                                                   QStringLiteral("%1").arg(r.bounded(10000000), 7,
                                                                            10, QLatin1Char('0'))
                                             : QString();
        const bool withMail = r.bounded(3) == 0;
        const QString email =
            withMail ? QStringLiteral("%1%2@%3")
                           .arg(QStringList{"vip", "yy", "member", "shop"}.at(r.bounded(4)))
                           .arg(mobile.right(6))
                           .arg(QStringList{"163.com", "qq.com", "126.com"}.at(r.bounded(3)))
                     : QString();
        const QString address = city + pick(demo, kStreets) + QString::number(1 + r.bounded(400)) +
                                QStringLiteral("号") + pick(demo, kCommunities) +
                                QString::number(1 + r.bounded(30)) + QStringLiteral("幢");
        const QStringList frocks =
            woman ? QStringList{"S", "M", "L", "XL"} : QStringList{"M", "L", "XL", "XXL"};
        const int height = woman ? 152 + r.bounded(22) : 165 + r.bounded(22);
        const int weight = woman ? 42 + r.bounded(24) : 58 + r.bounded(30);
        const int points = grade == 2 ? 2000 + r.bounded(8000) : r.bounded(3000);
        demo.insert(QStringLiteral("dt_vipcard"), columns,
                    {card,
                     name,
                     woman ? QStringLiteral("女") : QStringLiteral("男"),
                     idcard,
                     pick(demo, kJobs),
                     pick(demo, kEarnings),
                     city.left(city.size() - 1),
                     birth.toString(Qt::ISODate),
                     begin.toString(Qt::ISODate),
                     end.toString(Qt::ISODate),
                     QString::fromLatin1(kCategories[grade].id),
                     shop,
                     mobile,
                     email,
                     address,
                     tel,
                     frocks.at(r.bounded(frocks.size())),
                     QString::number(woman ? 60 + r.bounded(20) : 72 + r.bounded(22)),
                     QString::number(height),
                     QString::number(weight),
                     QString::number(woman ? 35 + r.bounded(5) : 39 + r.bounded(6)),
                     points,
                     QString::fromUtf8(kCategories[grade].name),
                     r.bounded(10) == 0 ? QStringLiteral("生日当月双倍积分") : QString()});
    }

    // Blank cards issued to the first shop, waiting for their members.
    const QString shop = shops.at(0, 0).toString();
    for (int n = 1; n <= 20; ++n)
        demo.insert(QStringLiteral("dt_vipcard"),
                    {QStringLiteral("vipid"), QStringLiteral("name"), QStringLiteral("begaindate"),
                     QStringLiteral("enddate"), QStringLiteral("vipgrade"),
                     QStringLiteral("clientid"), QStringLiteral("amount")},
                    {QStringLiteral("YB%1").arg(n, 6, 10, QLatin1Char('0')), QString(),
                     QStringLiteral("2025-01-01"), QStringLiteral("2027-12-31"),
                     QString::fromLatin1(kCategories[0].id), shop, 0});
}

}  // namespace

const RegisterDemoGenerator registerMembers(45, "members", &generateMembers);

}  // namespace md::server
