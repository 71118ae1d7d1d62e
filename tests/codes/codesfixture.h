#pragma once
// The code tables' tests: a fresh database with the whole schema, a session on
// it with every right under the window's list, a host window keeping the
// open-window list, scripted message boxes.
#include "baseform.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace md::test {

class TestHostList : public QObject, public IOpenWindowList {
public:
    QStringList captions;
    void AddCaption(const QString& caption) override { captions.append(caption); }
    int FindCaption(const QString& caption) const override { return int(captions.indexOf(caption)); }
    void DeleteCaption(int index) override { captions.removeAt(index); }
};

class CodesTest : public ::testing::Test {
protected:
    CodesTest()
    {
        md::Shared() = md::SharedValues();
        md::Shared().ClientScopeAll = true;
        md::Session() = md::SessionContext();
        md::Session().HostApplication = QCoreApplication::instance();
        md::Session().UserNo = QStringLiteral("u1");
        md::Session().RightListName = QStringLiteral("frm_codes");
        md::Session().Connection = &db.conn();
        md::Session().HostMainForm = &host;
        db.exec(QStringLiteral("insert into usermainde(userno,fgroupid) values('u1','g1')"));
        db.exec(QStringLiteral("insert into dr_right(autoid,listname) values(1,'frm_codes')"));
        db.exec(QStringLiteral("insert into dr_rightdetail(autoid,groupid,b_add,b_edit,b_del,b_browse,b_print,b_excel) "
                               "values(1,'g1',1,1,1,1,1,1)"));
    }
    ~CodesTest() override
    {
        for (const QPointer<QWidget>& form : m_forms) delete form.data();
        md::Session() = md::SessionContext();
        md::Shared() = md::SharedValues();
    }

    template <class T>
    T* open()
    {
        T* form = md::ui::CreateForm<T>();
        m_forms.append(form);
        return form;
    }

    // Every row of a query, columns joined by "|".
    QStringList rows(const QString& tsql)
    {
        ResultTable result;
        db.conn().OpenSQL(tsql, result);
        QStringList out;
        for (int r = 0; r < result.rowCount; ++r) {
            QStringList cells;
            for (int c = 0; c < result.columns.size(); ++c) cells << result.at(r, c).toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    // The operation-log words written so far.
    QStringList states() { return rows(QStringLiteral("select fstate from syslog order by fautoid")); }
    // Statements the connection ran since the last call that contain `part`.
    QStringList statementsWith(const QString& part)
    {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }

    static QString field(TRemoteUdpDataSet* ds, const char* name) { return ds->FieldByName(QString::fromUtf8(name)).AsString(); }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TestDb db;
    TestHostList host;
    md::ui::MessageScript script;

private:
    QList<QPointer<QWidget>> m_forms;
};

}  // namespace md::test
