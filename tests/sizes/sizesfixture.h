#pragma once
// The world of the size and description-field tests: a database with the
// server schema, a session on it, a host window keeping the open-window list
// and scripted message boxes.
#include "baseform.h"
#include "messages.h"
#include "rowsink.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

inline std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace md::test {

class SizesHostWindow : public QObject, public IOpenWindowList {
public:
    QStringList captions;
    void AddCaption(const QString& caption) override { captions.append(caption); }
    int FindCaption(const QString& caption) const override { return int(captions.indexOf(caption)); }
    void DeleteCaption(int index) override { captions.removeAt(index); }
};

class SizesTest : public ::testing::Test {
protected:
    SizesTest()
    {
        md::Shared() = md::SharedValues();
        md::Session() = md::SessionContext();
        md::Session().HostApplication = QCoreApplication::instance();
        md::Session().UserNo = QStringLiteral("u1");
        md::Session().RightListName = QStringLiteral("frm_size");
        md::Session().Connection = &db.conn();
        md::Session().HostMainForm = &host;
    }
    ~SizesTest() override
    {
        for (const QPointer<QWidget>& form : m_forms) delete form.data();
        md::Session() = md::SessionContext();
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

    void addSizes(const QString& group, const QStringList& sizes, const QList<int>& indexes = {})
    {
        for (int i = 0; i < sizes.size(); ++i) {
            const int index = i < indexes.size() ? indexes[i] : i + 1;
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) values('%1','%2',%3,'S%3')")
                        .arg(SqlText(group), SqlText(sizes[i]))
                        .arg(index));
        }
    }

    TestDb db;
    SizesHostWindow host;
    md::ui::MessageScript script;

private:
    QList<QPointer<QWidget>> m_forms;
};

}  // namespace md::test
