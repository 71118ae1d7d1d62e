#include "treeeditor.h"

#include <QAction>
#include <QFormLayout>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "gridprint.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "treelist.h"

using namespace md::ui;

Tbase_frmMditree::Tbase_frmMditree(QWidget* owner) : Tbase_frmMdi(owner) {
    DbMaster_Source->SetAutoEdit(false);
    DBtmp_table = new TRemoteUdpDataSet(QStringLiteral("DBtmp_table"), this);
    DBtmp_table->SetLockType(etOptimistic);

    insert_action = NewAction(QStringLiteral("insert_action"), QStringLiteral("新增同级"),
                              [this] { insert_actionExecute(); });
    insert_action->setIcon(style()->standardIcon(QStyle::SP_FileLinkIcon));
    append_action->setText(QStringLiteral("新增下级"));
    HideActions({first_action, prio_action, next_action, last_action, find_action});
    SetToolbar({insert_action, append_action, edit_action, post_action, cacel_action, del_action,
                print_action, excel_action, close_action});

    RzSplitter1 = new QSplitter(Qt::Horizontal, ClientPanel);
    RzSplitter1->setObjectName(QStringLiteral("RzSplitter1"));
    RzPanel1 = new QWidget(RzSplitter1);
    RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    RzPanel2 = new QWidget(RzSplitter1);
    RzPanel2->setObjectName(QStringLiteral("RzPanel2"));
    auto* clientLayout = new QVBoxLayout(ClientPanel);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->addWidget(RzSplitter1);

    auto* treeLayout = new QVBoxLayout(RzPanel1);
    treeLayout->setContentsMargins(2, 2, 2, 2);
    dxDBTreeList1 = new TDBTreeList(RzPanel1);
    treeLayout->addWidget(dxDBTreeList1);
    dxDBTreeList1->setDataSource(DbMaster_Source);

    auto* panelLayout = new QVBoxLayout(RzPanel2);
    m_editorLayout = new QFormLayout;
    m_editorLayout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panelLayout->addLayout(m_editorLayout);
    panelLayout->addStretch();
    RzSplitter1->setStretchFactor(0, 2);
    RzSplitter1->setStretchFactor(1, 3);
}

// ---------------------------------------------------------------- editing panel

void Tbase_frmMditree::AddEditor(const QString& label, QWidget* editor) {
    editor->setParent(RzPanel2);
    if (label.isEmpty())
        m_editorLayout->addRow(editor);
    else
        m_editorLayout->addRow(new QLabel(label, RzPanel2), editor);
}

TDBEdit& Tbase_frmMditree::AddEdit(const QString& label, const QString& field, bool upperCase) {
    auto* edit = new TDBEdit(DbMaster_Source, field, RzPanel2);
    edit->SetUpperCase(upperCase);
    AddEditor(label, edit);
    if (field.compare(TreeRules.CodeField, Qt::CaseInsensitive) == 0) CodeEditor = edit;
    if (field.compare(TreeRules.NameField, Qt::CaseInsensitive) == 0) NameEditor = edit;
    return *edit;
}

TDBMemo& Tbase_frmMditree::AddMemo(const QString& label, const QString& field) {
    auto* memo = new TDBMemo(DbMaster_Source, field, RzPanel2);
    memo->setMaximumHeight(90);
    AddEditor(label, memo);
    return *memo;
}

TDBCheckBox& Tbase_frmMditree::AddCheckBox(const QString& caption, const QString& field) {
    auto* box = new TDBCheckBox(caption, DbMaster_Source, field, RzPanel2);
    AddEditor(QString(), box);
    return *box;
}

TDBComboBox& Tbase_frmMditree::AddComboBox(const QString& label, const QString& field,
                                           const QStringList& items, bool freeText) {
    auto* combo = new TDBComboBox(DbMaster_Source, field, items, freeText, RzPanel2);
    AddEditor(label, combo);
    return *combo;
}

TDBDateEdit& Tbase_frmMditree::AddDateEdit(const QString& label, const QString& field) {
    auto* edit = new TDBDateEdit(DbMaster_Source, field, RzPanel2);
    AddEditor(label, edit);
    return *edit;
}

TDBLookupComboBox& Tbase_frmMditree::AddLookup(const QString& label, const QString& field,
                                               TRemoteUdpDataSet* list, const QString& keyField,
                                               const QStringList& shownFields,
                                               const QStringList& shownCaptions) {
    auto* combo = new TDBLookupComboBox(DbMaster_Source, field, RzPanel2);
    combo->setList(list, keyField, shownFields, shownCaptions);
    AddEditor(label, combo);
    return *combo;
}

// ---------------------------------------------------------------- state

void Tbase_frmMditree::UpdateActionState() {
    const bool editing = Editing();
    post_action->setEnabled(editing);
    cacel_action->setEnabled(editing);
    append_action->setEnabled(!editing && RightAdd);
    insert_action->setEnabled(append_action->isEnabled());
    edit_action->setEnabled(!editing && RightEdit);
    del_action->setEnabled(!editing && RightDelete);
    print_action->setEnabled(!editing && RightPrint);
    excel_action->setEnabled(!editing && RightExcel);
}

void Tbase_frmMditree::FormShow() {
    Tbase_frmMdi::FormShow();
    dxDBTreeList1->FullExpand();
}

void Tbase_frmMditree::EndEditing() {
    dxDBTreeList1->setEnabled(true);
    if (CodeEditor) CodeEditor->setEnabled(true);
}

void Tbase_frmMditree::ReturnToLastRecNo() {
    TRemoteUdpDataSet& ds = SourceDataSet();
    if (LastRecNo > 0 && ds.RecordCount() > 0) ds.SetRecNo(qMin(LastRecNo, ds.RecordCount()));
}

void Tbase_frmMditree::DBmaster_tableAfterOpen() {
    EndEditing();
    Tbase_frmMdi::DBmaster_tableAfterOpen();
}

void Tbase_frmMditree::DBmaster_tableBeforeInsert() {
    if (CodeEditor) CodeEditor->setEnabled(true);
    dxDBTreeList1->setEnabled(false);
}

void Tbase_frmMditree::DBmaster_tableBeforeEdit() {
    // A saved code cannot change.
    if (CodeEditor) CodeEditor->setEnabled(false);
    dxDBTreeList1->setEnabled(false);
}

QString Tbase_frmMditree::typedCode() const {
    if (auto* edit = qobject_cast<TDBEdit*>(CodeEditor)) return edit->text();
    const TField* f = DBmaster_table->FindField(TreeRules.CodeField);
    return f ? f->AsString() : QString();
}

void Tbase_frmMditree::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!TreeRules.EmptyNameMessage.isEmpty() &&
        ds.FieldByName(TreeRules.NameField).AsString().trimmed().isEmpty())
        Refuse(TreeRules.EmptyNameMessage);
    if (!TreeRules.EmptyCodeMessage.isEmpty() &&
        ds.FieldByName(TreeRules.CodeField).AsString().trimmed().isEmpty())
        Refuse(TreeRules.EmptyCodeMessage);
    if (ds.State() == dsInsert && TreeRules.DuplicateQuery &&
        !TreeRules.DuplicateCodeMessage.isEmpty()) {
        md::OpenQuery(*DBtmp_table, TreeRules.DuplicateQuery(typedCode()));
        if (!DBtmp_table->IsEmpty()) Refuse(TreeRules.DuplicateCodeMessage);
    }
}

// ---------------------------------------------------------------- actions

void Tbase_frmMditree::rememberLast() {
    TRemoteUdpDataSet& ds = SourceDataSet();
    const bool any = ds.Active() && !ds.IsEmpty();
    LastCode = any ? ds.FieldByName(TreeRules.CodeField).AsString() : QString();
    LastParentCode = any ? ds.FieldByName(TreeRules.ParentField).AsString() : QString();
    if (any) LastRecNo = ds.RecNo();
}

void Tbase_frmMditree::SetNewParentCode(bool child) {
    if (!TreeRules.ParentQuery) return;
    md::OpenQuery(*DBtmp_table, TreeRules.ParentQuery(LastParentCode));
    const bool noParentRow = DBtmp_table->IsEmpty() ||
                             DBtmp_table->FieldByName(TreeRules.ParentField).AsString().isEmpty();
    const QString parent = noParentRow ? QStringLiteral("0") : child ? LastCode : LastParentCode;
    SourceDataSet().FieldByName(TreeRules.ParentField).SetAsString(parent);
    if (TreeRules.MoveFocus && CodeEditor) CodeEditor->setFocus();
}

void Tbase_frmMditree::newRecord(bool child) {
    TRemoteUdpDataSet& ds = SourceDataSet();
    rememberLast();
    ds.Insert();
    // The new code starts as the current one; the user overwrites it.
    ds.FieldByName(TreeRules.CodeField).SetAsString(LastCode);
    SetNewParentCode(child);
    UpdateActionState();
    WriteLog(QStringLiteral("新增"));
}

void Tbase_frmMditree::insert_actionExecute() {
    newRecord(false);
}

void Tbase_frmMditree::append_actionExecute() {
    newRecord(true);
}

void Tbase_frmMditree::edit_actionExecute() {
    TRemoteUdpDataSet& ds = SourceDataSet();
    if (ds.RecordCount() > 0) LastRecNo = ds.RecNo();
    ds.Edit();
    if (TreeRules.MoveFocus && NameEditor) NameEditor->setFocus();
    UpdateActionState();
    WriteLog(QStringLiteral("修改"));
}

void Tbase_frmMditree::post_actionExecute() {
    TRemoteUdpDataSet& ds = SourceDataSet();
    const bool wasNew = ds.State() == dsInsert;
    if (ds.InEditState()) ds.Post();
    if (wasNew) ++LastRecNo;
    // A failed batch leaves the tree disabled until a save succeeds or cancel.
    DBmaster_table->UpdateBatch();
    EndEditing();
    ReturnToLastRecNo();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tbase_frmMditree::cacel_actionExecute() {
    if (!AskYesNo(QStringLiteral("是否确认撤消本次修改？"))) Abort();
    TRemoteUdpDataSet& ds = SourceDataSet();
    if (ds.InEditState()) ds.Cancel();
    DBmaster_table->CancelUpdates();
    EndEditing();
    ReturnToLastRecNo();
    UpdateActionState();
    WriteLog(QStringLiteral("撤消"));
}

void Tbase_frmMditree::del_actionExecute() {
    if (!AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    DBmaster_table->Delete();
    DBmaster_table->UpdateBatch();
    EndEditing();
    UpdateActionState();
    WriteLog(QStringLiteral("删除"));
}

IReportSource* Tbase_frmMditree::ReportSource() const {
    return dxDBTreeList1;
}

void Tbase_frmMditree::print_actionExecute() {
    if (IReportSource* source = ReportSource()) PrintPreview(*source, windowTitle(), this);
    UpdateActionState();
    WriteLog(QStringLiteral("打印"));
}

void Tbase_frmMditree::excel_actionExecute() {
    // The tree has no export of its own; forms that offer one override this.
    WriteLog(QStringLiteral("导出"));
}
