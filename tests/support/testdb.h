#pragma once
// A fresh SQLite database with the whole server schema, in a temporary folder,
// opened on a connection. Each test gets its own.
#include "remoteudpconnection.h"

#include <QTemporaryDir>
#include <QVariant>
#include <memory>

namespace md::test {

class TestDb {
public:
    TestDb();
    ~TestDb();

    TRemoteUdpConnection& conn() { return *m_connection; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Shorthands for arranging and asserting database contents.
    qint64 exec(const QString& tsql);
    QVariant scalar(const QString& tsql);  // first column of the first row; invalid when no row
    int count(const QString& tableAndWhere);  // "select count(*) from " + tableAndWhere

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TRemoteUdpConnection> m_connection;
};

// Path of a file under tests/ in the source tree.
QString testDataPath(const QString& relative);

}  // namespace md::test
