#include "goodspickdialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "checktree.h"
#include "datasource.h"
#include "field.h"
#include "goodsattributefilter.h"
#include "goodsfilterpanel.h"
#include "grid.h"
#include "pickmarks.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "styles.h"

TGoodsPickDialog::TGoodsPickDialog(QWidget* owner, const QString& name, const QString& caption)
    : Tbase_frmTop(owner) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    // The caller reads the marked rows after the dialog closed and then frees it.
    setAttribute(Qt::WA_DeleteOnClose, false);

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    // The marks are the dialog's own: nothing here is ever sent.
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    // Left: the goods attribute filter, the code box and the button.
    auto* filter = new TGoodsFilterPanel(this, QStringLiteral("检索过滤"));
    cxTreeView1 = filter->Tree;
    Edit_goodsid = filter->CodeBox;
    But_Find = filter->FindButton;

    // Right: the rows, the mark of every row, OK and Cancel.
    auto* list = new QWidget(this);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    cxGrid1 = new TDBGrid(list, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);
    cxGrid1DBTableView1->AddColumn(QStringLiteral("checkid"), QStringLiteral("选择"))
        .width(44)
        .checkBox();
    listLayout->addWidget(cxGrid1, 1);

    auto* buttons = new QHBoxLayout;
    CheckBox_all = new QCheckBox(QStringLiteral("全选"), list);
    CheckBox_all->setObjectName(QStringLiteral("CheckBox_all"));
    buttons->addWidget(CheckBox_all);
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确定"), list);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), list);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    listLayout->addLayout(buttons);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(filter);
    splitter->addWidget(list);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({190, 610});
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Enter belongs to the code box and the grid; buttons are pressed, not defaulted.
    for (QPushButton* button : {But_Find, But_OK, But_Cancel}) button->setAutoDefault(false);
    // Nothing to choose until a query has found rows.
    CheckBox_all->setEnabled(false);
    But_OK->setEnabled(false);
    OnClick(But_Find, [this] { But_FindClick(); });
    OnClick(CheckBox_all, [this] { CheckBox_allClick(); });
    OnClick(But_OK, [this] { accept(); });
    OnClick(But_Cancel, [this] { reject(); });
    connect(cxGrid1DBTableView1, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& at) {
                // On the box itself the first click of the two has toggled it already.
                const TGridColumn* column = cxGrid1DBTableView1->ColumnOfSection(at.column());
                if (column && column->Kind() == TEditorKind::CheckBox) return;
                Run([this] { cxGrid1DBTableView1DblClick(); });
            });
    resize(860, 540);
}

void TGoodsPickDialog::FinishGrid() {
    md::ui::SetUpPickGrid(*cxGrid1DBTableView1);
}

void TGoodsPickDialog::FormCreate() {
    Tbase_frmTop::FormCreate();
    md::ui::ApplySharedColours(this);
    if (const int size = md::Shared().GridFontSize; size > 0) {
        QFont font = cxGrid1DBTableView1->font();
        font.setPointSize(size);
        cxGrid1DBTableView1->setFont(font);
        // Rows have one fixed height, measured from the grid's font.
        cxGrid1DBTableView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() +
                                                                     8);
    }
    md::ui::FillGoodsAttributeTree(*cxTreeView1);
}

QString TGoodsPickDialog::BrandScopeCondition() {
    // A list is there once the scopes are loaded; without one nobody is restricted.
    const md::SharedValues& shared = md::Shared();
    if (shared.BrandScopeAll || shared.BrandScopeList.isEmpty()) return QString();
    return QStringLiteral(" and brand in(") + shared.BrandScopeList + QStringLiteral(")") +
           QChar(13);
}

void TGoodsPickDialog::But_FindClick() {
    const QString sql =
        QuerySQL(md::ui::GoodsAttributeCondition(*cxTreeView1), Edit_goodsid->text());
    {
        // The grid sees the closing and the new rows as one reset.
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->setSetupUdpParent(md::Session().Connection);
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    const bool found = !DBmaster_table->IsEmpty();
    CheckBox_all->setEnabled(found);
    But_OK->setEnabled(found);
    // The new rows come unmarked.
    CheckBox_all->setChecked(false);
}

void TGoodsPickDialog::CheckBox_allClick() {
    if (!DBmaster_table->Active()) return;
    md::ui::SetAllMarks(*DBmaster_table, CheckBox_all->isChecked());
}

void TGoodsPickDialog::cxGrid1DBTableView1DblClick() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;
    TField& check = DBmaster_table->FieldByName(QStringLiteral("checkid"));
    DBmaster_table->Edit();
    check.SetAsBoolean(!check.AsBoolean());
    DBmaster_table->Post();
}

QList<QVariantHash> TGoodsPickDialog::CheckedRecords() const {
    if (!DBmaster_table->Active()) return m_checkedAtClose;
    QList<QVariantHash> rows;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    for (int row : md::ui::MarkedRows(ds)) {
        QVariantHash record;
        for (int field = 0; field < ds.FieldCount(); ++field)
            record.insert(ds.Fields(field).FieldName().toLower(), ds.valueAt(row, field));
        rows << record;
    }
    return rows;
}

void TGoodsPickDialog::done(int result) {
    m_accepted = result == QDialog::Accepted;
    Tbase_frmTop::done(result);
}

void TGoodsPickDialog::FormClose() {
    // Closing closes the rows; what OK chose stays readable for the caller.
    m_checkedAtClose.clear();
    if (m_accepted && DBmaster_table->Active()) {
        DBmaster_table->CheckBrowseMode();
        m_checkedAtClose = CheckedRecords();
    }
    Tbase_frmTop::FormClose();
}

bool TGoodsPickDialog::FormKeyPress(QKeyEvent& event) {
    if (md::ui::IsPlainEnter(event) && Edit_goodsid->hasFocus()) {
        Run([this] { But_FindClick(); });
        return true;
    }
    return Tbase_frmTop::FormKeyPress(event);
}

void TGoodsPickDialog::showEvent(QShowEvent* event) {
    Tbase_frmTop::showEvent(event);
    if (m_centred) return;
    m_centred = true;
    md::ui::CentreOnHostWindow(*this);
}
