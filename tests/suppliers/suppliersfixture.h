#pragma once
// The supplier windows' world: supplier categories 01 面料供应商 and 03 成衣加工厂,
// a client C01; suppliers S01 华纺面料 (fabrics) and S02 鑫隆制衣 (garments);
// goods G001 (tag 199), G002 (299), G003 (99, reference cost 12) and G004
// (120, reference cost 0); S01 quotes G001 on two dates, S02 quotes G001 once.
// User u1 has every right. Tests type into the focused control as a user does.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

namespace md::test {

class SuppliersTest : public FormTest {
  protected:
    SuppliersTest() : FormTest(QStringLiteral("frm_supplier")) {
        md::Shared().BrandScopeAll = true;
        md::Shared().ClientScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_print", "b_excel"});
        for (const char* sql : {
                 "insert into ba_Ptype(fID,fCode,fName) values('01','01','面料供应商')",
                 "insert into ba_Ptype(fID,fCode,fName) values('03','03','成衣加工厂')",
                 "insert into dt_client(fid,fparentid,fcode,fname,fabbrev) "
                 "values('K1',' ','C01','杭州雅韵服饰','雅韵')",
                 "insert into goods(goodsid,goodsname,brand,ayear,season,unitprice,goodsno) "
                 "values('G001','圆领T恤','雅韵','2026','春',199,'N1')",
                 "insert into goods(goodsid,goodsname,brand,ayear,season,unitprice,goodsno) "
                 "values('G002','休闲裤','雅韵','2026','夏',299,'N2')",
                 "insert into goods(goodsid,goodsname,brand,ayear,season,unitprice,goodsno) "
                 "values('G003','棉袜','悦动','2025','秋',99,'N3')",
                 "insert into goods(goodsid,goodsname,brand,ayear,season,unitprice,goodsno) "
                 "values('G004','针织开衫','森屿','2026','秋',120,'N4')",
                 "insert into planprice(fgoodsid,planprice,GoodsNo) values('G003',12,'N3')",
                 "insert into planprice(fgoodsid,planprice,GoodsNo) values('G004',0,'N4')",
             })
            db.exec(QString::fromUtf8(sql));
        addSupplier("F1", "S01", "华纺面料", "01", false);
        addSupplier("F2", "S02", "鑫隆制衣", "03", true);
        addQuote("S01", "G001", "2026-03-01", 30, 10);
        addQuote("S01", "G001", "2026-04-01", 32, 10);
        addQuote("S02", "G001", "2026-03-01", 50, 10);
    }

    void addSupplier(const QString& fid, const QString& code, const QString& abbrev,
                     const QString& category, bool finishedGoods) {
        db.exec(QStringLiteral("insert into dt_supplier(fid,fcode,fname,fabbrev,fsortcode,"
                               "contactman,tel1,stratbit,Category) values(%1,%2,%3,%4,%5,'张三',"
                               "'0571-1',1,%6)")
                    .arg(QuotedStr(fid), QuotedStr(code), QuotedStr(abbrev + "有限公司"),
                         QuotedStr(abbrev), QuotedStr(category))
                    .arg(finishedGoods ? 1 : 0));
    }
    void addQuote(const QString& supplier, const QString& goods, const QString& date,
                  double material, double making) {
        db.exec(QStringLiteral("insert into Dt_SupplierPrice(fSupplierCode,fGoodsid,fDate,"
                               "fMasterialPrice,fManualPrice,fPosted) values(%1,%2,%3,%4,%5,1)")
                    .arg(QuotedStr(supplier), QuotedStr(goods), QuotedStr(date))
                    .arg(material)
                    .arg(making));
    }

    // Created, shown and active, so keys reach the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }

    // Key by key into `box` after selecting what it holds, Chinese characters
    // as an input method hands them over.
    static void typeInto(QWidget* box, const QString& text) {
        box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
        if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    }
    static void pressEnter(QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }

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
        typeInto(line, text);
        QTest::keyClick(line, Qt::Key_Return);
    }

    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
    // The calls of the rename procedure the connection ran.
    QStringList replaceCalls() {
        return db.conn().log().entries().filter(QRegularExpression("^exec P_replaceSupplier"));
    }
    QStringList states() {
        return rows(QStringLiteral("select fstate from syslog order by fautoid"));
    }
};

}  // namespace md::test
