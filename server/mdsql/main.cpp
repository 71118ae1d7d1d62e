// mdsql: the support engineer's console. Runs a T-SQL batch through the same
// connection, translation and server objects as the windows.
//
//   mdsql --db FILE [--create] [--print] 'T-SQL batch'     (or the batch on stdin)
//   mdsql --db FILE --create --demo-goods 200000           (the demo at a company's scale)
//   mdsql [--db FILE] --demo-kq kq.db                      (a time clock's database, see below)
//   --db also takes a PostgreSQL address (postgresql://user@host:port/database, or
//   postgresql:///database?host=/socket/folder) or odbc:<data source>.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QLibrary>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "demo/demodata.h"
#include "demo/punchesdemo.h"
#include "formregistry.h"
#include "routines.h"
#include "serverdb.h"
#include "sqlquote.h"

namespace {

QString cellText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QStringLiteral("NULL");
    if (value.metaType().id() == QMetaType::QByteArray)
        return QStringLiteral("0x") + QString::fromLatin1(value.toByteArray().toHex().toUpper());
    QString text = value.toString();
    text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

void printTable(QTextStream& out, const ResultTable& table) {
    QStringList header;
    for (const ColumnMeta& column : table.columns) header << column.name;
    out << header.join(QLatin1Char('\t')) << '\n';
    for (int row = 0; row < table.rowCount; ++row) {
        QStringList cells;
        for (int column = 0; column < table.columns.size(); ++column)
            cells << cellText(table.at(row, column));
        out << cells.join(QLatin1Char('\t')) << '\n';
    }
}

QString describeExec(const md::sql::Statement& statement) {
    QStringList args;
    for (const md::sql::ExecArg& arg : statement.args) {
        switch (arg.kind) {
            case md::sql::ExecArg::Kind::Literal:
                args << (arg.value.isNull() ? QStringLiteral("NULL")
                                            : QuotedStr(arg.value.toString()));
                break;
            case md::sql::ExecArg::Kind::Param:
                args << QLatin1Char(':') + arg.paramName;
                break;
            case md::sql::ExecArg::Kind::Expression:
                args << arg.expression;
                break;
        }
    }
    return QStringLiteral("-- procedure %1(%2)")
        .arg(statement.procedure, args.join(QStringLiteral(", ")));
}

// The host's functions, read from the module beside the program as the host
// reads them, so that the demo users get their rights; none without the module.
QList<md::server::DemoRightList> moduleFunctions(QTextStream& err) {
    QLibrary module;
    for (const QString& folder : md::CurrentProgramPaths().moduleFolders) {
        module.setFileName(folder + QStringLiteral("libmasterdata.so"));
        if (QFileInfo::exists(module.fileName())) break;
    }
    using ListFunction = int (*)(const md::entry::FormEntry**);
    const auto list = reinterpret_cast<ListFunction>(module.resolve("CreateDLLFormList"));
    QList<md::server::DemoRightList> functions;
    if (!list) {
        err << QStringLiteral("找不到基础资料模块（%1），演示用户没有功能权限。")
                   .arg(module.errorString())
            << '\n';
        return functions;
    }
    const md::entry::FormEntry* rows = nullptr;
    const int count = list(&rows);
    for (int i = 0; i < count; ++i)
        functions.append({QString::fromUtf8(rows[i].name), QString::fromUtf8(rows[i].caption)});
    return functions;
}

// Fills a database just created with the demo data of `goods` goods.
void createDemo(TRemoteUdpConnection& connection, const QString& goodsText, QTextStream& out,
                QTextStream& err) {
    bool ok = false;
    const int goods = goodsText.toInt(&ok);
    if (!ok || goods < 1)
        throw EDatabaseError(QStringLiteral("--demo-goods 需要货品数量（正整数）。"));
    ResultTable users;
    connection.OpenSQL(QStringLiteral("select count(*) from usermain"), users);
    if (users.at(0, 0).toInt() > 0)
        throw EDatabaseError(QStringLiteral("数据库中已有数据：演示数据只生成在新建的数据库中。"));
    md::server::createDemoData(connection, goods, moduleFunctions(err));
    out << QStringLiteral("演示数据已生成：%1 个货品。").arg(goods) << '\n';
}

// --demo-kq: a stand-in for the time clock's database (record_Ac), with the
// last month's punches of the employees of --db, or of the everyday demo's
// when no --db is given.
void writeDemoTimeClock(const QString& database, const QString& clockFile, QTextStream& out) {
    TRemoteUdpConnection connection;
    if (database.isEmpty()) {
        md::server::openDatabase(connection, ConnectionSettings::sqlite(QStringLiteral(":memory:")),
                                 true);
        md::server::createDemoData(connection);
    } else {
        const ConnectionSettings settings = ConnectionSettings::fromDatabaseText(database);
        if (settings.isFile() && !QFileInfo::exists(database))
            throw EDatabaseError(QStringLiteral("数据库文件不存在：%1").arg(database));
        md::server::openDatabase(connection, settings, false);
    }
    ResultTable employees;
    connection.OpenSQL(QStringLiteral("select fcode from dt_employee order by fcode"), employees);
    QStringList codes;
    for (int row = 0; row < employees.rowCount; ++row)
        codes << employees.at(row, 0).toString().trimmed();
    const QDate today = QDate::currentDate();
    const auto punches = md::server::demoTimeClockPunches(codes, today.addMonths(-1), today);
    md::server::writeTimeClockFile(clockFile, punches);
    out << QStringLiteral("考勤机数据库已生成：%1（%2 名员工，%3 条刷卡记录）。")
               .arg(clockFile)
               .arg(codes.size())
               .arg(punches.size())
        << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mdsql"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a T-SQL batch on a master-data database."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("db"),
         QStringLiteral("SQLite database file, postgresql:// address or odbc:<data source>."),
         QStringLiteral("file")});
    parser.addOption({QStringLiteral("create"),
                      QStringLiteral("Create the database with the schema when missing.")});
    parser.addOption({QStringLiteral("print"), QStringLiteral("Only print the translation.")});
    parser.addOption({QStringLiteral("demo-goods"),
                      QStringLiteral("With --create: fill the new database with the demo data, "
                                     "sized for this many goods (the everyday demo has 300)."),
                      QStringLiteral("count")});
    parser.addOption({QStringLiteral("demo-kq"),
                      QStringLiteral("Write a time clock's database (SQLite, table record_Ac) "
                                     "with a month of punches of the employees of --db, or of "
                                     "the demo's when --db is not given."),
                      QStringLiteral("file")});
    parser.addPositionalArgument(QStringLiteral("batch"),
                                 QStringLiteral("T-SQL batch; read from stdin when absent."));
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.isSet(QStringLiteral("demo-kq"))) {
        try {
            writeDemoTimeClock(parser.value(QStringLiteral("db")),
                               parser.value(QStringLiteral("demo-kq")), out);
        } catch (const EDatabaseError& e) {
            err << e.message() << '\n';
            return 1;
        }
        return 0;
    }
    const bool demo = parser.isSet(QStringLiteral("demo-goods"));
    QString batchText = parser.positionalArguments().join(QLatin1Char('\n'));
    if ((batchText.isEmpty() && !demo) || batchText == QLatin1String("-"))
        batchText = QTextStream(stdin).readAll();

    const QString file = parser.value(QStringLiteral("db"));
    try {
        TRemoteUdpConnection connection;
        if (file.isEmpty()) {
            if (!parser.isSet(QStringLiteral("print")))
                throw EDatabaseError(QStringLiteral("请用 --db 指定数据库文件。"));
            md::server::openDatabase(connection,
                                     ConnectionSettings::sqlite(QStringLiteral(":memory:")), false);
        } else {
            const ConnectionSettings settings = ConnectionSettings::fromDatabaseText(file);
            if (settings.isFile() && !parser.isSet(QStringLiteral("create")) &&
                !QFileInfo::exists(file))
                throw EDatabaseError(QStringLiteral("数据库文件不存在：%1").arg(file));
            const md::server::UpgradeReport upgrade = md::server::openDatabase(
                connection, settings, parser.isSet(QStringLiteral("create")));
            if (upgrade.outcome == md::server::UpgradeReport::Outcome::Upgraded)
                err << QStringLiteral("数据库结构已从第 %1 版升级到第 %2 版。")
                           .arg(upgrade.fromVersion)
                           .arg(upgrade.toVersion)
                    << (upgrade.backupFile.isEmpty()
                            ? QString()
                            : QStringLiteral("升级前的副本：%1").arg(upgrade.backupFile))
                    << '\n';
            err.flush();
        }
        if (demo) {
            if (!parser.isSet(QStringLiteral("create")))
                throw EDatabaseError(QStringLiteral("--demo-goods 只用于 --create 新建的数据库。"));
            createDemo(connection, parser.value(QStringLiteral("demo-goods")), out, err);
            if (batchText.isEmpty()) return 0;
        }

        const auto batch = connection.Translate(batchText);
        if (parser.isSet(QStringLiteral("print"))) {
            for (const md::sql::Statement& statement : batch->statements)
                out << (statement.kind == md::sql::Statement::Kind::Exec ? describeExec(statement)
                                                                         : statement.sql)
                    << '\n';
            return 0;
        }

        // A batch that only reads takes no write lock: it never waits behind a writer.
        const bool readsOnly = std::all_of(
            batch->statements.begin(), batch->statements.end(),
            [](const md::sql::Statement& s) { return s.kind == md::sql::Statement::Kind::Select; });
        std::optional<TRemoteUdpConnection::Unit> unit;
        if (!readsOnly) unit.emplace(connection);
        for (const md::sql::Statement& statement : batch->statements) {
            if (statement.kind != md::sql::Statement::Kind::Exec && statement.sql.isEmpty())
                continue;
            ResultTable rows;
            const bool wantsRows =
                statement.returnsRows || statement.kind == md::sql::Statement::Kind::Exec;
            const qint64 changed =
                connection.RunStatement(statement, nullptr, wantsRows ? &rows : nullptr);
            if (!rows.columns.isEmpty())
                printTable(out, rows);
            else if (!statement.returnsRows)
                out << QStringLiteral("(%1 rows affected)").arg(changed) << '\n';
        }
        if (unit) unit->commit();
    } catch (const EDatabaseError& e) {
        err << e.message() << '\n';
        return 1;
    }
    return 0;
}
