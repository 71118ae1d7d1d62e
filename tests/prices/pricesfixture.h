#pragma once
// The price windows' world: three goods items (G001 tag 300 with a reference
// cost of 100, G002 tag 0 with a cost of 40, G003 tag 8 without a cost row)
// and their colours; shops S01 and S02 keep shifts, C01 is a client without;
// S01 holds stock of G001 and has sold some, S02 has ordered G002. The user
// has every right and sees costs, prices with 2 decimals.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "editorfactory.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

namespace md::test {

class PricesTest : public FormTest {
  protected:
    PricesTest() : FormTest(QStringLiteral("frm_prices")) {
        md::Shared().ClientScopeAll = true;
        md::Shared().BrandScopeAll = true;
        md::Shared().PlanPriceVisible = true;
        md::Shared().PriceDecimals = 2;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_excel", "b_print"});
        for (const char* sql :
             {"insert into ba_color(colorid,colorname_ch) values('01','黑色'),('02','白色'),"
              "('03','红色')",
              "insert into goods(goodsid,goodsname,brand,ayear,season,unitprice,price1,price2,"
              "price3,price4,price5,price6,goodsno) values"
              "('G001','圆领T恤','雅韵','2025','夏',300,105,120,135,165,165,180,'N1'),"
              "('G002','休闲裤','森屿','2025','秋',0,50,60,70,80,90,100,'N2'),"
              "('G003','棉袜','雅韵','2024','冬',8,1,2,3,4,5,6,'N3')",
              "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) values"
              "('G001','01','N1','C1'),('G001','02','N1','C2'),('G002','01','N2','C3'),"
              "('G002','03','N2','C4'),('G003','02','N3','C5')",
              "insert into planprice(fgoodsid,planprice,goodsno) values('G001',100,'N1'),"
              "('G002',40,'N2')",
              "insert into dt_client(fid,fcode,fname,fabbrev,fmathod) values"
              "('K1','S01','雅韵湖滨店','湖滨店','自营'),('K2','S02','雅韵西湖店','西湖店','自营'),"
              "('K3','C01','宁波甬城服装','宁波甬城','批发')",
              "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime) values"
              "('S01','早班','09:00:00','15:00:00'),('S01','晚班','15:00:00','22:00:00'),"
              "('S02','全天','09:00:00','22:00:00')",
              "insert into s_stock(fclientcode,fgoodsid,fcolorid,qty) values"
              "('S01','G001','01',5),('S01','G001','02',0)",
              "insert into d_s_sale(fbillid,fclientcode,fbilldate) values"
              "('LS1','S01','2025-04-01'),('LS2','S01','2025-04-02'),('LS3','S02','2025-04-02')",
              "insert into d_s_saledetail(fbillid,fgoodsid,fcolorid,qty,fprice) values"
              "('LS1','G001','01',2,300),('LS2','G001','01',1,300),('LS3','G001','01',7,300)",
              "insert into d_order(fbillid,fclientcode,fgoodsid,fcolorid,fqty) values"
              "('DH1','S02','G002','03',20)"})
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
    // Key by key into the widget; Chinese characters arrive as an input method
    // hands them over.
    static void type(const QString& text, QWidget* widget) {
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
    // Moves to the row of the dataset, opens the cell's editor, replaces its
    // text and presses Enter. Returns the editor's text when it stayed open
    // (a refused value), else empty.
    static QString typeIntoCell(TDBTableView* v, int row, const char* field, const QString& text) {
        const QModelIndex at = v->gridModel()->index(row, v->SectionOf(QString::fromLatin1(field)));
        v->setCurrentIndex(at);
        v->edit(at);
        QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        if (!editor) {
            ADD_FAILURE() << "no editor for " << field;
            return QString();
        }
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(line, Qt::Key_Backspace);
        type(text, line);
        QTest::keyClick(line, Qt::Key_Return);
        QWidget* still = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        if (!still) return QString();
        QString left;
        EditorText(still, &left);
        v->CancelEditor();
        return left.isEmpty() ? QStringLiteral("(empty)") : left;
    }
    // What a cell shows.
    static QString cell(TDBTableView* v, int row, const char* field) {
        return v->gridModel()
            ->index(row, v->SectionOf(QString::fromLatin1(field)))
            .data(Qt::DisplayRole)
            .toString();
    }
    static int rowOf(TRemoteUdpDataSet* ds, const char* field, const QString& value) {
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            if (ds->valueAt(row, at).toString() == value) return row;
        return -1;
    }
    static QStringList column(TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->displayTextAt(row, at);
        return values;
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
