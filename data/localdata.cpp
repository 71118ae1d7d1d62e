#include "localdata.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "errors.h"
#include "routines.h"
#include "sharedvalues.h"

namespace md {

namespace {

struct LocalTable {
    const char* name;
    const char* create;
};

// The tables the module keeps in the local database, made when first used.
const LocalTable kLocalTables[] = {
    {"size_name", "create table size_name(size_name1 varchar(30), size_name2 varchar(30))"},
    {"ba_size",
     "create table ba_size(size_class varchar(30), size_name varchar(30), displayindex int, "
     "fieldname varchar(10))"},
    {"vbarcodetemp",
     "create table vbarcodetemp(fgoodsid varchar(30), fcolorid varchar(30), fsize varchar(30), "
     "fbarcode1 varchar(50), fbarcode2 varchar(50), goodsname varchar(50), unitprice float)"},
    {"BarcodeGuID",
     "create table BarcodeGuID(fid integer primary key autoincrement, fgoodsid varchar(30), "
     "goodsname varchar(60), fcolorid varchar(30), colorname varchar(30), fsize varchar(30), "
     "fbarcode varchar(60), fcode varchar(6), unitprice numeric(18,2), brand varchar(30), "
     "frecid int, finputdate varchar(10))"},
};

const QString kConnectionName = QStringLiteral("md_localData");

const LocalTable* localTable(const QString& name) {
    for (const LocalTable& table : kLocalTables)
        if (name.compare(QLatin1String(table.name), Qt::CaseInsensitive) == 0) return &table;
    return nullptr;
}

[[noreturn]] void fail(const QString& what, const QSqlError& error) {
    throw EDatabaseError(QStringLiteral("本地数据库“%1”%2：%3")
                             .arg(QDir::toNativeSeparators(LocalDataFile()), what, error.text()));
}

void run(QSqlQuery& query, const QString& sql) {
    if (!query.exec(sql)) fail(QStringLiteral("无法执行语句"), query.lastError());
}

}  // namespace

QString LocalDataFile() {
    const QString text = Shared().LocalDataConnStr;
    const QString key = QStringLiteral("Data Source=");
    const int at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        QString file = text.mid(at + key.size());
        const int end = file.indexOf(QLatin1Char(';'));
        if (end >= 0) file.truncate(end);
        if (!file.trimmed().isEmpty()) return file.trimmed();
    }
    return HostProgramFolder() + QStringLiteral("localData.db");
}

QSqlDatabase OpenLocalData(const QString& table) {
    const LocalTable* wanted = localTable(table);
    if (!wanted) throw EDatabaseError(QStringLiteral("本地数据库没有表“%1”").arg(table));
    const QString file = LocalDataFile();
    // One connection, reopened when the program's folder has changed (tests move it).
    QSqlDatabase db = QSqlDatabase::contains(kConnectionName)
                          ? QSqlDatabase::database(kConnectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    if (db.databaseName() != file) {
        db.close();
        db.setDatabaseName(file);
    }
    if (!db.isOpen() && !db.open()) fail(QStringLiteral("无法打开"), db.lastError());
    if (!db.tables().contains(QString::fromLatin1(wanted->name), Qt::CaseInsensitive)) {
        QSqlQuery query(db);
        run(query, QString::fromLatin1(wanted->create));
    }
    return db;
}

void ReplaceLocalRows(const QString& table, const QStringList& columns,
                      const QList<QVariantList>& rows) {
    QSqlDatabase db = OpenLocalData(table);
    if (!db.transaction()) fail(QStringLiteral("无法开始事务"), db.lastError());
    try {
        QSqlQuery query(db);
        run(query, QStringLiteral("delete from ") + table);
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        const QString insert =
            QStringLiteral("insert into %1(%2) values(%3)")
                .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        if (!query.prepare(insert)) fail(QStringLiteral("无法执行语句"), query.lastError());
        for (const QVariantList& row : rows) {
            for (int i = 0; i < columns.size(); ++i) query.bindValue(i, row.value(i));
            if (!query.exec()) fail(QStringLiteral("无法写入"), query.lastError());
        }
        query.finish();
        if (!db.commit()) fail(QStringLiteral("无法提交"), db.lastError());
    } catch (...) {
        db.rollback();
        throw;
    }
}

QList<QVariantList> ReadLocalRows(const QString& table, const QString& sql) {
    QSqlDatabase db = OpenLocalData(table);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    run(query, sql);
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i) row << query.value(i);
        rows << row;
    }
    return rows;
}

}  // namespace md
