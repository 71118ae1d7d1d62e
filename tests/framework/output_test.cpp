// Print preview and spreadsheet export of the grid editor.
#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>

#include "fixture.h"
#include "gridprint.h"
#include "xlsxreader.h"

using namespace md::test;

namespace {

// A page that keeps what is painted on it: the text runs with their font
// family, and the colours of filled rectangles.
class RecordedPage : public QPaintDevice {
  public:
    QStringList texts;
    QSet<QString> families;
    QList<QColor> fills;

    QPaintEngine* paintEngine() const override { return &m_engine; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 2480;  // A4 at 300 dpi
            case PdmHeight:
                return 3508;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 300;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    class Engine : public QPaintEngine {
      public:
        explicit Engine(RecordedPage& page) : QPaintEngine(AllFeatures), m_page(page) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyBrush) m_brush = state.brush();
        }
        void drawRects(const QRectF*, int count) override {
            if (m_brush.style() == Qt::SolidPattern)
                for (int i = 0; i < count; ++i) m_page.fills << m_brush.color();
        }
        void drawTextItem(const QPointF&, const QTextItem& item) override {
            m_page.texts << item.text();
            m_page.families << item.font().family();
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

      private:
        RecordedPage& m_page;
        QBrush m_brush;
    };
    mutable Engine m_engine{*this};
};

class Output : public FrameworkTest {
  protected:
    Tfrm_testcolor* openColors(int rows) {
        db.conn().BeginTrans();
        for (int i = 1; i <= rows; ++i)
            db.exec(QStringLiteral(
                        "insert into t_color(colorid,colorname_ch,fqty,fprice,finused,fdate) "
                        "values('C%1','颜色%1',%1,%2,%3,'2024-05-0%4')")
                        .arg(i)
                        .arg(i * 1.5)
                        .arg(i % 2)
                        .arg(i % 9 + 1));
        db.conn().CommitTrans();
        grantAll();
        return open<Tfrm_testcolor>();
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(Output, ExportWritesTheVisibleColumnsAsShownAndEveryRow) {
    auto* f = openColors(3);
    // The user hid a column and moved another: the file follows the screen.
    f->cxGrid1DBTableView1->Column("fdate")->hidden();
    QHeaderView* header = f->cxGrid1DBTableView1->horizontalHeader();
    header->moveSection(header->visualIndex(f->cxGrid1DBTableView1->SectionOf("fqty")), 0);
    const QString file = dir.filePath("colors");
    QString filter, suffix;
    script.onDialog([&](QDialog& dialog) {
        auto* save = qobject_cast<QFileDialog*>(&dialog);
        if (!save) return int(QDialog::Rejected);
        filter = save->nameFilters().join(';');
        suffix = save->defaultSuffix();
        save->selectFile(file);
        return int(QDialog::Accepted);
    });
    f->excel_action->trigger();
    EXPECT_EQ(filter, "excel (*.xlsx)");
    EXPECT_EQ(suffix, "xlsx");
    ASSERT_EQ(opened.size(), 1) << script.texts().join('\n').toStdString();
    EXPECT_EQ(opened.first(), file + ".xlsx");
    EXPECT_EQ(f->findChild<QFileDialog*>("SaveDialog1")->objectName(), "SaveDialog1");

    const XlsxSheet sheet = readXlsx(opened.first());
    ASSERT_EQ(sheet.rows.size(), 4);
    EXPECT_EQ(sheet.rows[0], (QVariantList{"数量", "颜色编号", "颜色中文说明", "单价", "启用"}));
    EXPECT_EQ(sheet.rows[1], (QVariantList{1.0, "C1", "颜色1", 1.5, "是"}));
    EXPECT_EQ(sheet.rows[3], (QVariantList{3.0, "C3", "颜色3", 4.5, "是"}));
    EXPECT_EQ(states(), (QStringList{"进入", "导出"}));
}

TEST_F(Output, ExportCancelledDoesNothing) {
    auto* f = openColors(1);
    script.onDialog([](QDialog&) { return int(QDialog::Rejected); });
    f->excel_action->trigger();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(states(), QStringList{"进入"});
}

TEST_F(Output, ExportTakesEveryRowOfALargeTable) {
    auto* f = openColors(1500);
    const QString file = dir.filePath("big.xlsx");
    md::ui::ExportToXlsx(*f->cxGrid1DBTableView1, file);
    const XlsxSheet sheet = readXlsx(file);
    ASSERT_EQ(sheet.rows.size(), 1501);
    EXPECT_EQ(sheet.rows.last().at(0), "C1500");
    EXPECT_EQ(sheet.rows.last().at(3), 2250.0);
}

TEST_F(Output, PrintPreviewUsesThePageSetupAndTheWindowCaption) {
    auto* f = openColors(120);
    QPageLayout layout;
    QString title;
    int pages = 0;
    bool hasPdfButton = false;
    script.onDialog([&](QDialog& dialog) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
        if (!preview) return int(QDialog::Rejected);
        layout = preview->printer()->pageLayout();
        title = preview->windowTitle();
        hasPdfButton = preview->findChild<QAction*>("PdfAction") != nullptr;
        if (auto* widget = preview->findChild<QPrintPreviewWidget*>()) {
            widget->updatePreview();
            pages = widget->pageCount();
        }
        return int(QDialog::Rejected);
    });
    f->print_action->trigger();
    EXPECT_EQ(title, "测试颜色");
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    EXPECT_NEAR(margins.left(), 12.7, 0.01);
    EXPECT_NEAR(margins.top(), 12.7, 0.01);
    EXPECT_NEAR(margins.right(), 12.7, 0.01);
    EXPECT_NEAR(margins.bottom(), 12.7, 0.01);
    EXPECT_NEAR(md::ui::kReportHeaderMm, 6.35, 1e-9);
    EXPECT_NEAR(md::ui::kReportFooterMm, 6.35, 1e-9);
    EXPECT_TRUE(hasPdfButton);
    EXPECT_GE(pages, 2) << "120 rows do not fit one page";
    EXPECT_EQ(states(), (QStringList{"进入", "打印"}));
}

TEST_F(Output, PrintingToPdfWritesEveryPage) {
    auto* f = openColors(120);
    const QString file = dir.filePath("colors.pdf");
    const int pages = md::ui::PrintToPdf(*f->cxGrid1DBTableView1, f->windowTitle(), file);
    EXPECT_GE(pages, 2);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?!s)")), pages);
}

TEST_F(Output, PrintShowsWhatTheGridShowsFooterAndSwatchesIncludedInOneChineseFont) {
    auto* f = openColors(3);
    TDBTableView* view = f->cxGrid1DBTableView1;
    view->Options().Footer = true;
    view->ApplyOptions();
    // The names become colours, shown as swatches before their text.
    view->Column("colorname_ch")->color();
    db.exec("update t_color set colorname_ch='clRed' where colorid='C1'");
    db.exec("update t_color set colorname_ch='$00FF0000' where colorid='C2'");  // 00BBGGRR: blue
    f->DBmaster_table->Close();
    f->DBmaster_table->Open();

    RecordedPage page;
    QPainter painter(&page);
    int newPages = 0;
    const int pages = md::ui::PaintReport(
        painter, QRectF(0, 0, 2480, 3508), 300, [&newPages] { ++newPages; }, *view,
        f->windowTitle());
    painter.end();
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(newPages, 0);
    // The footer row after the rows, as the grid's footer shows it.
    const qsizetype lastRow = page.texts.lastIndexOf("C3");
    ASSERT_GE(lastRow, 0) << page.texts.join('|').toStdString();
    EXPECT_TRUE(page.texts.mid(lastRow).contains("记录数：3"))
        << page.texts.join('|').toStdString();
    EXPECT_TRUE(page.texts.mid(lastRow).contains("6")) << "the sum of 数量";
    EXPECT_TRUE(page.texts.mid(lastRow).contains("合计：9.00"));
    EXPECT_TRUE(page.fills.contains(QColor(Qt::red)));
    EXPECT_TRUE(page.fills.contains(QColor(Qt::blue)));
    // Latin letters, digits and Chinese alike in the one CJK family.
    EXPECT_EQ(page.families, QSet<QString>{md::ui::ReportFont().family()});
    EXPECT_TRUE(QFontDatabase::families(QFontDatabase::SimplifiedChinese)
                    .contains(md::ui::ReportFont().family()));
}
