#pragma once
// The login: user number and password, checked by the login gate (see
// logingate.h). A wrong password is said so and the user tries again; after
// several, the gate makes the user wait.
#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class TRemoteUdpConnection;

namespace md::host {

class TLoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TLoginDialog(TRemoteUdpConnection& connection, QWidget* parent = nullptr);

    void setUserNo(const QString& userNo);
    QString userNo() const;
    QString userName() const { return m_userName; }
    // The password of the accepted login (a new user's process is started with it).
    QString password() const;

    // Shows "连接设置…", which calls `handler`; the caller may reconnect the connection.
    void offerConnectionSettings(std::function<void()> handler);

    // OK: accepts when the user and password match; otherwise tells the user
    // and stays open with the password cleared.
    void accept() override;

  private:
    TRemoteUdpConnection& m_connection;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QPushButton* m_settings;
    std::function<void()> m_onConnectionSettings;
    QString m_userName;
};

}  // namespace md::host
