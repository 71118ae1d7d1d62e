#include "clientterms.h"

#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "treelist.h"

using md::ui::Refuse;

void md::ui::KeepListSpelling(TField& field, TRemoteUdpDataSet* list, const QString& keyField) {
    field.OnChange = [list, keyField](TField& code) {
        if (code.IsNull() || !list->Active()) return;
        const QVariant listed = list->Lookup(keyField, code.AsString(), keyField);
        if (!listed.isNull() && listed.toString() != code.AsString())
            code.SetAsString(listed.toString());
    };
}

std::function<QString(const QString&)> md::ui::ListedCodeCheck(TRemoteUdpDataSet* list,
                                                               const QString& message) {
    return [list, message](const QString& text) {
        const QString typed = text.trimmed();
        if (typed.isEmpty() || !list->Active()) return QString();
        // Looked up without moving: a tree may follow the list's current row.
        const bool listed =
            !list->Lookup(QStringLiteral("fcode"), typed, QStringLiteral("fcode")).isNull();
        return listed ? QString() : message;
    };
}

void md::ui::AddClientLookupColumns(TDBTableView& view, TRemoteUdpDataSet& rows,
                                    const QString& codeField, TRemoteUdpDataSet* clients) {
    const struct {
        const char* field;
        const char* caption;
        int width;
    } lookups[] = {
        {"fabbrev", "客户简称", 100}, {"fmathod", "客户性质", 64}, {"fgrad", "客户等级", 72}};
    for (const auto& l : lookups) {
        const QString field = QString::fromLatin1(l.field);
        rows.AddLookupField(field, codeField, clients, QStringLiteral("fcode"), field, ftString,
                            50);
        view.AddColumn(field, QString::fromUtf8(l.caption)).width(l.width).readOnly();
    }
}

Tbase_frmClientTerms::Tbase_frmClientTerms(QWidget* owner) : Tbase_frmMditree(owner) {
    DBclient = new TRemoteUdpDataSet(QStringLiteral("DBclient"), this);
    DBclient->SetLockType(etOptimistic);
    DBclient->SetSQL(ClientListSQL());
    DsClient = new TDataSource(QStringLiteral("DsClient"), this);
    DsClient->setDataSet(DBclient);
    DBclient->AfterScroll = [this](TRemoteUdpDataSet& clients) {
        const QString code = clients.FieldByName(QStringLiteral("fcode")).AsString();
        Run([this, code] { ClientChosen(code); });
    };

    // The grid takes the typing while the record editor is editing.
    DbMaster_Source->SetAutoEdit(true);
    cxGrid1 = new TDBGrid(RzPanel2, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    static_cast<QVBoxLayout*>(RzPanel2->layout())->insertWidget(0, cxGrid1, 1);
    RzPanel2->layout()->setContentsMargins(0, 2, 2, 2);
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->Options().Footer = true;
    v->ApplyOptions();
    v->SetInputAllowed(false);

    ShowClientsInTree(DsClient);
    // Codes sit indented by their level: the code column is the wider.
    dxDBTreeList1->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(150);
    dxDBTreeList1->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("简称")).width(100);
    append_action->setText(QStringLiteral("新增"));
    HideActions({insert_action});
    RzSplitter1->setStretchFactor(0, 0);
    RzSplitter1->setStretchFactor(1, 1);
    RzSplitter1->setSizes({260, 740});
}

QString Tbase_frmClientTerms::ClientListSQL() {
    return QStringLiteral(
        "select a.fid,a.fparentid,a.fcode,a.fabbrev,a.fmathod,a.fgrad,a.fprice_type,a.fareacode,"
        "b.fname as fareaname from dt_client a left join ba_area b on a.fareacode=b.fcode");
}

QString Tbase_frmClientTerms::UnknownClientMessage() {
    return QStringLiteral("客户编号输入有误,请重新录入!");
}

void Tbase_frmClientTerms::ShowClientsInTree(TDataSource* source) {
    dxDBTreeList1->setDataSource(source);
    dxDBTreeList1->SetKeyField(QStringLiteral("fid"));
    dxDBTreeList1->SetParentField(QStringLiteral("fparentid"));
}

TGridColumn& Tbase_frmClientTerms::AddClientColumns(const QString& codeField,
                                                    const QStringList& listFields,
                                                    const QStringList& listCaptions) {
    m_clientField = codeField;
    TDBTableView* v = cxGrid1DBTableView1;
    TGridColumn& code = v->AddColumn(codeField, QStringLiteral("客户编号"))
                            .width(90)
                            .lookup(DBclient, QStringLiteral("fcode"), listFields, listCaptions)
                            .inputCheck(md::ui::ListedCodeCheck(DBclient, UnknownClientMessage()));
    md::ui::AddClientLookupColumns(*v, *DBmaster_table, codeField, DBclient);
    return code;
}

void Tbase_frmClientTerms::ApplyDiscountCaptions(TDBTableView& view, int firstColumn,
                                                 const QString& sql) {
    TRemoteUdpDataSet rows;
    md::OpenQuery(rows, sql);
    int i = 0;
    for (rows.First(); !rows.Eof(); rows.Next(), ++i) {
        const QString expected = QStringLiteral("discount") + QString::number(i + 1);
        if (rows.FieldByName(QStringLiteral("fname")).AsString().toUpper() != expected.toUpper())
            continue;
        const int at = firstColumn + i;
        if (at >= view.Columns().size()) continue;
        TGridColumn& column = *view.Columns().at(at);
        column.visible(rows.FieldByName(QStringLiteral("visiblebit")).AsBoolean());
        column.caption(rows.FieldByName(QStringLiteral("fFieldremark")).AsString().trimmed());
    }
}

void Tbase_frmClientTerms::ClientChosen(const QString& code) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (m_clientField.isEmpty() || !ds.Active() || ds.InEditState() || code.isEmpty()) return;
    if (!ds.IsEmpty() &&
        ds.FieldByName(m_clientField).AsString().compare(code, Qt::CaseInsensitive) == 0)
        return;
    ds.Locate(m_clientField, code, loCaseInsensitive);
}

void Tbase_frmClientTerms::DBmaster_tableAfterOpen() {
    Tbase_frmMditree::DBmaster_tableAfterOpen();
    if (m_clientField.isEmpty()) return;
    md::ui::KeepListSpelling(DBmaster_table->FieldByName(m_clientField), DBclient);
}

bool Tbase_frmClientTerms::IsNewRow() const {
    return DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
}

// ---------------------------------------------------------------- actions

void Tbase_frmClientTerms::append_actionExecute() {
    DBmaster_table->Append();
    UpdateActionState();
    cxGrid1DBTableView1->setFocus();
    WriteLog(QStringLiteral("新增"));
}

void Tbase_frmClientTerms::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    // A failed batch keeps the changes cached and the window editing.
    ds.UpdateBatch();
    EndEditing();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tbase_frmClientTerms::cacel_actionExecute() {
    if (!md::ui::AskYesNo(QStringLiteral("是否确认撤消本次修改？"))) Abort();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    cxGrid1DBTableView1->CancelEditor();
    if (ds.InEditState()) ds.Cancel();
    ds.CancelUpdates();
    EndEditing();
    UpdateActionState();
    WriteLog(QStringLiteral("撤消"));
}

void Tbase_frmClientTerms::del_actionExecute() {
    // Nothing to ask about in an empty list.
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    Tbase_frmMditree::del_actionExecute();
}

void Tbase_frmClientTerms::excel_actionExecute() {
    Tbase_frmMditree::excel_actionExecute();
    Tbase_frmMdi::excel_actionExecute();
}

void Tbase_frmClientTerms::UpdateActionState() {
    Tbase_frmMditree::UpdateActionState();
    const bool editing = Editing();
    cxGrid1DBTableView1->SetInputAllowed(editing);
    StatusBar1->setEnabled(editing);
}

TDBTableView* Tbase_frmClientTerms::MasterView() const {
    return cxGrid1DBTableView1;
}

IReportSource* Tbase_frmClientTerms::ReportSource() const {
    return cxGrid1DBTableView1;
}
