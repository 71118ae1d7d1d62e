#pragma once
// The label printing tests: a database with one goods item in three sizes and
// their barcodes, a program folder holding the shipped report files, PDF
// output through MD_LABEL_PDF, and the printed page read back as an image.
#include <zbar.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include "formfixture.h"
#include "labeljob.h"
#include "reportprint.h"
#include "routines.h"

namespace md::test {

// A page of a sheet drawn on an image instead of paper.
class ImagePage : public lumtab::PageDevice {
  public:
    ImagePage(const lumtab::LabelLayout& layout, int page, int dpi) : m_page(page) {
        const double dotsPerMm = dpi / 25.4;
        image = QImage(qRound(layout.page.width() * dotsPerMm),
                       qRound(layout.page.height() * dotsPerMm), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
        image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
        image.fill(Qt::white);
    }
    QPainter* open() override { return m_painter.begin(&image) ? &m_painter : nullptr; }
    void newPage() override {}
    bool wantsPage(int page) const override { return page == m_page; }
    void end() {
        if (m_painter.isActive()) m_painter.end();
    }

    QImage image;

  private:
    int m_page;
    QPainter m_painter;
};

// The symbols zbar reads on an image, as "CODE-128:data" / "EAN-13:digits".
inline QStringList readSymbols(const QImage& picture) {
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;  // zbar wants the lines without padding
    for (int y = 0; y < gray.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(gray.constScanLine(y)), gray.width());
    zbar::ImageScanner scanner;
    scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::Image image(unsigned(gray.width()), unsigned(gray.height()), "Y800", pixels.constData(),
                      unsigned(pixels.size()));
    scanner.scan(image);
    QStringList found;
    for (auto symbol = image.symbol_begin(); symbol != image.symbol_end(); ++symbol)
        found << QString::fromStdString(symbol->get_type_name() + ":" + symbol->get_data());
    found.sort();
    return found;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Pages of a PDF file as Qt writes them (one "/Type /Page" object each).
inline int pdfPageCount(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(readFile(path)).count(page));
}

class LabelsTest : public FormTest {
  protected:
    LabelsTest() : FormTest(QStringLiteral("frm_barcode")) {
        for (const char* report : {"吊牌.frf", "产品序列号.frf"}) {
            const QString name = QString::fromUtf8(report);
            QFile::copy(QStringLiteral(MD_LUMTAB_REPORTS "/") + name, home.filePath(name));
        }
        pdf = home.filePath(QStringLiteral("labels.pdf"));
        qputenv("MD_LABEL_PDF", pdf.toLocal8Bit());
        db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('08','藏青')"));
        db.exec(QStringLiteral(
            "insert into goods(goodsid,goodsname,brand,unitprice,masterial,standard,whence) "
            "values('YY241J0001','牛仔夹克','雅韵',539,'纯棉','FZ/T 81007-2012','宁波')"));
        const QStringList sizes = {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")};
        for (int i = 0; i < sizes.size(); ++i)
            addBarcode(QStringLiteral("YY241J0001"), QStringLiteral("08"), sizes[i],
                       QStringLiteral("YY241J000108") + sizes[i], nationalCode(i + 1));
    }
    ~LabelsTest() override {
        qunsetenv("MD_LABEL_PDF");
        md::ui::SetReportLibraryName(QStringLiteral("lumtab"));
    }

    // The demo company's prefix and a serial, completed to 13 digits.
    static QString nationalCode(int serial) {
        return md::CompleteEan13(QStringLiteral("69012340") +
                                 QString::number(serial).rightJustified(4, QLatin1Char('0')));
    }
    void addBarcode(const QString& goods, const QString& colour, const QString& size,
                    const QString& barcode1, const QString& barcode2) {
        db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2) "
                               "values('%1','%2','%3','%4','%5')")
                    .arg(goods, colour, size, barcode1, barcode2));
    }

    // The installed report file.
    lumtab::LabelLayout shippedLayout(const QString& name) {
        return lumtab::LabelLayout::load(home.filePath(name), name);
    }
    // One page of the labels of a statement, drawn at the given resolution.
    QImage renderPage(const lumtab::LabelLayout& layout, const QString& sql, int page = 0,
                      int dpi = 300) {
        ImagePage device(layout, page, dpi);
        lumtab::LabelSheet sheet(layout, device);
        db.conn().OpenSQL(sql, sheet);
        sheet.finish();
        device.end();
        EXPECT_EQ(sheet.missingColumn(), QString());
        return device.image;
    }

    ProgramHome home;
    QString pdf;
};

}  // namespace md::test
