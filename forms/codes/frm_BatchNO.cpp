#include "frm_BatchNO.h"

#include <QApplication>
#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "datasource.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "styles.h"

using md::ui::Refuse;

Tfrm_BatchNO::Tfrm_BatchNO(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_BatchNO"));
    setWindowTitle(QStringLiteral("批号管理"));
    // The caller reads the chosen row after the dialog ends.
    KeepOnClose();

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetLockType(etBatchOptimistic);
    DBmaster_table->SetSQL(
        QStringLiteral("select * from ba_BatchInfo where ftablename=:ftablename order by fdate"));
    DBmaster_table->OnNewRecord = [this](TRemoteUdpDataSet&) { DBmaster_tableNewRecord(); };
    DBmaster_table->BeforePost = [this](TRemoteUdpDataSet&) { DBmaster_tableBeforePost(); };
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);
    connect(DbMaster_Source, &TDataSource::stateChanged, this, [this] { UpdateButtons(); });

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fBatchName"), QStringLiteral("批号")).width(110);
    v->AddColumn(QStringLiteral("fDate"), QStringLiteral("批号日期")).width(100).date();
    v->AddColumn(QStringLiteral("fType"), QStringLiteral("批号类别")).width(110);
    v->AddColumn(QStringLiteral("fRemark"), QStringLiteral("备注")).width(220);
    v->AddColumn(QStringLiteral("fFlag"), QStringLiteral("完成否")).width(60).checkBox();
    // Rows come and go only through the buttons.
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);

    Label_hint = new QLabel(QStringLiteral("F2 新增    F4 删除"), this);
    Label_hint->setObjectName(QStringLiteral("Label_hint"));

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    But_Add = button("But_Add", "新增");
    But_Edit = button("But_Edit", "修改");
    But_Del = button("But_Del", "删除");
    But_Save = button("But_Save", "保存");
    But_Cancel = button("But_Cancel", "取消");
    But_OK = button("But_OK", "确定");
    But_Close = button("But_Close", "关闭");
    OnClick(But_Add, [this] { But_AddClick(); });
    OnClick(But_Edit, [this] { But_EditClick(); });
    OnClick(But_Del, [this] { But_DelClick(); });
    OnClick(But_Save, [this] { But_SaveClick(); });
    OnClick(But_OK, [this] { But_OKClick(); });
    // 取消 and 关闭 drop what is being typed rather than writing it first.
    connect(But_Cancel, &QPushButton::clicked, this,
            [this] { Run([this] { But_CancelClick(); }); });
    connect(But_Close, &QPushButton::clicked, this, [this] { Run([this] { But_CloseClick(); }); });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {But_Add, But_Edit, But_Del, But_Save, But_Cancel}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    layout->addWidget(Label_hint);
    layout->addLayout(buttons);
    resize(660, 400);
    UpdateButtons();
}

void Tfrm_BatchNO::FormCreate() {
    Tbase_frmTop::FormCreate();
    // The grid takes the shared style dmStyle1, the buttons the shared colour.
    md::ui::ApplySharedColours(this);
    UpdateButtons();
}

void Tfrm_BatchNO::OpenForTable(const QString& tableName) {
    m_tableName = tableName;
    DBmaster_table->Close();
    DBmaster_table->ParamByName(QStringLiteral("ftablename")).SetAsString(tableName);
    DBmaster_table->Open();
    UpdateButtons();
}

QString Tfrm_BatchNO::BatchName() const {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return QString();
    return DBmaster_table->FieldByName(QStringLiteral("fBatchName")).AsString();
}

bool Tfrm_BatchNO::Editing() const {
    return DBmaster_table->Active() && DBmaster_table->InEditState();
}

void Tfrm_BatchNO::UpdateButtons() {
    const bool open = DBmaster_table->Active();
    const bool editing = Editing();
    // A record left by moving to another row waits in the cache: it can still
    // be saved or dropped.
    const bool unsaved = editing || (open && DBmaster_table->UpdatesPending());
    But_Save->setEnabled(unsaved);
    But_Cancel->setEnabled(unsaved);
    But_Add->setEnabled(open && !editing);
    But_Edit->setEnabled(open && !editing);
    But_Del->setEnabled(open && !editing);
}

void Tfrm_BatchNO::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fdate")).SetAsDate(QDate::currentDate());
}

void Tfrm_BatchNO::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fBatchName")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("批号不能为空!"));
    ds.FieldByName(QStringLiteral("fTableName")).SetAsString(m_tableName);
    ds.FieldByName(QStringLiteral("fInputdate")).SetAsDate(QDate::currentDate());
    ds.FieldByName(QStringLiteral("fInputUser")).SetAsString(md::Session().UserNo);
}

void Tfrm_BatchNO::But_AddClick() {
    DBmaster_table->Append();
    UpdateButtons();
    cxGrid1DBTableView1->setFocus();
}

void Tfrm_BatchNO::But_EditClick() {
    if (DBmaster_table->IsEmpty()) Abort();
    DBmaster_table->Edit();
    UpdateButtons();
    cxGrid1DBTableView1->setFocus();
}

void Tfrm_BatchNO::But_DelClick() {
    // Nothing to ask about on an empty list.
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除?"))) Abort();
    DBmaster_table->Delete();
    DBmaster_table->UpdateBatch();
    UpdateButtons();
}

void Tfrm_BatchNO::But_SaveClick() {
    if (Editing()) DBmaster_table->Post();
    DBmaster_table->UpdateBatch();
    UpdateButtons();
}

void Tfrm_BatchNO::But_CancelClick() {
    if (!DBmaster_table->Active()) return;
    if (!Editing() && !DBmaster_table->UpdatesPending()) return;
    if (!md::ui::AskYesNo(QStringLiteral("是否确认放弃此次编辑的内容?"))) Abort();
    cxGrid1DBTableView1->CancelEditor();
    if (Editing()) DBmaster_table->Cancel();
    DBmaster_table->CancelUpdates();
    UpdateButtons();
}

void Tfrm_BatchNO::But_OKClick() {
    if (Editing()) DBmaster_table->Post();
    // Nothing changed, nothing sent.
    if (DBmaster_table->Active() && DBmaster_table->UpdatesPending()) DBmaster_table->UpdateBatch();
    UpdateButtons();
    done(QDialog::Accepted);
}

void Tfrm_BatchNO::But_CloseClick() {
    cxGrid1DBTableView1->CancelEditor();
    if (Editing()) DBmaster_table->Cancel();
    if (DBmaster_table->Active()) DBmaster_table->CancelUpdates();
    UpdateButtons();
    done(QDialog::Rejected);
}

void Tfrm_BatchNO::reject() {
    Run([this] { But_CloseClick(); });
}

bool Tfrm_BatchNO::FormKeyPress(QKeyEvent& event) {
    if (event.modifiers() == Qt::NoModifier &&
        (event.key() == Qt::Key_F2 || event.key() == Qt::Key_F4)) {
        QPushButton* target = event.key() == Qt::Key_F2 ? But_Add : But_Del;
        // The key does what its button does, when the button can be pressed.
        if (target->isEnabled())
            Run([&] {
                PostPendingEdits();
                target == But_Add ? But_AddClick() : But_DelClick();
            });
        return true;
    }
    // Enter inside the grid moves between its cells, not to the next control.
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == cxGrid1 || cxGrid1->isAncestorOf(focus))) return false;
    return Tbase_frmTop::FormKeyPress(event);
}

namespace md::ui {

std::optional<QString> ChooseBatch(QWidget* owner, const QString& tableName) {
    // The dialog is made for this one choice and forgotten after it.
    std::unique_ptr<Tfrm_BatchNO> dialog(CreateForm<Tfrm_BatchNO>(owner));
    dialog->OpenForTable(tableName);
    if (ExecModal(*dialog) != QDialog::Accepted) return std::nullopt;
    if (dialog->DBmaster_table->IsEmpty()) return std::nullopt;
    return dialog->BatchName();
}

bool PutChosenBatch(QWidget* owner, const QString& tableName, TRemoteUdpDataSet& record,
                    bool editing, const QString& field) {
    const std::optional<QString> batch = ChooseBatch(owner, tableName);
    if (!batch || !editing) return false;
    if (!record.InEditState()) record.Append();
    record.FieldByName(field).SetAsString(*batch);
    return true;
}

}  // namespace md::ui
