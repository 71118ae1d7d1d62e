#include "secretstore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace md::host {

namespace {

const QString kService = QStringLiteral("masterdata");

// A secret store needs a desktop session bus; without one the jobs would only
// wait for their time-out.
bool secretStoreReachable() {
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
           qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("offscreen");
}

}  // namespace

QString passwordKey(const QString& kind, const QString& server, const QString& database,
                    const QString& user) {
    return kind + QLatin1Char(':') + user + QLatin1Char('@') + server + QLatin1Char('/') + database;
}

bool storePassword(const QString& key, const QString& password) {
    if (!secretStoreReachable()) return false;
    QKeychain::WritePasswordJob job(kService);
    job.setAutoDelete(false);
    job.setKey(key);
    job.setTextData(password);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

std::optional<QString> loadPassword(const QString& key) {
    if (!secretStoreReachable()) return std::nullopt;
    QKeychain::ReadPasswordJob job(kService);
    job.setAutoDelete(false);
    job.setKey(key);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() != QKeychain::NoError) return std::nullopt;
    return job.textData();
}

}  // namespace md::host
