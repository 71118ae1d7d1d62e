#include "hostdatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "backend.h"
#include "secretstore.h"
#include "serverdb.h"

namespace md::host {

namespace {

QString settingsFile() {
    return dataFolder() + QStringLiteral("/connection.ini");
}
QString passwordKeyOf(const ConnectionSettings& s);

}  // namespace

QString dataFolder() {
    QString folder = qEnvironmentVariable("MASTERDATA_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

QString defaultDatabaseFile() {
    return dataFolder() + QStringLiteral("/masterdata.db");
}

namespace {
QString passwordKeyOf(const ConnectionSettings& s) {
    if (s.kind == ConnectionSettings::Kind::PostgreSQL)
        return passwordKey(QStringLiteral("postgresql"),
                           s.host + QLatin1Char(':') + QString::number(s.port), s.database, s.user);
    return passwordKey(QStringLiteral("odbc"), QString(), s.database, s.user);
}
}  // namespace

ConnectionSettings savedConnectionSettings() {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    ConnectionSettings result = ConnectionSettings::sqlite(defaultDatabaseFile());
    const QString kind = settings.value(QStringLiteral("kind")).toString();
    if (kind == QLatin1String("postgresql")) {
        result.kind = ConnectionSettings::Kind::PostgreSQL;
        result.host = settings.value(QStringLiteral("postgresql/host")).toString();
        result.port = settings.value(QStringLiteral("postgresql/port"), 5432).toInt();
        result.database = settings.value(QStringLiteral("postgresql/database")).toString();
        result.user = settings.value(QStringLiteral("postgresql/user")).toString();
    } else if (kind == QLatin1String("odbc")) {
        result.kind = ConnectionSettings::Kind::Odbc;
        result.database = settings.value(QStringLiteral("odbc/dsn")).toString();
        result.user = settings.value(QStringLiteral("odbc/user")).toString();
        result.serverProcedures = settings.value(QStringLiteral("odbc/serverprocedures")).toBool();
    } else {
        const QString file = settings.value(QStringLiteral("sqlite/file")).toString();
        if (!file.isEmpty()) result.database = file;
        return result;
    }
    if (const auto password = loadPassword(passwordKeyOf(result))) result.password = *password;
    return result;
}

void saveConnectionSettings(const ConnectionSettings& connection) {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    // The password goes to the secret store only, never to this file.
    switch (connection.kind) {
        case ConnectionSettings::Kind::SQLite:
            settings.setValue(QStringLiteral("kind"), QStringLiteral("sqlite"));
            settings.setValue(QStringLiteral("sqlite/file"), connection.database);
            return;
        case ConnectionSettings::Kind::PostgreSQL:
            settings.setValue(QStringLiteral("kind"), QStringLiteral("postgresql"));
            settings.setValue(QStringLiteral("postgresql/host"), connection.host);
            settings.setValue(QStringLiteral("postgresql/port"), connection.port);
            settings.setValue(QStringLiteral("postgresql/database"), connection.database);
            settings.setValue(QStringLiteral("postgresql/user"), connection.user);
            break;
        case ConnectionSettings::Kind::Odbc:
            settings.setValue(QStringLiteral("kind"), QStringLiteral("odbc"));
            settings.setValue(QStringLiteral("odbc/dsn"), connection.database);
            settings.setValue(QStringLiteral("odbc/user"), connection.user);
            settings.setValue(QStringLiteral("odbc/serverprocedures"), connection.serverProcedures);
            break;
    }
    if (!connection.password.isEmpty())
        storePassword(passwordKeyOf(connection), connection.password);
}

bool openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                  const QList<md::server::DemoRightList>& functions) {
    const bool isFile = settings.kind == ConnectionSettings::Kind::SQLite;
    const bool existed = isFile && QFileInfo::exists(settings.database);
    if (isFile) QDir().mkpath(QFileInfo(settings.database).absolutePath());
    md::server::openDatabase(connection, settings, /*create=*/false);
    if (md::server::hasSchema(connection)) return false;
    try {
        md::server::createDatabase(connection);
        md::server::createDemoData(connection, md::server::kDemoGoodsCount, functions);
    } catch (...) {
        // A half-made database would never be filled later: start again next time.
        connection.Close();
        if (isFile && !existed) QFile::remove(settings.database);
        throw;
    }
    return true;
}

QString serverVersion(TRemoteUdpConnection& connection) {
    // The backend's own dialect: no T-SQL names the version.
    QString sql;
    switch (connection.settings().kind) {
        case ConnectionSettings::Kind::SQLite:
            sql = QStringLiteral("select sqlite_version()");
            break;
        case ConnectionSettings::Kind::PostgreSQL:
            sql = QStringLiteral("show server_version");
            break;
        case ConnectionSettings::Kind::Odbc:
            sql = QStringLiteral("select cast(serverproperty('ProductVersion') as varchar(50))");
            break;
    }
    try {
        ResultTable rows;
        connection.backend().prepare(sql).execute(&rows);
        return rows.rowCount > 0 ? rows.at(0, 0).toString().section(QLatin1Char(' '), 0, 0)
                                 : QString();
    } catch (const std::exception&) {
        return QString();  // a driver that cannot say (the ODBC stand-in)
    }
}

}  // namespace md::host
