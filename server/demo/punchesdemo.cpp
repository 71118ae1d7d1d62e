// The time clock's own database as a stand-in (punchesdemo.h).
#include "punchesdemo.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>

#include "errors.h"

namespace md::server {

namespace {

const QString kConnection = QStringLiteral("md_timeclock_writer");

// People with a card who are not employees: their punches are not collected.
const char* const kStrangers[] = {"90001", "90002", "90017"};

[[noreturn]] void fail(const QString& file, const QSqlError& error) {
    throw EDatabaseError(
        QStringLiteral("无法写入考勤机数据库“%1”：%2").arg(file, error.text().trimmed()));
}

void write(QSqlDatabase& db, const QString& file, const std::vector<TimeClockPunch>& punches) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("create table record_Ac (card_number varchar(20), "
                                   "mach_no int, date_time datetime)")))
        fail(file, query.lastError());
    if (!db.transaction()) fail(file, db.lastError());
    if (!query.prepare(
            QStringLiteral("insert into record_Ac(card_number,mach_no,date_time) values(?,?,?)")))
        fail(file, query.lastError());
    for (const TimeClockPunch& punch : punches) {
        query.bindValue(0, punch.card);
        query.bindValue(1, punch.machine);
        query.bindValue(2, punch.time);
        if (!query.exec()) fail(file, query.lastError());
    }
    if (!db.commit()) fail(file, db.lastError());
}

QString at(const QDate& day, int minutesOfDay, int seconds) {
    const QTime time(minutesOfDay / 60, minutesOfDay % 60, seconds);
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace

void writeTimeClockFile(const QString& file, const std::vector<TimeClockPunch>& punches) {
    QFile::remove(file);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        db.setDatabaseName(file);
        try {
            if (!db.open()) fail(file, db.lastError());
            write(db, file, punches);
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(kConnection);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
}

std::vector<TimeClockPunch> demoTimeClockPunches(const QStringList& employeeCodes,
                                                 const QDate& first, const QDate& last) {
    QRandomGenerator random(20261206);
    std::vector<TimeClockPunch> punches;
    QStringList cards = employeeCodes;
    for (const char* stranger : kStrangers) cards << QString::fromLatin1(stranger);
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        const int weekday = day.dayOfWeek();
        for (int i = 0; i < cards.size(); ++i) {
            // Weekends off, but every third person works Saturday mornings.
            if (weekday == 7 || (weekday == 6 && i % 3 != 0)) continue;
            // Head office clock 1, the warehouse's clock 2.
            const int machine = i % 4 == 3 ? 2 : 1;
            const int in = 8 * 60 + 10 + int(random.bounded(35));
            const int out = (weekday == 6 ? 12 * 60 : 17 * 60 + 30) + int(random.bounded(50));
            // About one punch in forty is forgotten.
            if (random.bounded(40) != 0)
                punches.push_back({cards.at(i), machine, at(day, in, int(random.bounded(60)))});
            if (random.bounded(40) != 0)
                punches.push_back({cards.at(i), machine, at(day, out, int(random.bounded(60)))});
        }
    }
    return punches;
}

}  // namespace md::server
