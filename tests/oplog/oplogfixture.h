#pragma once
// The operation log and batch number tests: a fresh database, a session of
// user u1 with every right under the window's list, scripted message boxes.
#include <QStringList>

#include "formfixture.h"

namespace md::test {

class OplogTest : public FormTest {
  protected:
    OplogTest() : FormTest(QStringLiteral("frm_oplog")) {
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
    }

    // The operation-log words written so far.
    QStringList states() {
        return rows(QStringLiteral("select fstate from syslog order by fautoid"));
    }
    // Statements the connection ran since the log was last cleared that contain `part`.
    QStringList statementsWith(const QString& part) {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }
    void logEntry(const QString& date, const QString& time, const QString& state) {
        db.exec(QStringLiteral("insert into syslog(logindate,begintime,userno,clientname,modename,"
                               "fbillid,fstate) values('") +
                date + QStringLiteral("','") + time + QStringLiteral("','u2','','货品档案','','") +
                state + QStringLiteral("')"));
    }
};

}  // namespace md::test
