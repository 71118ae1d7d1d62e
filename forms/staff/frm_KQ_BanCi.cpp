#include "frm_KQ_BanCi.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_KQ_BanCiEdit.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"

using md::ui::Refuse;

Tfrm_KQ_BanCi::Tfrm_KQ_BanCi(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_BanCi"));
    setWindowTitle(QStringLiteral("班次设置"));
    DBBanCi = new TRemoteUdpDataSet(QStringLiteral("DBBanCi"), this);
    DBBanCi->SetSQL(QStringLiteral("select * from kq_banci"));
    DBBanCi->SetLockType(etOptimistic);
    DSBanCi = new TDataSource(QStringLiteral("DSBanCi"), this);
    DSBanCi->setDataSet(DBBanCi);
    DBKind = new TRemoteUdpDataSet(QStringLiteral("DBKind"), this);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    But_Add = NewButton(*buttons, QStringLiteral("But_Add"), QStringLiteral("添加班次"),
                        [this] { But_AddClick(); });
    But_Edit = NewButton(*buttons, QStringLiteral("But_Edit"), QStringLiteral("修改班次信息"),
                         [this] { But_EditClick(); });
    But_Del = NewButton(*buttons, QStringLiteral("But_Del"), QStringLiteral("删除班次信息"),
                        [this] { But_DelClick(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);

    cxGrid1 = new TDBGrid(this);
    TDBTableView* v = cxGrid1->View();
    v->setDataSource(DSBanCi);
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("班次代码")).width(70);
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("班次名称")).width(100);
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("班次说明")).width(200);
    v->AddColumn(QStringLiteral("fWork_Time"), QStringLiteral("总工时"))
        .width(60)
        .currency(QStringLiteral("0.##"));
    v->AddColumn(QStringLiteral("ftypecode"), QStringLiteral("属性"))
        .width(90)
        .lookup(DBKind, QStringLiteral("fcode"), {QStringLiteral("fname")}, {},
                QStringLiteral("fname"));
    v->SetInputAllowed(false);
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { But_EditClick(); }); });
    layout->addWidget(cxGrid1);
    resize(620, 400);
}

void Tfrm_KQ_BanCi::FormCreate() {
    Tbase_frm::FormCreate();
    md::OpenQuery(*DBKind, QStringLiteral("select fcode='0',fname='正常班次' \n"
                                          "union all\n"
                                          "select fcode,fname from dbo.KQ_Type where ftype=1"));
    DBBanCi->Open();
}

void Tfrm_KQ_BanCi::But_AddClick() {
    DBBanCi->Append();
    QPointer<Tfrm_KQ_BanCiEdit> dialog = md::ui::CreateForm<Tfrm_KQ_BanCiEdit>(DSBanCi, this);
    dialog->LoadDefaults();
    md::ui::ExecModal(*dialog);
    if (dialog) dialog->deleteLater();
    if (DBBanCi->InEditState()) DBBanCi->Cancel();
}

void Tfrm_KQ_BanCi::But_EditClick() {
    if (DBBanCi->IsEmpty() || DBBanCi->FieldByName(QStringLiteral("fcode")).AsString().isEmpty())
        Refuse(QStringLiteral("请选择要修改的班次!"));
    DBBanCi->Edit();
    QPointer<Tfrm_KQ_BanCiEdit> dialog = md::ui::CreateForm<Tfrm_KQ_BanCiEdit>(DSBanCi, this);
    dialog->LoadRow();
    md::ui::ExecModal(*dialog);
    if (dialog) dialog->deleteLater();
    if (DBBanCi->InEditState()) DBBanCi->Cancel();
}

void Tfrm_KQ_BanCi::But_DelClick() {
    if (DBBanCi->IsEmpty()) return;
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除此班次?"))) return;
    DBBanCi->Delete();
}

MD_REGISTER_FORM(Tfrm_KQ_BanCi);
