#pragma once
#include "sqlquote.h"
// The world of a form test, for the test programs that link the framework: a
// database, a session on it as user u1 under the form's rights list, a host
// window keeping the open-window list, scripted message boxes, and the forms
// the test opened, closed after it.
//
//   class ColorTest : public md::test::FormTest {
//   protected:
//       ColorTest() : FormTest(QStringLiteral("frm_color"))
//       {
//           joinGroup();
//           grant({"b_add", "b_edit", "b_del"});
//       }
//   };
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "baseform.h"
#include "messages.h"
#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"
#include "testprint.h"

namespace md::test {

// The host main window's caption list.
class TestHostWindow : public QObject, public IOpenWindowList {
  public:
    QStringList captions;
    void AddCaption(const QString& caption) override { captions.append(caption); }
    int FindCaption(const QString& caption) const override {
        return int(captions.indexOf(caption));
    }
    void DeleteCaption(int index) override { captions.removeAt(index); }
};

// Shared values and the session at their start values, then the session of
// user u1 under the rights list on the connection; the host window may be null.
inline void startFormSession(TRemoteUdpConnection& connection, const QString& rightList,
                             QObject* hostWindow) {
    md::Shared() = md::SharedValues();
    md::Session() = md::SessionContext();
    md::Session().HostApplication = QCoreApplication::instance();
    md::Session().UserNo = QStringLiteral("u1");
    md::Session().RightListName = rightList;
    md::Session().Connection = &connection;
    md::Session().HostMainForm = hostWindow;
}

inline void endFormSession() {
    md::Session() = md::SessionContext();
    md::Shared() = md::SharedValues();
}

// Db: TestDb, or another DbShorthands whose default constructor makes the database.
template <class Db>
class FormTestOf : public ::testing::Test {
  protected:
    explicit FormTestOf(const QString& rightList) : m_rightList(rightList) {
        startFormSession(db.conn(), rightList, &host);
    }
    ~FormTestOf() override {
        closeForms();
        endFormSession();
    }

    template <class T, class... Args>
    T* open(Args&&... args) {
        T* form = md::ui::CreateForm<T>(std::forward<Args>(args)...);
        m_forms.append(form);
        return form;
    }
    // Deletes the forms open() made that are still there.
    void closeForms() {
        for (const QPointer<QWidget>& form : m_forms) delete form.data();
        m_forms.clear();
    }

    // User u1 joins group g1; the group gets a rights row under the list (by
    // default the session's), the given right columns set.
    void joinGroup() {
        db.exec(QStringLiteral("insert into usermainde(userno,fgroupid) values('u1','g1')"));
    }
    void grant(const QStringList& rights, const QString& list = {}) {
        grantRights(db, list.isEmpty() ? m_rightList : list, QStringLiteral("g1"), rights);
    }

    QStringList rows(const QString& tsql) { return db.rows(tsql); }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Db db;
    TestHostWindow host;
    md::ui::MessageScript script;

  private:
    QString m_rightList;
    QList<QPointer<QWidget>> m_forms;
};

using FormTest = FormTestOf<TestDb>;

// The values of one goods description field, trimmed, in the order the server
// returns them to the attribute tree fill (its query has no order by, so the
// order is the server's to choose).
template <class Db>
QStringList serverFieldValues(Db& db, const QString& field) {
    // The fill's own query: the same text gives the same plan, hence the same order.
    QStringList values;
    for (const QString& row :
         db.rows(QStringLiteral("select * from dbo.ba_fieldvalues where ftablename='goods'\r"
                                " and ffieldname in(select fname from ba_fieldremark where "
                                "ftablename='goods' and visiblebit=1)"))) {
        const QStringList columns =
            row.split(QLatin1Char('|'));  // fautoid|ftablename|ffieldname|fFieldValues|fsysbit
        if (columns.value(2).compare(field, Qt::CaseInsensitive) == 0)
            values << columns.value(3).trimmed();
    }
    return values;
}

// "(<column> in('a','b'))" for the ticked values, in the order the tree lists them.
inline QString inCondition(const QString& column, const QStringList& treeOrder,
                           const QStringList& ticked) {
    QStringList quoted;
    for (const QString& value : treeOrder)
        if (ticked.contains(value)) quoted << QuotedStr(value);
    return QStringLiteral("(") + column + QStringLiteral(" in(") + quoted.join(QLatin1Char(',')) +
           QStringLiteral("))");
}

}  // namespace md::test
