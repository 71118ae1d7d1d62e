#include "frm_KQ_QuickPB.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "datasource.h"
#include "frm_KQ_EmpBanci.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "sqlquote.h"

using md::ui::Refuse;

const QStringList& Tfrm_KQ_QuickPB::Weekdays() {
    static const QStringList words = {QStringLiteral("星期一"), QStringLiteral("星期二"),
                                      QStringLiteral("星期三"), QStringLiteral("星期四"),
                                      QStringLiteral("星期五"), QStringLiteral("星期六"),
                                      QStringLiteral("星期日")};
    return words;
}

Tfrm_KQ_QuickPB::Tfrm_KQ_QuickPB(Tfrm_KQ_EmpBanci* schedule)
    : Tbase_frm(schedule), m_schedule(schedule) {
    setObjectName(QStringLiteral("frm_KQ_QuickPB"));
    setWindowTitle(QStringLiteral("快速排班"));
    // Kept by the schedule between uses.
    KeepOnClose();
    DBEmp = new TRemoteUdpDataSet(QStringLiteral("DBEmp"), this);
    DSEmp = new TDataSource(QStringLiteral("DSEmp"), this);
    DSEmp->setDataSet(DBEmp);

    auto* layout = new QHBoxLayout(this);
    // Left: the filter above the employees.
    auto* left = new QVBoxLayout;
    auto* filter = new QGroupBox(this);
    auto* filterGrid = new QGridLayout(filter);
    Tree_Dept = new QTreeWidget(filter);
    Tree_Dept->setObjectName(QStringLiteral("Tree_Dept"));
    Tree_Dept->setHeaderLabel(QStringLiteral("部门选择"));
    Tree_Dept->setMaximumHeight(140);
    Edit_Code = new QLineEdit(filter);
    Edit_Code->setObjectName(QStringLiteral("Edit_Code"));
    Edit_Name = new QLineEdit(filter);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    filterGrid->addWidget(Tree_Dept, 0, 0, 1, 2);
    filterGrid->addWidget(new QLabel(QStringLiteral("员工编号"), filter), 1, 0);
    filterGrid->addWidget(Edit_Code, 1, 1);
    filterGrid->addWidget(new QLabel(QStringLiteral("员工姓名"), filter), 2, 0);
    filterGrid->addWidget(Edit_Name, 2, 1);
    left->addWidget(filter);
    connect(Tree_Dept, &QTreeWidget::itemClicked, this,
            [this] { Run([this] { ReloadEmployees(); }); });
    connect(Edit_Code, &QLineEdit::returnPressed, this,
            [this] { Run([this] { ReloadEmployees(); }); });
    connect(Edit_Name, &QLineEdit::returnPressed, this,
            [this] { Run([this] { ReloadEmployees(); }); });

    cxGrid1 = new TDBGrid(this);
    TDBTableView* v = cxGrid1->View();
    v->setDataSource(DSEmp);
    v->AddColumn(QStringLiteral("fcheck"), QStringLiteral("选择")).width(40).checkBox();
    v->AddColumn(QStringLiteral("fdeptname"), QStringLiteral("所属部门")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("员工编号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(80).readOnly();
    v->AddColumn(QStringLiteral("fsex"), QStringLiteral("性别")).width(40).readOnly();
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);
    left->addWidget(cxGrid1, 1);
    But_All = new QPushButton(QStringLiteral("全选"), this);
    But_All->setObjectName(QStringLiteral("But_All"));
    OnClick(But_All, [this] { But_AllClick(); });
    left->addWidget(But_All, 0, Qt::AlignLeft);
    layout->addLayout(left, 1);

    // Right: the month, the range of days and the week's pattern.
    auto* right = new QGroupBox(QStringLiteral("排班日期"), this);
    auto* grid = new QGridLayout(right);
    auto spin = [right](const QString& name, int low, int high) {
        auto* s = new QSpinBox(right);
        s->setObjectName(name);
        s->setRange(low, high);
        return s;
    };
    Spin_Year = spin(QStringLiteral("Spin_Year"), 1990, 2099);
    Spin_Month = spin(QStringLiteral("Spin_Month"), 1, 12);
    Spin_Year->setReadOnly(true);
    Spin_Month->setReadOnly(true);
    Spin_DayFrom = spin(QStringLiteral("Spin_DayFrom"), 1, 31);
    Spin_DayTo = spin(QStringLiteral("Spin_DayTo"), 1, 31);
    grid->addWidget(Spin_Year, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("年"), right), 0, 1);
    grid->addWidget(Spin_Month, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("月"), right), 0, 3);
    grid->addWidget(Spin_DayFrom, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("日 至"), right), 1, 1);
    grid->addWidget(Spin_DayTo, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("日"), right), 1, 3);
    for (int day = 0; day < 7; ++day) {
        Combo_Day[day] = new QComboBox(right);
        Combo_Day[day]->setObjectName(QStringLiteral("day%1").arg(day + 1));
        grid->addWidget(new QLabel(Weekdays().at(day), right), 2 + day, 0);
        grid->addWidget(Combo_Day[day], 2 + day, 1, 1, 3);
    }
    But_PB = new QPushButton(QStringLiteral("排  班"), right);
    But_PB->setObjectName(QStringLiteral("But_PB"));
    OnClick(But_PB, [this] { But_PBClick(); });
    grid->addWidget(But_PB, 9, 0, 1, 4);
    grid->setRowStretch(10, 1);
    layout->addWidget(right);
    resize(760, 480);
}

void Tfrm_KQ_QuickPB::FormCreate() {
    Tbase_frm::FormCreate();
    loadDepartments();
    // The week's pattern offers the schedule's shifts and "OFF"; empty empties.
    TRemoteUdpDataSet shifts;
    md::OpenQuery(shifts, QStringLiteral("select fcode,fname from KQ_Banci\n"
                                         "union all\n"
                                         "select fcode='OFF',fname='休息'"));
    for (QComboBox* combo : Combo_Day) {
        combo->clear();
        combo->addItem(QString(), QString());
        for (shifts.First(); !shifts.Eof(); shifts.Next())
            combo->addItem(shifts.FieldByName(QStringLiteral("fname")).AsString(),
                           shifts.FieldByName(QStringLiteral("fcode")).AsString());
    }
    fillEmployees(
        QStringLiteral("select fdeptname,fcode,fnamech,fsex,fintime from v_employee where fbit=1"));
}

void Tfrm_KQ_QuickPB::loadDepartments() {
    TRemoteUdpDataSet depts;
    md::OpenQuery(depts, QStringLiteral("select * from ba_Department"));
    Tree_Dept->clear();
    QHash<QString, QTreeWidgetItem*> items;
    QHash<QString, QString> parents;
    for (depts.First(); !depts.Eof(); depts.Next()) {
        const QString code = depts.FieldByName(QStringLiteral("fcode")).AsString().trimmed();
        auto* item =
            new QTreeWidgetItem(QStringList(depts.FieldByName(QStringLiteral("fname")).AsString()));
        item->setData(0, Qt::UserRole, code);
        items.insert(code, item);
        parents.insert(code, depts.FieldByName(QStringLiteral("fparentcode")).AsString().trimmed());
    }
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        QTreeWidgetItem* parent = items.value(parents.value(it.key()));
        if (parent && parent != it.value())
            parent->addChild(it.value());
        else
            Tree_Dept->addTopLevelItem(it.value());
    }
    Tree_Dept->sortItems(0, Qt::AscendingOrder);
    Tree_Dept->expandAll();
}

void Tfrm_KQ_QuickPB::fillEmployees(const QString& sql) {
    TRemoteUdpDataSet found;
    md::OpenQuery(found, sql);
    TRemoteUdpDataSet& ds = *DBEmp;
    TControlsDisabled quiet(ds);
    if (!ds.Active()) {
        ds.AddField(QStringLiteral("fcheck"), ftBoolean);
        for (const char* name : {"fdeptname", "fcode", "fnamech", "fsex"})
            ds.AddField(QString::fromLatin1(name), ftString, 50);
        ds.AddField(QStringLiteral("fintime"), ftDateTime);
        ds.CreateDataSet();
    }
    ds.EmptyDataSet();
    for (found.First(); !found.Eof(); found.Next()) {
        ds.Append();
        ds.FieldByName(QStringLiteral("fcheck")).SetAsBoolean(false);
        for (const char* name : {"fdeptname", "fcode", "fnamech", "fsex", "fintime"})
            ds.FieldByName(QString::fromLatin1(name))
                .SetValue(found.FieldByName(QString::fromLatin1(name)).Value());
        ds.Post();
    }
    ds.First();
}

void Tfrm_KQ_QuickPB::ReloadEmployees() {
    QString sql =
        QStringLiteral("select fdeptname,fcode,fnamech,fsex,fintime from v_employee where 1=1") +
        QStringLiteral("\r\n");
    const QString code = Edit_Code->text().trimmed();
    const QString name = Edit_Name->text().trimmed();
    QTreeWidgetItem* item = Tree_Dept->currentItem();
    const QString dept = item ? item->data(0, Qt::UserRole).toString() : QString();
    if (!code.isEmpty())
        sql += QStringLiteral(" and fcode like ") + QStringLiteral("'%") + SqlText(code) +
               QStringLiteral("%'");
    if (!name.isEmpty())
        sql += QStringLiteral(" and fnamech like ") + QStringLiteral("'%") + SqlText(name) +
               QStringLiteral("%'");
    if (!dept.isEmpty())
        sql += QStringLiteral(
                   " and fdeptcode in(select fcode from ba_Department where fparentcode like ") +
               QStringLiteral("'") + SqlText(dept) + QStringLiteral("%'") +
               QStringLiteral(" or fcode=") + QStringLiteral("'") + SqlText(dept) +
               QStringLiteral("'") + QStringLiteral(") ");
    fillEmployees(sql);
}

void Tfrm_KQ_QuickPB::But_AllClick() {
    TRemoteUdpDataSet& ds = *DBEmp;
    TBookmarkKept kept(ds);
    TControlsDisabled quiet(ds);
    for (ds.First(); !ds.Eof(); ds.Next()) {
        ds.Edit();
        ds.FieldByName(QStringLiteral("fcheck")).SetAsBoolean(true);
        ds.Post();
    }
}

void Tfrm_KQ_QuickPB::Prepare(int year, int month, const QStringList& dayColumns) {
    m_dayColumns = dayColumns;
    Spin_Year->setValue(year);
    Spin_Month->setValue(month);
    Spin_DayFrom->setValue(1);
    Spin_DayTo->setValue(qMax(1, int(dayColumns.size())));
}

QString Tfrm_KQ_QuickPB::PatternShift(int weekday) const {
    return Combo_Day[weekday - 1]->currentData().toString();
}

void Tfrm_KQ_QuickPB::SetPatternShift(int weekday, const QString& code) {
    QComboBox* combo = Combo_Day[weekday - 1];
    combo->setCurrentIndex(qMax(0, combo->findData(code)));
}

void Tfrm_KQ_QuickPB::But_PBClick() {
    cxGrid1->View()->PostEditor();
    if (DBEmp->InEditState()) DBEmp->Post();
    const int year = Spin_Year->value();
    const int month = Spin_Month->value();
    const int from = Spin_DayFrom->value();
    const int to = Spin_DayTo->value();
    QStringList checked;
    QList<QDate> joined;
    const int checkColumn = DBEmp->FieldByName(QStringLiteral("fcheck")).Index();
    const int codeColumn = DBEmp->FieldByName(QStringLiteral("fcode")).Index();
    const int inColumn = DBEmp->FieldByName(QStringLiteral("fintime")).Index();
    for (int row = 0; row < DBEmp->RecordCount(); ++row) {
        if (!TField::booleanOf(DBEmp->valueAt(row, checkColumn))) continue;
        checked << DBEmp->valueAt(row, codeColumn).toString().trimmed();
        joined << TField::dateTimeOf(DBEmp->valueAt(row, inColumn)).date();
    }
    if (checked.isEmpty()) Refuse(QStringLiteral("请先选择要排班的员工！"));
    if (from > to) Refuse(QStringLiteral("开始日不能大于结束日！"));
    QString pattern[8];
    for (int weekday = 1; weekday <= 7; ++weekday) pattern[weekday] = PatternShift(weekday);

    TRemoteUdpDataSet& grid = *m_schedule->DBmaster_table;
    const QString monthText = QString::number(year) + QStringLiteral("-") +
                              QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0')) +
                              QStringLiteral("-");
    for (int i = 0; i < checked.size(); ++i) {
        if (!grid.Locate(QStringLiteral("员工编号"), checked.at(i))) continue;  // not in this month
        grid.Edit();
        for (int day = from; day <= to; ++day) {
            const QString text = monthText + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
            const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid()) {
                // The days before stay scheduled; this one and the rest do not exist.
                grid.Post();
                const QDate last = QDate(year, month, 1).addMonths(1).addDays(-1);
                Refuse(text + QStringLiteral(" 不是有效的日期，本月最后一天是 ") +
                       last.toString(QStringLiteral("yyyy-MM-dd")) +
                       QStringLiteral("，排班到此为止！"));
            }
            if (joined.at(i).isValid() && joined.at(i) > date) continue;  // not yet employed
            for (int weekday = 1; weekday <= 7; ++weekday) {
                TField* cell = grid.FindField(QString::number(day) + QStringLiteral("日(") +
                                              Weekdays().at(weekday - 1) + QStringLiteral(")"));
                if (cell) cell->SetAsString(pattern[weekday]);
            }
        }
        grid.Post();
    }
    accept();
}
