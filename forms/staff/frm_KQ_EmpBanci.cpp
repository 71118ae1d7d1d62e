#include "frm_KQ_EmpBanci.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_KQ_QuickPB.h"
#include "grid.h"
#include "gridprint.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"

namespace {

// Days off stand out: a "休息" cell is drawn on a highlight before the grid's
// own drawing; editing stays with the grid's delegate.
class TDayOffDelegate : public QStyledItemDelegate {
  public:
    TDayOffDelegate(QAbstractItemDelegate* grid, QObject* parent)
        : QStyledItemDelegate(parent), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.data(Qt::DisplayRole).toString() == QStringLiteral("休息") &&
            !(option.state & QStyle::State_Selected))
            painter->fillRect(option.rect, QColor(255, 228, 160));
        m_grid->paint(painter, option, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return m_grid->sizeHint(option, index);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        return m_grid->createEditor(parent, option, index);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        m_grid->setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        m_grid->setModelData(editor, model, index);
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        m_grid->updateEditorGeometry(editor, option, index);
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        m_grid->destroyEditor(editor, index);
    }
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        return m_grid->editorEvent(event, model, option, index);
    }

  private:
    QAbstractItemDelegate* m_grid;
};

const QString kCode = QStringLiteral("员工编号");
const QString kName = QStringLiteral("员工姓名");
const QString kDept = QStringLiteral("所属部门");

}  // namespace

Tfrm_KQ_EmpBanci::Tfrm_KQ_EmpBanci(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_KQ_EmpBanci"));
    setWindowTitle(QStringLiteral("员工排班表"));
    DBBanci = new TRemoteUdpDataSet(QStringLiteral("DBBanci"), this);
    // The buttons below take the place of the record editor's toolbar.
    ToolBar1->hide();
    auto* layout = qobject_cast<QVBoxLayout*>(ClientPanel->layout());
    if (!layout) layout = new QVBoxLayout(ClientPanel);
    Label_Title = new QLabel(ClientPanel);
    Label_Title->setObjectName(QStringLiteral("Label_Title"));
    Label_Title->setAlignment(Qt::AlignCenter);
    QFont font = Label_Title->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    Label_Title->setFont(font);
    layout->addWidget(Label_Title);
    cxGrid1 = nullptr;
    buildGrid();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto button = [&](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, ClientPanel);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    But_Save = button(QStringLiteral("But_Save"), QStringLiteral("保存"));
    But_Quick = button(QStringLiteral("But_Quick"), QStringLiteral("快速排班"));
    But_Print = button(QStringLiteral("But_Print"), QStringLiteral("打印"));
    But_Export = button(QStringLiteral("But_Export"), QStringLiteral("导出"));
    But_Close = button(QStringLiteral("But_Close"), QStringLiteral("关闭"));
    layout->addLayout(buttons);
    OnClick(But_Save, [this] { But_SaveClick(); });
    OnClick(But_Quick, [this] { But_QuickClick(); });
    OnClick(But_Print, [this] { print_actionExecute(); });
    OnClick(But_Export, [this] { excel_actionExecute(); });
    OnClick(But_Close, [this] { Close(); });
    resize(960, 560);
}

void Tfrm_KQ_EmpBanci::buildGrid() {
    auto* layout = qobject_cast<QVBoxLayout*>(ClientPanel->layout());
    TDBGrid* old = cxGrid1;
    cxGrid1 = new TDBGrid(ClientPanel);
    if (old) {
        layout->replaceWidget(old, cxGrid1);
        delete old;
    } else {
        layout->addWidget(cxGrid1, 1);
    }
    TDBTableView* v = cxGrid1->View();
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
}

void Tfrm_KQ_EmpBanci::FormCreate() {
    Tbase_frmMdi::FormCreate();
    md::OpenQuery(*DBBanci, QStringLiteral("select fcode,fname from KQ_Banci\n"
                                           "union all\n"
                                           "select fcode='OFF',fname='休息'"));
}

void Tfrm_KQ_EmpBanci::FormDestroy() {
    delete QuickPB;
    QuickPB = nullptr;
    Tbase_frmMdi::FormDestroy();
}

QString Tfrm_KQ_EmpBanci::Title() const {
    return QStringLiteral("排班表(年份:") + QString::number(Year) + QStringLiteral("  月度:") +
           QString::number(Month) + QStringLiteral(")");
}

QStringList Tfrm_KQ_EmpBanci::DayColumns() const {
    QStringList names;
    if (!DBmaster_table->Active()) return names;
    for (int i = 3; i < DBmaster_table->FieldCount(); ++i)
        names << DBmaster_table->Fields(i).FieldName();
    return names;
}

void Tfrm_KQ_EmpBanci::LoadMonth(int year, int month) {
    Year = year;
    Month = month;
    Label_Title->setText(Title());
    TRemoteUdpDataSet& ds = *DBmaster_table;
    {
        TControlsDisabled detached(ds);
        ds.Close();
        ds.SetSQL(QStringLiteral("exec get_KQ_EmpBanci ") + QString::number(year) +
                  QStringLiteral(",") + QString::number(month));
        ds.Open();
        // Columns as the month has them: the day columns take the shift drop-down.
        buildGrid();
        TDBTableView* v = cxGrid1->View();
        v->setDataSource(DbMaster_Source);
        for (int i = 0; i < ds.FieldCount(); ++i) {
            const QString name = ds.Fields(i).FieldName();
            TGridColumn& column = v->AddColumn(name, name);
            if (name.endsWith(QLatin1Char(')')))
                column.width(76).lookup(DBBanci, QStringLiteral("fcode"),
                                        {QStringLiteral("fcode"), QStringLiteral("fname")},
                                        {QStringLiteral("班次编号"), QStringLiteral("班次名称")},
                                        QStringLiteral("fname"));
            if (name == kCode || name == kName || name == kDept) column.width(80).readOnly();
        }
        auto* dayOff = new TDayOffDelegate(v->itemDelegate(), v);
        for (int section = 3; section < ds.FieldCount(); ++section)
            v->setItemDelegateForColumn(v->SectionOf(ds.Fields(section).FieldName()), dayOff);
    }
    ds.First();
    Loaded = true;
    UpdateActionState();
}

void Tfrm_KQ_EmpBanci::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    if (!cxGrid1) return;
    cxGrid1->setEnabled(RightEdit);
    cxGrid1->View()->SetInputAllowed(RightEdit);
    But_Save->setEnabled(RightEdit && Loaded);
    But_Quick->setEnabled(RightEdit && Loaded);
}

TDBTableView* Tfrm_KQ_EmpBanci::MasterView() const {
    return cxGrid1 ? cxGrid1->View() : nullptr;
}

void Tfrm_KQ_EmpBanci::PostPendingEdits() {
    Tbase_frmMdi::PostPendingEdits();
    if (cxGrid1) cxGrid1->View()->PostEditor();
}

void Tfrm_KQ_EmpBanci::print_actionExecute() {
    if (TDBTableView* v = MasterView()) md::ui::PrintPreview(*v, Title(), this);
    WriteLog(QStringLiteral("打印"));
}

void Tfrm_KQ_EmpBanci::But_SaveClick() {
    PostPendingEdits();
    TRemoteUdpDataSet& grid = *DBmaster_table;
    if (!Loaded || !grid.Active()) return;
    if (grid.InEditState()) grid.Post();
    TRemoteUdpConnection* connection = grid.SetupUdpParent();
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));

    TRemoteUdpDataSet rows;
    rows.setSetupUdpParent(connection);
    TRemoteUpdateSql insert;
    insert.InsertSQL = QStringLiteral(
        "insert into KQ_EmpBanCi(fbilldate,fempcode,fbancicode)values(:fbilldate,:fempcode,:"
        "fbancicode)");
    rows.SetupDataObject(&insert);
    const QString monthPrefix = QString::number(Year) + QStringLiteral("-") +
                                QStringLiteral("%1").arg(Month, 2, 10, QLatin1Char('0')) +
                                QStringLiteral("-");
    {
        // The whole month goes and comes back in one transaction: a failed
        // insert leaves the month as it was.
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(QStringLiteral("delete from KQ_EmpBanCi where year(fbilldate)=") +
                       QString::number(Year) + QStringLiteral(" and month(fbilldate)=") +
                       QString::number(Month));
        md::OpenQuery(rows, QStringLiteral("select top 1 * from KQ_EmpBanCi where 1=2"));
        TField& date = rows.FieldByName(QStringLiteral("fbilldate"));
        TField& employee = rows.FieldByName(QStringLiteral("fempcode"));
        TField& shift = rows.FieldByName(QStringLiteral("fbancicode"));
        const int codeColumn = grid.FieldByName(kCode).Index();
        {
            TControlsDisabled quiet(rows);
            for (int row = 0; row < grid.RecordCount(); ++row) {
                const QString code = grid.valueAt(row, codeColumn).toString();
                for (int column = 3; column < grid.FieldCount(); ++column) {
                    rows.Append();
                    date.SetAsString(monthPrefix +
                                     QStringLiteral("%1").arg(column - 2, 2, 10, QLatin1Char('0')));
                    employee.SetAsString(code);
                    shift.SetAsString(grid.valueAt(row, column).toString());
                    rows.Post();
                }
            }
        }
        rows.UpdateBatch();
        transaction.commit();
    }
    WriteLog(QStringLiteral("保存"));
    Close();
}

void Tfrm_KQ_EmpBanci::But_QuickClick() {
    if (!Loaded) return;
    PostPendingEdits();
    if (!QuickPB) QuickPB = md::ui::CreateForm<Tfrm_KQ_QuickPB>(this);
    QuickPB->Prepare(Year, Month, DayColumns());
    md::ui::ExecModal(*QuickPB);
}

MD_REGISTER_FORM(Tfrm_KQ_EmpBanci);
