#include "kqempbanci.h"

#include <QDate>
#include <QStringList>

#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

QString dayText(int year, int month, int day) {
    return QDate(year, month, day).toString(QStringLiteral("yyyy-MM-dd"));
}

void getEmpBanci(ProcedureCall& call) {
    if (!call.sink()) return;  // executed, not opened: nobody reads the answer
    const int year = call.text(0).toInt();
    const int month = call.text(1).toInt();
    if (!QDate(year, month, 1).isValid())
        throw EDatabaseError(
            QStringLiteral("get_KQ_EmpBanci: 无效的年月 %1-%2").arg(year).arg(month));
    call.connection().OpenSQL(EmpBanciMonthSql(year, month), *call.sink());
}

const RegisterProcedure registerGetEmpBanci("get_KQ_EmpBanci", &getEmpBanci);

}  // namespace

QString EmpBanciDayColumn(int year, int month, int day) {
    static const char* const kWeekdays[] = {"星期一", "星期二", "星期三", "星期四",
                                            "星期五", "星期六", "星期日"};
    const int weekday = QDate(year, month, day).dayOfWeek();
    return QString::number(day) + QStringLiteral("日(") +
           QString::fromUtf8(kWeekdays[weekday - 1]) + QStringLiteral(")");
}

QString EmpBanciMonthSql(int year, int month) {
    const int days = QDate(year, month, 1).daysInMonth();
    QStringList columns;
    for (int day = 1; day <= days; ++day)
        columns << QStringLiteral("max(case when b.fbilldate='%1' then b.fbancicode end) as [%2]")
                       .arg(dayText(year, month, day), EmpBanciDayColumn(year, month, day));
    const QString first = dayText(year, month, 1);
    const QString last = dayText(year, month, days);
    // The month's rows are read once through the day index; the join keeps
    // every listed employee, scheduled or not.
    return QStringLiteral(
               "select a.fcode as [员工编号],a.fnamech as [员工姓名],a.fdeptname as "
               "[所属部门],\n") +
           columns.join(QStringLiteral(",\n")) +
           QStringLiteral(
               "\nfrom v_employee a\n"
               "left join KQ_EmpBanCi b on b.fempcode=a.fcode and b.fbilldate>='%1' and "
               "b.fbilldate<='%2'\n"
               "where a.fbit=1 or a.fcode in(select fempcode from KQ_EmpBanCi where "
               "fbilldate>='%1' and fbilldate<='%2')\n"
               "group by a.fcode,a.fnamech,a.fdeptname\n"
               "order by a.fcode")
               .arg(first, last);
}

}  // namespace md::server
