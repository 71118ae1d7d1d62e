#include "frm_ltd.h"

#include <QPushButton>
#include <QRegularExpressionValidator>

#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sharedvalues.h"

Tfrm_ltd::Tfrm_ltd(QWidget* owner) : TRecordDialog(owner) {
    setWindowTitle(QStringLiteral("公司信息"));
    DBmaster_table->SetSQL(QStringLiteral("select * from dt_ltd"));
    TFieldPanel* p = FieldPanel;
    p->AddEdit(QStringLiteral("中文名称："), QStringLiteral("fname_ch"), true);
    p->AddEdit(QStringLiteral("英文名称："), QStringLiteral("fname_en"), true);
    p->AddEdit(QStringLiteral("简称："), QStringLiteral("fabbrev"));
    p->AddEdit(QStringLiteral("联系人(中文)："), QStringLiteral("contact_manch"));
    p->AddEdit(QStringLiteral("联系人(英文)："), QStringLiteral("contact_manen"));
    p->AddEdit(QStringLiteral("职务："), QStringLiteral("Job"));
    p->AddEdit(QStringLiteral("联系电话1："), QStringLiteral("tel1"));
    p->AddEdit(QStringLiteral("联系电话2："), QStringLiteral("tel2"));
    p->AddEdit(QStringLiteral("传真号码："), QStringLiteral("fax"));
    p->AddEdit(QStringLiteral("Email："), QStringLiteral("Email"));
    p->AddEdit(QStringLiteral("网址："), QStringLiteral("http"));
    p->AddEdit(QStringLiteral("邮政编码："), QStringLiteral("zipcode"));
    p->AddEdit(QStringLiteral("银行名称："), QStringLiteral("Bank_name"));
    p->AddEdit(QStringLiteral("银行帐号："), QStringLiteral("Bank_no"));
    p->AddEdit(QStringLiteral("地址(中文)："), QStringLiteral("fAddresch"), true);
    p->AddEdit(QStringLiteral("地址(英文)："), QStringLiteral("fAddresen"), true);
    // The prefix leads the 13 digits of every national code.
    TDBEdit& prefix = p->AddEdit(QStringLiteral("国标码："), QStringLiteral("fcode"));
    prefix.setMaxLength(12);
    prefix.setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), &prefix));

    But_OK = AddButton(QStringLiteral("But_OK"), QStringLiteral("确定"), [this] { But_OKClick(); });
    But_Cancel = AddButton(QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    But_UpdateCode = AddButton(QStringLiteral("But_UpdateCode"), QStringLiteral("更新国标码"),
                               [this] { But_UpdateCodeClick(); });
    resize(620, 400);
}

void Tfrm_ltd::FormCreate() {
    TRecordDialog::FormCreate();
    // The national codes of every barcode hang on this record: only users who
    // may edit it change it.
    But_OK->setEnabled(RightEdit);
    But_UpdateCode->setEnabled(RightEdit);
    DBmaster_table->Open();
    if (DBmaster_table->IsEmpty()) {
        DBmaster_table->Append();
        DBmaster_table->FieldByName(QStringLiteral("fcode")).SetAsString(QStringLiteral("0"));
    }
}

void Tfrm_ltd::refuseWithoutEditRight() {
    if (!RightEdit) md::ui::Refuse(QStringLiteral("您没有足够的权限进行此操作!"));
}

void Tfrm_ltd::But_OKClick() {
    refuseWithoutEditRight();
    SaveRecord();
    md::Shared().NationalCodePrefix =
        DBmaster_table->FieldByName(QStringLiteral("fcode")).AsString();
    Close();
}

void Tfrm_ltd::But_CancelClick() {
    DBmaster_table->CancelUpdates();
    Close();
}

void Tfrm_ltd::But_UpdateCodeClick() {
    refuseWithoutEditRight();
    auto* prefix = static_cast<TDBEdit*>(FieldPanel->Editor(QStringLiteral("fcode")));
    if (prefix->text().isEmpty()) {
        md::ui::ShowMessage(QStringLiteral("请输入国标码号！"));
        prefix->setFocus();
        Abort();
    }
    SaveRecord();
    md::ExecuteSQL(QStringLiteral("Exec P_UpdateGoodsEan13List"));
    md::ui::ShowMessage(QStringLiteral("更新成功"));
}

MD_REGISTER_FORM(Tfrm_ltd);
