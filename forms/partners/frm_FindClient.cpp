#include "frm_FindClient.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sqlquote.h"

Tfrm_FindClient::Tfrm_FindClient(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_FindClient"));
    setWindowTitle(QStringLiteral("客户资料查找"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto edit = [this, form](const char* name, const char* label) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromUtf8(label), box);
        return box;
    };
    Edit_Code = edit("Edit_Code", "客户编号：");
    Edit_Abbrev = edit("Edit_Abbrev", "客户简称：");
    Edit_Name = edit("Edit_Name", "客户名称：");
    Edit_Contact = edit("Edit_Contact", "联系人：");
    Edit_Tel = edit("Edit_Tel", "联系电话：");
    auto list = [this, form](const char* name, const char* label, const QStringList& items) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        // Typed or picked; empty asks nothing.
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(items);
        box->setCurrentIndex(-1);
        form->addRow(QString::fromUtf8(label), box);
        return box;
    };
    Combo_Mathod = list("Combo_Mathod", "客户性质：",
                        {QStringLiteral("自营"), QStringLiteral("专柜"), QStringLiteral("代理"),
                         QStringLiteral("加盟"), QStringLiteral("批发"), QStringLiteral("外销")});
    Combo_Grad =
        list("Combo_Grad", "客户等级：",
             {QStringLiteral("总代理"), QStringLiteral("一级代理"), QStringLiteral("二级代理"),
              QStringLiteral("经销商"), QStringLiteral("批发商"), QStringLiteral("一般客户")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_OK->setDefault(true);
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    layout->addLayout(buttons);
    connect(But_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(But_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(320, 260);
}

QString Tfrm_FindClient::Conditions() const {
    QString conditions;
    auto like = [&conditions](const char* column, const QString& typed) {
        const QString text = typed.trimmed();
        if (!text.isEmpty())
            conditions += QStringLiteral(" and ") + QString::fromLatin1(column) +
                          QStringLiteral(" like ") + QStringLiteral("'%") + SqlText(text) +
                          QStringLiteral("%'");
    };
    auto equal = [&conditions](const char* column, const QString& typed) {
        const QString text = typed.trimmed();
        if (!text.isEmpty())
            conditions += QStringLiteral(" and ") + QString::fromLatin1(column) +
                          QStringLiteral("=") + QStringLiteral("'") + SqlText(text) +
                          QStringLiteral("'");
    };
    like("fcode", Edit_Code->text());
    like("fabbrev", Edit_Abbrev->text());
    like("fname", Edit_Name->text());
    like("fContactman", Edit_Contact->text());
    like("ftel1", Edit_Tel->text());
    equal("fmathod", Combo_Mathod->currentText());
    equal("fgrad", Combo_Grad->currentText());
    return conditions;
}
