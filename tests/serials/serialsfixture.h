#pragma once
// The piece serial number world: goods of a three-size group (TOPS: S, M, L),
// A1001 with barcodes for its colours and N3001 without any, a program folder
// of the test's own with the shipped serial label report (PDF output through
// MD_LABEL_PDF) and the local database, and the windows shown and active so
// that keys reach them as they reach a user's.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "barcodes/frm_BarGuidEdit.h"
#include "barcodes/frm_BarGuidReg.h"
#include "barcodes/frm_BarcodeGuID.h"
#include "barquantitygrid.h"
#include "formfixture.h"
#include "grid.h"
#include "gridmodel.h"
#include "localdata.h"
#include "remoteudpdataset.h"
#include "reportprint.h"

namespace md::test {

class SerialsTest : public FormTest {
  protected:
    explicit SerialsTest(const QString& rightList = QStringLiteral("frm_BarcodeGuID"))
        : FormTest(rightList) {
        md::Shared().SizeSlotCount = 3;
        joinGroup();
        grant({QStringLiteral("b_add"), QStringLiteral("b_edit"), QStringLiteral("b_del"),
               QStringLiteral("b_print"), QStringLiteral("b_excel")});
        const QString report = QStringLiteral("产品序列号.frf");
        QFile::copy(testDataPath(QStringLiteral("../plugins/lumtab/reports/")) + report,
                    home.filePath(report));
        pdf = home.filePath(QStringLiteral("serials.pdf"));
        qputenv("MD_LABEL_PDF", pdf.toLocal8Bit());

        int index = 0;
        for (const char* size : {"S", "M", "L"})
            db.exec(QStringLiteral("insert into ba_size(size_class,size_name,displayindex,"
                                   "fieldname) values('TOPS','%1',%2,'S%2')")
                        .arg(QString::fromLatin1(size))
                        .arg(++index));
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('01','黑色')"));
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('02','白色')"));
        addGoods(QStringLiteral("A1001"), {"01", "02"}, true);
        addGoods(QStringLiteral("N3001"), {"01"}, false);
    }
    ~SerialsTest() override {
        qunsetenv("MD_LABEL_PDF");
        md::ui::SetLabelProgramStarter(nullptr);
        md::ui::SetReportLibraryName(QStringLiteral("lumtab"));
    }

    // A goods item of the TOPS group with its colours, and when asked a
    // barcode per colour and size (goods + colour + size).
    void addGoods(const QString& code, std::initializer_list<const char*> colours, bool barcodes) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,brand,size_class,unitprice,"
                               "unit,goodsno) values('%1','品名%1','雅韵','TOPS',199,'件','N%1')")
                    .arg(code));
        for (const char* colour : colours) {
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%2')")
                        .arg(code, QString::fromLatin1(colour)));
            if (barcodes)
                db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) "
                                       "select '%1','%2',size_name,'%1%2'+size_name from ba_size "
                                       "where size_class='TOPS'")
                            .arg(code, QString::fromLatin1(colour)));
        }
    }
    // A row of the print quantity list as the server holds it.
    void addQuantities(const QString& goods, const QString& colour, int s1, int s2, int s3) {
        db.exec(QStringLiteral("insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2,s3) "
                               "values('%1','%2',%3,%4,%5,%6)")
                    .arg(goods, colour)
                    .arg(s1 + s2 + s3)
                    .arg(s1)
                    .arg(s2)
                    .arg(s3));
    }
    // A stored serial of a variant.
    void addSerial(const QString& goods, const QString& colour, const QString& size, int recid,
                   const QString& serial, const QString& code, int flag = 0) {
        db.exec(QStringLiteral("insert into barcodeguid(fgoodsid,fcolorid,fsize,frecid,fbarcode,"
                               "fcode,finputdate,finputuser,fflag) "
                               "values('%1','%2','%3',%4,'%5','%6','2025-03-01','u1',%7)")
                    .arg(goods, colour, size)
                    .arg(recid)
                    .arg(serial, code)
                    .arg(flag));
    }

    template <class T>
    T* openShown() {
        auto* form = open<T>();
        form->show();
        QApplication::setActiveWindow(form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        QCoreApplication::processEvents();
        return form;
    }

    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    // Each key to whatever has the focus then: the first opens the cell editor.
    static void type(const QString& text) {
        for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }

    // Serials as "goods/colour/size recid serial", in record number order.
    QStringList serials(const QString& table = QStringLiteral("barcodeguid")) {
        return rows(QStringLiteral("select fgoodsid,fcolorid,fsize,frecid,fbarcode from ") + table +
                    QStringLiteral(" order by fgoodsid,fcolorid,fsize,frecid"));
    }
    static QStringList localRows(const QString& columns) {
        QStringList out;
        for (const QVariantList& row :
             md::ReadLocalRows(QStringLiteral("BarcodeGuID"),
                               QStringLiteral("select ") + columns +
                                   QStringLiteral(" from BarcodeGuID order by fid"))) {
            QStringList values;
            for (const QVariant& value : row) values << value.toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }
    // Pages of the PDF the label library wrote (one "/Type /Page" object each).
    int pdfPages() const {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly)) return 0;
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
        return int(QString::fromLatin1(file.readAll()).count(page));
    }

    ProgramHome home;
    QString pdf;
};

}  // namespace md::test
