// Demo wage items and what the first demo employees are paid: a basic wage,
// a full-attendance bonus and the social insurance deduction for everyone
// (the system items), a sales commission for the sales staff, and a lateness
// deduction for one of them. Deductions are stored negative.
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
    for (const Pay& p : kPays)
        demo.insert(QStringLiteral("kq_empwages"),
                    {QStringLiteral("fempcode"), QStringLiteral("fwagesitemcode"),
                     QStringLiteral("fmoney")},
                    {QString::fromUtf8(p.employee), QString::fromUtf8(p.item), p.money});
}

const RegisterDemoGenerator registerWages(82, "wages", &generateWages);

}  // namespace

}  // namespace md::server
