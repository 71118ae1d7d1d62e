#include "frm_ChangeGoodsID.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dbchecks.h"
#include "formfactory.h"
#include "messages.h"
#include "remoteudpconnection.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"

using md::ui::MessageBox;
using md::ui::Refuse;

Tfrm_ChangeGoodsID::Tfrm_ChangeGoodsID(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_ChangeGoodsID"));
    setWindowTitle(QStringLiteral("整理合并货号"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Edit_OldGoodsId = new QLineEdit(this);
    Edit_OldGoodsId->setObjectName(QStringLiteral("Edit_OldGoodsId"));
    Edit_NewGoodsId = new QLineEdit(this);
    Edit_NewGoodsId->setObjectName(QStringLiteral("Edit_NewGoodsId"));
    form->addRow(QStringLiteral("被替换的货号:"), Edit_OldGoodsId);
    form->addRow(QStringLiteral("替换后的货号:"), Edit_NewGoodsId);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    // Enter moves between the boxes; the buttons are pressed.
    But_OK->setAutoDefault(false);
    But_Cancel->setAutoDefault(false);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    layout->addLayout(buttons);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { Close(); });
    setFixedSize(320, 130);
}

void Tfrm_ChangeGoodsID::But_OKClick() {
    const QString oldCode = Edit_OldGoodsId->text().trimmed();
    const QString newCode = Edit_NewGoodsId->text().trimmed();
    if (oldCode.isEmpty()) {
        Edit_OldGoodsId->setFocus();
        Refuse(QStringLiteral("请输入被替换的货号!"));
    }
    if (newCode.isEmpty()) {
        Edit_NewGoodsId->setFocus();
        Refuse(QStringLiteral("请输入替换后的货号!"));
    }
    // Goods codes compare without regard to case: "a01" into "A01" would
    // rename the item onto itself and then delete it.
    if (oldCode.compare(newCode, Qt::CaseInsensitive) == 0) {
        Edit_OldGoodsId->setFocus();
        Refuse(QStringLiteral("被替换的货号与替换后的货号不能相同!"));
    }
    auto exists = [](const QString& code) {
        return md::ui::QueryReturnsRow(
            QStringLiteral("select top 1 goodsid from goods where goodsid='") + SqlText(code) +
            QStringLiteral("'"));
    };
    if (!exists(oldCode)) Refuse(QStringLiteral("被替换的货号不存在!"));
    if (!exists(newCode)) Refuse(QStringLiteral("替换后的货号不存在!"));
    if (!merge(oldCode, newCode)) {
        MessageBox(QStringLiteral("替换失败!"));
        return;
    }
    MessageBox(QStringLiteral("替换成功!"));
    Edit_OldGoodsId->clear();
    Edit_NewGoodsId->clear();
    Edit_OldGoodsId->setFocus();
}

bool Tfrm_ChangeGoodsID::merge(const QString& oldCode, const QString& newCode) {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) return false;
    try {
        // The rewrite and the delete go together: a failure leaves both codes as they were.
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(QStringLiteral("exec P_replaceGoods '") + SqlText(oldCode) +
                       QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") +
                       SqlText(newCode) + QStringLiteral("'"));
        md::ExecuteSQL(QStringLiteral("delete from goods where goodsid='") + SqlText(oldCode) +
                       QStringLiteral("'"));
        // The sizes of the item that stays, should the replaced one have brought others.
        md::ExecuteSQL(QStringLiteral("exec P_UpdateGoodsSize '") + SqlText(newCode) +
                       QStringLiteral("'"));
        transaction.commit();
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& error) {
        // The user is told the merge failed; the engine's words go to the
        // error output for whoever looks into it.
        qWarning("P_replaceGoods: %s", error.what());
        return false;
    }
    return true;
}

MD_REGISTER_FORM(Tfrm_ChangeGoodsID);
