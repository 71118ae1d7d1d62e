#pragma once
// The login: user number and password, checked against usermain. A wrong
// password is said so and the user tries again.
#include <QDialog>
#include <functional>

class QLineEdit;
class TRemoteUdpConnection;

namespace md::host {

class TLoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TLoginDialog(TRemoteUdpConnection& connection, QWidget* parent = nullptr);

    void setUserNo(const QString& userNo);
    QString userNo() const;
    QString userName() const { return m_userName; }

    // Called by "连接设置…"; the caller may reconnect the connection.
    std::function<void()> onConnectionSettings;

    // OK: accepts when the user and password match; otherwise tells the user
    // and stays open with the password cleared.
    void accept() override;

  private:
    TRemoteUdpConnection& m_connection;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QString m_userName;
};

}  // namespace md::host
