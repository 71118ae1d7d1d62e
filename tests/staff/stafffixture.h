#pragma once
// The world of the staff windows: departments 01 (with 0101 and 0102 below
// it) and 02, two employee types, five employees (E05 has left), two shops
// with shifts (S0101, S0102) and a client without (C01); E01 already serves
// S0101. User u1 has every right and every client.
#include <QApplication>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"

namespace md::test {

class StaffTest : public FormTest {
  protected:
    StaffTest() : FormTest(QStringLiteral("frm_staff")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
        for (const char* dept :
             {"01|0|营运部", "0101|01|直营管理部", "0102|01|加盟管理部", "02|0|财务部"}) {
            const QStringList d = QString::fromUtf8(dept).split('|');
            db.exec("insert into ba_Department(fCode,fparentcode,fName) values(" + QuotedStr(d[0]) +
                    "," + QuotedStr(d[1]) + "," + QuotedStr(d[2]) + ")");
        }
        for (const char* type : {"正式员工", "试用员工"})
            db.exec("insert into ba_Etype(fid,fName) values(" + QuotedStr(type) + "," +
                    QuotedStr(type) + ")");
        addEmployee("E01", "张伟", "男", "01", "正式员工", 1);
        addEmployee("E02", "刘芳", "女", "0101", "正式员工", 1);
        addEmployee("E03", "孙明", "男", "0102", "试用员工", 1);
        addEmployee("E04", "赵敏", "女", "02", "正式员工", 0);
        addEmployee("E05", "离职者", "女", "0101", "正式员工", 1);
        db.exec("update dt_employee set fOutTime='2025-06-30' where fcode='E05'");
        addClient("C01", "杭州直营");
        addClient("S0101", "湖滨银泰店");
        addClient("S0102", "西湖文化广场店");
        for (const char* shop : {"S0101", "S0102"})
            db.exec(
                "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,finused) "
                "values(" +
                QuotedStr(shop) + ",'早班','09:00:00','17:00:00',1)");
        db.exec("insert into Dt_ShopEmp(fclientcode,fempcode,fstrat) values('S0101','E01',1)");
    }

    void addEmployee(const QString& code, const QString& name, const QString& sex,
                     const QString& dept, const QString& type, int wageMode) {
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fSex,fdeptcode,fTypecode,fcacelType) "
            "values(" +
            QuotedStr(code) + "," + QuotedStr(code) + "," + QuotedStr(name) + "," + QuotedStr(sex) +
            "," + QuotedStr(dept) + "," + QuotedStr(type) + "," + QString::number(wageMode) + ")");
    }
    void addClient(const QString& code, const QString& abbrev) {
        db.exec(
            "insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,stratbit) "
            "values(" +
            QuotedStr("K" + code) + ",' '," + QuotedStr(code) + "," + QuotedStr(abbrev + "公司") +
            "," + QuotedStr(abbrev) + ",'自营',1)");
    }

    // Shown and active, so typing reaches the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }
    // Types as a keyboard does; Chinese characters arrive as keys carrying their text.
    static void typeText(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    // Replaces the text of a line editor as a user does.
    static void retype(QWidget* line, const QString& text) {
        line->setFocus();
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        typeText(line, text);
    }
    static QStringList column(const TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->valueAt(row, at).toString();
        return values;
    }
    static QStringList sorted(QStringList values) {
        values.sort();
        return values;
    }
    static QRect cell(TDBTableView* v, int row, const char* field) {
        return v->visualRect(v->gridModel()->index(row, v->SectionOf(field)));
    }
    QStringList statementsWith(const QString& part) {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }
};

}  // namespace md::test
