// Demo employees: the sales team that looks after the clients (monthly paid,
// so the client window offers them as salespersons), the heads of the
// departments they work in, and a piece-rate sample maker.
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
}

const RegisterDemoGenerator registerStaff(35, "staff", &generateStaff);

}  // namespace

}  // namespace md::server
