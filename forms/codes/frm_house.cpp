#include "frm_house.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "frm_area.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "sqlquote.h"
#include "treelookup.h"

using md::ui::Refuse;

Tfrm_house::Tfrm_house(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("仓库资料"));
    DBmaster_table->SetSQL(QStringLiteral("select * from dt_house"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    // The detail page's editors take input only after "新增" or "修改".
    DbMaster_Source->SetAutoEdit(false);
    DBarea = new TRemoteUdpDataSet(QStringLiteral("DBarea"), this);

    // The list page takes the place of the record editor's own grid.
    cxGrid1->hide();
    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ClientPanel->layout()->addWidget(PageControl1);
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("详细说明"));
    buildListPage();
    buildDetailPage();
    resize(760, 480);
}

void Tfrm_house::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    GridList = new TDBGrid(TabList, QStringLiteral("GridList"), QStringLiteral("GridListView"));
    GridListView = GridList->View();
    GridListView->setDataSource(DbMaster_Source);
    TDBTableView* v = GridListView;
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("仓库编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("仓库名称")).width(140).readOnly();
    v->AddColumn(QStringLiteral("keyman"), QStringLiteral("联系人")).width(80).readOnly();
    v->AddColumn(QStringLiteral("tel1"), QStringLiteral("联系电话1")).width(110).readOnly();
    v->AddColumn(QStringLiteral("tel2"), QStringLiteral("联系电话2")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fax"), QStringLiteral("传真")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fAreacode"), QStringLiteral("地区代号")).width(80).readOnly();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    layout->addWidget(GridList);
    connect(v, &QAbstractItemView::doubleClicked, this, [this] {
        Run([this] {
            if (DBmaster_table->Active()) ShowDetailPage();
        });
    });
}

void Tfrm_house::buildDetailPage() {
    auto* layout = new QVBoxLayout(TabDetail);
    layout->setContentsMargins(12, 12, 12, 12);
    DetailPanel = new TFieldPanel(DbMaster_Source, 2, TabDetail);
    TFieldPanel* p = DetailPanel;
    CodeEditor = &p->AddEdit(QStringLiteral("仓库编号："), QStringLiteral("fcode"));
    connect(CodeEditor, &QLineEdit::editingFinished, this,
            [this] { Run([this] { CodeEditorExit(); }); });
    NameEditor = &p->AddEdit(QStringLiteral("仓库名称："), QStringLiteral("fname"));
    p->AddEdit(QStringLiteral("联系人："), QStringLiteral("keyman"));
    TypeCombo = new TDBComboBox(
        DbMaster_Source, QStringLiteral("typeid"),
        {QStringLiteral("成品仓"), QStringLiteral("物料仓"), QStringLiteral("废品仓")}, false);
    p->AddEditor(QStringLiteral("仓库属性："), TypeCombo, QStringLiteral("typeid"));
    p->AddEdit(QStringLiteral("联系电话1："), QStringLiteral("tel1"));
    p->AddEdit(QStringLiteral("联系电话2："), QStringLiteral("tel2"));
    p->AddEdit(QStringLiteral("传真号码："), QStringLiteral("fax"));

    auto* area = new QWidget;
    auto* areaRow = new QHBoxLayout(area);
    areaRow->setContentsMargins(0, 0, 0, 0);
    areaRow->setSpacing(2);
    AreaLookup = new TDBTreeLookupCombo(DbMaster_Source, QStringLiteral("fAreacode"), area);
    But_Area = new QToolButton(area);
    But_Area->setObjectName(QStringLiteral("But_Area"));
    But_Area->setText(QStringLiteral("..."));
    But_Area->setToolTip(QStringLiteral("地区资料编辑"));
    OnClick(But_Area, [this] { But_AreaClick(); });
    areaRow->addWidget(AreaLookup, 1);
    areaRow->addWidget(But_Area);
    p->AddEditor(QStringLiteral("所属地区："), area, QStringLiteral("fAreacode"));

    p->AddEdit(QStringLiteral("地址："), QStringLiteral("addres"), true);
    HeadCheck = &p->AddCheckBox(QStringLiteral("是否总仓"), QStringLiteral("strat_bit"));
    p->AddMemo(QStringLiteral("备注："), QStringLiteral("remark"));
    layout->addWidget(DetailPanel);
    layout->addStretch(1);
}

// ---------------------------------------------------------------- create, show, keys

void Tfrm_house::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    loadRegions();
    DBmaster_table->Open();
}

void Tfrm_house::FormShow() {
    Tbase_frmDictMdi::FormShow();
    ShowListPage();
}

bool Tfrm_house::FormKeyPress(QKeyEvent& event) {
    // On the list page Enter is the grid's.
    if (PageControl1->currentWidget() == TabDetail && FocusNextOnEnter(event)) return true;
    return Tbase_frmDictMdi::FormKeyPress(event);
}

void Tfrm_house::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_house::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

void Tfrm_house::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    // The list stays on the record being edited until it is saved or dropped.
    GridList->setEnabled(!DBmaster_table->InEditState());
}

IReportSource* Tfrm_house::ReportSource() const {
    return GridListView;
}

// ---------------------------------------------------------------- regions

void Tfrm_house::loadRegions() {
    md::OpenQuery(*DBarea, QStringLiteral("select * from ba_area"));
    AreaLookup->setList(DBarea, QStringLiteral("fCode"), QStringLiteral("fName"),
                        QStringLiteral("fParentCode"));
}

void Tfrm_house::But_AreaClick() {
    QPointer<Tfrm_Area> regions = md::ui::CreateForm<Tfrm_Area>(this);
    md::ui::ExecModal(*regions);
    if (regions) regions->deleteLater();
    loadRegions();
}

// ---------------------------------------------------------------- record

void Tfrm_house::append_actionExecute() {
    Tbase_frmDictMdi::append_actionExecute();
    ShowDetailPage();
    CodeEditor->setFocus();
}

void Tfrm_house::edit_actionExecute() {
    Tbase_frmDictMdi::edit_actionExecute();
    ShowDetailPage();
}

bool Tfrm_house::codeTaken(const QString& code) const {
    if (code.isEmpty()) return false;
    // A saved warehouse keeping its code is no duplicate of itself; one renamed
    // onto another's code is, like a new one.
    const TField& field = DBmaster_table->FieldByName(QStringLiteral("fcode"));
    const bool fresh =
        DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
    if (!fresh && code.compare(field.OldValue().toString(), Qt::CaseInsensitive) == 0) return false;
    return md::ui::QueryReturnsRow(
        QStringLiteral("select top 1 fcode from dt_house where fcode='") + SqlText(code) +
        QStringLiteral("'"));
}

void Tfrm_house::CodeEditorExit() {
    // The editor writes every key into the field; the code is judged once it
    // is complete, when the editor is left.
    if (!DBmaster_table->Active() || !DBmaster_table->InEditState()) return;
    TField& field = DBmaster_table->FieldByName(QStringLiteral("fcode"));
    if (!codeTaken(field.AsString())) return;
    const bool fresh =
        DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
    field.SetValue(fresh ? QVariant() : field.OldValue());
    CodeEditor->setFocus();
    Refuse(QStringLiteral("此仓库编号已存在，请重新录入！"));
}

void Tfrm_house::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("strat_bit")).SetAsBoolean(false);
    TRemoteUdpDataSet key;
    md::OpenQuery(key, QStringLiteral("select top 1 * from dbo.V_GetPassWord12"));
    if (!key.IsEmpty())
        DBmaster_table->FieldByName(QStringLiteral("fid")).SetAsString(key.Fields(0).AsString());
}

void Tfrm_house::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("fcode")).AsString().isEmpty())
        Refuse(QStringLiteral("仓库编号不能为空！"));
    if (DBmaster_table->FieldByName(QStringLiteral("fname")).AsString().isEmpty())
        Refuse(QStringLiteral("仓库名称不能为空！"));
    // Saved straight from the code editor, the code was not judged on leaving it.
    if (codeTaken(DBmaster_table->FieldByName(QStringLiteral("fcode")).AsString()))
        Refuse(QStringLiteral("此仓库编号已存在，请重新录入！"));
}

void Tfrm_house::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    const bool head = !ds.IsEmpty() && ds.FieldByName(QStringLiteral("strat_bit")).AsBoolean();
    const QString code = ds.FieldByName(QStringLiteral("fcode")).AsString();
    TRemoteUdpConnection* connection = ds.SetupUdpParent();
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    // The record and the other warehouses' flags go together: a failure keeps
    // the record's change cached and leaves every flag as it was.
    try {
        TTransactionScope transaction(*connection);
        ds.UpdateBatch();
        if (head)
            md::ExecuteSQL(QStringLiteral("update dt_house set strat_bit=0 where fcode<>'") +
                           SqlText(code) + QStringLiteral("'"));
        transaction.commit();
    } catch (...) {
        // Back to editing the record as typed, so it can be corrected and saved again.
        if (!ds.IsEmpty() && !ds.InEditState()) ds.Edit();
        UpdateActionState();
        throw;
    }
    // The list shows the flags the statement cleared.
    if (head) ds.Refresh();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

MD_REGISTER_FORM(Tfrm_house);
