#include "logindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logingate.h"
#include "messages.h"

namespace md::host {

TLoginDialog::TLoginDialog(TRemoteUdpConnection& connection, QWidget* parent)
    : QDialog(parent), m_connection(connection) {
    setObjectName(QStringLiteral("frm_login"));
    setWindowTitle(QStringLiteral("用户登录"));

    auto* title = new QLabel(QStringLiteral("服装分销管理系统 · 基础资料"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("edt_userno"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edt_password"));
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户编号："), m_user);
    form->addRow(QStringLiteral("密    码："), m_password);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("登录"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btn_login"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btn_exit"));
    m_settings = buttons->addButton(QStringLiteral("连接设置…"), QDialogButtonBox::ResetRole);
    m_settings->setObjectName(QStringLiteral("btn_connection"));
    m_settings->setVisible(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TLoginDialog::reject);
    connect(m_settings, &QPushButton::clicked, this, [this] {
        if (m_onConnectionSettings) md::ui::Guard(m_onConnectionSettings);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addSpacing(8);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void TLoginDialog::setUserNo(const QString& userNo) {
    m_user->setText(userNo);
    (userNo.isEmpty() ? m_user : m_password)->setFocus();
}

QString TLoginDialog::userNo() const {
    return m_user->text().trimmed();
}

QString TLoginDialog::password() const {
    return m_password->text();
}

void TLoginDialog::offerConnectionSettings(std::function<void()> handler) {
    m_onConnectionSettings = std::move(handler);
    m_settings->setVisible(bool(m_onConnectionSettings));
}

void TLoginDialog::accept() {
    if (userNo().isEmpty()) {
        md::ui::MessageBox(QStringLiteral("请输入用户编号！"));
        m_user->setFocus();
        return;
    }
    LoginResult login;
    if (!md::ui::Guard([&] { login = LoginGate(m_connection).attempt(userNo(), password()); }))
        return;
    if (!login.accepted()) {
        md::ui::MessageBox(login.message(), md::ui::kSystemTitle, md::ui::Icon::Warning);
        m_password->clear();
        m_password->setFocus();
        return;
    }
    m_userName = login.userName;
    QDialog::accept();
}

}  // namespace md::host
