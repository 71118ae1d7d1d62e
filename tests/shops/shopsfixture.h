#pragma once
// The world of the client selection dialog, the shop assets and the address
// book: two agents (C01, C02) and four shops, three of them with shifts
// (S0101, S0102, S0201; S0301 has none, so it is no shop), two areas, a few
// assets; user u1 with every right and, until a test restricts it, every client.
#include <QApplication>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"

namespace md::test {

class ShopsTest : public FormTest {
  protected:
    ShopsTest() : FormTest(QStringLiteral("frm_shops")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});

        db.exec("insert into ba_Area(fCode,fparentcode,fName) values('01','0','华东')");
        db.exec("insert into ba_Area(fCode,fparentcode,fName) values('0101','01','上海')");
        db.exec("insert into ba_Area(fCode,fparentcode,fName) values('0103','01','浙江')");
        // code, short name, nature, grade, price mode, area
        addClient("C01", "杭州直营", "自营", "总代理", "按折扣", "0103");
        addClient("C02", "上海申雅", "代理", "一级代理", "按等级", "0101");
        addClient("S0101", "湖滨银泰店", "自营", "一般客户", "按折扣", "0103");
        addClient("S0102", "西湖文化广场店", "专柜", "一般客户", "按折扣", "0103");
        addClient("S0201", "南京东路店", "加盟", "经销商", "按等级", "0101");
        addClient("S0301", "O'Neil店", "批发", "批发商", "按折扣", "");
        for (const char* shop : {"S0101", "S0102", "S0201"})
            db.exec(QStringLiteral("insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,"
                                   "finused) values('%1','早班','09:00:00','17:00:00',1)")
                        .arg(QString::fromLatin1(shop)));
    }

    void addClient(const QString& code, const QString& abbrev, const QString& nature,
                   const QString& grade, const QString& priceMode, const QString& area) {
        db.exec(QStringLiteral("insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,"
                               "fgrad,fprice_type,fareacode,stratbit) values(%1,' ',%2,%3,%4,%5,"
                               "%6,%7,%8,1)")
                    .arg(QuotedStr("K" + code), QuotedStr(code), QuotedStr(abbrev + "公司"),
                         QuotedStr(abbrev), QuotedStr(nature), QuotedStr(grade),
                         QuotedStr(priceMode), QuotedStr(area)));
    }
    // The user's client scope as the data module loads it from userclient.
    void restrictTo(const QStringList& clients) {
        for (const QString& code : clients)
            db.exec("insert into userclient(fgroupid,fclientcode) values('u1'," + QuotedStr(code) +
                    ")");
        md::LoadUserScopes();
    }

    // Shown and active, so typing reaches the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }
    // Types as a keyboard does; Chinese characters arrive as keys carrying
    // their text, as an input method hands them over.
    static void typeText(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    // Opens the cell editor of the current row's field, replaces its text and
    // leaves it with `key`.
    static void typeIntoCell(TDBTableView* v, const char* field, const QString& text,
                             Qt::Key key = Qt::Key_Return) {
        const int row = qMax(0, v->currentIndex().row());
        v->setCurrentIndex(v->gridModel()->index(row, v->SectionOf(field)));
        v->edit(v->currentIndex());
        auto* delegate = qobject_cast<TGridDelegate*>(v->itemDelegate());
        QWidget* editor = delegate ? delegate->openEditor() : nullptr;
        ASSERT_NE(editor, nullptr) << field;
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        typeText(line, text);
        QTest::keyClick(line, key);
    }
    // A column of the dataset's rows, in order.
    static QStringList column(const TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->valueAt(row, at).toString();
        return values;
    }
    static QString field(const TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
    // Statements the connection ran since the log was last cleared that contain `part`.
    QStringList statementsWith(const QString& part) {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }
};

}  // namespace md::test
