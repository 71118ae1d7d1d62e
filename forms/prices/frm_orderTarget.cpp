#include "frm_orderTarget.h"

#include <QAction>
#include <QDate>

#include "clientterms.h"
#include "codes/frm_BatchNO.h"
#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "selectclient.h"
#include "session.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QString kBatchMessage = QStringLiteral("请先选择批次!");

}  // namespace

Tfrm_orderTarget::Tfrm_orderTarget(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("客户订货目标设置"));
    DBmaster_table->SetSQL(QStringLiteral("select * from d_orderTarget"));
    DBbatch = new TRemoteUdpDataSet(QStringLiteral("DBbatch"), this);
    DBbatch->SetLockType(etOptimistic);
    DBbatch->SetSQL(BatchListSQL());
    DBclient = new TRemoteUdpDataSet(QStringLiteral("DBclient"), this);
    DBclient->SetLockType(etOptimistic);
    DBclient->SetSQL(QStringLiteral("select fcode,fabbrev,fmathod,fgrad from dt_client"));

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fBatchNo"), QStringLiteral("批次"))
        .width(100)
        .lookup(DBbatch, QStringLiteral("fBatchName"),
                {QStringLiteral("fBatchName"), QStringLiteral("fdate"), QStringLiteral("ftype")});
    v->AddColumn(QStringLiteral("fClientCode"), QStringLiteral("客户编号"))
        .width(90)
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"))
        .button([this](TGridColumn&) { fClientCodeButtonClick(); })
        .inputCheck(
            md::ui::ListedCodeCheck(DBclient, QStringLiteral("客户编号输入有误,请重新录入!")));
    md::ui::AddClientLookupColumns(*v, *DBmaster_table, QStringLiteral("fClientCode"), DBclient);
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("fMoney"), QStringLiteral("订货目标金额"))
                              .width(110)
                              .currency(QStringLiteral("￥,0.00;-￥,0.00"))
                              .footer(TSummaryKind::Sum, QStringLiteral("￥,0.00")));
    v->AddColumn(QStringLiteral("fRemark"), QStringLiteral("说明")).width(160);
    v->Options().ColumnSorting = true;
    v->Options().ColumnFiltering = true;
    v->ApplyOptions();

    // The find button's place holds the batch dialog: the window has no find.
    batch_action = NewAction(QStringLiteral("batch_action"), QStringLiteral("批次维护"),
                             [this] { batch_actionExecute(); });
    batch_action->setIcon(find_action->icon());
    find_action->setVisible(false);
    SetToolbar({first_action, prio_action, next_action, last_action, nullptr, append_action,
                edit_action, post_action, cacel_action, del_action, batch_action, print_action,
                excel_action, close_action});
    resize(749, 479);
}

QString Tfrm_orderTarget::BatchListSQL() {
    return QStringLiteral("select * from Ba_BatchInfo where ftablename='d_order' order by fdate");
}

void Tfrm_orderTarget::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBclient->Close();
    DBclient->SetSQL(QStringLiteral("select * from dt_client"));
    DBclient->Open();
    DBmaster_table->Open();
}

void Tfrm_orderTarget::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    if (!DBbatch->Active()) DBbatch->Open();
    md::ui::KeepListSpelling(DBmaster_table->FieldByName(QStringLiteral("fClientCode")), DBclient);
    md::ui::GuardNumberField(DBmaster_table->FieldByName(QStringLiteral("fMoney")),
                             *cxGrid1DBTableView1->Column(QStringLiteral("fMoney")));
}

void Tfrm_orderTarget::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fMoney")).SetAsFloat(0);
}

bool Tfrm_orderTarget::pairListedElsewhere(const QString& batch, const QString& client) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int batchAt = ds.FieldByName(QStringLiteral("fBatchNo")).Index();
    const int clientAt = ds.FieldByName(QStringLiteral("fClientCode")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row) {
        if (row == current) continue;
        if (ds.valueAt(row, batchAt).toString().compare(batch, Qt::CaseInsensitive) == 0 &&
            ds.valueAt(row, clientAt).toString().compare(client, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void Tfrm_orderTarget::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const TField& batch = ds.FieldByName(QStringLiteral("fBatchNo"));
    const TField& client = ds.FieldByName(QStringLiteral("fClientCode"));
    if (batch.AsString().trimmed().isEmpty()) Refuse(kBatchMessage);
    if (client.AsString().trimmed().isEmpty()) Refuse(QStringLiteral("请选择客户编号！"));
    // A client has one target per batch: checked for new rows and changed pairs.
    const bool fresh = ds.State() == dsInsert || ds.UpdateStatus() == usInserted;
    const bool moved =
        batch.AsString().compare(batch.OldValue().toString(), Qt::CaseInsensitive) != 0 ||
        client.AsString().compare(client.OldValue().toString(), Qt::CaseInsensitive) != 0;
    if ((fresh || moved) &&
        (pairListedElsewhere(batch.AsString(), client.AsString()) ||
         md::ui::QueryReturnsRow(
             QStringLiteral("select fautoid from d_orderTarget where fbatchno=:batch and "
                            "fclientcode=:client"),
             {{QStringLiteral("batch"), batch.AsString()},
              {QStringLiteral("client"), client.AsString()}})))
        Refuse(QStringLiteral("不能录入相同重复的记录！"));
    ds.FieldByName(QStringLiteral("fInputDate")).SetAsDate(QDate::currentDate());
    ds.FieldByName(QStringLiteral("fInputuser")).SetAsString(md::Session().UserNo);
}

void Tfrm_orderTarget::fClientCodeButtonClick() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active()) return;
    const QString batch = ds.FieldByName(QStringLiteral("fBatchNo")).AsString();
    if (batch.isEmpty()) Refuse(kBatchMessage);
    const QList<TPickedClient> picked = md::ui::PickClients(this);
    if (picked.isEmpty() || !post_action->isEnabled()) return;
    // The button's cell editor has written its text; left open it would write
    // that text again into whichever row is current after the rows change.
    cxGrid1DBTableView1->CancelEditor();
    {
        TControlsDisabled still(ds);
        for (const TPickedClient& client : picked) {
            if (ds.InEditState()) {
                // A new row that has only its batch yet is the one the batch
                // came from; the picked clients' rows take its place.
                if (ds.State() == dsInsert &&
                    ds.FieldByName(QStringLiteral("fClientCode")).AsString().isEmpty())
                    ds.Cancel();
                else
                    ds.Post();
                ds.UpdateBatch();
            }
            if (ds.Locate(QStringLiteral("fBatchNo;fClientCode"), QVariantList{batch, client.fcode},
                          loCaseInsensitive))
                continue;
            ds.Append();
            ds.FieldByName(QStringLiteral("fBatchNo")).SetAsString(batch);
            ds.FieldByName(QStringLiteral("fClientCode")).SetAsString(client.fcode);
            ds.FieldByName(QStringLiteral("fMoney")).SetAsFloat(0);
            ds.Post();
            ds.UpdateBatch();
        }
    }
    UpdateActionState();
}

void Tfrm_orderTarget::batch_actionExecute() {
    md::ui::PutChosenBatch(this, QStringLiteral("d_order"), *DBmaster_table,
                           post_action->isEnabled());
    DBbatch->Close();
    DBbatch->Open();
    UpdateActionState();
}

MD_REGISTER_FORM(Tfrm_orderTarget);
