#include "connectiondialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace md::host {

namespace {

QLineEdit* field(QWidget* parent, const char* name, bool password = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (password) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace

TConnectionDialog::TConnectionDialog(const ConnectionSettings& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frm_connection"));
    setWindowTitle(QStringLiteral("数据库连接设置"));

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cmb_kind"));
    m_kind->addItems({QStringLiteral("SQLite（内嵌数据库）"), QStringLiteral("PostgreSQL"),
                      QStringLiteral("SQL Server（ODBC）")});
    m_kind->setCurrentIndex(int(current.kind));
    const bool isFile = current.kind == ConnectionSettings::Kind::SQLite;
    const bool isPg = current.kind == ConnectionSettings::Kind::PostgreSQL;
    const bool isOdbc = current.kind == ConnectionSettings::Kind::Odbc;

    auto* sqlite = new QGroupBox(QStringLiteral("SQLite"), this);
    m_file = field(sqlite, "edt_sqlitefile");
    if (isFile) m_file->setText(current.database);
    auto* browse = new QPushButton(QStringLiteral("浏览…"), sqlite);
    browse->setObjectName(QStringLiteral("btn_browse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("选择数据库文件"), m_file->text(),
            QStringLiteral("SQLite 数据库 (*.db)"), nullptr, QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty()) m_file->setText(file);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);
    auto* sqliteForm = new QFormLayout(sqlite);
    sqliteForm->addRow(QStringLiteral("数据库文件："), fileRow);

    auto* postgres = new QGroupBox(QStringLiteral("PostgreSQL"), this);
    postgres->setObjectName(QStringLiteral("grp_postgresql"));
    m_pgPort = new QSpinBox(postgres);
    m_pgPort->setObjectName(QStringLiteral("spn_pgport"));
    m_pgPort->setRange(1, 65535);
    m_pgPort->setValue(isPg && current.port > 0 ? current.port : 5432);
    m_pgHost = field(postgres, "edt_pghost");
    m_pgDatabase = field(postgres, "edt_pgdatabase");
    m_pgUser = field(postgres, "edt_pguser");
    m_pgPassword = field(postgres, "edt_pgpassword", true);
    if (isPg) {
        m_pgHost->setText(current.host);
        m_pgDatabase->setText(current.database);
        m_pgUser->setText(current.user);
        m_pgPassword->setText(current.password);
    }
    auto* pgForm = new QFormLayout(postgres);
    pgForm->addRow(QStringLiteral("服务器："), m_pgHost);
    pgForm->addRow(QStringLiteral("端口："), m_pgPort);
    pgForm->addRow(QStringLiteral("数据库："), m_pgDatabase);
    pgForm->addRow(QStringLiteral("用户名："), m_pgUser);
    pgForm->addRow(QStringLiteral("密码："), m_pgPassword);

    auto* odbc = new QGroupBox(QStringLiteral("SQL Server（ODBC）"), this);
    odbc->setObjectName(QStringLiteral("grp_odbc"));
    m_dsn = field(odbc, "edt_dsn");
    m_odbcUser = field(odbc, "edt_odbcuser");
    m_odbcPassword = field(odbc, "edt_odbcpassword", true);
    m_serverProcedures = new QCheckBox(QStringLiteral("数据库已有本系统的存储过程"), odbc);
    m_serverProcedures->setObjectName(QStringLiteral("chk_serverprocedures"));
    if (isOdbc) {
        m_dsn->setText(current.database);
        m_odbcUser->setText(current.user);
        m_odbcPassword->setText(current.password);
        m_serverProcedures->setChecked(current.serverProcedures);
    }
    auto* odbcForm = new QFormLayout(odbc);
    odbcForm->addRow(QStringLiteral("数据源："), m_dsn);
    odbcForm->addRow(QStringLiteral("用户名："), m_odbcUser);
    odbcForm->addRow(QStringLiteral("密码："), m_odbcPassword);
    odbcForm->addRow(QString(), m_serverProcedures);

    // Only the chosen kind's fields can be edited.
    const auto showKind = [sqlite, postgres, odbc](int kind) {
        sqlite->setEnabled(kind == 0);
        postgres->setEnabled(kind == 1);
        odbc->setEnabled(kind == 2);
    };
    showKind(m_kind->currentIndex());
    connect(m_kind, &QComboBox::currentIndexChanged, this, showKind);

    auto* note = new QLabel(
        QStringLiteral("密码不写入设置文件：保存在系统的密钥环中；没有密钥环时，登录时询问。"),
        this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* kindRow = new QFormLayout;
    kindRow->addRow(QStringLiteral("数据库类型："), m_kind);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(sqlite);
    layout->addWidget(postgres);
    layout->addWidget(odbc);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

ConnectionSettings TConnectionDialog::settings() const {
    ConnectionSettings result;
    switch (m_kind->currentIndex()) {
        case 1:
            result.kind = ConnectionSettings::Kind::PostgreSQL;
            result.host = m_pgHost->text().trimmed();
            result.port = m_pgPort->value();
            result.database = m_pgDatabase->text().trimmed();
            result.user = m_pgUser->text().trimmed();
            result.password = m_pgPassword->text();
            return result;
        case 2:
            result.kind = ConnectionSettings::Kind::Odbc;
            result.database = m_dsn->text().trimmed();
            result.user = m_odbcUser->text().trimmed();
            result.password = m_odbcPassword->text();
            result.serverProcedures = m_serverProcedures->isChecked();
            return result;
        default:
            return ConnectionSettings::sqlite(m_file->text().trimmed());
    }
}

}  // namespace md::host
