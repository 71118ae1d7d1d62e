// mdcopy: copies a master-data database to another backend, e.g. a SQLite file
// to a new PostgreSQL database, as a company moves to many workstations.
//
//   mdcopy --from FILE.db --to 'postgresql://user@host:5432/masterdata'
//
// The target must be empty (created with createdb); the schema is made there,
// every table copied, and the row counts compared. Nothing is left half done.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include "dbcopy.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mdcopy"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies a master-data database to an empty database of another backend."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("from"),
                      QStringLiteral("Source: SQLite file or postgresql:// address."),
                      QStringLiteral("db")});
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("Target: postgresql:// address (an empty database)."),
                      QStringLiteral("db")});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString from = parser.value(QStringLiteral("from"));
    const QString to = parser.value(QStringLiteral("to"));
    if (from.isEmpty() || to.isEmpty()) {
        err << "usage: mdcopy --from FILE.db --to postgresql://user@host:port/database\n";
        return 2;
    }
    const ConnectionSettings source = ConnectionSettings::fromDatabaseText(from);
    if (source.isFile() && !QFileInfo::exists(from)) {
        err << QStringLiteral("数据库文件不存在：%1").arg(from) << '\n';
        return 1;
    }
    try {
        const md::server::CopyReport report = md::server::copyDatabase(
            source, ConnectionSettings::fromDatabaseText(to), [&](const QString& line) {
                out << line << '\n';
                out.flush();
            });
        qint64 rows = 0;
        for (const auto& table : report.tables) rows += table.targetRows;
        out << QStringLiteral("已复制 %1 个表，共 %2 行；各表行数核对一致。")
                   .arg(report.tables.size())
                   .arg(rows)
            << '\n';
    } catch (const EDatabaseError& e) {
        err << e.message() << '\n';
        return 1;
    }
    return 0;
}
