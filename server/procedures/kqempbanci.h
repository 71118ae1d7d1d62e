#pragma once
// get_KQ_EmpBanci: the shift schedule of one month, one row per employee and
// one column per day, as the schedule form edits it.
#include <QString>

namespace md::server {

// The caption of a day column: "1日(星期四)".
QString EmpBanciDayColumn(int year, int month, int day);

// The month's pivot select: 员工编号, 员工姓名, 所属部门 and a column per day
// holding that day's shift code. Lists the employees who have not left and
// those with shifts in the month.
QString EmpBanciMonthSql(int year, int month);

}  // namespace md::server
