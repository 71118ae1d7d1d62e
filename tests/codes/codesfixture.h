#pragma once
// The code tables' tests: a fresh database with the whole schema, a session on
// it with every right under the window's list, a host window keeping the
// open-window list, scripted message boxes.
#include "formfixture.h"
#include "remoteudpdataset.h"

namespace md::test {

class CodesTest : public FormTest {
  protected:
    CodesTest() : FormTest(QStringLiteral("frm_codes")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
    }

    // The operation-log words written so far.
    QStringList states() {
        return rows(QStringLiteral("select fstate from syslog order by fautoid"));
    }
    // Statements the connection ran since the last call that contain `part`.
    QStringList statementsWith(const QString& part) {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }

    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromUtf8(name)).AsString();
    }
};

}  // namespace md::test
