// Demo clients: the company at the top, its own retail department with the
// Hangzhou shops and counters, regional agents with their joint-operation
// shops and franchisees (one agent with a second-level agent below it), a
// wholesaler and an export customer. The shops (clients with shifts in
// ba_squad) include S0101 and S0102, the shop user's two. A charge and a
// payment name two clients that have no sales, so that neither can be deleted.
#include <QHash>

#include "demodata.h"

namespace md::server {

namespace {

struct Client {
    const char* code;
    const char* parent;  // empty for the company at the top
    const char* name;
    const char* abbrev;
    const char* nature;  // 性质
    const char* grade;   // 等级
    const char* area;    // ba_Area.fCode
    const char* salesman;
    const char* contact;
    const char* tel;
    const char* address;
    bool shop;  // keeps shifts in ba_squad
};

const Client kClients[] = {
    {"C00", "", "杭州雅韵服饰有限公司", "雅韵总部", "自营", "总代理", "010301", "E001", "陈建华",
     "0571-86012301", "浙江省杭州市西湖区文三路388号", false},
    // The company's own retail: shops and department-store counters in Hangzhou and Ningbo.
    {"C01", "C00", "杭州雅韵服饰有限公司直营部", "杭州直营", "自营", "一般客户", "010301", "E002",
     "刘芳", "0571-86012315", "浙江省杭州市西湖区文三路388号", false},
    {"S0101", "C01", "雅韵杭州湖滨银泰店", "湖滨银泰店", "自营", "一般客户", "010301", "E006",
     "徐静", "0571-87001101", "杭州市上城区延安路258号湖滨银泰in77 B区2楼", true},
    {"S0102", "C01", "雅韵杭州西湖文化广场店", "西湖文化广场店", "自营", "一般客户", "010301",
     "E006", "方敏", "0571-87001102", "杭州市下城区中山北路西湖文化广场银泰1楼", true},
    {"S0103", "C01", "雅韵杭州萧山万象汇店", "萧山万象汇店", "自营", "一般客户", "010301", "E006",
     "沈佳", "0571-87001103", "杭州市萧山区市心北路万象汇2楼", true},
    {"S0104", "C01", "雅韵杭州大厦专柜", "杭州大厦专柜", "专柜", "一般客户", "010301", "E002",
     "韩雪", "0571-87001104", "杭州市下城区武林广场1号杭州大厦B座3楼", true},
    {"S0105", "C01", "雅韵杭州滨江龙湖天街店", "滨江天街店", "自营", "一般客户", "010301", "E006",
     "叶青", "0571-87001105", "杭州市滨江区江汉路龙湖天街2楼", true},
    {"S0106", "C01", "雅韵宁波天一广场店", "宁波天一店", "自营", "一般客户", "010302", "E002",
     "邵丽", "0574-87001106", "宁波市海曙区中山东路天一广场", true},
    // 上海: the agent's two shops and its franchisees.
    {"C02", "C00", "上海申雅服饰贸易有限公司", "上海申雅", "代理", "一级代理", "0101", "E004",
     "吴晓东", "021-63581234", "上海市黄浦区福州路518号", false},
    {"S0201", "C02", "雅韵上海南京东路店", "南京东路店", "联营", "一级代理", "0101", "E004", "顾燕",
     "021-63221201", "上海市黄浦区南京东路353号", true},
    {"S0202", "C02", "雅韵上海徐家汇港汇专柜", "港汇专柜", "专柜", "一级代理", "0101", "E004",
     "陆婷", "021-64071202", "上海市徐汇区虹桥路1号港汇恒隆广场3楼", true},
    {"F0201", "C02", "上海松江开元服饰店", "松江开元", "加盟", "经销商", "0101", "E004", "许强",
     "021-57821203", "上海市松江区中山中路168号", false},
    {"F0202", "C02", "上海嘉定锦绣服饰店", "嘉定锦绣", "加盟", "经销商", "0101", "E004", "朱红",
     "021-59531204", "上海市嘉定区城中路88号", false},
    // 江苏: the agent in Nanjing with a second-level agent for Suzhou and Wuxi.
    {"C03", "C00", "南京金陵雅韵服饰商行", "南京金陵", "代理", "一级代理", "010201", "E005",
     "钱国平", "025-84512233", "江苏省南京市秦淮区太平南路66号", false},
    {"S0301", "C03", "雅韵南京新街口店", "新街口店", "联营", "一级代理", "010201", "E005", "蒋丽",
     "025-84701301", "南京市秦淮区中山南路1号新街口德基广场", true},
    {"F0301", "C03", "南京江宁百家湖服饰店", "江宁百家湖", "加盟", "经销商", "010201", "E005",
     "邹平", "025-52101302", "南京市江宁区双龙大道1698号", false},
    {"C0301", "C03", "苏州吴韵服饰有限公司", "苏州吴韵", "代理", "二级代理", "010202", "E005",
     "朱晓", "0512-65201300", "苏州市姑苏区人民路1588号", false},
    {"S0302", "C0301", "雅韵苏州观前街店", "观前街店", "联营", "二级代理", "010202", "E005", "潘云",
     "0512-65201302", "苏州市姑苏区观前街188号", true},
    {"F0302", "C0301", "无锡崇安寺时尚服饰", "无锡崇安寺", "加盟", "经销商", "010203", "E005",
     "华明", "0510-82701303", "无锡市梁溪区崇安寺步行街12号", false},
    // 安徽.
    {"C04", "C00", "合肥徽韵服饰有限公司", "合肥徽韵", "代理", "一级代理", "010401", "E005",
     "杨春梅", "0551-62651188", "安徽省合肥市庐阳区长江中路98号", false},
    {"S0401", "C04", "雅韵合肥淮河路店", "淮河路店", "联营", "一级代理", "010401", "E005", "程芳",
     "0551-62601401", "合肥市庐阳区淮河路步行街86号", true},
    {"F0401", "C04", "芜湖中山路雅韵加盟店", "芜湖中山路", "加盟", "经销商", "0104", "E005", "汪洋",
     "0553-38201402", "芜湖市镜湖区中山路步行街36号", false},
    // 华南.
    {"C06", "C00", "广州粤韵服饰贸易有限公司", "广州粤韵", "代理", "总代理", "030101", "E003",
     "梁志成", "020-38881600", "广州市天河区天河路208号", false},
    {"S0601", "C06", "雅韵广州天河城专柜", "天河城专柜", "专柜", "总代理", "030101", "E003",
     "黄小燕", "020-85591601", "广州市天河区天河路208号天河城百货2楼", true},
    {"F0601", "C06", "深圳东门雅韵加盟店", "深圳东门", "加盟", "经销商", "030102", "E003", "李嘉欣",
     "0755-82201602", "深圳市罗湖区东门中路168号", false},
    {"F0602", "C06", "佛山祖庙雅韵加盟店", "佛山祖庙", "加盟", "经销商", "0301", "E003", "何伟",
     "0757-83301603", "佛山市禅城区祖庙路33号", false},
    // 华北.
    {"C07", "C00", "北京京雅服饰有限公司", "北京京雅", "代理", "一级代理", "0201", "E003", "马建新",
     "010-66051700", "北京市西城区西单北大街120号", false},
    {"S0701", "C07", "雅韵北京西单大悦城店", "西单大悦城店", "联营", "一级代理", "0201", "E003",
     "刘洋", "010-66511701", "北京市西城区西单北大街131号大悦城3楼", true},
    {"F0701", "C07", "天津滨江道雅韵加盟店", "天津滨江道", "加盟", "经销商", "0202", "E003", "张宏",
     "022-27301702", "天津市和平区滨江道218号", false},
    {"F0702", "C07", "石家庄北国雅韵专卖", "石家庄北国", "加盟", "经销商", "0203", "E003", "赵娜",
     "0311-86001703", "石家庄市长安区中山东路188号", false},
    // 西南.
    {"C08", "C00", "成都蜀韵服饰商贸有限公司", "成都蜀韵", "代理", "一级代理", "0501", "E004",
     "罗刚", "028-86661800", "成都市锦江区春熙路东段20号", false},
    {"S0801", "C08", "雅韵成都春熙路店", "春熙路店", "联营", "一级代理", "0501", "E004", "邓丽",
     "028-86661801", "成都市锦江区春熙路南段8号", true},
    {"F0801", "C08", "重庆解放碑雅韵加盟店", "重庆解放碑", "加盟", "经销商", "0502", "E004", "冉静",
     "023-63801802", "重庆市渝中区民权路28号", false},
    // 华中: a franchisee that buys from the company directly.
    {"C09", "C00", "武汉楚韵服饰有限公司", "武汉楚韵", "加盟", "经销商", "0401", "E003", "胡斌",
     "027-85701900", "武汉市江汉区江汉路步行街99号", false},
    {"F0901", "C09", "宜昌雅韵时装店", "宜昌时装店", "加盟", "经销商", "0401", "E003", "向红",
     "0717-62201901", "宜昌市西陵区解放路56号", false},
    // Wholesale and export.
    {"C05", "C00", "宁波甬城服装批发部", "宁波甬城", "批发", "批发商", "010302", "E007", "邵建军",
     "0574-87361122", "浙江省宁波市海曙区中山西路120号", false},
    {"W0501", "C05", "义乌国际商贸城服装批发行", "义乌商贸城", "批发", "批发商", "0103", "E007",
     "楼晓峰", "0579-85201501", "义乌市福田路105号国际商贸城五区", false},
    {"C10", "C00", "香港雅韵国际贸易有限公司", "香港雅韵", "外销", "一般客户", "03", "E003",
     "陈家豪", "00852-23681000", "香港九龙尖沙咀广东道30号新港中心12楼", false},
};

struct Shift {
    const char* name;
    const char* begin;
    const char* end;
};

const Shift kShifts[] = {
    {"早班", "09:30:00", "16:00:00"},
    {"晚班", "15:30:00", "22:00:00"},
    {"全天班", "09:30:00", "22:00:00"},
};

const QStringList kColumns = {
    "fid",          "fparentid",   "fcode",       "fname",        "fabbrev",
    "fmathod",      "fgrad",       "fprice_type", "fareacode",    "fdeptcode",
    "frpdtmancode", "fcontactman", "ftel1",       "ftel2",        "ffax",
    "femail",       "faddres",     "stratbit",    "fcredit_type", "fcredit",
    "first_amount", "ftaxtype",    "ftaxrate",    "fpayMentmode", "fkeyman"};

// The company itself and its retail department's shops and counters.
bool ownRetail(const Client& c) {
    return qstrcmp(c.code, "C00") == 0 || qstrcmp(c.code, "C01") == 0 ||
           qstrcmp(c.parent, "C01") == 0;
}

// The terms follow the kind of client: agents trade on credit at a discount,
// the company's own shops at list prices without credit.
QVariantList clientRow(const Client& c, const QString& fid, const QString& parentFid, int serial) {
    const QString nature = QString::fromUtf8(c.nature);
    const bool own = ownRetail(c);
    const bool agent = nature == QStringLiteral("代理");
    const double credit = agent ? 500000 : own ? 0 : 100000;
    const double deposit = agent ? 50000 : own ? 0 : 20000;
    const bool invoice = !own;
    return {fid,
            parentFid,
            QString::fromUtf8(c.code),
            QString::fromUtf8(c.name),
            QString::fromUtf8(c.abbrev),
            nature,
            QString::fromUtf8(c.grade),
            own ? QStringLiteral("按等级") : QStringLiteral("按折扣"),
            QString::fromUtf8(c.area),
            own ? QStringLiteral("0501") : QStringLiteral("0502"),
            QString::fromUtf8(c.salesman),
            QString::fromUtf8(c.contact),
            QString::fromUtf8(c.tel),
            QStringLiteral("139%1").arg(57100000 + serial * 137, 8, 10, QLatin1Char('0')),
            QString::fromUtf8(c.tel),
            own ? QString()
                : QStringLiteral("client%1@yayun-partner.cn").arg(serial, 2, 10, QLatin1Char('0')),
            QString::fromUtf8(c.address),
            1,
            own ? QStringLiteral("否") : QStringLiteral("是"),
            credit,
            deposit,
            invoice ? QStringLiteral("是") : QStringLiteral("否"),
            invoice ? 13.0 : 0.0,
            agent ? QStringLiteral("月结30天")
            : own ? QString()
                  : QStringLiteral("款到发货"),
            QString::fromUtf8(c.contact)};
}

void addShifts(DemoContext& demo, const QString& shop) {
    for (const Shift& s : kShifts)
        demo.insert(
            QStringLiteral("ba_squad"),
            {QStringLiteral("fclientcode"), QStringLiteral("fsquname"),
             QStringLiteral("fbegintime"), QStringLiteral("fendtime"), QStringLiteral("finused")},
            {shop, QString::fromUtf8(s.name), QString::fromUtf8(s.begin), QString::fromUtf8(s.end),
             1});
}

// Beyond the everyday demo's size the agents run proportionately more shops
// ("S010001", "杭州第1分店"), each with the shifts of the others.
void generateMoreShops(DemoContext& demo, const QHash<QString, QString>& keys) {
    QList<const Client*> agents;
    int shops = 0;
    for (const Client& c : kClients) {
        if (!c.shop) continue;
        ++shops;
        for (const Client& a : kClients)
            if (qstrcmp(a.code, c.parent) == 0 && !agents.contains(&a)) agents << &a;
    }
    const int more = demo.scaled(shops) - shops;
    for (int i = 0; i < more; ++i) {
        const Client& agent = *agents[i % agents.size()];
        const int number = i / int(agents.size()) + 1;
        const QString code = QStringLiteral("S%1%2")
                                 .arg(i % agents.size() + 1, 2, 10, QLatin1Char('0'))
                                 .arg(number, 4, 10, QLatin1Char('0'));
        const QString city = QString::fromUtf8(agent.abbrev).left(2);
        const QString name = QStringLiteral("雅韵%1第%2分店").arg(city).arg(number);
        const QString abbrev = QStringLiteral("%1%2分店").arg(city).arg(number);
        Client shop = agent;
        shop.nature = ownRetail(agent) ? "自营" : "联营";
        QVariantList row =
            clientRow(shop, demo.freshKey(), keys.value(QString::fromUtf8(agent.code)), 100 + i);
        row[2] = code;
        row[3] = name;
        row[4] = abbrev;
        demo.insert(QStringLiteral("dt_client"), kColumns, row);
        addShifts(demo, code);
    }
}

void generateClients(DemoContext& demo) {
    QHash<QString, QString> keys;  // client code -> fid
    for (const Client& c : kClients) keys.insert(QString::fromUtf8(c.code), demo.freshKey());
    // Shops are stored before the others: the shift window opens on the first
    // client in stored order, and that should be a shop.
    int serial = 0;
    for (const bool shops : {true, false}) {
        for (const Client& c : kClients) {
            if (c.shop != shops) continue;
            const QString code = QString::fromUtf8(c.code);
            const QString parent = QString::fromUtf8(c.parent);
            // The company at the top has the root marker, a single blank.
            demo.insert(
                QStringLiteral("dt_client"), kColumns,
                clientRow(c, keys.value(code),
                          parent.isEmpty() ? QStringLiteral(" ") : keys.value(parent), ++serial));
            if (c.shop) addShifts(demo, code);
        }
        if (shops) generateMoreShops(demo, keys);
    }

    // Money documents of clients without sales or orders.
    demo.insert(QStringLiteral("d_payment"),
                {QStringLiteral("fbillid"), QStringLiteral("fclientcode"),
                 QStringLiteral("fbilldate"), QStringLiteral("faccount"), QStringLiteral("fmoney")},
                {QStringLiteral("SK250305001"), QStringLiteral("C02"), QStringLiteral("2025-03-05"),
                 QStringLiteral("002"), 120000.00});
    demo.insert(QStringLiteral("d_charges"),
                {QStringLiteral("fbillid"), QStringLiteral("fclientcode"),
                 QStringLiteral("fbilldate"), QStringLiteral("fitem"), QStringLiteral("fmoney")},
                {QStringLiteral("FY250310001"), QStringLiteral("F0201"),
                 QStringLiteral("2025-03-10"), QStringLiteral("装修补贴"), 8000.00});
}

const RegisterDemoGenerator registerClients(36, "clients", &generateClients);

}  // namespace

}  // namespace md::server
