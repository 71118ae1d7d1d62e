#pragma once
// The world of the member windows: an agent (C01) and four shops, three with
// shifts (S0101, S0102, S0201; S0301 has none), the three categories 普通会员
// (1001, 0.95), 银卡会员 (1002, 0.90) and 金卡会员 (1003, 0.85), and a
// member in each shop with shifts; user u1 with every right and, until a
// test restricts it, every client.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"

namespace md::test {

class MembersTest : public FormTest {
  protected:
    MembersTest() : FormTest(QStringLiteral("frm_vipcard")) {
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_browse", "b_print", "b_excel"});

        addClient("C01", "杭州直营", "杭州雅韵服饰有限公司直营部");
        addClient("S0101", "湖滨银泰店", "雅韵杭州湖滨银泰店");
        addClient("S0102", "西湖文化广场店", "雅韵杭州西湖文化广场店");
        addClient("S0201", "南京东路店", "雅韵上海南京东路店");
        addClient("S0301", "O'Neil店", "奥尼尔批发部");
        for (const char* shop : {"S0101", "S0102", "S0201"})
            db.exec(QStringLiteral("insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime,"
                                   "finused) values('%1','早班','09:00:00','17:00:00',1)")
                        .arg(QString::fromLatin1(shop)));
        addCategory("1001", "普通会员", 0.95);
        addCategory("1002", "银卡会员", 0.90);
        addCategory("1003", "金卡会员", 0.85);
        addMember("V01010001", "王丽", "1001", "S0101");
        addMember("V01020001", "陈静", "1002", "S0102");
        addMember("V02010001", "顾燕", "1003", "S0201");
    }

    void addClient(const QString& code, const QString& abbrev, const QString& name) {
        db.exec(
            QStringLiteral("insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,"
                           "stratbit) values(%1,' ',%2,%3,%4,'自营',1)")
                .arg(QuotedStr("K" + code), QuotedStr(code), QuotedStr(name), QuotedStr(abbrev)));
    }
    void addCategory(const QString& id, const QString& name, double discount) {
        db.exec(QStringLiteral("insert into ba_viplb(viplbid,vipLBname,integrals,discount,"
                               "consumeamount,integralscount) values(%1,%2,1,%3,100,1)")
                    .arg(QuotedStr(id), QuotedStr(name))
                    .arg(discount));
    }
    void addMember(const QString& card, const QString& name, const QString& grade,
                   const QString& shop) {
        db.exec(QStringLiteral("insert into dt_vipcard(vipid,name,sex,begaindate,enddate,vipgrade,"
                               "clientid,mobiletel,amount) values(%1,%2,'女','2024-01-01',"
                               "'2099-12-31',%3,%4,'13900001111',100)")
                    .arg(QuotedStr(card), QuotedStr(name), QuotedStr(grade), QuotedStr(shop)));
    }
    // The user's client scope as the data module loads it from userclient.
    void restrictTo(const QStringList& clients) {
        for (const QString& code : clients)
            db.exec("insert into userclient(fgroupid,fclientcode) values('u1'," + QuotedStr(code) +
                    ")");
        md::LoadUserScopes();
    }
    QStringList cards() { return rows("select vipid from dt_vipcard order by vipid"); }

    // Shown and active, so typing reaches the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }
    // Key by key into the focused control (or `widget`); Chinese characters
    // arrive as an input method hands them over.
    static void type(const QString& text, QWidget* widget = QApplication::focusWidget()) {
        ASSERT_NE(widget, nullptr);
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(widget, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }
    // Replaces the text of the current row's cell in its editor, then Enter.
    static void typeIntoCell(TDBTableView* v, const char* field, const QString& text) {
        v->setCurrentIndex(
            v->gridModel()->index(qMax(0, v->currentIndex().row()), v->SectionOf(field)));
        v->edit(v->currentIndex());
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        ASSERT_NE(editor, nullptr) << field;
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        type(text, line);
        QTest::keyClick(line, Qt::Key_Return);
    }
    static QStringList column(const TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->valueAt(row, at).toString();
        return values;
    }
    static QString field(const TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
    static QStringList sorted(QStringList list) {
        list.sort();
        return list;
    }
};

}  // namespace md::test
