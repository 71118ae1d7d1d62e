// 20,000 hang tags from the print quantity list to PDF: 条形码批量打印's
// 打印条形码 (the list sent, get_barcodetemp expanding it into pieces, the
// local copy for the label programs, then "吊牌.frf" printed by the label
// library over vbarcode joined with barcode_temp, MD_LABEL_PDF), against the
// tags_pdf_10k baseline loop drawing the same tags from the same rows.
//
//   bench_bardetail_print_20k [tags [both|ours|base [folder]]]
// One side alone runs once (for /usr/bin/time's peak memory); the PDF files
// go to the folder when one is named.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include "barcodes/frm_bardetail.h"
#include "barquantitygrid.h"
#include "basetags.h"
#include "benchutil.h"
#include "demo/demodata.h"
#include "messages.h"
#include "remoteudpconnection.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int tags = argc > 1 ? std::atoi(argv[1]) : 20000;
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("both");
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const auto output = [&](const QString& name) {
        return folder.isEmpty() ? md::bench::scratchFile(name) : QDir(folder).filePath(name);
    };

    const QString file = md::bench::scratchFile(QStringLiteral("bardetail.db"));
    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    md::server::createDemoData(connection, 60);
    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_bardetail");
    md::Session().Connection = &connection;
    md::Shared().SizeSlotCount = 4;
    md::ui::MessageScript quiet;  // questions answered Yes; any other message is a failure

    // The program folder beside the benchmark: the build copies the report there.
    qputenv("MASTERDATA_HOME", QCoreApplication::applicationDirPath().toLocal8Bit());

    // 500 variants: the first four sizes of 125 goods colours of groups with
    // at least four sizes, tags / 500 pieces each.
    const int perVariant = std::max(1, tags / 500);
    connection.ExecSQL(
        QStringLiteral("delete from barcodedetail\n"
                       "insert into barcodedetail(fGoodsId,fcolorid,qty,s1,s2,s3,s4)\n"
                       "select top 125 a.goodsid,a.colorid,%1,%2,%2,%2,%2 from vgoodscolor a\n"
                       "where a.size_class in(select size_class from ba_size group by "
                       "size_class having count(*)>=4)\n"
                       "order by a.goodsid,a.colorid")
            .arg(perVariant * 4)
            .arg(perVariant));

    const QString ourFile = output(QStringLiteral("bardetail_ours.pdf"));
    const QString baseFile = output(QStringLiteral("bardetail_base.pdf"));
    auto ours = [&] {
        qputenv("MD_LABEL_PDF", ourFile.toLocal8Bit());
        QPointer<Tfrm_bardetail> form = md::ui::CreateForm<Tfrm_bardetail>();
        const double seconds = md::bench::timeIt([&] {
            form->PopupMenu1->Menu_bar->trigger();
            const QStringList said = quiet.texts();
            if (said != QStringList{QStringLiteral("您是否现在确认批量打印条形码？")}) {
                std::fprintf(stderr, "printing failed: %s\n",
                             qPrintable(said.join(QLatin1Char('\n'))));
                std::exit(1);
            }
        });
        quiet.clear();
        quiet.answer(md::ui::Answer::No);  // the list stays for the next run
        form->Close();
        delete form.data();
        quiet.clear();
        return seconds;
    };
    int baseTags = 0;
    auto base = [&] {
        return md::bench::timeIt([&] {
            md::bench::BaseTags sink(baseFile);
            connection.OpenSQL(Tfrm_bardetail::PrintSQL(), sink);
            sink.finish();
            baseTags = sink.tags;
        });
    };
    if (mode == QLatin1String("ours")) {
        std::printf("ours %.3f s, %lld bytes\n", ours(), QFileInfo(ourFile).size());
        return 0;
    }
    // The baseline reads the pieces the window's run left in barcode_temp.
    connection.ExecSQL(QStringLiteral("exec get_barcodetemp"));
    if (mode == QLatin1String("base")) {
        std::printf("base %.3f s, %lld bytes\n", base(), QFileInfo(baseFile).size());
        return 0;
    }
    const md::bench::BestTimes best = md::bench::alternate(3, ours, base);
    md::bench::report("bardetail_print_20k", best.ours, best.base,
                      QStringLiteral("tags=%1 ours_pdf=%2KB base_pdf=%3KB")
                          .arg(baseTags)
                          .arg(QFileInfo(ourFile).size() / 1024)
                          .arg(QFileInfo(baseFile).size() / 1024));
    return 0;
}
