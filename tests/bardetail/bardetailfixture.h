#pragma once
// The batch tag printing world: goods of a three-size group (TOPS: S, M, L)
// and of a two-size group (PANTS: 28, 30) with their colours and barcodes, a
// program folder of the test's own with the shipped tag report (PDF output
// through MD_LABEL_PDF), and the window shown and active so that keys reach
// it as they reach a user's.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "barcodes/frm_bardetail.h"
#include "barquantitygrid.h"
#include "colorsize.h"
#include "formfactory.h"
#include "formfixture.h"
#include "goodspickdialog.h"
#include "grid.h"
#include "griddelegate.h"
#include "gridmodel.h"
#include "localdata.h"
#include "remoteudpdataset.h"
#include "routines.h"

namespace md::test {

class BardetailTest : public FormTest {
  protected:
    BardetailTest() : FormTest(QStringLiteral("frm_bardetail")) {
        md::Shared().SizeSlotCount = 3;
        const QString report = QStringLiteral("吊牌.frf");
        QFile::copy(testDataPath(QStringLiteral("../plugins/lumtab/reports/")) + report,
                    home.filePath(report));
        pdf = home.filePath(QStringLiteral("tags.pdf"));
        qputenv("MD_LABEL_PDF", pdf.toLocal8Bit());

        addSizes(QStringLiteral("TOPS"), {"S", "M", "L"});
        addSizes(QStringLiteral("PANTS"), {"28", "30"});
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('01','黑色')"));
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('02','白色')"));
        addGoods(QStringLiteral("A1001"), QStringLiteral("TOPS"), QStringLiteral("纯棉"),
                 {"01", "02"});
        addGoods(QStringLiteral("P2001"), QStringLiteral("PANTS"), QString(), {"01"});
    }
    ~BardetailTest() override {
        qunsetenv("MD_LABEL_PDF");
        md::ui::SetLabelProgramStarter(nullptr);
    }

    void addSizes(const QString& group, std::initializer_list<const char*> sizes) {
        int index = 0;
        for (const char* size : sizes)
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('%1','%2',%3,'S%3')")
                        .arg(group, QString::fromUtf8(size))
                        .arg(++index));
    }
    // A goods item with its colours and a barcode per colour and size.
    void addGoods(const QString& code, const QString& group, const QString& material,
                  std::initializer_list<const char*> colours) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,size_class,unitprice,"
                               "unit,masterial,goodsno) values('%1','品名%1','雅韵','%2',199,'件',"
                               "'%3','N%1')")
                    .arg(code, group, material));
        for (const char* colour : colours) {
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%2')")
                        .arg(code, QString::fromLatin1(colour)));
            db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) select "
                                   "'%1','%2',size_name,'%1%2'+size_name from ba_size where "
                                   "size_class='%3'")
                        .arg(code, QString::fromLatin1(colour), group));
        }
    }

    // The window, shown and active, its list open.
    Tfrm_bardetail* openForm() {
        auto* form = open<Tfrm_bardetail>();
        form->show();
        QApplication::setActiveWindow(form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        QCoreApplication::processEvents();
        return form;
    }

    static void type(const QString& text) {
        for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    static TDBTableView* view(Tfrm_bardetail* form) {
        return form->Quantities->cxGrid1DBTableView1;
    }
    static void goTo(Tfrm_bardetail* form, int row, const QString& field) {
        TDBTableView* v = view(form);
        v->setFocus();
        v->setCurrentIndex(v->gridModel()->index(row, v->SectionOf(field)));
    }
    // Types into the current cell and leaves it with Enter.
    static void typeCell(const QString& text) {
        type(text);
        press(Qt::Key_Return);
    }
    static QString cell(Tfrm_bardetail* form, int row, const QString& field) {
        TDBTableView* v = view(form);
        return v->gridModel()->index(row, v->SectionOf(field)).data().toString().trimmed();
    }
    static QWidget* openEditor(Tfrm_bardetail* form) {
        return qobject_cast<TGridDelegate*>(view(form)->itemDelegate())->openEditor();
    }
    // F2, then goods code, colour and the quantities of slots 1.. typed in turn.
    static void typeRow(Tfrm_bardetail* form, const QString& goods, const QString& colour,
                        const QStringList& quantities) {
        view(form)->setFocus();
        press(Qt::Key_F2);
        typeCell(goods);
        goTo(form, form->Quantities->DBdetail_table->RecNo() - 1, QStringLiteral("fcolorid"));
        typeCell(colour);
        goTo(form, form->Quantities->DBdetail_table->RecNo() - 1, QStringLiteral("s1"));
        for (const QString& quantity : quantities) typeCell(quantity);
    }

    // Pages of the PDF the label library wrote (one "/Type /Page" object each).
    int pdfPages() const {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly)) return 0;
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
        return int(QString::fromLatin1(file.readAll()).count(page));
    }
    QStringList pieces() {
        return rows(QStringLiteral(
            "select fgoodsid,fcolorid,fsize from barcode_temp order by fgoodsid,fcolorid,fsize"));
    }
    static QStringList localPieces() {
        QStringList out;
        for (const QVariantList& row : md::ReadLocalRows(
                 QStringLiteral("vbarcodetemp"),
                 QStringLiteral("select fgoodsid,fcolorid,fsize,fbarcode1 from vbarcodetemp "
                                "order by fgoodsid,fcolorid,fsize"))) {
            QStringList values;
            for (const QVariant& value : row) values << value.toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

    ProgramHome home;
    QString pdf;
};

}  // namespace md::test
