#include "frm_syslog.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "waitcursor.h"

using md::ui::Refuse;

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The hourglass while a search runs; the cursor comes back also when the
// query fails.
QDateEdit* makeDateEdit(QWidget* parent, const QString& name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDateFormat);
    edit->setCalendarPopup(true);
    edit->setMinimumWidth(110);
    return edit;
}

}  // namespace

Tfrm_syslog::Tfrm_syslog(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("操作日志"));

    Panel_search = new QWidget(ClientPanel);
    Panel_search->setObjectName(QStringLiteral("Panel_search"));
    auto* row = new QHBoxLayout(Panel_search);
    row->setContentsMargins(8, 6, 8, 6);
    DateEdit_begin = makeDateEdit(Panel_search, QStringLiteral("DateEdit_begin"));
    DateEdit_end = makeDateEdit(Panel_search, QStringLiteral("DateEdit_end"));
    But_Find = new QPushButton(QStringLiteral("检索"), Panel_search);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    row->addWidget(new QLabel(QStringLiteral("开始日期:"), Panel_search));
    row->addWidget(DateEdit_begin);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("结束日期:"), Panel_search));
    row->addWidget(DateEdit_end);
    row->addSpacing(12);
    row->addWidget(But_Find);
    row->addStretch(1);
    static_cast<QVBoxLayout*>(ClientPanel->layout())->insertWidget(0, Panel_search);
    OnClick(But_Find, [this] { But_FindClick(); });

    // Declared fields give the grid its column headers before the first search.
    const std::pair<const char*, int> fields[] = {
        {"logindate", 10}, {"begintime", 8}, {"userno", 30}, {"clientname", 50},
        {"modename", 100}, {"fbillid", 50},  {"fstate", 20}};
    for (const auto& [name, size] : fields)
        DBmaster_table->AddField(QString::fromLatin1(name), ftString, size);
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);  // the view takes the new fields

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("logindate"), QStringLiteral("日期"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("begintime"), QStringLiteral("时间")).width(75).readOnly();
    v->AddColumn(QStringLiteral("userno"), QStringLiteral("用户编号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("clientname"), QStringLiteral("客户机IP")).width(110).readOnly();
    v->AddColumn(QStringLiteral("modename"), QStringLiteral("模块名称")).width(160).readOnly();
    v->AddColumn(QStringLiteral("fbillid"), QStringLiteral("单号")).width(120).readOnly();
    v->AddColumn(QStringLiteral("fstate"), QStringLiteral("操作")).width(70).readOnly();
    v->Options().ColumnSorting = true;
    v->Options().ColumnFiltering = true;
    v->ApplyOptions();

    HideActions({append_action, edit_action, post_action, cacel_action, del_action});
    resize(860, 560);
}

void Tfrm_syslog::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    const QDate today = QDate::currentDate();
    DateEdit_end->setDate(today);
    DateEdit_begin->setDate(QDate(today.year(), today.month(), 1));
}

void Tfrm_syslog::But_FindClick() {
    const QDate begin = DateEdit_begin->date();
    const QDate end = DateEdit_end->date();
    if (begin > end) Refuse(QStringLiteral("开始日期不能大于结束日期!"));
    DBmaster_table->Close();
    DBmaster_table->SetSQL(
        QStringLiteral("select * from syslog where convert(datetime,logindate)>='") +
        SqlText(begin.toString(kDateFormat)) + QStringLiteral("'") +
        QStringLiteral(" and convert(datetime,logindate)<=") + QStringLiteral("'") +
        SqlText(end.toString(kDateFormat)) + QStringLiteral("'"));
    md::ui::TWaitCursor hourglass;
    DBmaster_table->Open();
}

void Tfrm_syslog::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    for (QAction* a : {append_action, edit_action, post_action, cacel_action, del_action})
        a->setEnabled(false);
    cxGrid1DBTableView1->SetInputAllowed(false);
}

MD_REGISTER_FORM(Tfrm_syslog);
