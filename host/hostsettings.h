#pragma once
// What the host remembers between runs, in host.ini of the data folder: the
// main window's place and docks, and for each user the windows that were open
// and the functions opened last.
#include <QByteArray>
#include <QSettings>
#include <QStringList>

namespace md::host {

class HostSettings {
  public:
    explicit HostSettings(const QString& userNo);

    QByteArray geometry() const;
    void setGeometry(const QByteArray& geometry);
    QByteArray dockState() const;
    void setDockState(const QByteArray& state);

    // Functions whose windows were open, in the order they were opened.
    QStringList openWindows() const;
    void setOpenWindows(const QStringList& names);

    // Functions opened last, the latest first.
    QStringList recent() const;
    void addRecent(const QString& name);
    static constexpr int kRecentCount = 8;

  private:
    QString userKey(const QString& key) const;

    mutable QSettings m_settings;
    QString m_userGroup;
};

}  // namespace md::host
