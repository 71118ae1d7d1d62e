#pragma once
// The world of the wage windows: five wage items, three of them system items
// (01 基本工资, 02 全勤奖, 05 社保扣款), 03 销售提成 a sales commission and
// 04 迟到扣款 a deduction of the user's own; departments 01 and 02 with three
// employees. Only E01 has stored amounts: 基本工资 5000, 社保扣款 380 and
// 迟到扣款 60 (deductions stored negative).
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "remoteudpdataset.h"

namespace md::test {

class WagesTest : public FormTest {
  protected:
    WagesTest() : FormTest(QStringLiteral("frm_KQ")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse"});
        addItem("01", "基本工资", 1, 0, false, true);
        addItem("02", "全勤奖", 1, 200, false, true);
        addItem("03", "销售提成", 1, 0, true, false);
        addItem("04", "迟到扣款", -1, 20, false, false);
        addItem("05", "社保扣款", -1, 380, false, true);
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('01','','营运部')");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('02','','仓储部')");
        addEmployee("E01", "张伟", "01");
        addEmployee("E02", "刘芳", "01");
        addEmployee("E03", "孙明", "02");
        addPay("E01", "01", 5000);
        addPay("E01", "05", -380);
        addPay("E01", "04", -60);
    }

    void addItem(const QString& code, const QString& name, int mode, double money, bool sale,
                 bool system) {
        db.exec(QStringLiteral("insert into kq_wagesitem(fcode,fname,fmode,fmoney,fisSaleMoney,"
                               "fisSys) values(%1,%2,%3,%4,%5,%6)")
                    .arg(QuotedStr(code), QuotedStr(name))
                    .arg(mode)
                    .arg(money)
                    .arg(sale ? 1 : 0)
                    .arg(system ? 1 : 0));
    }
    void addEmployee(const QString& code, const QString& name, const QString& dept) {
        db.exec(QStringLiteral("insert into dt_employee(fid,fcode,fnamech,fdeptcode,fSex) "
                               "values(%1,%1,%2,%3,'男')")
                    .arg(QuotedStr(code), QuotedStr(name), QuotedStr(dept)));
    }
    void addPay(const QString& employee, const QString& item, double money) {
        db.exec(QStringLiteral("insert into kq_empwages(fempcode,fwagesitemcode,fmoney) "
                               "values(%1,%2,%3)")
                    .arg(QuotedStr(employee), QuotedStr(item))
                    .arg(money));
    }
    // "item|amount" of an employee's stored rows, by item.
    QStringList pay(const QString& employee) {
        return rows(QStringLiteral("select fwagesitemcode,fmoney from kq_empwages where "
                                   "fempcode=%1 order by fwagesitemcode")
                        .arg(QuotedStr(employee)));
    }

    // Created, shown and active, so keys reach the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }

    // Typed key by key into the box over what it held, Chinese characters as
    // an input method hands them over; Return when asked.
    static void typeInto(QWidget* box, const QString& text, bool enter = true) {
        box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
        if (enter) QTest::keyClick(box, Qt::Key_Return);
    }
    // The open cell editor's line, after the cell of `field` in `row` was
    // entered and what it held selected.
    static QLineEdit* openCell(TDBTableView* v, int row, const char* field) {
        v->setFocus();
        v->setCurrentIndex(v->model()->index(row, v->SectionOf(field)));
        v->edit(v->currentIndex());
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        if (!editor) return nullptr;
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        auto* edit = qobject_cast<QLineEdit*>(line);
        if (!edit) edit = line->findChild<QLineEdit*>();
        if (edit) edit->selectAll();
        return edit;
    }
    // Types into the cell and confirms it with Return.
    static void typeIntoCell(TDBTableView* v, int row, const char* field, const QString& text) {
        QLineEdit* line = openCell(v, row, field);
        ASSERT_NE(line, nullptr) << field;
        typeInto(line, text);
    }
    // What a grid shows in a row, column by column.
    static QStringList shownRow(const TDBTableView* view, int row) {
        QStringList cells;
        for (int column = 0; column < view->reportColumnCount(); ++column)
            cells << view->reportText(row, column).trimmed();
        return cells;
    }
    static QList<QStringList> shownRows(const TDBTableView* view) {
        QList<QStringList> all;
        for (int row = 0; row < view->reportRowCount(); ++row) all << shownRow(view, row);
        return all;
    }
};

}  // namespace md::test
