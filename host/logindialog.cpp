#include "logindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "hostdatabase.h"
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
    QPushButton* settings =
        buttons->addButton(QStringLiteral("连接设置…"), QDialogButtonBox::ResetRole);
    settings->setObjectName(QStringLiteral("btn_connection"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TLoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TLoginDialog::reject);
    connect(settings, &QPushButton::clicked, this, [this] {
        if (onConnectionSettings) md::ui::Guard(onConnectionSettings);
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

void TLoginDialog::accept() {
    if (userNo().isEmpty()) {
        md::ui::MessageBox(QStringLiteral("请输入用户编号！"));
        m_user->setFocus();
        return;
    }
    std::optional<QString> name;
    if (!md::ui::Guard([&] { name = checkLogin(m_connection, userNo(), m_password->text()); }))
        return;
    if (!name) {
        md::ui::MessageBox(QStringLiteral("用户名或密码错误，请重新输入！"), md::ui::kSystemTitle,
                           md::ui::Icon::Warning);
        m_password->clear();
        m_password->setFocus();
        return;
    }
    m_userName = *name;
    QDialog::accept();
}

}  // namespace md::host
