#include "frm_commuBook.h"

#include <QCollator>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "grid.h"
#include "gridexport.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "treelist.h"
#include "treelookup.h"

using md::ui::Refuse;

namespace {

// The columns an entry is written with, in the table's order.
const char* const kBookColumns[] = {
    "fid",      "fcatery",  "fname",         "fsex",           "fbirthdate",  "fcallname",
    "fjob",     "fspouse",  "fkid",          "funitname",      "funitaddres", "funitzipcode",
    "funittel", "funitfax", "ffamilyaddres", "ffamilyzipcode", "ffamilytel",  "fmobil",
    "fmovetel", "femail",   "fqq",           "fmsn",           "fremark",     "fareacode",
    "fisvip"};

QString insertSQL() {
    QStringList columns, values;
    for (const char* c : kBookColumns) {
        columns << QString::fromLatin1(c);
        values << QStringLiteral(":") + QString::fromLatin1(c);
    }
    return QStringLiteral("insert into DT_commuBook(") + columns.join(QLatin1Char(',')) +
           QStringLiteral(")") + QLatin1Char('\n') + QStringLiteral("values(") +
           values.join(QLatin1Char(',')) + QStringLiteral(")");
}

QString modifySQL() {
    QStringList sets;
    for (const char* c : kBookColumns)
        sets << QString::fromLatin1(c) + QStringLiteral("=:") + QString::fromLatin1(c);
    return QStringLiteral("update DT_commuBook set ") + sets.join(QLatin1Char(',')) +
           QLatin1Char('\n') + QStringLiteral("where fautoid=:fautoid");
}

// The group column shows a group once for a run of rows of the same group.
class TMergedCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() > 0 && index.siblingAtRow(index.row() - 1).data(Qt::DisplayRole) ==
                                   index.data(Qt::DisplayRole))
            option->text.clear();
    }
};

}  // namespace

Tfrm_commuBook::Tfrm_commuBook(QWidget* owner) : Tbase_frmMditree(owner) {
    setWindowTitle(QStringLiteral("通讯簿"));
    DBmaster_table->SetSQL(QStringLiteral("select * from DT_commuBook"));
    BookUpdateSql = new TRemoteUpdateSql(this);
    BookUpdateSql->setObjectName(QStringLiteral("BookUpdateSql"));
    BookUpdateSql->InsertSQL = insertSQL();
    BookUpdateSql->ModifySQL = modifySQL();
    BookUpdateSql->DeleteSQL = QStringLiteral("delete from DT_commuBook where fautoid=:fautoid");
    DBmaster_table->SetupDataObject(BookUpdateSql);
    DBcatery = new TRemoteUdpDataSet(QStringLiteral("DBcatery"), this);
    DBarea = new TRemoteUdpDataSet(QStringLiteral("DBarea"), this);

    // Entries have no code and no hierarchy: the name is the one the editor checks.
    TreeRules.CodeField = QStringLiteral("fid");
    TreeRules.NameField = QStringLiteral("fname");
    TreeRules.EmptyNameMessage = QStringLiteral("姓名不能为空!");
    TreeRules.MoveFocus = false;
    // Entries are added one after another: no sibling or child to choose.
    append_action->setText(QStringLiteral("新增"));
    HideActions({insert_action});
    // The tree has nothing to show; the pages take the editing panel.
    RzPanel1->hide();
    PageControl1 = new QTabWidget(RzPanel2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    static_cast<QBoxLayout*>(RzPanel2->layout())->insertWidget(0, PageControl1, 1);
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("详细资料"));
    buildListPage();
    buildDetailPage();
    resize(1040, 560);
}

void Tfrm_commuBook::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    GridList = new TDBGrid(TabList, QStringLiteral("GridList"), QStringLiteral("GridListView"));
    GridListView = GridList->View();
    TDBTableView* v = GridListView;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fCatery"), QStringLiteral("组别")).width(64).readOnly();
    v->AddColumn(QStringLiteral("fName"), QStringLiteral("姓名")).width(64).readOnly();
    v->AddColumn(QStringLiteral("fCallName"), QStringLiteral("昵称")).width(56).readOnly();
    v->AddColumn(QStringLiteral("fJob"), QStringLiteral("职务")).width(80).readOnly();
    // The count sits under the widest column, where it has room.
    v->AddColumn(QStringLiteral("fUnitName"), QStringLiteral("单位名称"))
        .width(180)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fMobil"), QStringLiteral("手机")).width(96).readOnly();
    v->AddColumn(QStringLiteral("fEmail"), QStringLiteral("电子邮箱")).width(180).readOnly();
    v->AddColumn(QStringLiteral("fMoveTel"), QStringLiteral("小灵通")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fQq"), QStringLiteral("QQ号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("fMsn"), QStringLiteral("MSN号")).width(130).readOnly();
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

void Tfrm_commuBook::buildDetailPage() {
    auto* page = new QVBoxLayout(TabDetail);
    page->setContentsMargins(8, 8, 8, 8);
    auto group = [this, page](const char* caption) {
        auto* box = new QGroupBox(QString::fromUtf8(caption), TabDetail);
        auto* layout = new QVBoxLayout(box);
        auto* panel = new TFieldPanel(DbMaster_Source, 3, box);
        layout->addWidget(panel);
        page->addWidget(box);
        return panel;
    };

    TFieldPanel* person = group("个人资料");
    Combo_catery = new TDBComboBox(DbMaster_Source, QStringLiteral("fcatery"), {}, true);
    person->AddEditor(QStringLiteral("组别："), Combo_catery, QStringLiteral("fcatery"));
    Edit_name = &person->AddEdit(QStringLiteral("姓名："), QStringLiteral("fname"));
    NameEditor = Edit_name;
    person->AddEditor(QStringLiteral("性别："),
                      new TDBComboBox(DbMaster_Source, QStringLiteral("fsex"),
                                      {QStringLiteral("男"), QStringLiteral("女")}, false),
                      QStringLiteral("fsex"));
    person->AddEdit(QStringLiteral("职务："), QStringLiteral("fjob"));
    person->AddEdit(QStringLiteral("昵称："), QStringLiteral("fcallname"));
    person->AddEditor(QStringLiteral("生日："),
                      new TDBDateEdit(DbMaster_Source, QStringLiteral("fbirthdate")),
                      QStringLiteral("fbirthdate"));
    person->AddEdit(QStringLiteral("配偶："), QStringLiteral("fSpouse"));
    person->AddEdit(QStringLiteral("子女："), QStringLiteral("fKid"));
    AreaLookup = new TDBTreeLookupCombo(DbMaster_Source, QStringLiteral("fAreacode"));
    person->AddEditor(QStringLiteral("地区："), AreaLookup, QStringLiteral("fAreacode"));

    TFieldPanel* work = group("联系方式(单位)");
    work->AddEdit(QStringLiteral("单位名称："), QStringLiteral("funitname"), true);
    work->AddEdit(QStringLiteral("单位地址："), QStringLiteral("funitaddres"), true);
    work->AddEdit(QStringLiteral("单位邮编："), QStringLiteral("funitzipcode"));
    work->AddEdit(QStringLiteral("单位电话："), QStringLiteral("funittel"));
    work->AddEdit(QStringLiteral("单位传真："), QStringLiteral("funitfax"));

    TFieldPanel* home = group("联系方式(家庭)");
    home->AddEdit(QStringLiteral("家庭地址："), QStringLiteral("ffamilyaddres"), true);
    home->AddEdit(QStringLiteral("家庭邮编："), QStringLiteral("ffamilyzipcode"));
    home->AddEdit(QStringLiteral("家庭电话："), QStringLiteral("ffamilytel"));
    home->AddEdit(QStringLiteral("手机："), QStringLiteral("fmobil"));
    home->AddEdit(QStringLiteral("电子信箱："), QStringLiteral("femail"));
    home->AddEdit(QStringLiteral("小灵通："), QStringLiteral("fmovetel"));
    home->AddEdit(QStringLiteral("QQ号码："), QStringLiteral("fqq"));
    home->AddEdit(QStringLiteral("MSN号码："), QStringLiteral("fmsn"), true);
    home->AddMemo(QStringLiteral("备注："), QStringLiteral("fremark"));
    page->addStretch(1);
}

// ---------------------------------------------------------------- create, pages, keys

void Tfrm_commuBook::FormCreate() {
    Tbase_frmMditree::FormCreate();
    md::OpenQuery(*DBarea, QStringLiteral("select * from ba_area"));
    AreaLookup->setList(DBarea, QStringLiteral("fCode"), QStringLiteral("fName"),
                        QStringLiteral("fParentCode"));
    loadGroups();
    DBmaster_table->Open();
    ShowListPage();
}

void Tfrm_commuBook::loadGroups() {
    md::OpenQuery(*DBcatery, QStringLiteral("select distinct(fcatery) from DT_commuBook"));
    QStringList groups;
    for (int row = 0; row < DBcatery->RecordCount(); ++row) {
        const QString group = DBcatery->valueAt(row, 0).toString().trimmed();
        if (!group.isEmpty()) groups << group;
    }
    QCollator order(QLocale(QLocale::Chinese, QLocale::China));
    std::sort(groups.begin(), groups.end(), order);
    // The box's items are the form's; the record's group stays shown.
    Combo_catery->clear();
    Combo_catery->addItems(groups);
    Combo_catery->DataLink()->Show();
}

void Tfrm_commuBook::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_commuBook::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

bool Tfrm_commuBook::FormKeyPress(QKeyEvent& event) {
    // On the list page Enter is the grid's.
    if (PageControl1->currentWidget() == TabDetail && FocusNextOnEnter(event)) return true;
    return Tbase_frmMditree::FormKeyPress(event);
}

void Tfrm_commuBook::UpdateActionState() {
    Tbase_frmMditree::UpdateActionState();
    // The list stays on the entry being edited until it is saved or dropped.
    GridList->setEnabled(!DBmaster_table->InEditState());
}

IReportSource* Tfrm_commuBook::ReportSource() const {
    return GridListView;
}

void Tfrm_commuBook::DBmaster_tableAfterOpen() {
    Tbase_frmMditree::DBmaster_tableAfterOpen();
    const int group = GridListView->SectionOf(QStringLiteral("fCatery"));
    if (group >= 0 &&
        !dynamic_cast<TMergedCellDelegate*>(GridListView->itemDelegateForColumn(group)))
        GridListView->setItemDelegateForColumn(group, new TMergedCellDelegate(GridListView));
}

// ---------------------------------------------------------------- actions

void Tfrm_commuBook::append_actionExecute() {
    // A plain append at the end: entries have no parent to take.
    LastRecNo = DBmaster_table->RecordCount();
    Tbase_frmMdi::append_actionExecute();
    ShowDetailPage();
    Combo_catery->setFocus();
}

void Tfrm_commuBook::edit_actionExecute() {
    Tbase_frmMditree::edit_actionExecute();
    ShowDetailPage();
    Combo_catery->setFocus();
}

void Tfrm_commuBook::post_actionExecute() {
    Tbase_frmMditree::post_actionExecute();
    loadGroups();
}

void Tfrm_commuBook::excel_actionExecute() {
    Tbase_frmMditree::excel_actionExecute();
    QFileDialog* dialog = SaveDialog1();
    if (md::ui::ExecModal(*dialog) != QDialog::Accepted) return;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return;
    md::ui::ExportToXlsx(*GridListView, files.first());
}

// ---------------------------------------------------------------- record

void Tfrm_commuBook::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fisvip")).SetAsBoolean(false);
}

QString Tfrm_commuBook::NextId() {
    md::OpenQuery(*DBtmp_table, QStringLiteral("select max(fautoid) as fautoid from DT_commuBook"));
    const TField& last = DBtmp_table->FieldByName(QStringLiteral("fautoid"));
    if (DBtmp_table->IsEmpty() || last.IsNull()) return QStringLiteral("10001");
    return QString::number(last.AsInteger() + 10001);
}

void Tfrm_commuBook::DBmaster_tableBeforePost() {
    // The name first (the editor's check), then the group.
    Tbase_frmMditree::DBmaster_tableBeforePost();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fCatery")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("组别不能为空!"));
    if (ds.State() == dsInsert) ds.FieldByName(QStringLiteral("fid")).SetAsString(NextId());
}

MD_REGISTER_FORM(Tfrm_commuBook);
