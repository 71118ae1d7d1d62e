#pragma once
// The cost windows' world: five goods items (G001 tag 200 and G002 tag 300
// with reference cost rows of 0 and 120; G003 tag 100, G004 tag 80, G005 tag
// 50 without), the head warehouse CK02 beside CK01, the shops S01 and S02
// in use with shifts and C01 without, and a user with every right who sees
// every client and brand, prices with 2 decimals.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include "editorfactory.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

namespace md::test {

class CostsTest : public FormTest {
  protected:
    explicit CostsTest(const QString& rightList = QStringLiteral("frm_planprice"))
        : FormTest(rightList) {
        md::Shared().ClientScopeAll = true;
        md::Shared().BrandScopeAll = true;
        md::Shared().PriceDecimals = 2;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_excel", "b_print"});
        for (const char* sql :
             {"insert into goods(goodsid,goodsname,brand,ayear,season,sort,unitprice,goodsno) "
              "values('G001','圆领T恤','雅韵','2025','夏','T恤',200,'N1'),"
              "('G002','休闲裤','森屿','2025','秋','裤',300,'N2'),"
              "('G003','棉袜','雅韵','2024','冬','袜',100,'N3'),"
              "('G004','针织衫','雅韵','2025','春','毛衫',80,'N4'),"
              "('G005','丝巾','森屿','2025','春','配饰',50,'N5')",
              "insert into planprice(fgoodsid,planprice,goodsno) values('G001',0,'N1'),"
              "('G002',120,'N2')",
              "insert into dt_house(fid,fcode,fname,strat_bit) values('H1','CK01','一号仓',0),"
              "('H2','CK02','总仓',1)",
              "insert into dt_client(fid,fcode,fname,fabbrev,fmathod,stratbit) values"
              "('K1','S01','雅韵湖滨店','湖滨店','自营',1),('K2','S02','雅韵西湖店','西湖店',"
              "'加盟',1),('K3','C01','宁波甬城服装','宁波甬城','批发',1)",
              "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime) values"
              "('S01','早班','09:00:00','15:00:00'),('S02','全天','09:00:00','22:00:00')"})
            db.exec(QString::fromUtf8(sql));
    }

    // A snapshot table of the wider system with its rows ("G001:5,G002:4").
    void snapshot(const QString& registry, const QString& ownerColumn, const QString& owner,
                  const QString& date, const QString& table, const QString& quantities) {
        db.exec(QStringLiteral("insert into %1(%2,stockdate,tablename) values('%3','%4','%5')")
                    .arg(registry, ownerColumn, owner, date, table));
        if (table.isEmpty()) return;
        db.exec(QStringLiteral("create table %1(%2 varchar(30), fgoodsid varchar(30), fcolorid "
                               "varchar(30), qty int)")
                    .arg(table, ownerColumn));
        for (const QString& pair : quantities.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList parts = pair.split(QLatin1Char(':'));
            // Two colours, so the balance sums them.
            db.exec(QStringLiteral("insert into %1 values('%2','%3','01',1),('%2','%3','02',%4)")
                        .arg(table, owner, parts.value(0))
                        .arg(parts.value(1).toInt() - 1));
        }
    }
    void houseSnapshot(const QString& date, const QString& table, const QString& quantities) {
        snapshot(QStringLiteral("hstock"), QStringLiteral("fhousecode"), QStringLiteral("CK02"),
                 date, table, quantities);
    }
    void receipt(const QString& house, const QString& goods, const QString& date, int qty,
                 double price) {
        db.exec(QStringLiteral("insert into d_receving(fbillid,fhousecode,fbilldate,fgoodsid,"
                               "fcolorid,fqty,fprice) values('R','%1','%2','%3','01',%4,%5)")
                    .arg(house, date, goods)
                    .arg(qty)
                    .arg(price));
    }
    void shopReceipt(const QString& shop, const QString& goods, const QString& date, int qty,
                     double price) {
        db.exec(QStringLiteral("insert into d_sale(fbillid,fclientcode,fbilldate,fgoodsid,"
                               "fcolorid,fqty,fprice) values('P','%1','%2','%3','01',%4,%5)")
                    .arg(shop, date, goods)
                    .arg(qty)
                    .arg(price));
    }

    // Shown and active, so typing reaches the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }
    // Moves to the row of the view, opens the cell's editor, types the text
    // over what it holds and presses Enter. Returns the editor's text when it
    // stayed open (a refused value), else empty.
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
        QTest::keyClicks(line, text);
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
    static int rowOf(TRemoteUdpDataSet* ds, const QString& code) {
        const int at = ds->FieldByName(QStringLiteral("fgoodsid")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            if (ds->valueAt(row, at).toString() == code) return row;
        return -1;
    }
    // "code=value" of every row, in the dataset's order.
    static QStringList pairs(TRemoteUdpDataSet* ds, const char* field) {
        QStringList out;
        const int code = ds->FieldByName(QStringLiteral("fgoodsid")).Index();
        const int value = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, code).toString() + QLatin1Char('=') +
                       ds->displayTextAt(row, value);
        return out;
    }
    static QStringList sorted(QStringList items) {
        items.sort();
        return items;
    }
    static QStringList items(const QComboBox* combo) {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
        return out;
    }
};

}  // namespace md::test
