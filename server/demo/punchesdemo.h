#pragma once
// A stand-in for the time clock's own database, for development and tests:
// a SQLite file with the clock software's punch table
//
//   record_Ac(card_number varchar(20), mach_no int, date_time datetime)
//
// which Debian's SQLite ODBC driver offers as an ODBC data source (make run
// names it KQ). date_time holds 'yyyy-MM-dd HH:mm:ss' text.
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace md::server {

struct TimeClockPunch {
    QString card;  // the number the person punched with
    int machine = 1;
    QString time;  // yyyy-MM-dd HH:mm:ss
};

// Creates the file (replacing one there) with record_Ac holding `punches`.
// Throws EDatabaseError when the file cannot be written.
void writeTimeClockFile(const QString& file, const std::vector<TimeClockPunch>& punches);

// A working month at the clocks for these employee codes, from `first` to
// `last`: in the morning and out in the evening on weekdays, a Saturday
// morning for some, the odd forgotten punch, and the cards of a few people
// who are not employees (cleaners, a courier). Fixed seed: the same every time.
std::vector<TimeClockPunch> demoTimeClockPunches(const QStringList& employeeCodes,
                                                 const QDate& first, const QDate& last);

}  // namespace md::server
