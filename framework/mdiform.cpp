#include "mdiform.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "gridexport.h"
#include "gridprint.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "session.h"

using namespace md::ui;

Tbase_frmMdi::Tbase_frmMdi(QWidget* owner) : Tbase_frm(owner) {
    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    // The master dataset's events go to the handlers forms override.
    auto call = [this](void (Tbase_frmMdi::*handler)()) {
        return [this, handler](TRemoteUdpDataSet&) { (this->*handler)(); };
    };
    DBmaster_table->AfterOpen = call(&Tbase_frmMdi::DBmaster_tableAfterOpen);
    DBmaster_table->BeforeInsert = call(&Tbase_frmMdi::DBmaster_tableBeforeInsert);
    DBmaster_table->OnNewRecord = call(&Tbase_frmMdi::DBmaster_tableNewRecord);
    DBmaster_table->AfterInsert = call(&Tbase_frmMdi::DBmaster_tableAfterInsert);
    DBmaster_table->BeforeEdit = call(&Tbase_frmMdi::DBmaster_tableBeforeEdit);
    DBmaster_table->BeforePost = call(&Tbase_frmMdi::DBmaster_tableBeforePost);
    DBmaster_table->AfterPost = call(&Tbase_frmMdi::DBmaster_tableAfterPost);
    DBmaster_table->BeforeCancel = call(&Tbase_frmMdi::DBmaster_tableBeforeCancel);
    DBmaster_table->BeforeDelete = call(&Tbase_frmMdi::DBmaster_tableBeforeDelete);
    DBmaster_table->AfterScroll = call(&Tbase_frmMdi::DBmaster_tableAfterScroll);

    QStyle* s = style();
    auto make = [this, s](const char* name, const char* caption, QStyle::StandardPixmap icon,
                          void (Tbase_frmMdi::*handler)()) {
        // 撤消 drops the open cell editor rather than writing it.
        QAction* a = NewAction(
            QString::fromLatin1(name), QString::fromUtf8(caption),
            [this, handler] { (this->*handler)(); }, handler != &Tbase_frmMdi::cacel_actionExecute);
        a->setIcon(s->standardIcon(icon));
        return a;
    };
    first_action = make("first_action", "首笔", QStyle::SP_MediaSkipBackward,
                        &Tbase_frmMdi::first_actionExecute);
    prio_action = make("prio_action", "前笔", QStyle::SP_MediaSeekBackward,
                       &Tbase_frmMdi::prio_actionExecute);
    next_action =
        make("next_action", "后笔", QStyle::SP_MediaSeekForward, &Tbase_frmMdi::next_actionExecute);
    last_action =
        make("last_action", "末笔", QStyle::SP_MediaSkipForward, &Tbase_frmMdi::last_actionExecute);
    append_action =
        make("append_action", "新增", QStyle::SP_FileIcon, &Tbase_frmMdi::append_actionExecute);
    edit_action = make("edit_action", "修改", QStyle::SP_FileDialogDetailedView,
                       &Tbase_frmMdi::edit_actionExecute);
    post_action =
        make("post_action", "保存", QStyle::SP_DialogSaveButton, &Tbase_frmMdi::post_actionExecute);
    cacel_action = make("cacel_action", "撤消", QStyle::SP_DialogCancelButton,
                        &Tbase_frmMdi::cacel_actionExecute);
    del_action = make("del_action", "删除", QStyle::SP_TrashIcon, &Tbase_frmMdi::del_actionExecute);
    find_action = make("find_action", "查找", QStyle::SP_FileDialogContentsView,
                       &Tbase_frmMdi::find_actionExecute);
    print_action = make("print_action", "打印", QStyle::SP_FileDialogInfoView,
                        &Tbase_frmMdi::print_actionExecute);
    excel_action = make("excel_action", "导出", QStyle::SP_DialogOpenButton,
                        &Tbase_frmMdi::excel_actionExecute);
    close_action = make("close_action", "关闭", QStyle::SP_DialogCloseButton,
                        &Tbase_frmMdi::close_actionExecute);
    find_action->setVisible(false);
    print_action->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(20, 20));
    ClientPanel = new QWidget(this);
    ClientPanel->setObjectName(QStringLiteral("ClientPanel"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(ToolBar1);
    layout->addWidget(ClientPanel, 1);
    layout->addWidget(StatusBar1);
    SetToolbar({first_action, prio_action, next_action, last_action, nullptr, append_action,
                edit_action, post_action, cacel_action, del_action, find_action, print_action,
                excel_action, close_action});
    resize(800, 560);
}

void Tbase_frmMdi::ShowActions(std::initializer_list<QAction*> actions) {
    for (QAction* a : actions) a->setVisible(true);
}

void Tbase_frmMdi::HideActions(std::initializer_list<QAction*> actions) {
    for (QAction* a : actions) a->setVisible(false);
}

void Tbase_frmMdi::SetToolbar(std::initializer_list<QAction*> actions) {
    ToolBar1->clear();
    for (QAction* a : actions) {
        if (a)
            ToolBar1->addAction(a);
        else
            ToolBar1->addSeparator();
    }
}

// ---------------------------------------------------------------- create, destroy

void Tbase_frmMdi::FormCreate() {
    Tbase_frm::FormCreate();
    OpenWindowCaption = windowTitle();
    m_openWindowEntry.Join(OpenWindowCaption);
    UpdateActionState();
}

void Tbase_frmMdi::FormDestroy() {
    Tbase_frm::FormDestroy();
    m_openWindowEntry.Leave();
}

void Tbase_frmMdi::showEvent(QShowEvent* event) {
    Tbase_frm::showEvent(event);
    if (m_centred) return;
    m_centred = true;
    // An MDI child opens in the middle of the host's main window.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (QMdiArea* area = frame->mdiArea()) {
            const QSize room = area->viewport()->size();
            frame->move(qMax(0, (room.width() - frame->width()) / 2),
                        qMax(0, (room.height() - frame->height()) / 2));
        }
}

// ---------------------------------------------------------------- the state rule

TRemoteUdpDataSet& Tbase_frmMdi::SourceDataSet() const {
    TRemoteUdpDataSet* ds = DbMaster_Source->DataSet();
    if (!ds) throw EDatabaseError(QStringLiteral("DbMaster_Source 没有数据集"));
    return *ds;
}

bool Tbase_frmMdi::Editing() const {
    const TDataSetState state = DbMaster_Source->State();
    return (state == dsEdit || state == dsInsert) && RightAdd;
}

void Tbase_frmMdi::UpdateActionState() {
    const bool editing = Editing();
    const TRemoteUdpDataSet* ds = DbMaster_Source->DataSet();
    const bool bof = !ds || ds->Bof();
    const bool eof = !ds || ds->Eof();
    post_action->setEnabled(editing);
    cacel_action->setEnabled(editing);
    append_action->setEnabled(!editing && RightAdd);
    edit_action->setEnabled(!editing && RightEdit);
    del_action->setEnabled(!editing && RightDelete);
    print_action->setEnabled(!editing && RightPrint);
    find_action->setEnabled(!editing);
    excel_action->setEnabled(!editing && RightExcel);
    first_action->setEnabled(!editing && !bof);
    prio_action->setEnabled(!editing && !bof);
    next_action->setEnabled(!editing && !eof);
    last_action->setEnabled(!editing && !eof);
    if (TDBTableView* view = MasterView()) view->SetInputAllowed(editing);
    StatusBar1->setEnabled(editing);
}

void Tbase_frmMdi::DBmaster_tableAfterOpen() {
    UpdateActionState();
}

// ---------------------------------------------------------------- actions

void Tbase_frmMdi::first_actionExecute() {
    SourceDataSet().First();
    UpdateActionState();
}

void Tbase_frmMdi::prio_actionExecute() {
    SourceDataSet().Prior();
    UpdateActionState();
}

void Tbase_frmMdi::next_actionExecute() {
    SourceDataSet().Next();
    UpdateActionState();
}

void Tbase_frmMdi::last_actionExecute() {
    SourceDataSet().Last();
    UpdateActionState();
}

void Tbase_frmMdi::append_actionExecute() {
    SourceDataSet().Append();
    UpdateActionState();
    WriteLog(QStringLiteral("新增"));
}

void Tbase_frmMdi::edit_actionExecute() {
    SourceDataSet().Edit();
    UpdateActionState();
    WriteLog(QStringLiteral("修改"));
}

void Tbase_frmMdi::post_actionExecute() {
    TRemoteUdpDataSet& ds = SourceDataSet();
    if (ds.InEditState()) ds.Post();
    // Every record changed since the last save goes in this one batch.
    DBmaster_table->UpdateBatch();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

TMasterDetailLink* Tbase_frmMdi::LinkDetail(TRemoteUdpDataSet* detail,
                                            QList<TMasterDetailLink::FieldPair> pairs,
                                            TRemoteUdpDataSet* master) {
    auto* link =
        new TMasterDetailLink(master ? master : DBmaster_table, detail, std::move(pairs), this);
    m_detailLinks << link;
    return link;
}

void Tbase_frmMdi::SaveRecordAndDetails() {
    TRemoteUdpConnection* connection = DBmaster_table->SetupUdpParent();
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    {
        TTransactionScope transaction(*connection);
        DBmaster_table->UpdateBatch();
        for (TMasterDetailLink* link : std::as_const(m_detailLinks))
            if (link->phase == TMasterDetailLink::SavePhase::WithMaster) link->ApplyUpdates();
        transaction.commit();
    }
    AfterDetailsCommitted();
    for (TMasterDetailLink* link : std::as_const(m_detailLinks))
        if (link->phase == TMasterDetailLink::SavePhase::AfterCommit) link->ApplyUpdates();
}

void Tbase_frmMdi::CancelDetails() {
    for (TMasterDetailLink* link : std::as_const(m_detailLinks)) link->CancelUpdates();
}

void Tbase_frmMdi::cacel_actionExecute() {
    if (!AskYesNo(QStringLiteral("是否确认撤消本次修改？"))) Abort();
    TRemoteUdpDataSet& ds = SourceDataSet();
    if (TDBTableView* view = MasterView()) view->CancelEditor();
    if (ds.InEditState()) ds.Cancel();
    DBmaster_table->CancelUpdates();
    UpdateActionState();
    WriteLog(QStringLiteral("撤消"));
}

void Tbase_frmMdi::del_actionExecute() {
    // The state rule leaves 删除 enabled on an empty list: nothing to ask about.
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    if (!AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    DBmaster_table->Delete();
    DBmaster_table->UpdateBatch();
    UpdateActionState();
    WriteLog(QStringLiteral("删除"));
}

void Tbase_frmMdi::find_actionExecute() {
    if (TDBTableView* view = MasterView()) view->ShowFilterBuilder();
    UpdateActionState();
}

IReportSource* Tbase_frmMdi::ReportSource() const {
    return MasterView();
}

void Tbase_frmMdi::print_actionExecute() {
    if (IReportSource* source = ReportSource()) PrintPreview(*source, windowTitle(), this);
    UpdateActionState();
    WriteLog(QStringLiteral("打印"));
}

QFileDialog* Tbase_frmMdi::SaveDialog1() {
    if (!m_saveDialog) m_saveDialog = MakeExportDialog(this, QStringLiteral("SaveDialog1"));
    return m_saveDialog;
}

void Tbase_frmMdi::excel_actionExecute() {
    IReportSource* source = ReportSource();
    if (!source) return;
    QFileDialog* dialog = SaveDialog1();
    if (ExecModal(*dialog) != QDialog::Accepted) return;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return;
    ExportToXlsx(*source, files.first());
    OpenWithDesktop(files.first());
    UpdateActionState();
    WriteLog(QStringLiteral("导出"));
}

void Tbase_frmMdi::close_actionExecute() {
    Close();
}
