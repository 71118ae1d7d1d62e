// Demo code tables: basic colours, regions, departments, material, supplier
// and employee categories, fund accounts and retail expense items. Clients
// and their shops' shifts are in clients.cpp.
#include "demodata.h"

namespace md::server {

namespace {

struct Colour {
    const char* code;
    const char* chinese;
    const char* english;
    const char* value;  // "$00BBGGRR" or a colour name
};

// The everyday colours of an apparel range, with the swatch shown beside them.
const Colour kColours[] = {
    {"01", "黑色", "Black", "clBlack"},        {"02", "白色", "White", "clWhite"},
    {"03", "米白", "Ivory", "$00F0FFFF"},      {"04", "米色", "Beige", "$00DCF5F5"},
    {"05", "卡其", "Khaki", "$0091B0C3"},      {"06", "驼色", "Camel", "$006B9AC1"},
    {"07", "咖啡", "Coffee", "$00374E6F"},     {"08", "深灰", "Dark Grey", "$005A5A5A"},
    {"09", "浅灰", "Light Grey", "$00C8C8C8"}, {"10", "花灰", "Heather Grey", "$00AAAAAA"},
    {"11", "藏青", "Navy", "$0050281C"},       {"12", "宝蓝", "Royal Blue", "$00E16941"},
    {"13", "天蓝", "Sky Blue", "$00EBCE87"},   {"14", "牛仔蓝", "Denim Blue", "$00BD6015"},
    {"15", "大红", "Red", "$000000CC"},        {"16", "酒红", "Wine", "$00372F72"},
    {"17", "粉红", "Pink", "$00C1B6FF"},       {"18", "玫红", "Rose", "$008515C7"},
    {"19", "桔色", "Orange", "$00008CFF"},     {"20", "黄色", "Yellow", "$0000D7FF"},
    {"21", "姜黄", "Turmeric", "$0028AADE"},   {"22", "军绿", "Army Green", "$0020534B"},
    {"23", "墨绿", "Dark Green", "$003F5600"}, {"24", "果绿", "Apple Green", "$003FC68D"},
    {"25", "紫色", "Purple", "clPurple"},      {"26", "浅紫", "Lilac", "$00C8A2C8"},
    {"27", "杏色", "Apricot", "$00B1CEFB"},    {"28", "银色", "Silver", "clSilver"},
    {"29", "金色", "Gold", "$0037AFD4"},       {"30", "碳灰", "Charcoal", "$004F4536"},
};

// A tree row: code, parent code ("0" for a root), name.
struct TreeRow {
    const char* code;
    const char* parent;
    const char* name;
};

const TreeRow kAreas[] = {
    {"01", "0", "华东"},        {"0101", "01", "上海"},     {"0102", "01", "江苏"},
    {"010201", "0102", "南京"}, {"010202", "0102", "苏州"}, {"010203", "0102", "无锡"},
    {"0103", "01", "浙江"},     {"010301", "0103", "杭州"}, {"010302", "0103", "宁波"},
    {"010303", "0103", "温州"}, {"0104", "01", "安徽"},     {"010401", "0104", "合肥"},
    {"0105", "01", "山东"},     {"010501", "0105", "济南"}, {"010502", "0105", "青岛"},
    {"02", "0", "华北"},        {"0201", "02", "北京"},     {"0202", "02", "天津"},
    {"0203", "02", "河北"},     {"03", "0", "华南"},        {"0301", "03", "广东"},
    {"030101", "0301", "广州"}, {"030102", "0301", "深圳"}, {"0302", "03", "福建"},
    {"04", "0", "华中"},        {"0401", "04", "湖北"},     {"0402", "04", "湖南"},
    {"05", "0", "西南"},        {"0501", "05", "四川"},     {"0502", "05", "重庆"},
};

const TreeRow kMaterialTypes[] = {
    {"01", "0", "面料"},      {"0101", "01", "梭织面料"}, {"0102", "01", "针织面料"},
    {"0103", "01", "牛仔布"}, {"0104", "01", "毛呢面料"}, {"02", "0", "辅料"},
    {"0201", "02", "纽扣"},   {"0202", "02", "拉链"},     {"0203", "02", "里布"},
    {"0204", "02", "衬布"},   {"0205", "02", "缝纫线"},   {"0206", "02", "花边织带"},
    {"03", "0", "包装材料"},  {"0301", "03", "吊牌"},     {"0302", "03", "洗水唛"},
    {"0303", "03", "包装袋"}, {"0304", "03", "纸箱"},
};

struct Department {
    const char* code;
    const char* parent;
    const char* name;
    const char* manager;
    const char* tel;
};

const Department kDepartments[] = {
    {"01", "0", "总经理办公室", "陈建华", "0571-86012301"},
    {"02", "0", "行政人事部", "周丽萍", "0571-86012302"},
    {"03", "0", "财务部", "王淑芬", "0571-86012303"},
    {"04", "0", "商品部", "林晓峰", "0571-86012304"},
    {"0401", "04", "设计中心", "苏婉清", "0571-86012314"},
    {"0402", "04", "采购部", "赵国强", "0571-86012324"},
    {"05", "0", "营运部", "张伟", "0571-86012305"},
    {"0501", "05", "直营管理部", "刘芳", "0571-86012315"},
    {"0502", "05", "加盟管理部", "孙明", "0571-86012325"},
    {"06", "0", "物流部", "黄志刚", "0571-86012306"},
    {"0601", "06", "总仓", "何勇", "0571-86012316"},
    {"07", "0", "市场部", "郑雅文", "0571-86012307"},
};

void generateColours(DemoContext& demo) {
    const QStringList columns = {QStringLiteral("colorid"), QStringLiteral("colorname_ch"),
                                 QStringLiteral("colorname_en"), QStringLiteral("color_values")};
    for (const Colour& c : kColours)
        demo.insert(QStringLiteral("ba_color"), columns,
                    {QString::fromUtf8(c.code), QString::fromUtf8(c.chinese),
                     QString::fromUtf8(c.english), QString::fromUtf8(c.value)});
}

template <std::size_t N>
void generateTree(DemoContext& demo, const QString& table, const TreeRow (&rows)[N]) {
    const QStringList columns = {QStringLiteral("fCode"), QStringLiteral("fparentcode"),
                                 QStringLiteral("fName")};
    for (const TreeRow& r : rows)
        demo.insert(
            table, columns,
            {QString::fromUtf8(r.code), QString::fromUtf8(r.parent), QString::fromUtf8(r.name)});
}

void generateDepartments(DemoContext& demo) {
    const QStringList columns = {
        QStringLiteral("fCode"),        QStringLiteral("fparentcode"), QStringLiteral("fName"),
        QStringLiteral("fDeptManager"), QStringLiteral("fAddress"),    QStringLiteral("fTel"),
        QStringLiteral("fFax"),         QStringLiteral("fEmail"),      QStringLiteral("fStatus")};
    for (const Department& d : kDepartments)
        demo.insert(
            QStringLiteral("ba_Department"), columns,
            {QString::fromUtf8(d.code), QString::fromUtf8(d.parent), QString::fromUtf8(d.name),
             QString::fromUtf8(d.manager), QStringLiteral("杭州市西湖区文三路388号"),
             QString::fromUtf8(d.tel), QStringLiteral("0571-86012347"),
             QStringLiteral("dept%1@yayun-fashion.cn").arg(QString::fromUtf8(d.code)), 1});
}

void generateCategories(DemoContext& demo) {
    const QList<QStringList> suppliers = {
        {"01", "面料供应商", "梭织、针织及牛仔面料"}, {"02", "辅料供应商", "纽扣、拉链、里衬等"},
        {"03", "成衣加工厂", "外发加工及贴牌生产"},   {"04", "包装印刷", "吊牌、洗水唛、包装袋"},
        {"05", "物流服务", "干线运输与门店配送"},
    };
    for (const QStringList& s : suppliers)
        demo.insert(QStringLiteral("ba_Ptype"),
                    {QStringLiteral("fID"), QStringLiteral("fCode"), QStringLiteral("fName"),
                     QStringLiteral("fNotes"), QStringLiteral("fFlag")},
                    {s[0], s[0], s[1], s[2], 0});
    const QList<QStringList> employees = {
        {"正式员工", "签订劳动合同，享受五险一金"},
        {"试用员工", "试用期三个月"},
        {"兼职员工", "按小时计薪"},
        {"临时工", "节假日及促销期间临时聘用"},
        {"实习生", "院校实习"},
    };
    for (const QStringList& e : employees)
        demo.insert(QStringLiteral("ba_Etype"),
                    {QStringLiteral("fid"), QStringLiteral("fName"), QStringLiteral("fNotes")},
                    {e[0], e[0], e[1]});
}

void generateAccounts(DemoContext& demo) {
    const QList<QVariantList> accounts = {
        {"001", "库存现金", "", 52000.00, "1001"},
        {"002", "工商银行基本户", "1202020109900123456", 1856000.00, "100201"},
        {"003", "建设银行一般户", "33050161622700000188", 420000.00, "100202"},
        {"004", "支付宝", "finance@yayun-fashion.cn", 36500.00, "101201"},
        {"005", "微信商户", "1488001234", 21800.00, "101202"},
    };
    for (const QVariantList& a : accounts)
        demo.insert(
            QStringLiteral("ba_account"),
            {QStringLiteral("fCode"), QStringLiteral("fName"), QStringLiteral("fAccount_no"),
             QStringLiteral("fFirsdate"), QStringLiteral("fFirstvalue"), QStringLiteral("fAccCode"),
             QStringLiteral("finputdate"), QStringLiteral("finputuser")},
            {a[0], a[1], a[2], QStringLiteral("2024-01-01"), a[3], a[4],
             QStringLiteral("2024-01-01"), demo::kAdminUser});
}

void generateRetailChargesItems(DemoContext& demo) {
    const QStringList monthly = {"店铺租金", "物业管理费", "水电费",
                                 "员工工资", "商场扣点",   "宽带电话费"};
    const QStringList occasional = {"装修费", "广告宣传费", "办公用品",  "快递费",
                                    "维修费", "交通费",     "促销物料费"};
    const QStringList columns = {QStringLiteral("ftablename"), QStringLiteral("ffieldname"),
                                 QStringLiteral("fFieldValues"), QStringLiteral("fsysbit")};
    for (const QString& item : monthly)
        demo.insert(QStringLiteral("ba_fieldvalues"), columns,
                    {QStringLiteral("OA_SstockAmount"), QStringLiteral("fMonthItem"), item, 1});
    for (const QString& item : occasional)
        demo.insert(QStringLiteral("ba_fieldvalues"), columns,
                    {QStringLiteral("OA_SstockAmount"), QStringLiteral("fitemname"), item, 0});
}

void generateCodes(DemoContext& demo) {
    generateColours(demo);
    generateTree(demo, QStringLiteral("ba_Area"), kAreas);
    generateDepartments(demo);
    generateTree(demo, QStringLiteral("ba_MrType"), kMaterialTypes);
    generateCategories(demo);
    generateAccounts(demo);
    generateRetailChargesItems(demo);
}

const RegisterDemoGenerator registerCodes(30, "codes", &generateCodes);

}  // namespace

}  // namespace md::server
