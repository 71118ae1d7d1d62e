#pragma once
// The goods colour tests' world: three basic colours, goods of two brands
// with their colours, the brand as a filterable description field, a session
// with every right on the description list, scripted boxes and dialogs.
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "datasource.h"
#include "formfixture.h"
#include "goods/frm_goodscolor.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "segoodscolor.h"

namespace md::test {

class GoodsColoursTest : public FormTest {
  protected:
    GoodsColoursTest() : FormTest(QStringLiteral("frm_goodscolor")) {
        md::Shared().BrandScopeAll = true;
        joinGroup();
        grant({"b_add", "b_edit", "b_del", "b_print", "b_excel"});
        for (const char* colour : {"01|黑色", "02|白色", "03|红色"}) {
            const QStringList c = QString::fromUtf8(colour).split(QLatin1Char('|'));
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','%2')")
                        .arg(c[0], c[1]));
        }
        db.exec(
            QStringLiteral("insert into ba_fieldremark(fid,ftablename,fname,ffieldname_sys,"
                           "ffieldremark,visiblebit) values(1,'goods','brand','品牌','品牌',1)"));
        for (const char* brand : {"雅韵", "悦动"})
            db.exec(QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
                                   "values('goods','brand','%1')")
                        .arg(QString::fromUtf8(brand)));
        addGoods("A1001", "雅韵", "01,02");
        addGoods("A1002", "悦动", "01,03");
        addGoods("B2001", "雅韵", "02");
    }

    void addGoods(const char* code, const char* brand, const char* colours) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,sort,size_class,"
                               "unitprice,strat) values('%1','品名%1','%2','T恤','TOPS',199,1)")
                    .arg(QString::fromUtf8(code), QString::fromUtf8(brand)));
        for (const QString& colour : QString::fromUtf8(colours).split(QLatin1Char(',')))
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) values('%1','%2')")
                        .arg(QString::fromUtf8(code), colour));
    }
    void describe(const QString& goods, const QString& colour, const QString& text) {
        db.exec(QStringLiteral(
                    "insert into ba_goodscolor(fgoodsid,fcolorid,fcolor) values('%1','%2','%3')")
                    .arg(goods, colour, text));
    }

    // The stored descriptions, "goods|colour|text", in code order.
    QStringList described() {
        return rows(QStringLiteral(
            "select fgoodsid,fcolorid,fcolor from ba_goodscolor order by fgoodsid,fcolorid"));
    }
    // The list's rows, "goods|colour|text", in the list's order.
    static QStringList listed(TRemoteUdpDataSet* ds) {
        QStringList out;
        const int g = ds->FieldByName(QStringLiteral("fgoodsid")).Index();
        const int c = ds->FieldByName(QStringLiteral("fcolorid")).Index();
        const int t = ds->FieldByName(QStringLiteral("fcolor")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, g).toString() + QLatin1Char('|') +
                       ds->valueAt(row, c).toString() + QLatin1Char('|') +
                       ds->valueAt(row, t).toString();
        return out;
    }
    QStringList statementsWith(const QString& part) {
        QStringList out;
        for (const QString& s : db.conn().log().entries())
            if (s.contains(part, Qt::CaseInsensitive)) out << s;
        return out;
    }
    QStringList states() {
        return rows(QStringLiteral("select fstate from syslog order by fautoid"));
    }

    // Opens the cell editor of a field in the current row. Typing leaves it
    // open: the next cell or the next action writes it, as when a user types.
    static QWidget* openCell(TDBTableView* v, const char* field) {
        // The row of the dataset's current record.
        const int row = v->gridModel()->viewRow(v->DataSet()->RecNo() - 1);
        v->setCurrentIndex(v->gridModel()->index(row, v->SectionOf(QString::fromUtf8(field))));
        v->edit(v->currentIndex());
        return qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
    }
    static void typeInto(TDBTableView* v, const char* field, const QString& text) {
        QWidget* editor = openCell(v, field);
        ASSERT_NE(editor, nullptr);
        QWidget* input = editor;
        if (auto* line = editor->findChild<QLineEdit*>()) input = line;
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(input, c.toLatin1());
            } else {
                // Chinese comes from the input method as committed text.
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QCoreApplication::sendEvent(input, &commit);
            }
        }
    }

    // Marks the dialog's rows of the given "goods|colour" pairs.
    static void mark(Tfrm_segoodscolor& dialog, const QStringList& pairs) {
        TRemoteUdpDataSet* ds = dialog.DBmaster_table;
        for (const QString& pair : pairs) {
            const QStringList p = pair.split(QLatin1Char('|'));
            ASSERT_TRUE(ds->Locate(QStringLiteral("goodsid;colorid"), QVariantList{p[0], p[1]}))
                << pair.toStdString();
            ds->Edit();
            ds->FieldByName(QStringLiteral("checkid")).SetAsBoolean(true);
            ds->Post();
        }
    }
};

}  // namespace md::test
