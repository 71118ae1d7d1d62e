#pragma once
// A fresh database on the session's connection, a host program folder of its
// own (MASTERDATA_HOME) and shared values at their start values.
#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace md::test {

class SessionFixture : public ::testing::Test {
protected:
    SessionFixture()
    {
        m_previousHome = qgetenv("MASTERDATA_HOME");
        qputenv("MASTERDATA_HOME", home.path().toLocal8Bit());
        md::Shared() = md::SharedValues();
        md::Session() = md::SessionContext();
        md::Session().Connection = &db.conn();
        md::Session().UserNo = QStringLiteral("u1");
    }
    ~SessionFixture() override
    {
        md::Session() = md::SessionContext();
        if (m_previousHome.isNull()) qunsetenv("MASTERDATA_HOME");
        else qputenv("MASTERDATA_HOME", m_previousHome);
    }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(home.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // softconfig.ini with the given body, so the database loaders run.
    void writeSoftConfig(const QByteArray& body = "[config]\nfontsize=10\n") { writeFile("softconfig.ini", body); }

    // Gives a group of the user one rights row under the list.
    // A new list with one rights row for the group, the given right columns set.
    void grant(const QString& list, const QString& group, const QStringList& rights)
    {
        const int autoid = db.scalar(QStringLiteral("select isnull(max(autoid),0)+1 from dr_right")).toInt();
        db.exec(QStringLiteral("insert into dr_right(autoid,listname) values(%1,'%2')").arg(autoid).arg(list));
        QString columns = QStringLiteral("autoid,groupid");
        QString values = QStringLiteral("%1,'%2'").arg(autoid).arg(group);
        for (const QString& right : rights) {
            columns += QLatin1Char(',') + right;
            values += QStringLiteral(",1");
        }
        db.exec(QStringLiteral("insert into dr_rightdetail(%1) values(%2)").arg(columns, values));
    }
    void joinGroup(const QString& user, const QString& group)
    {
        db.exec(QStringLiteral("insert into usermainde(userno,fgroupid) values('%1','%2')").arg(user, group));
    }

    QTemporaryDir home;
    TestDb db;

private:
    QByteArray m_previousHome;
};

}  // namespace md::test
