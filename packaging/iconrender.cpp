// Writes the application icon, as the program draws it, in the hicolor sizes:
// <folder>/hicolor/<n>x<n>/apps/masterdata.png. Run at build time for the package.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "appidentity.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QIcon icon = md::host::applicationIcon();
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder =
            QStringLiteral("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(side);
        if (!QDir().mkpath(folder) ||
            !icon.pixmap(QSize(side, side)).save(folder + QStringLiteral("/masterdata.png"))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
