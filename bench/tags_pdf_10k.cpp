// 10,000 hang tags to PDF: the label library's Print_OneTable with the shipped
// "吊牌.frf" over vbarcode (MD_LABEL_PDF), against a minimal loop that reads the
// same rows, opens a QPdfWriter page per tag and draws the same texts, box,
// line and the two symbols (zint's bars as rectangles) at fixed places.
//
//   bench_tags_pdf_10k [tags [both|ours|base [folder]]]
// One side alone runs once (for /usr/bin/time's peak memory); the PDF files
// go to the folder when one is named.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

#include "basetags.h"
#include "benchutil.h"
#include "demo/demodata.h"
#include "messages.h"
#include "remoteudpconnection.h"
#include "serverdb.h"
#include "session.h"

extern "C" int Print_OneTable(const char* reportFile, const char* sql, const char*, const char*,
                              const char*, TRemoteUdpConnection* connection);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int tags = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("both");
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const auto output = [&](const QString& name) {
        return folder.isEmpty() ? md::bench::scratchFile(name) : QDir(folder).filePath(name);
    };

    // About 26 barcodes per demo goods item.
    const QString file = md::bench::scratchFile(QStringLiteral("tags.db"));
    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    md::server::createDemoData(connection, tags / 20 + 20);
    md::Session().HostApplication = &app;
    md::Session().Connection = &connection;
    md::ui::MessageScript quiet;  // a message would be a failure below

    // The report beside the program: the build copies the shipped one there.
    qputenv("MASTERDATA_HOME", QCoreApplication::applicationDirPath().toLocal8Bit());
    const QString sql = QStringLiteral("select top %1 * from vbarcode").arg(tags);
    // The caller's encoding (md::ui::ReportLibraryText).
    const QByteArray reportGbk = QStringEncoder("GB18030").encode(QStringLiteral("吊牌.frf"));
    const QByteArray sqlGbk = QStringEncoder("GB18030").encode(sql);

    const QString ourFile = output(QStringLiteral("tags_ours.pdf"));
    const QString baseFile = output(QStringLiteral("tags_base.pdf"));
    auto ours = [&] {
        qputenv("MD_LABEL_PDF", ourFile.toLocal8Bit());
        return md::bench::timeIt([&] {
            if (Print_OneTable(reportGbk.constData(), sqlGbk.constData(), "", "", "",
                               &connection) != 0 ||
                !quiet.texts().isEmpty()) {
                std::fprintf(stderr, "Print_OneTable failed: %s\n",
                             qPrintable(quiet.texts().join(QLatin1Char('\n'))));
                std::exit(1);
            }
        });
    };
    auto base = [&] {
        return md::bench::timeIt([&] {
            md::bench::BaseTags sink(baseFile);
            connection.OpenSQL(sql, sink);
            sink.finish();
        });
    };
    if (mode == QLatin1String("ours")) {
        std::printf("ours %.3f s, %lld bytes\n", ours(), QFileInfo(ourFile).size());
        return 0;
    }
    if (mode == QLatin1String("base")) {
        std::printf("base %.3f s, %lld bytes\n", base(), QFileInfo(baseFile).size());
        return 0;
    }
    const md::bench::BestTimes best = md::bench::alternate(3, ours, base);
    md::bench::report("tags_pdf_10k", best.ours, best.base,
                      QStringLiteral("tags=%1 ours_pdf=%2KB base_pdf=%3KB")
                          .arg(tags)
                          .arg(QFileInfo(ourFile).size() / 1024)
                          .arg(QFileInfo(baseFile).size() / 1024));
    return 0;
}
