#pragma once
// A fresh database on the session's connection, a host program folder of its
// own (MASTERDATA_HOME) and shared values at their start values.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>

#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"

namespace md::test {

class SessionFixture : public ::testing::Test {
  protected:
    SessionFixture() {
        md::Shared() = md::SharedValues();
        md::Session() = md::SessionContext();
        md::Session().Connection = &db.conn();
        md::Session().UserNo = QStringLiteral("u1");
    }
    ~SessionFixture() override { md::Session() = md::SessionContext(); }

    void writeFile(const QString& name, const QByteArray& bytes) { home.writeFile(name, bytes); }
    // softconfig.ini with the given body, so the database loaders run.
    void writeSoftConfig(const QByteArray& body = "[config]\nfontsize=10\n") {
        home.writeSoftConfig(body);
    }

    // A new list with one rights row for the group, the given right columns set.
    void grant(const QString& list, const QString& group, const QStringList& rights) {
        grantRights(db, list, group, rights);
    }
    void joinGroup(const QString& user, const QString& group) {
        db.exec(QStringLiteral("insert into usermainde(userno,fgroupid) values('%1','%2')")
                    .arg(user, group));
    }

    ProgramHome home;
    TestDb db;
};

}  // namespace md::test
