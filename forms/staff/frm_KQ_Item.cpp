#include "frm_KQ_Item.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_KQItem_Edit.h"
#include "grid.h"
#include "remoteudpdataset.h"

QString Tfrm_KQ_Item::ModeName(int mode) {
    return mode == 1 ? QStringLiteral("增项") : QStringLiteral("减项");
}

QString Tfrm_KQ_Item::KindName(int kind) {
    static const char* const kKinds[] = {"迟到", "早退", "加班", "请假"};
    return kind >= 0 && kind <= 3 ? QString::fromUtf8(kKinds[kind]) : QString();
}

Tfrm_KQ_Item::Tfrm_KQ_Item(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_KQ_Item"));
    setWindowTitle(QStringLiteral("考勤项目设置"));
    DBItem = new TRemoteUdpDataSet(QStringLiteral("DBItem"), this);
    DBItem->SetSQL(QStringLiteral("select * from KQ_Item"));
    DBItem->SetLockType(etOptimistic);
    DBItem->OnCalcFields = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fmodename"))
            .SetAsString(ModeName(ds.FieldByName(QStringLiteral("fmode")).AsInteger()));
        ds.FieldByName(QStringLiteral("ftypename"))
            .SetAsString(KindName(ds.FieldByName(QStringLiteral("ftype")).AsInteger()));
    };
    DSItem = new TDataSource(QStringLiteral("DSItem"), this);
    DSItem->setDataSet(DBItem);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    But_Add = NewButton(*buttons, QStringLiteral("But_Add"), QStringLiteral("添加考勤项目"),
                        [this] { But_AddClick(); });
    But_Edit = NewButton(*buttons, QStringLiteral("But_Edit"), QStringLiteral("修改考勤项目"),
                         [this] { But_EditClick(); });
    But_Del = NewButton(*buttons, QStringLiteral("But_Del"), QStringLiteral("删除考勤项目"),
                        [this] { But_DelClick(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);

    cxGrid1 = new TDBGrid(this);
    TDBTableView* v = cxGrid1->View();
    v->setDataSource(DSItem);
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(70);
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("名称")).width(140);
    v->AddColumn(QStringLiteral("fmodename"), QStringLiteral("属性")).width(60);
    v->AddColumn(QStringLiteral("funit"), QStringLiteral("单位")).width(90);
    v->AddColumn(QStringLiteral("funitprice"), QStringLiteral("单价")).width(80).currency();
    v->AddColumn(QStringLiteral("ftypename"), QStringLiteral("类别")).width(60);
    v->SetInputAllowed(false);
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { But_EditClick(); }); });
    layout->addWidget(cxGrid1);
    resize(600, 400);
}

void Tfrm_KQ_Item::FormCreate() {
    Tbase_frm::FormCreate();
    DBItem->AddCalcField(QStringLiteral("fmodename"), ftString, 10);
    DBItem->AddCalcField(QStringLiteral("ftypename"), ftString, 10);
    DBItem->Open();
}

void Tfrm_KQ_Item::runEditDialog() {
    QPointer<Tfrm_KQItem_Edit> dialog = md::ui::CreateForm<Tfrm_KQItem_Edit>(DSItem, this);
    md::ui::ExecModal(*dialog);
    if (dialog) dialog->deleteLater();
    if (DBItem->InEditState()) DBItem->Cancel();
}

void Tfrm_KQ_Item::But_AddClick() {
    DBItem->Append();
    DBItem->FieldByName(QStringLiteral("fmode")).SetAsInteger(1);
    DBItem->FieldByName(QStringLiteral("ftype")).SetAsInteger(0);
    runEditDialog();
}

void Tfrm_KQ_Item::But_EditClick() {
    if (DBItem->IsEmpty()) return;
    DBItem->Edit();
    runEditDialog();
}

void Tfrm_KQ_Item::But_DelClick() {
    if (DBItem->IsEmpty()) return;
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除此记录？"))) return;
    DBItem->Delete();
}

MD_REGISTER_FORM(Tfrm_KQ_Item);
