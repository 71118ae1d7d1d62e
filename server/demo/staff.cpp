// Demo employees: the sales team that looks after the clients (monthly paid,
// so the client window offers them as salespersons), the heads of the
// departments they work in, and a piece-rate sample maker; then about fifty
// more across the department tree, among them the shop assistants, who are
// the salespersons of the demo shops (Dt_ShopEmp).
#include <iterator>

#include "demodata.h"

namespace md::server {

namespace {

struct Employee {
    const char* code;
    const char* name;
    const char* english;
    const char* sex;
    const char* dept;  // ba_Department.fCode of the code tables' demo
    const char* job;
    const char* type;  // ba_Etype.fid
    int wageMode;      // 1 monthly, 0 piece rate
    const char* mobile;
    const char* birthday;
    const char* joined;
    const char* degree;
};

const Employee kEmployees[] = {
    {"E001", "张伟", "Zhang Wei", "男", "05", "营运总监", "正式员工", 1, "13905710001",
     "1978-06-12", "2012-03-01", "本科"},
    {"E002", "刘芳", "Liu Fang", "女", "0501", "直营主管", "正式员工", 1, "13905710002",
     "1985-09-23", "2014-07-15", "大专"},
    {"E003", "孙明", "Sun Ming", "男", "0502", "加盟经理", "正式员工", 1, "13905710003",
     "1982-01-30", "2013-05-20", "本科"},
    {"E004", "李娜", "Li Na", "女", "0502", "区域业务员", "正式员工", 1, "13905710004",
     "1990-11-08", "2016-02-29", "本科"},
    {"E005", "王磊", "Wang Lei", "男", "0502", "区域业务员", "正式员工", 1, "13905710005",
     "1988-04-17", "2017-09-01", "大专"},
    {"E006", "陈静", "Chen Jing", "女", "0501", "督导", "正式员工", 1, "13905710006", "1992-07-05",
     "2019-03-11", "大专"},
    {"E007", "周婷", "Zhou Ting", "女", "0502", "业务助理", "试用员工", 1, "13905710007",
     "1998-12-19", "2025-01-06", "本科"},
    {"E008", "赵敏", "Zhao Min", "女", "0401", "样衣工", "正式员工", 0, "13905710008", "1980-03-02",
     "2011-08-16", "高中"},
};

// The rest of the staff, by department: how many, their post, type and wage mode.
struct Team {
    const char* dept;
    int count;
    const char* job;
    const char* type;
    int wageMode;
};

const Team kTeams[] = {
    {"01", 2, "总经理助理", "正式员工", 1}, {"02", 4, "人事专员", "正式员工", 1},
    {"03", 4, "会计", "正式员工", 1},       {"0401", 5, "设计师", "正式员工", 1},
    {"0401", 3, "样衣工", "正式员工", 0},   {"0402", 3, "采购员", "正式员工", 1},
    {"0501", 22, "店员", "正式员工", 1},    {"0502", 2, "区域业务员", "试用员工", 1},
    {"0601", 4, "仓管员", "正式员工", 0},   {"07", 3, "市场专员", "实习生", 1},
};

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "吴", "徐", "孙",
                                 "朱", "马", "胡", "郭", "林", "何", "高", "罗", "郑", "梁"};
const char* const kFemaleNames[] = {"晓燕", "婷婷", "丽华", "雪梅", "秀英", "佳怡",
                                    "欣然", "慧敏", "诗琪", "梦瑶", "思雨"};
const char* const kMaleNames[] = {"志强", "建国", "海峰", "俊杰", "文博",
                                  "子豪", "明辉", "宇航", "国栋", "嘉伟"};

void generateStaff(DemoContext& demo) {
    const QStringList columns = {
        QStringLiteral("fid"),       QStringLiteral("fcode"),     QStringLiteral("fBeatcardcode"),
        QStringLiteral("fnamech"),   QStringLiteral("fnameen"),   QStringLiteral("fTypecode"),
        QStringLiteral("fdeptcode"), QStringLiteral("fSex"),      QStringLiteral("fJob"),
        QStringLiteral("fMobile"),   QStringLiteral("fTel"),      QStringLiteral("fDegree"),
        QStringLiteral("fEmail"),    QStringLiteral("fBirthday"), QStringLiteral("fcacelType"),
        QStringLiteral("fInTime"),   QStringLiteral("stratbit"),  QStringLiteral("fAddres")};
    int card = 0;
    for (const Employee& e : kEmployees) {
        const QString code = QString::fromUtf8(e.code);
        demo.insert(QStringLiteral("dt_employee"), columns,
                    {code, code, QStringLiteral("%1").arg(10001 + card++, 8, 10, QLatin1Char('0')),
                     QString::fromUtf8(e.name), QString::fromUtf8(e.english),
                     QString::fromUtf8(e.type), QString::fromUtf8(e.dept), QString::fromUtf8(e.sex),
                     QString::fromUtf8(e.job), QString::fromUtf8(e.mobile),
                     QStringLiteral("0571-86012300"), QString::fromUtf8(e.degree),
                     QString(code.toLower() + QStringLiteral("@yayun-fashion.cn")),
                     QString::fromUtf8(e.birthday), e.wageMode, QString::fromUtf8(e.joined),
                     card % 3 != 0, QStringLiteral("浙江省杭州市")});
    }
    // The others: E009 on, names and birthdays drawn from fixed lists.
    int serial = 9;
    for (const Team& team : kTeams) {
        for (int i = 0; i < team.count; ++i, ++serial) {
            const QString code = QStringLiteral("E%1").arg(serial, 3, 10, QLatin1Char('0'));
            const bool female = QString::fromUtf8(team.job) == QStringLiteral("店员")
                                    ? serial % 5 != 0
                                    : serial % 2 == 0;
            const QString given =
                female ? QString::fromUtf8(
                             kFemaleNames[(serial * 5 + serial / 20) % std::size(kFemaleNames)])
                       : QString::fromUtf8(
                             kMaleNames[(serial * 3 + serial / 20) % std::size(kMaleNames)]);
            const QString name =
                QString::fromUtf8(kSurnames[(serial * 7) % std::size(kSurnames)]) + given;
            const QString birthday = QStringLiteral("%1-%2-%3")
                                         .arg(1975 + serial % 27)
                                         .arg(1 + serial % 12, 2, 10, QLatin1Char('0'))
                                         .arg(1 + serial % 28, 2, 10, QLatin1Char('0'));
            const QString joined = QStringLiteral("%1-%2-01")
                                       .arg(2010 + serial % 16)
                                       .arg(1 + (serial * 3) % 12, 2, 10, QLatin1Char('0'));
            const QString job =
                team.count > 3 && i == 0 && QString::fromUtf8(team.job) == QStringLiteral("店员")
                    ? QStringLiteral("店长")
                    : QString::fromUtf8(team.job);
            demo.insert(
                QStringLiteral("dt_employee"), columns,
                {code, code, QStringLiteral("%1").arg(10001 + card++, 8, 10, QLatin1Char('0')),
                 name, QString(), QString::fromUtf8(team.type), QString::fromUtf8(team.dept),
                 female ? QStringLiteral("女") : QStringLiteral("男"), job,
                 QStringLiteral("139057%1").arg(10000 + serial, 5, 10, QLatin1Char('0')), QString(),
                 serial % 3 == 0 ? QStringLiteral("本科") : QStringLiteral("大专"),
                 QString(code.toLower() + QStringLiteral("@yayun-fashion.cn")), birthday,
                 team.wageMode, joined, serial % 3 == 0, QStringLiteral("浙江省杭州市")});
        }
    }
}

// The shop assistants (店长 and 店员 of 直营管理部) serve the shops in turn,
// two or so to a shop; the first of each shop's list is enabled, as are all
// but every fifth.
void generateShopSalespersons(DemoContext& demo) {
    ResultTable shops;
    demo.connection().OpenSQL(
        QStringLiteral("select fcode from dt_client where fcode in(select fclientcode from "
                       "ba_squad) order by fcode"),
        shops);
    ResultTable staff;
    demo.connection().OpenSQL(
        QStringLiteral("select fcode from dt_employee where fdeptcode='0501' and fJob in('店长',"
                       "'店员') order by fcode"),
        staff);
    if (shops.rowCount == 0 || staff.rowCount == 0) return;
    const QStringList columns = {QStringLiteral("fclientcode"), QStringLiteral("fempcode"),
                                 QStringLiteral("fstrat")};
    const int shopCount = qMin(shops.rowCount, 14);
    for (int row = 0; row < staff.rowCount; ++row)
        demo.insert(QStringLiteral("Dt_ShopEmp"), columns,
                    {shops.at(row % shopCount, 0).toString(), staff.at(row, 0).toString(),
                     row < shopCount || row % 5 != 0});
}

const RegisterDemoGenerator registerStaff(35, "staff", &generateStaff);
// After the clients and their shifts, which make the shops.
const RegisterDemoGenerator registerShopSalespersons(37, "shop salespersons",
                                                     &generateShopSalespersons);

}  // namespace

}  // namespace md::server
