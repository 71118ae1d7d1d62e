#pragma once
// The barcode tests' world: a database with the server schema, three goods
// items of two brands and seasons with their barcode rows, the attribute
// filter's fields, a session with every right on the barcode form, a host
// window keeping the open-window list and scripted message boxes.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "barcodes/frm_barcode.h"
#include "datasource.h"
#include "formfixture.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"

namespace md::test {

class BarcodeTest : public FormTest {
  protected:
    BarcodeTest() : FormTest(QStringLiteral("frm_barcode")) {
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit"), QStringLiteral("b_del"),
               QStringLiteral("b_print"), QStringLiteral("b_excel")});
        md::Shared().NationalCodePrefix = QStringLiteral("6901234");

        int fid = 0;
        auto field = [&](const char* name, const char* caption, const QStringList& values) {
            db.exec(QStringLiteral("insert into "
                                   "ba_fieldremark(fid,ftablename,fname,ffieldname_sys,"
                                   "ffieldremark,visiblebit) values(%1,'goods','%2','%3','%3',1)")
                        .arg(++fid)
                        .arg(QString::fromLatin1(name), QString::fromUtf8(caption)));
            for (const QString& value : values)
                db.exec(
                    QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
                                   "values('goods','%1','%2')")
                        .arg(QString::fromLatin1(name), value));
        };
        field("brand", "品牌", {QStringLiteral("雅韵"), QStringLiteral("悦动")});
        field("season", "季节", {QStringLiteral("春"), QStringLiteral("夏")});

        addGoods(QStringLiteral("A01"), QStringLiteral("雅韵"), QStringLiteral("春"));
        addGoods(QStringLiteral("A02"), QStringLiteral("雅韵"), QStringLiteral("夏"));
        addGoods(QStringLiteral("B01"), QStringLiteral("悦动"), QStringLiteral("春"));
        for (const char* goods : {"A01", "A02", "B01"})
            for (const char* colour : {"01", "02"})
                for (const char* size : {"M", "L"})
                    addBarcode(QString::fromLatin1(goods), QString::fromLatin1(colour),
                               QString::fromLatin1(size));
    }

    void addGoods(const QString& code, const QString& brand, const QString& season) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,season,size_class,"
                               "goodsno) values('%1','品名%1','%2','%3','TOPS','N%1')")
                    .arg(code, brand, season));
    }
    // A barcode row; barcode 1 is goods + colour + size, barcode 2 as given.
    void addBarcode(const QString& goods, const QString& colour, const QString& size,
                    const QString& code2 = QString()) {
        db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2,"
                               "fprintsize,fprintcolorid,fcheck) "
                               "values('%1','%2','%3','%1%2%3','%4','%3','%2',0)")
                    .arg(goods, colour, size, code2));
    }

    Tfrm_barcode* open() { return FormTest::open<Tfrm_barcode>(); }

    // Runs the search with the code and size boxes as given.
    static void search(Tfrm_barcode* form, const QString& code = QString(),
                       const QString& size = QString()) {
        form->Edit_GoodsId->setText(code);
        form->Edit_Size->setText(size);
        form->But_Filter->click();
    }
    // The grid's rows as "goods/colour/size", in order.
    static QStringList variants(Tfrm_barcode* form) {
        QStringList out;
        TRemoteUdpDataSet* ds = form->DBmaster_table;
        const int g = ds->FieldByName(QStringLiteral("fgoodsid")).Index();
        const int c = ds->FieldByName(QStringLiteral("fcolorid")).Index();
        const int s = ds->FieldByName(QStringLiteral("fsize")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row)
            out << ds->valueAt(row, g).toString() + QLatin1Char('/') +
                       ds->valueAt(row, c).toString() + QLatin1Char('/') +
                       ds->valueAt(row, s).toString();
        return out;
    }
    static QStringList sorted(QStringList items) {
        items.sort();
        return items;
    }
    // Makes the grid row of a variant current.
    static void go(Tfrm_barcode* form, const QString& variant) {
        const QStringList p = variant.split(QLatin1Char('/'));
        ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fgoodsid;fcolorid;fsize"),
                                                 QVariantList{p[0], p[1], p[2]}))
            << variant.toStdString();
    }
    // Ticks "选择" of the variants' rows the way a user does: 修改, a click on
    // each row's box, 保存.
    static void tick(Tfrm_barcode* form, const QStringList& variantList) {
        form->edit_action->trigger();
        TDBTableView* v = form->cxGrid1DBTableView1;
        for (const QString& variant : variantList) {
            go(form, variant);
            const QModelIndex box = v->gridModel()->index(v->currentIndex().row(),
                                                          v->SectionOf(QStringLiteral("fcheck")));
            ASSERT_TRUE(v->gridModel()->setData(box, Qt::Checked, Qt::CheckStateRole));
        }
        form->post_action->trigger();
    }
    // Types text into a cell of the current row through its editor and leaves it with Tab.
    static void typeInto(Tfrm_barcode* form, const char* field, const QString& text) {
        TDBTableView* v = form->cxGrid1DBTableView1;
        v->setCurrentIndex(v->gridModel()->index(v->currentIndex().row(),
                                                 v->SectionOf(QString::fromLatin1(field))));
        auto* delegate = qobject_cast<TGridDelegate*>(v->itemDelegate());
        if (!delegate->openEditor() || delegate->openIndex() != v->currentIndex())
            v->edit(v->currentIndex());
        QWidget* editor = delegate->openEditor();
        ASSERT_NE(editor, nullptr) << field;
        QWidget* input = editor;
        if (auto* line = editor->findChild<QLineEdit*>()) input = line;
        if (auto* edit = qobject_cast<QLineEdit*>(input)) edit->selectAll();
        auto* line = qobject_cast<QLineEdit*>(input);
        if (text.isEmpty())
            QTest::keyClick(input, Qt::Key_Backspace);
        else if (line && text.toLatin1() != text.toUtf8())
            line->insert(text);  // Chinese comes from the input method, not from keys
        else
            QTest::keyClicks(input, text);
        QTest::keyClick(input, Qt::Key_Tab);
    }
    static QString value(Tfrm_barcode* form, const char* field) {
        return form->DBmaster_table->FieldByName(QString::fromLatin1(field)).AsString();
    }
    // A server row's columns joined by "|".
    QString row(const QString& variant, const QString& columns) {
        const QStringList p = variant.split(QLatin1Char('/'));
        return rows(QStringLiteral("select ") + columns +
                    QStringLiteral(" from barcode where fgoodsid='%1' and fcolorid='%2' and "
                                   "fsize='%3'")
                        .arg(p[0], p[1], p[2]))
            .value(0);
    }
    QStringList statements() { return db.conn().log().entries(); }
};

}  // namespace md::test
