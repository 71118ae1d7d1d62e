#include "connectiondialog.h"

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
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace md::host {

namespace {

QLineEdit* field(QWidget* parent, const char* name, bool password = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (password) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace

TConnectionDialog::TConnectionDialog(const ConnectionSettings& current, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_connection"));
    setWindowTitle(QStringLiteral("数据库连接设置"));

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cmb_kind"));
    m_kind->addItems({QStringLiteral("SQLite（内嵌数据库）"), QStringLiteral("PostgreSQL"),
                      QStringLiteral("SQL Server（ODBC）")});
    if (auto* model = qobject_cast<QStandardItemModel*>(m_kind->model()))
        for (int row = 1; row < model->rowCount(); ++row) model->item(row)->setEnabled(false);

    auto* sqlite = new QGroupBox(QStringLiteral("SQLite"), this);
    m_file = field(sqlite, "edt_sqlitefile");
    m_file->setText(current.database);
    auto* browse = new QPushButton(QStringLiteral("浏览…"), sqlite);
    browse->setObjectName(QStringLiteral("btn_browse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("选择数据库文件"), m_file->text(),
                                                          QStringLiteral("SQLite 数据库 (*.db)"), nullptr,
                                                          QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty()) m_file->setText(file);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);
    auto* sqliteForm = new QFormLayout(sqlite);
    sqliteForm->addRow(QStringLiteral("数据库文件："), fileRow);

    auto* postgres = new QGroupBox(QStringLiteral("PostgreSQL"), this);
    postgres->setObjectName(QStringLiteral("grp_postgresql"));
    auto* port = new QSpinBox(postgres);
    port->setRange(1, 65535);
    port->setValue(5432);
    auto* pgForm = new QFormLayout(postgres);
    pgForm->addRow(QStringLiteral("服务器："), field(postgres, "edt_pghost"));
    pgForm->addRow(QStringLiteral("端口："), port);
    pgForm->addRow(QStringLiteral("数据库："), field(postgres, "edt_pgdatabase"));
    pgForm->addRow(QStringLiteral("用户名："), field(postgres, "edt_pguser"));
    pgForm->addRow(QStringLiteral("密码："), field(postgres, "edt_pgpassword", true));
    postgres->setEnabled(false);

    auto* odbc = new QGroupBox(QStringLiteral("SQL Server（ODBC）"), this);
    odbc->setObjectName(QStringLiteral("grp_odbc"));
    auto* odbcForm = new QFormLayout(odbc);
    odbcForm->addRow(QStringLiteral("数据源："), field(odbc, "edt_dsn"));
    odbcForm->addRow(QStringLiteral("用户名："), field(odbc, "edt_odbcuser"));
    odbcForm->addRow(QStringLiteral("密码："), field(odbc, "edt_odbcpassword", true));
    odbc->setEnabled(false);

    auto* note = new QLabel(QStringLiteral("PostgreSQL 与 SQL Server 连接将在相应的数据库支持完成后开放。"), this);
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

ConnectionSettings TConnectionDialog::settings() const
{
    return ConnectionSettings::sqlite(m_file->text().trimmed());
}

}  // namespace md::host
