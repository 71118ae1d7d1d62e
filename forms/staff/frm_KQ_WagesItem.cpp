#include "frm_KQ_WagesItem.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_KQ_WageItemEdit.h"
#include "grid.h"
#include "remoteudpdataset.h"

using md::ui::Refuse;

QString Tfrm_KQ_WagesItem::ModeName(int mode) {
    return mode == 1 ? QStringLiteral("增项") : QStringLiteral("减项");
}

Tfrm_KQ_WagesItem::Tfrm_KQ_WagesItem(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_WagesItem"));
    setWindowTitle(QStringLiteral("工资项目设置"));
    DBItem = new TRemoteUdpDataSet(QStringLiteral("DBItem"), this);
    DBItem->SetSQL(QStringLiteral("select * from kq_wagesitem"));
    DBItem->SetLockType(etBatchOptimistic);
    DBItem->OnCalcFields = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fmodestr"))
            .SetAsString(ModeName(ds.FieldByName(QStringLiteral("fmode")).AsInteger()));
        // The flags are read as words, not ticks.
        for (const char* flag : {"fisSaleMoney", "fisSys"})
            ds.FieldByName(QString::fromLatin1(flag) + QStringLiteral("str"))
                .SetAsString(ds.FieldByName(QString::fromLatin1(flag)).AsBoolean()
                                 ? QStringLiteral("是")
                                 : QStringLiteral("否"));
    };
    DSItem = new TDataSource(QStringLiteral("DSItem"), this);
    DSItem->setDataSet(DBItem);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    But_Add = NewButton(*buttons, QStringLiteral("But_Add"), QStringLiteral("添加工资项目"),
                        [this] { But_AddClick(); });
    But_Edit = NewButton(*buttons, QStringLiteral("But_Edit"), QStringLiteral("修改工资项目"),
                         [this] { But_EditClick(); });
    But_Del = NewButton(*buttons, QStringLiteral("But_Del"), QStringLiteral("删除工资项目"),
                        [this] { But_DelClick(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);

    cxGrid1 = new TDBGrid(this);
    TDBTableView* v = cxGrid1->View();
    v->setDataSource(DSItem);
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(70);
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("名称")).width(140);
    v->AddColumn(QStringLiteral("fmodestr"), QStringLiteral("类型")).width(60);
    v->AddColumn(QStringLiteral("fmoney"), QStringLiteral("固定金额")).width(90).currency();
    v->AddColumn(QStringLiteral("fisSaleMoneystr"), QStringLiteral("是否销售提成")).width(100);
    v->AddColumn(QStringLiteral("fisSysstr"), QStringLiteral("是否系统默认")).width(100);
    v->SetInputAllowed(false);
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { But_EditClick(); }); });
    layout->addWidget(cxGrid1);
    resize(640, 400);
}

void Tfrm_KQ_WagesItem::FormCreate() {
    Tbase_frm::FormCreate();
    DBItem->AddCalcField(QStringLiteral("fmodestr"), ftString, 10);
    DBItem->AddCalcField(QStringLiteral("fisSaleMoneystr"), ftString, 2);
    DBItem->AddCalcField(QStringLiteral("fisSysstr"), ftString, 2);
    DBItem->Open();
}

void Tfrm_KQ_WagesItem::refuseSystemItem() {
    if (DBItem->FieldByName(QStringLiteral("fisSys")).AsBoolean())
        Refuse(QStringLiteral("此项目为系统默认，不允许修改或删除！"));
}

void Tfrm_KQ_WagesItem::runEditDialog(const QString& heading) {
    QPointer<Tfrm_KQ_WageItemEdit> dialog =
        md::ui::CreateForm<Tfrm_KQ_WageItemEdit>(DSItem, heading, this);
    md::ui::ExecModal(*dialog);
    if (dialog) dialog->deleteLater();
    // Closed by its frame: nothing of it is kept, as with 取消.
    if (DBItem->InEditState()) DBItem->Cancel();
    if (DBItem->UpdatesPending()) DBItem->CancelUpdates();
}

void Tfrm_KQ_WagesItem::But_AddClick() {
    TRemoteUdpDataSet& ds = *DBItem;
    ds.Append();
    ds.FieldByName(QStringLiteral("fisSys")).SetAsBoolean(false);
    ds.FieldByName(QStringLiteral("fisSaleMoney")).SetAsBoolean(false);
    ds.FieldByName(QStringLiteral("fmode")).SetAsInteger(1);
    runEditDialog(But_Add->text());
}

void Tfrm_KQ_WagesItem::But_EditClick() {
    if (DBItem->IsEmpty()) return;
    refuseSystemItem();
    DBItem->Edit();
    runEditDialog(But_Edit->text());
}

void Tfrm_KQ_WagesItem::But_DelClick() {
    if (DBItem->IsEmpty()) return;
    refuseSystemItem();
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除此项目！"))) return;
    DBItem->Delete();
    DBItem->UpdateBatch();
}

MD_REGISTER_FORM(Tfrm_KQ_WagesItem);
