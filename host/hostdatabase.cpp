#include "hostdatabase.h"

#include "demo/passwords.h"
#include "serverdb.h"
#include "sqlquote.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace md::host {

namespace {

QString settingsFile() { return dataFolder() + QStringLiteral("/connection.ini"); }

}  // namespace

QString dataFolder()
{
    QString folder = qEnvironmentVariable("MASTERDATA_HOME");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

QString defaultDatabaseFile() { return dataFolder() + QStringLiteral("/masterdata.db"); }

ConnectionSettings savedConnectionSettings()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    ConnectionSettings result = ConnectionSettings::sqlite(defaultDatabaseFile());
    const QString file = settings.value(QStringLiteral("sqlite/file")).toString();
    if (!file.isEmpty()) result.database = file;
    return result;
}

void saveConnectionSettings(const ConnectionSettings& connection)
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    // Only the embedded database is offered so far; the other kinds follow with their backends.
    settings.setValue(QStringLiteral("kind"), QStringLiteral("sqlite"));
    settings.setValue(QStringLiteral("sqlite/file"), connection.database);
}

bool openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                  const QList<md::server::DemoRightList>& functions)
{
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

std::optional<QString> checkLogin(TRemoteUdpConnection& connection, const QString& userNo, const QString& password)
{
    ResultTable rows;
    connection.OpenSQL(QStringLiteral("select username,fpassword from usermain where userno='") + SqlText(userNo)
                           + QStringLiteral("'"),
                       rows);
    if (rows.rowCount == 0) return std::nullopt;
    if (!md::server::verifyPassword(rows.at(0, 1).toString(), password)) return std::nullopt;
    return rows.at(0, 0).toString();
}

}  // namespace md::host
