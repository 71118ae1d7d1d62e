#include "selectemp.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "editors.h"
#include "grid.h"
#include "pickmarks.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"
#include "styles.h"
#include "treelookup.h"
#include "waitcursor.h"

namespace {

const QChar CR(13);

}  // namespace

Tfrm_selectEmp::Tfrm_selectEmp(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_selectEmp"));
    setWindowTitle(QStringLiteral("员工选择"));
    setModal(true);
    // The caller reads the marked rows after the dialog closed and then frees it.
    setAttribute(Qt::WA_DeleteOnClose, false);

    DBdept = new TRemoteUdpDataSet(QStringLiteral("DBdept"), this);
    DBdept->SetSQL(QStringLiteral("select * from v_dept"));
    DBtype = new TRemoteUdpDataSet(QStringLiteral("DBtype"), this);
    DBtype->SetSQL(QStringLiteral("select * from ba_etype"));
    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    // The marks are the dialog's own: nothing here is ever sent.
    DBmaster_table->SetLockType(etBatchOptimistic);
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    auto* filter = new QWidget(this);
    filter->setObjectName(QStringLiteral("FilterPanel"));
    auto* grid = new QGridLayout(filter);
    grid->setContentsMargins(0, 0, 0, 0);
    Edit_code = new QLineEdit(filter);
    Edit_code->setObjectName(QStringLiteral("Edit_code"));
    Edit_name = new QLineEdit(filter);
    Edit_name->setObjectName(QStringLiteral("Edit_name"));
    Lookup_dept = new TTreeLookupCombo(filter);
    Lookup_dept->setObjectName(QStringLiteral("Lookup_dept"));
    Lookup_dept->setMinimumWidth(140);
    Combo_type = new md::ui::TLookupCombo(filter);
    Combo_type->setObjectName(QStringLiteral("Combo_type"));
    Combo_type->setMinimumWidth(120);
    But_Find = new QPushButton(QStringLiteral("检索"), filter);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    auto label = [filter](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), filter);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    grid->addWidget(label("员工编号:"), 0, 0);
    grid->addWidget(Edit_code, 0, 1);
    grid->addWidget(label("员工姓名:"), 0, 2);
    grid->addWidget(Edit_name, 0, 3);
    grid->addWidget(label("所属部门:"), 1, 0);
    grid->addWidget(Lookup_dept, 1, 1);
    grid->addWidget(label("员工类别:"), 1, 2);
    grid->addWidget(Combo_type, 1, 3);
    grid->addWidget(But_Find, 1, 4);
    grid->setColumnStretch(5, 1);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("checkid"), QStringLiteral("选择")).width(44).checkBox();
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("员工编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fsex"), QStringLiteral("性别")).width(50).readOnly();
    v->AddColumn(QStringLiteral("deptname"), QStringLiteral("所属部门")).width(120).readOnly();
    v->AddColumn(QStringLiteral("typename"), QStringLiteral("员工类别")).width(100).readOnly();
    md::ui::SetUpPickGrid(*v);

    auto* buttons = new QHBoxLayout;
    CheckBox_all = new QCheckBox(QStringLiteral("全选"), this);
    CheckBox_all->setObjectName(QStringLiteral("CheckBox_all"));
    buttons->addWidget(CheckBox_all);
    buttons->addStretch(1);
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(cxGrid1, 1);
    layout->addLayout(buttons);

    for (QPushButton* button : {But_Find, But_OK, But_Cancel}) button->setAutoDefault(false);
    OnClick(But_Find, [this] { But_FindClick(); });
    OnClick(CheckBox_all, [this] { CheckBox_allClick(); });
    OnClick(But_OK, [this] { accept(); });
    OnClick(But_Cancel, [this] { reject(); });
    resize(620, 460);
}

void Tfrm_selectEmp::OpenLists() {
    if (m_listsOpen) return;
    md::ui::TWaitCursor wait;
    for (TRemoteUdpDataSet* list : {DBdept, DBtype}) {
        list->Close();
        list->setSetupUdpParent(md::Session().Connection);
        list->Open();
    }
    Lookup_dept->setList(DBdept, QStringLiteral("fcode"), QStringLiteral("fname"),
                         QStringLiteral("fparentcode"));
    Lookup_dept->setKeyValue(QString());
    Combo_type->setList(DBtype, QStringLiteral("fName"), {QStringLiteral("fName")},
                        {QStringLiteral("员工类别")});
    Combo_type->setKeyValue(QString());
    openRows(QStringLiteral("select * from FN_EmpSelect() where 1=1 "));
    m_listsOpen = true;
}

QString Tfrm_selectEmp::FilterSQL(const QString& code, const QString& name, const QString& deptName,
                                  const QString& typeName) {
    QString sql = QStringLiteral("select * from FN_EmpSelect() where 1=1 ");
    if (!code.isEmpty())
        sql += QStringLiteral(" and fcode like '%") + SqlText(code) + QStringLiteral("%'") + CR;
    if (!name.isEmpty())
        sql += QStringLiteral(" and fnamech like '%") + SqlText(name) + QStringLiteral("%'") + CR;
    if (!deptName.isEmpty()) sql += QStringLiteral(" and deptname=") + QuotedStr(deptName) + CR;
    if (!typeName.isEmpty()) sql += QStringLiteral(" and typename=") + QuotedStr(typeName) + CR;
    return sql;
}

QString Tfrm_selectEmp::ChosenDeptName() const {
    const QString key = Lookup_dept->keyValue();
    if (key.isEmpty() || !DBdept->Active()) return QString();
    return DBdept->Lookup(QStringLiteral("fcode"), key, QStringLiteral("fname")).toString();
}

void Tfrm_selectEmp::openRows(const QString& sql) {
    {
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->setSetupUdpParent(md::Session().Connection);
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    CheckBox_all->setChecked(false);
}

void Tfrm_selectEmp::But_FindClick() {
    OpenLists();
    openRows(FilterSQL(Edit_code->text().trimmed(), Edit_name->text().trimmed(), ChosenDeptName(),
                       Combo_type->currentText().trimmed()));
}

void Tfrm_selectEmp::CheckBox_allClick() {
    if (!DBmaster_table->Active()) return;
    const bool marked = CheckBox_all->isChecked();
    md::ui::SetAllMarks(*DBmaster_table, marked);
}

QList<TPickedEmployee> Tfrm_selectEmp::CheckedRows() const {
    if (!DBmaster_table->Active()) return m_checkedAtClose;
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    auto column = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).Index();
    };
    const int code = column("fcode"), name = column("fnamech");
    const int sex = column("fsex"), dept = column("deptname"), type = column("typename");
    auto text = [&ds](int row, int at) { return ds.valueAt(row, at).toString(); };
    QList<TPickedEmployee> rows;
    for (int row : md::ui::MarkedRows(ds))
        rows << TPickedEmployee{text(row, code), text(row, name), text(row, sex), text(row, dept),
                                text(row, type)};
    return rows;
}

void Tfrm_selectEmp::done(int result) {
    m_accepted = result == QDialog::Accepted;
    Tbase_frmTop::done(result);
}

void Tfrm_selectEmp::FormClose() {
    m_checkedAtClose.clear();
    if (m_accepted && DBmaster_table->Active()) {
        cxGrid1DBTableView1->PostEditor();
        DBmaster_table->CheckBrowseMode();
        m_checkedAtClose = CheckedRows();
    }
    Tbase_frmTop::FormClose();
}

bool Tfrm_selectEmp::FormKeyPress(QKeyEvent& event) {
    if (md::ui::IsPlainEnter(event) && (Edit_code->hasFocus() || Edit_name->hasFocus())) {
        But_FindClick();
        return true;
    }
    return Tbase_frmTop::FormKeyPress(event);
}

void Tfrm_selectEmp::showEvent(QShowEvent* event) {
    Tbase_frmTop::showEvent(event);
    md::ui::ApplySharedColours(this);
    Run([this] { OpenLists(); });
}

namespace md::ui {

QList<TPickedEmployee> PickEmployees(QWidget* owner) {
    QPointer<Tfrm_selectEmp> dialog = CreateForm<Tfrm_selectEmp>(owner);
    // Every use starts with a fresh picker, freed on every way out.
    struct Freed {
        QPointer<Tfrm_selectEmp>& dialog;
        ~Freed() { delete dialog.data(); }
    } freed{dialog};
    dialog->OpenLists();
    QList<TPickedEmployee> rows;
    if (ExecModal(*dialog) == QDialog::Accepted && dialog) rows = dialog->CheckedRows();
    return rows;
}

int AddSalespersons(TRemoteUdpDataSet& rows, const QList<TPickedEmployee>& chosen,
                    bool skipAssigned) {
    int added = 0;
    for (const TPickedEmployee& e : chosen) {
        if (skipAssigned && rows.Active()) {
            const int at = rows.FieldByName(QStringLiteral("fempcode")).Index();
            bool assigned = false;
            for (int row = 0; row < rows.RecordCount() && !assigned; ++row)
                assigned = rows.valueAt(row, at).toString() == e.fcode;
            if (assigned) continue;
        }
        // A row just made for the pick takes the first employee itself.
        const bool blankInsert = rows.State() == dsInsert &&
                                 rows.FieldByName(QStringLiteral("fempcode")).AsString().isEmpty();
        if (!blankInsert) rows.Append();
        rows.FieldByName(QStringLiteral("fempcode")).SetAsString(e.fcode);
        rows.FieldByName(QStringLiteral("fnamech")).SetAsString(e.fnamech);
        rows.FieldByName(QStringLiteral("fsex")).SetAsString(e.fsex);
        rows.FieldByName(QStringLiteral("fdeptname")).SetAsString(e.deptname);
        rows.FieldByName(QStringLiteral("ftypename")).SetAsString(e.typeName);
        rows.Post();
        ++added;
    }
    return added;
}

}  // namespace md::ui
