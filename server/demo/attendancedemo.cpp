// Demo attendance set-up: the system's attendance types and items, a day, an
// evening and a night shift, and this month's schedule for the demo
// employees: a rota of the three shifts on weekdays, weekends off.
#include <QDate>

#include "demodata.h"

namespace md::server {

namespace {

struct Type {
    const char* code;
    const char* name;
    const char* remark;
    int category;  // 1 overtime, 2 leave, 3 business trip, 4 holiday
};

const Type kTypes[] = {
    {"JB01", "平时加班", "工作日下班后加班", 1}, {"JB02", "周末加班", "休息日加班", 1},
    {"JB03", "节假日加班", "法定节假日加班", 1}, {"QJ01", "事假", "因私事请假，不计薪", 2},
    {"QJ02", "病假", "凭医院证明请假", 2},       {"QJ03", "婚假", "按国家规定休婚假", 2},
    {"CC01", "市内出差", "当日往返的外勤", 3},   {"CC02", "外地出差", "跨城市出差", 3},
    {"XJ01", "年休假", "带薪年休假", 4},         {"XJ02", "法定假日", "国家法定节假日", 4},
};

struct Item {
    const char* code;
    const char* name;
    int mode;
    const char* unit;
    double price;
    int kind;  // 0 late, 1 left early, 2 overtime, 3 leave
};

const Item kItems[] = {
    {"01", "迟到扣款", -1, "按次数", 20, 0},    {"02", "早退扣款", -1, "按次数", 20, 1},
    {"03", "加班补贴", 1, "按小时", 25, 2},     {"04", "事假扣款", -1, "按天数", 100, 3},
    {"05", "病假扣款", -1, "按工资计算", 0, 3},
};

struct Shift {
    const char* code;
    const char* name;
    const char* remark;
    const char* start;      // with the day digit
    const char* startFrom;  // normal clock-in from
    const char* lateUntil;
    const char* end;
    const char* endUntil;  // normal clock-out until
    const char* earlyFrom;
    double hours;
};

const Shift kShifts[] = {
    {"A", "白班", "商场早班 08:30-17:30", "108:30", "108:00", "109:00", "117:30", "118:30",
     "117:00", 8},
    {"B", "晚班", "商场晚班 13:30-22:00", "113:30", "113:00", "114:00", "122:00", "123:00",
     "121:30", 7.5},
    {"C", "夜班", "仓库夜班 22:00-次日06:00", "122:00", "121:30", "122:30", "206:00", "207:00",
     "205:30", 8},
};

void generateAttendance(DemoContext& demo) {
    for (const Type& t : kTypes)
        demo.insert(QStringLiteral("kq_type"),
                    {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fremark"),
                     QStringLiteral("ftype"), QStringLiteral("fisSys")},
                    {QString::fromUtf8(t.code), QString::fromUtf8(t.name),
                     QString::fromUtf8(t.remark), t.category, true});
    for (const Item& i : kItems)
        demo.insert(
            QStringLiteral("KQ_Item"),
            {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fmode"),
             QStringLiteral("funit"), QStringLiteral("funitprice"), QStringLiteral("ftype")},
            {QString::fromUtf8(i.code), QString::fromUtf8(i.name), i.mode,
             QString::fromUtf8(i.unit), i.price, i.kind});
    for (const Shift& s : kShifts)
        demo.insert(
            QStringLiteral("kq_banci"),
            {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fremark"),
             QStringLiteral("fsb_time"), QStringLiteral("fsb_timeb"), QStringLiteral("fsb_timee"),
             QStringLiteral("fsb_iscard"), QStringLiteral("fsb_no_chi"), QStringLiteral("fXb_time"),
             QStringLiteral("fxb_timeb"), QStringLiteral("fxb_timee"), QStringLiteral("fxb_iscard"),
             QStringLiteral("fxb_no_zao"), QStringLiteral("fWorkTime_Mode"),
             QStringLiteral("fWork_Time"), QStringLiteral("ftypecode")},
            {QString::fromUtf8(s.code), QString::fromUtf8(s.name), QString::fromUtf8(s.remark),
             QString::fromUtf8(s.start), QString::fromUtf8(s.startFrom),
             QString::fromUtf8(s.lateUntil), true, 5, QString::fromUtf8(s.end),
             QString::fromUtf8(s.endUntil), QString::fromUtf8(s.earlyFrom), true, 5, 1, s.hours,
             QStringLiteral("0")});

    // This month for every employee who has not left: each works one shift
    // per week in turn, weekends off.
    TRemoteUdpConnection& db = demo.connection();
    ResultTable staff;
    db.OpenSQL(QStringLiteral("select fcode from v_employee where fbit=1 order by fcode"), staff);
    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    for (int row = 0; row < staff.rowCount; ++row) {
        const QString code = staff.at(row, 0).toString();
        for (QDate day = first; day.month() == first.month(); day = day.addDays(1)) {
            const int week = (day.day() - 1) / 7;
            const QString shift = day.dayOfWeek() >= 6
                                      ? QStringLiteral("OFF")
                                      : QString::fromUtf8(kShifts[(row + week) % 3].code);
            demo.insert(QStringLiteral("KQ_EmpBanCi"),
                        {QStringLiteral("fbilldate"), QStringLiteral("fempcode"),
                         QStringLiteral("fbancicode")},
                        {day.toString(QStringLiteral("yyyy-MM-dd")), code, shift});
        }
    }
}

const RegisterDemoGenerator registerAttendance(80, "attendance", &generateAttendance);

}  // namespace

}  // namespace md::server
