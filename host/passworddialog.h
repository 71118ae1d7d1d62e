#pragma once
// 修改密码: the signed-in user types the old password once and the new one
// twice. The old one is checked like a login (failures count and slow further
// attempts); the new one is stored as a salted argon2id hash.
#include <QDialog>

class QLineEdit;
class TRemoteUdpConnection;

namespace md::host {

class TPasswordDialog : public QDialog {
    Q_OBJECT
  public:
    TPasswordDialog(TRemoteUdpConnection& connection, const QString& userNo,
                    QWidget* parent = nullptr);

    // OK: stores the new password when the checks pass; otherwise says why
    // and stays open.
    void accept() override;

  private:
    bool refuse(const QString& text, QLineEdit* focus);

    TRemoteUdpConnection& m_connection;
    QString m_userNo;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_confirm;
};

}  // namespace md::host
