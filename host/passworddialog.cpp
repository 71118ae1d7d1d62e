#include "passworddialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logingate.h"
#include "messages.h"

namespace md::host {

namespace {

QLineEdit* passwordField(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace

TPasswordDialog::TPasswordDialog(TRemoteUdpConnection& connection, const QString& userNo,
                                 QWidget* parent)
    : QDialog(parent), m_connection(connection), m_userNo(userNo) {
    setObjectName(QStringLiteral("frm_password"));
    setWindowTitle(QStringLiteral("修改密码"));
    m_old = passwordField(this, "edt_oldpassword");
    m_new = passwordField(this, "edt_newpassword");
    m_confirm = passwordField(this, "edt_confirmpassword");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原密码："), m_old);
    form->addRow(QStringLiteral("新密码："), m_new);
    form->addRow(QStringLiteral("确认新密码："), m_confirm);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPasswordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(320);
    m_old->setFocus();
}

bool TPasswordDialog::refuse(const QString& text, QLineEdit* focus) {
    md::ui::MessageBox(text, md::ui::kSystemTitle, md::ui::Icon::Warning);
    focus->selectAll();
    focus->setFocus();
    return false;
}

void TPasswordDialog::accept() {
    if (m_new->text().isEmpty()) {
        refuse(QStringLiteral("新密码不能为空！"), m_new);
        return;
    }
    if (m_new->text() != m_confirm->text()) {
        m_confirm->clear();
        refuse(QStringLiteral("两次输入的新密码不一致！"), m_confirm);
        return;
    }
    LoginResult check;
    if (!md::ui::Guard([&] { check = LoginGate(m_connection).attempt(m_userNo, m_old->text()); }))
        return;
    if (!check.accepted()) {
        m_old->clear();
        refuse(check.outcome == LoginResult::Outcome::Refused
                   ? QStringLiteral("原密码错误，请重新输入！")
                   : check.message(),
               m_old);
        return;
    }
    if (!md::ui::Guard([&] { md::host::changePassword(m_connection, m_userNo, m_new->text()); }))
        return;
    md::ui::MessageBox(QStringLiteral("密码已修改，下次登录请使用新密码。"));
    QDialog::accept();
}

}  // namespace md::host
