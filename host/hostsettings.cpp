#include "hostsettings.h"

#include <QUrl>

#include "hostdatabase.h"

namespace md::host {

HostSettings::HostSettings(const QString& userNo)
    : m_settings(dataFolder() + QStringLiteral("/host.ini"), QSettings::IniFormat),
      // A user number may hold characters a settings key cannot.
      m_userGroup(QStringLiteral("user_") +
                  QString::fromLatin1(QUrl::toPercentEncoding(userNo).replace('%', '_'))) {}

QString HostSettings::userKey(const QString& key) const {
    return m_userGroup + QLatin1Char('/') + key;
}

QByteArray HostSettings::geometry() const {
    return m_settings.value(QStringLiteral("mainwindow/geometry")).toByteArray();
}

void HostSettings::setGeometry(const QByteArray& geometry) {
    m_settings.setValue(QStringLiteral("mainwindow/geometry"), geometry);
}

QByteArray HostSettings::dockState() const {
    return m_settings.value(QStringLiteral("mainwindow/docks")).toByteArray();
}

void HostSettings::setDockState(const QByteArray& state) {
    m_settings.setValue(QStringLiteral("mainwindow/docks"), state);
}

QStringList HostSettings::openWindows() const {
    return m_settings.value(userKey(QStringLiteral("openwindows"))).toStringList();
}

void HostSettings::setOpenWindows(const QStringList& names) {
    m_settings.setValue(userKey(QStringLiteral("openwindows")), names);
}

QStringList HostSettings::recent() const {
    return m_settings.value(userKey(QStringLiteral("recent"))).toStringList();
}

void HostSettings::addRecent(const QString& name) {
    QStringList names = recent();
    names.removeAll(name);
    names.prepend(name);
    while (names.size() > kRecentCount) names.removeLast();
    m_settings.setValue(userKey(QStringLiteral("recent")), names);
}

}  // namespace md::host
