// Demo wage items and what the demo employees are paid: a basic wage, a
// full-attendance bonus and the social insurance deduction for everyone (the
// system items), a sales commission for the sales staff and the shop
// assistants, and a lateness deduction now and then. Deductions are stored
// negative. The sample makers and warehouse staff (piece rate) get nothing
// here: the wage window hands them the system items when it opens.
#include <QSet>

#include "demodata.h"

namespace md::server {

namespace {

struct WageItem {
    const char* code;
    const char* name;
    int mode;  // 1 addition, -1 deduction
    double money;
    bool saleMoney;
    bool system;
};

const WageItem kWageItems[] = {
    {"01", "基本工资", 1, 0, false, true},    {"02", "全勤奖", 1, 200, false, true},
    {"03", "销售提成", 1, 0, true, false},    {"04", "迟到扣款", -1, 20, false, false},
    {"05", "社保扣款", -1, 380, false, true},
};

struct Pay {
    const char* employee;
    const char* item;
    double money;  // signed as stored
};

const Pay kPays[] = {
    {"E001", "01", 12000}, {"E001", "02", 200},  {"E001", "05", -980}, {"E002", "01", 8000},
    {"E002", "02", 200},   {"E002", "05", -650}, {"E003", "01", 7500}, {"E003", "02", 200},
    {"E003", "03", 1860},  {"E003", "05", -620}, {"E004", "01", 4500}, {"E004", "02", 200},
    {"E004", "03", 2350},  {"E004", "05", -380}, {"E005", "01", 4500}, {"E005", "02", 0},
    {"E005", "03", 1420},  {"E005", "04", -60},  {"E005", "05", -380}, {"E006", "01", 5200},
    {"E006", "02", 200},   {"E006", "05", -420},
};

void generateWages(DemoContext& demo) {
    for (const WageItem& w : kWageItems)
        demo.insert(
            QStringLiteral("kq_wagesitem"),
            {QStringLiteral("fcode"), QStringLiteral("fname"), QStringLiteral("fmode"),
             QStringLiteral("fmoney"), QStringLiteral("fisSaleMoney"), QStringLiteral("fisSys")},
            {QString::fromUtf8(w.code), QString::fromUtf8(w.name), w.mode, w.money, w.saleMoney,
             w.system});
    const QStringList columns = {QStringLiteral("fempcode"), QStringLiteral("fwagesitemcode"),
                                 QStringLiteral("fmoney")};
    QSet<QString> listed;
    for (const Pay& p : kPays) {
        demo.insert(QStringLiteral("kq_empwages"), columns,
                    {QString::fromUtf8(p.employee), QString::fromUtf8(p.item), p.money});
        listed.insert(QString::fromUtf8(p.employee));
    }
    // The other monthly-paid employees: amounts drawn from their place in the list.
    ResultTable staff;
    demo.connection().OpenSQL(QStringLiteral("select fcode,fJob from dt_employee where "
                                             "fcacelType=1 and fOutTime is null order by fcode"),
                              staff);
    for (int row = 0; row < staff.rowCount; ++row) {
        const QString code = staff.at(row, 0).toString();
        if (listed.contains(code)) continue;
        const QString job = staff.at(row, 1).toString();
        const auto pay = [&](const char* item, double money) {
            demo.insert(QStringLiteral("kq_empwages"), columns,
                        {code, QString::fromUtf8(item), money});
        };
        pay("01", 3200 + (row * 7 % 12) * 100);
        pay("02", row % 6 == 0 ? 0 : 200);
        if (job == QStringLiteral("店员") || job == QStringLiteral("店长") ||
            job.contains(QStringLiteral("业务")))
            pay("03", 600 + (row * 137 % 25) * 60);
        if (row % 5 == 2) pay("04", -20 * (1 + row % 3));
        pay("05", -380);
    }
}

const RegisterDemoGenerator registerWages(82, "wages", &generateWages);

}  // namespace

}  // namespace md::server
