#pragma once
// The local database: localData.db, an SQLite file in the host program's folder
// (the file LocalDataConnStr names). Windows keep copies there that label
// programs on the workstation read. The file and a table are made on first use.
//
// A table the module keeps there is one line of kLocalTables in localdata.cpp.
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

namespace md {

// The file: the "Data Source=" of LocalDataConnStr, else localData.db in the
// host program's folder.
QString LocalDataFile();

// The open connection to the local database, with `table` there (made when
// missing). Throws EDatabaseError for a table the module does not keep there or
// a file that cannot be opened or written.
QSqlDatabase OpenLocalData(const QString& table);

// Replaces every row of `table` by `rows` (values in the order of `columns`),
// in one transaction: on failure the table keeps its old rows and the error
// propagates as EDatabaseError.
void ReplaceLocalRows(const QString& table, const QStringList& columns,
                      const QList<QVariantList>& rows);

// The rows of a query on the local database, values in column order.
QList<QVariantList> ReadLocalRows(const QString& table, const QString& sql);

}  // namespace md
