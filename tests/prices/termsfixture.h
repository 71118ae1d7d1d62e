#pragma once
// The client terms windows' world: the company C00 with the agent C01 (its
// shops S01 and S02 below it) and the franchisee C02; the six rates named in
// order (期货 .. 备用, the sixth hidden); goods brands, years, seasons and
// categories; order batches B1 and B2 of d_order (and one of another table);
// goods G001 (black, white) and G002 (black). Stored terms: a category
// discount of C01 numbered 7, C01's return ratio, C01's target in B1, the
// minimum of G001 black and S01's sales targets of 2025. Every right, every
// client.
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
#include "treelist.h"

namespace md::test {

class TermsTest : public FormTest {
  protected:
    TermsTest() : FormTest(QStringLiteral("frm_terms")) {
        md::Shared().ClientScopeAll = true;
        md::Shared().BrandScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_excel", "b_print"});
        for (const char* sql :
             {"insert into ba_Area(fCode,fparentcode,fName) values('01','0','华东')",
              "insert into dt_client(fid,fparentid,fcode,fname,fabbrev,fmathod,fgrad,"
              "fprice_type,fareacode) values"
              "('K0',' ','C00','雅韵服饰','雅韵总部','自营','总代理','按等级','01'),"
              "('K1','K0','C01','上海申雅','上海申雅','代理','一级代理','按折扣','01'),"
              "('K2','K0','C02','松江开元','松江开元','加盟','经销商','按折扣','01'),"
              "('K3','K1','S01','南京东路店','南京东路店','联营','一级代理','按折扣','01'),"
              "('K4','K1','S02','港汇专柜','港汇专柜','专柜','一级代理','按折扣','01')",
              "insert into ba_squad(fclientcode,fsquname,fbegintime,fendtime) values"
              "('S01','早班','09:00:00','17:00:00'),('S02','早班','09:00:00','17:00:00')",
              "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) values"
              "('goods','brand','雅韵'),('goods','brand','森屿'),('goods','ayear','2025'),"
              "('goods','season','秋'),('goods','season','冬'),('goods','sort','外套'),"
              "('goods','unit','件')",
              "insert into Ba_BatchInfo(ftablename,fBatchName,fDate,fType) values"
              "('d_order','B2','2025-05-20','秋冬订货会'),('d_order','B1','2025-01-10',"
              "'春夏订货会'),('d_sale','X1','2025-02-01','')",
              "insert into ba_color(colorid,colorname_ch) values('01','黑色'),('02','白色')",
              "insert into goods(goodsid,goodsname,unitprice,goodsno) values"
              "('G001','圆领T恤',199,'N1'),('G002','休闲裤',299,'N2')",
              "insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) values"
              "('G001','01','N1','C1'),('G001','02','N1','C2'),('G002','01','N2','C3')",
              "insert into cust_lbdiscount(fid,fclientcode,brand,ayear,season,discount1) "
              "values(7,'C01','雅韵','2025','秋',0.5)",
              "insert into exchange_ratio(fClientCode,exchange_lb,exchange_day,futures_ratio) "
              "values('C01','金额',90,0.15)",
              "insert into d_orderTarget(fBatchNo,fClientCode,fMoney) values('B1','C01',5000)",
              "insert into ba_GoodsOrderSoure(fgoodsid,fcolorid,ordersoure) "
              "values('G001','01',12)",
              "insert into ba_salesoure(fclientcode,ayear,m1,m2) values('S01',2025,100,200)"})
            db.exec(QString::fromUtf8(sql));
        nameRates({"discount1", "discount2", "discount3", "discount4", "discount5", "discount6"});
    }

    // ba_fieldremark rows of dt_client in this order: fid 1001 onwards, the
    // names given, captions 期货折扣 .. 备用折扣 by position, the sixth hidden.
    void nameRates(const QStringList& names, const QStringList& fids = {}) {
        db.exec("delete from ba_fieldremark where ftablename='dt_client'");
        const QStringList captions = {"期货折扣", "现货折扣", "补货折扣",
                                      "铺货折扣", "特价折扣", "备用折扣"};
        for (int i = 0; i < names.size(); ++i)
            db.exec(QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,"
                                   "visiblebit) values(%1,'dt_client',%2,%3,%4)")
                        .arg(fids.isEmpty() ? QString::number(1001 + i) : fids[i],
                             QuotedStr(names[i]), QuotedStr(captions.value(i)),
                             i == 5 ? QStringLiteral("0") : QStringLiteral("1")));
    }

    // Shown and active, so typing reaches the focused control.
    template <class T>
    T* openShown() {
        T* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        return form;
    }
    static void type(const QString& text, QWidget* widget) {
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(widget, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }
    static QWidget* openEditor(TDBTableView* v, const char* field) {
        const QModelIndex at = v->gridModel()->index(qMax(0, v->currentIndex().row()),
                                                     v->SectionOf(QString::fromLatin1(field)));
        v->setCurrentIndex(at);
        v->edit(at);
        return qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
    }
    // Replaces the text of the current row's cell and presses Enter. A
    // refused text leaves the editor open: it is dropped and true returned.
    static bool typeIntoCell(TDBTableView* v, const char* field, const QString& text) {
        QWidget* editor = openEditor(v, field);
        if (!editor) {
            ADD_FAILURE() << "no editor for " << field;
            return false;
        }
        QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
        if (auto* combo = qobject_cast<QComboBox*>(editor); combo && !combo->isEditable()) {
            combo->setCurrentIndex(combo->findText(text));
            line = combo;
        } else {
            QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(line, Qt::Key_Backspace);
            type(text, line);
        }
        QTest::keyClick(line, Qt::Key_Return);
        const bool refused = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
        if (refused) v->CancelEditor();
        return refused;
    }
    // Chooses the tree's node of a client key (fid).
    static void chooseNode(TDBTreeList* tree, const QString& fid) {
        const int row = tree->treeModel()->rowOfKey(fid);
        ASSERT_GE(row, 0) << fid.toStdString();
        tree->setCurrentIndex(tree->treeModel()->indexOfRow(row));
    }
    static QStringList column(TRemoteUdpDataSet* ds, const char* field) {
        QStringList values;
        const int at = ds->FieldByName(QString::fromLatin1(field)).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) values << ds->displayTextAt(row, at);
        return values;
    }
    static QString field(TRemoteUdpDataSet* ds, const char* name) {
        return ds->FieldByName(QString::fromLatin1(name)).AsString();
    }
    static QString caption(TDBTableView* v, const char* field) {
        return v->Column(QString::fromLatin1(field))->Caption();
    }
};

}  // namespace md::test
