#include "frm_MoneyCardEdit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "baseform.h"
#include "datasource.h"
#include "dbcontrols.h"
#include "dialogbuttons.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"

using md::ui::Refuse;

namespace {

QLineEdit* shownOnly(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

}  // namespace

Tfrm_MoneyCardEdit::Tfrm_MoneyCardEdit(TDataSource* source, TRemoteUdpDataSet* shops,
                                       QWidget* parent)
    : QDialog(parent), m_source(source) {
    setObjectName(QStringLiteral("frm_MoneyCardEdit"));
    setWindowTitle(QStringLiteral("现金券管理[修改]"));
    setAttribute(Qt::WA_DeleteOnClose);

    TRemoteUdpDataSet& ds = rows();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Edit_CardNo =
        shownOnly(this, "Edit_CardNo", ds.FieldByName(QStringLiteral("fcardno")).AsString());
    Edit_Password =
        shownOnly(this, "Edit_Password", ds.FieldByName(QStringLiteral("fpassword")).AsString());
    Edit_Money =
        shownOnly(this, "Edit_Money",
                  QString::number(ds.FieldByName(QStringLiteral("fmoney")).AsFloat(), 'f', 2));
    Date_Begin = new TDBDateEdit(source, QStringLiteral("fbegindate"), this);
    Date_End = new TDBDateEdit(source, QStringLiteral("fenddate"), this);
    Combo_Shop = new TDBLookupComboBox(source, QStringLiteral("fclientcode"), this);
    Combo_Shop->setList(shops, QStringLiteral("fcode"),
                        {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                        {QStringLiteral("店铺编号"), QStringLiteral("店铺简称")});
    Combo_Shop->DataLink()->Show();
    Edit_Emp = new TDBEdit(source, QStringLiteral("foutemp"), this);
    Edit_Name = new TDBEdit(source, QStringLiteral("fname"), this);
    Edit_Mobile = new TDBEdit(source, QStringLiteral("fmobile"), this);
    form->addRow(QStringLiteral("现金券编号:"), Edit_CardNo);
    form->addRow(QStringLiteral("现金券条码:"), Edit_Password);
    form->addRow(QStringLiteral("面值金额:"), Edit_Money);
    form->addRow(QStringLiteral("生效日期:"), Date_Begin);
    form->addRow(QStringLiteral("失效日期:"), Date_End);
    form->addRow(QStringLiteral("领券店铺:"), Combo_Shop);
    form->addRow(QStringLiteral("经手人:"), Edit_Emp);
    form->addRow(QStringLiteral("领券人姓名:"), Edit_Name);
    form->addRow(QStringLiteral("领券人手机:"), Edit_Mobile);
    layout->addLayout(form);

    const md::ui::TOkCancel buttons =
        md::ui::AddOkCancelRow(*this, *layout, [this] { But_OKClick(); });
    But_OK = buttons.ok;
    But_Cancel = buttons.cancel;
    resize(360, 340);
}

TRemoteUdpDataSet& Tfrm_MoneyCardEdit::rows() const {
    TRemoteUdpDataSet* ds = m_source->DataSet();
    if (!ds) throw EDatabaseError(QStringLiteral("没有现金券数据"));
    return *ds;
}

void Tfrm_MoneyCardEdit::But_OKClick() {
    TRemoteUdpDataSet& ds = rows();
    const TField& begin = ds.FieldByName(QStringLiteral("fbegindate"));
    const TField& end = ds.FieldByName(QStringLiteral("fenddate"));
    if (!begin.IsNull() && !end.IsNull() && end.AsDate() < begin.AsDate())
        Refuse(QStringLiteral("<失效日期>不能早于<生效日期>！"));
    // The shop's fid goes with its code.
    TField& shop = ds.FieldByName(QStringLiteral("fclientcode"));
    const QString code = shop.AsString().trimmed();
    if (code.compare(shop.OldValue().toString().trimmed(), Qt::CaseInsensitive) != 0) {
        TField& shopId = ds.FieldByName(QStringLiteral("fclientno"));
        if (code.isEmpty()) {
            if (!ds.InEditState()) ds.Edit();
            shopId.Clear();
        } else {
            TRemoteUdpDataSet query;
            md::OpenQuery(
                query, QStringLiteral("select top 1 fid,fcode from dt_client where fcode=:fcode"),
                {{QStringLiteral("fcode"), code}});
            if (query.IsEmpty()) Refuse(QStringLiteral("领券店铺“%1”不存在！").arg(code));
            if (!ds.InEditState()) ds.Edit();
            shopId.SetAsString(query.FieldByName(QStringLiteral("fid")).AsString());
            shop.SetAsString(query.FieldByName(QStringLiteral("fcode")).AsString());
        }
    }
    if (ds.InEditState()) ds.Post();
    ds.UpdateBatch();
    accept();
}

void Tfrm_MoneyCardEdit::reject() {
    md::ui::Guard([this] {
        TRemoteUdpDataSet& ds = rows();
        if (ds.InEditState()) ds.Cancel();
        ds.CancelUpdates();
    });
    QDialog::reject();
}
