#pragma once
// The warehouse windows' world: warehouses CK01, CK02 (the head warehouse) and
// CK03 in region 0101; goods G001 (black, white) and G002 (black, red) with
// stock in CK01 and CK02, a location in each and one stock limit; every right.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

namespace md::test {

class WarehouseTest : public FormTest {
  protected:
    WarehouseTest() : FormTest(QStringLiteral("frm_warehouses")) {
        md::Shared().HouseScopeAll = true;
        md::Shared().BrandScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_excel"});
        for (const char* sql :
             {"insert into ba_Area(fCode,fparentcode,fName) values('01','0','华东')",
              "insert into ba_Area(fCode,fparentcode,fName) values('0101','01','浙江')",
              "insert into dt_house(fid,fcode,fname,fAreacode,strat_bit) "
              "values('H1','CK01','杭州配送仓','0101',0)",
              "insert into dt_house(fid,fcode,fname,fAreacode,strat_bit) "
              "values('H2','CK02','总仓','0101',1)",
              "insert into dt_house(fid,fcode,fname,fAreacode,strat_bit) "
              "values('H3','CK03','辅料仓','0101',0)",
              "insert into ba_color(colorid,colorname_ch) values('01','黑色')",
              "insert into ba_color(colorid,colorname_ch) values('02','白色')",
              "insert into ba_color(colorid,colorname_ch) values('03','红色')",
              "insert into goods(goodsid,goodsname,unitprice,goodsno) "
              "values('G001','圆领T恤',199,'N1')",
              "insert into goods(goodsid,goodsname,unitprice,goodsno) "
              "values('G002','休闲裤',299,'N2')",
              "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
              "values('G001','01','N1','C1'),('G001','02','N1','C2'),"
              "('G002','01','N2','C3'),('G002','03','N2','C4')",
              // One colour in two stock rows: summed.
              "insert into stock(fhousecode,fgoodsid,fcolorid,qty) values('CK01','G001','01',"
              "5),('CK01','G001','01',3),('CK01','G001','02',4),('CK01','G002','03',2),"
              "('CK02','G002','01',7)",
              "insert into dt_HstockLocal(fhousecode,fgoodsid,fcolorid,fhouselocal) "
              "values('CK01','G001','01','A-01-01'),('CK02','G002','01','B-02-01')",
              "insert into Ba_housestockLimit(fgoodsid,fcolorid,fmaxstock,fminstock) "
              "values('G001','01',50,5)"})
            db.exec(QString::fromUtf8(sql));
    }

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
    static void pressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
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
    static QStringList column(TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->valueAt(row, at).toString();
        return values;
    }
    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
};

}  // namespace md::test
