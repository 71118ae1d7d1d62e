#pragma once
// The world of the attendance windows: two system types (平时加班, 事假) and a
// type of the user's own (调休), two shifts (A 白班, C 夜班), departments 01
// (with 0101 below it) and 02, and four employees: E01 and E02 in 0101, E03
// in 02 who joined on 2026-11-10, and E09 who has left. User u1 holds every
// right until a test takes one away.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "dbcontrols.h"
#include "formfixture.h"
#include "grid.h"
#include "remoteudpdataset.h"

namespace md::test {

class AttendanceTest : public FormTest {
  protected:
    AttendanceTest() : FormTest(QStringLiteral("frm_KQ")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});
        addType("JB01", "平时加班", 1, true);
        addType("QJ01", "事假", 2, true);
        addType("QJ09", "调休", 2, false);
        addShift("A", "白班", "108:30", "117:30");
        addShift("C", "夜班", "122:00", "206:00");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('01','','营运部')");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('0101','01','直营部')");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('02','','仓储部')");
        addEmployee("E01", "张伟", "0101", "2020-01-01", "");
        addEmployee("E02", "刘芳", "0101", "2021-03-01", "");
        addEmployee("E03", "孙明", "02", "2026-11-10", "");
        addEmployee("E09", "王磊", "02", "2019-05-01", "2025-06-30");
    }

    void addType(const QString& code, const QString& name, int category, bool system) {
        db.exec(QStringLiteral("insert into kq_type(fcode,fname,fremark,ftype,fisSys) "
                               "values(%1,%2,'',%3,%4)")
                    .arg(QuotedStr(code), QuotedStr(name))
                    .arg(category)
                    .arg(system ? 1 : 0));
    }
    void addShift(const QString& code, const QString& name, const QString& start,
                  const QString& end) {
        db.exec(QStringLiteral("insert into kq_banci(fcode,fname,fsb_time,fXb_time,fsb_timeb,"
                               "fsb_timee,fxb_timeb,fxb_timee,fsb_iscard,fxb_iscard,"
                               "fWorkTime_Mode,fWork_Time,ftypecode) "
                               "values(%1,%2,%3,%4,%3,%3,%4,%4,1,0,1,8,'0')")
                    .arg(QuotedStr(code), QuotedStr(name), QuotedStr(start), QuotedStr(end)));
    }
    void addEmployee(const QString& code, const QString& name, const QString& dept,
                     const QString& joined, const QString& left) {
        db.exec(QStringLiteral("insert into dt_employee(fid,fcode,fnamech,fdeptcode,fSex,fInTime,"
                               "fOutTime) values(%1,%1,%2,%3,'男',%4,%5)")
                    .arg(QuotedStr(code), QuotedStr(name), QuotedStr(dept), QuotedStr(joined),
                         left.isEmpty() ? QStringLiteral("null") : QuotedStr(left)));
    }

    // Typed key by key into the editor over what it held, then left with
    // Return; Chinese characters arrive as an input method hands them over.
    static void typeInto(QLineEdit* editor, const QString& text) {
        editor->setFocus();
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(editor, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(editor, &press);
        }
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // What a grid shows in a row, column by column.
    static QStringList shownRow(const TDBTableView* view, int row) {
        QStringList cells;
        for (int column = 0; column < view->reportColumnCount(); ++column)
            cells << view->reportText(row, column);
        return cells;
    }
};

}  // namespace md::test
