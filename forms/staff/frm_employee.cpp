#include "frm_employee.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "sqlquote.h"
#include "treelist.h"
#include "treelookup.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);
const QString kWageField = QStringLiteral("fcaceltypename");

}  // namespace

Tfrm_employee::Tfrm_employee(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("员工档案"));
    DBmaster_table->SetSQL(QStringLiteral("select * from dt_employee order by fcode"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    // The detail page's editors take input only after "新增" or "修改".
    DbMaster_Source->SetAutoEdit(false);
    // The wage mode is stored as 0/1 and shown and chosen as its words.
    TField& wage = DBmaster_table->AddCalcField(kWageField, ftString, 10);
    wage.OnWrite = [](TField& field, const QVariant& value) {
        const QString text = value.toString();
        TField& mode = field.DataSet()->FieldByName(QStringLiteral("fcacelType"));
        if (text == QStringLiteral("计件"))
            mode.SetAsInteger(0);
        else if (text == QStringLiteral("月度"))
            mode.SetAsInteger(1);
        else if (text.isEmpty())
            mode.Clear();
    };
    DBmaster_table->OnCalcFields = [](TRemoteUdpDataSet& row) {
        row.FieldByName(kWageField)
            .SetAsString(WageModeText(row.FieldByName(QStringLiteral("fcacelType")).Value()));
    };

    auto dataSet = [this](const char* name, const char* sql) {
        auto* ds = new TRemoteUdpDataSet(QString::fromLatin1(name), this);
        ds->SetSQL(QString::fromUtf8(sql));
        return ds;
    };
    DBdept = dataSet("DBdept", "select * from ba_Department");
    DBdept2 = dataSet("DBdept2", "select * from ba_Department");
    DBetype = dataSet("DBetype", "select * from ba_Etype");
    DBuser = dataSet("DBuser", "select userno,username from usermain");
    DSdept = new TDataSource(QStringLiteral("DSdept"), this);
    DSdept->setDataSet(DBdept);

    // Left the department tree, right the two pages; the list page holds the
    // editor's own grid.
    auto* splitter = new QSplitter(Qt::Horizontal, ClientPanel);
    splitter->setObjectName(QStringLiteral("RzSplitter1"));
    dxDBTreeList1 = new TDBTreeList(splitter);
    dxDBTreeList1->setDataSource(DSdept);
    dxDBTreeList1->SetKeyField(QStringLiteral("fcode"));
    dxDBTreeList1->SetParentField(QStringLiteral("fparentcode"));
    dxDBTreeList1->AddColumn(QStringLiteral("fname"), QStringLiteral("部门名称")).width(170);
    PageControl1 = new QTabWidget(splitter);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("员工列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("详细信息"));
    delete ClientPanel->layout()->replaceWidget(cxGrid1, splitter);
    auto* listLayout = new QVBoxLayout(TabList);
    listLayout->setContentsMargins(2, 2, 2, 2);
    listLayout->addWidget(cxGrid1);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("员工编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("姓名")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fSex"), QStringLiteral("性别")).width(50).readOnly();
    v->AddColumn(kWageField, QStringLiteral("工资方式")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fJob"), QStringLiteral("职务")).width(100).readOnly();
    v->AddColumn(QStringLiteral("fMobile"), QStringLiteral("手机号码")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fEmail"), QStringLiteral("电子信箱")).width(170).readOnly();
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    connect(v, &QAbstractItemView::doubleClicked, this, [this] {
        Run([this] {
            if (DBmaster_table->Active() && !DBmaster_table->IsEmpty()) ShowDetailPage();
        });
    });
    DBdept->AfterScroll = [this](TRemoteUdpDataSet&) {
        if (dxDBTreeList1->hasFocus()) Run([this] { DeptChanged(); });
    };

    buildDetailPage();
    resize(980, 600);
}

void Tfrm_employee::buildDetailPage() {
    auto* layout = new QVBoxLayout(TabDetail);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(TabDetail);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll);
    DetailPanel = new TFieldPanel(DbMaster_Source, 2);
    DetailPanel->setContentsMargins(8, 8, 8, 8);
    scroll->setWidget(DetailPanel);
    TFieldPanel* p = DetailPanel;
    TDataSource* src = DbMaster_Source;

    Edit_Code = &p->AddEdit(QStringLiteral("员工编号："), QStringLiteral("fcode"));
    p->AddEdit(QStringLiteral("考勤卡号："), QStringLiteral("fBeatcardcode"));
    Edit_Name = &p->AddEdit(QStringLiteral("姓名(中文)："), QStringLiteral("fnamech"));
    p->AddEdit(QStringLiteral("姓名(英文)："), QStringLiteral("fnameen"));

    auto* type = new TDBLookupComboBox(src, QStringLiteral("fTypecode"));
    type->setList(DBetype, QStringLiteral("fid"), {QStringLiteral("fName")},
                  {QStringLiteral("员工类别")});
    p->AddEditor(QStringLiteral("员工类别："), type, QStringLiteral("fTypecode"));
    Lookup_Dept = new TDBTreeLookupCombo(src, QStringLiteral("fdeptcode"));
    Lookup_Dept->setList(DBdept2, QStringLiteral("fCode"), QStringLiteral("fName"),
                         QStringLiteral("fparentcode"));
    p->AddEditor(QStringLiteral("归属部门："), Lookup_Dept, QStringLiteral("fdeptcode"));

    p->AddEditor(QStringLiteral("性别："),
                 new TDBComboBox(src, QStringLiteral("fSex"),
                                 {QStringLiteral("男"), QStringLiteral("女")}, true),
                 QStringLiteral("fSex"));
    p->AddEdit(QStringLiteral("职务："), QStringLiteral("fJob"));
    p->AddEdit(QStringLiteral("身证号码："), QStringLiteral("fIdcard"));
    p->AddEdit(QStringLiteral("联系电话："), QStringLiteral("fTel"));
    p->AddEdit(QStringLiteral("手机号码："), QStringLiteral("fMobile"));
    p->AddEdit(QStringLiteral("毕业院校："), QStringLiteral("fCollege"));
    p->AddEditor(
        QStringLiteral("学历："),
        new TDBComboBox(src, QStringLiteral("fDegree"),
                        {QStringLiteral("初中"), QStringLiteral("高中"), QStringLiteral("大专"),
                         QStringLiteral("本科"), QStringLiteral("博士"), QStringLiteral("硕士")},
                        true),
        QStringLiteral("fDegree"));
    p->AddEdit(QStringLiteral("Email："), QStringLiteral("fEmail"));
    p->AddEditor(QStringLiteral("出生日期："), new TDBDateEdit(src, QStringLiteral("fBirthday")),
                 QStringLiteral("fBirthday"));
    Combo_WageMode =
        new TDBComboBox(src, kWageField, {QStringLiteral("计件"), QStringLiteral("月度")}, false);
    p->AddEditor(QStringLiteral("工资方式："), Combo_WageMode, kWageField);
    auto* user = new TDBLookupComboBox(src, QStringLiteral("userno"));
    user->setList(DBuser, QStringLiteral("userno"),
                  {QStringLiteral("userno"), QStringLiteral("username")},
                  {QStringLiteral("用户编号"), QStringLiteral("用户名称")});
    p->AddEditor(QStringLiteral("登录用户："), user, QStringLiteral("userno"));
    p->AddEditor(QStringLiteral("入职日期："), new TDBDateEdit(src, QStringLiteral("fInTime")),
                 QStringLiteral("fInTime"));
    p->AddEditor(QStringLiteral("离职日期："), new TDBDateEdit(src, QStringLiteral("fOutTime")),
                 QStringLiteral("fOutTime"));
    p->AddCheckBox(QStringLiteral("结婚否"), QStringLiteral("stratbit"));
    p->AddEdit(QStringLiteral("出生地址："), QStringLiteral("fBirthAddress"), true);
    p->AddEdit(QStringLiteral("居住地址："), QStringLiteral("fAddres"), true);
    p->AddEdit(QStringLiteral("特长："), QStringLiteral("fSpecial"), true);
    p->AddMemo(QStringLiteral("备注："), QStringLiteral("remark"));
}

QString Tfrm_employee::WageModeText(const QVariant& mode) {
    if (mode.isNull() || !mode.isValid()) return QString();
    bool ok = false;
    const int value = mode.toInt(&ok);
    if (!ok) return QString();
    return value == 0 ? QStringLiteral("计件") : value == 1 ? QStringLiteral("月度") : QString();
}

QString Tfrm_employee::DeptFilterSQL(const QString& deptCode) {
    return QStringLiteral("select * from dt_employee where 1=1 ") + CR +
           QStringLiteral(
               " and fdeptcode in(select fcode from ba_Department where fparentcode "
               "like '") +
           SqlText(deptCode) + QStringLiteral("%") + QStringLiteral("'") +
           QStringLiteral(" or fcode=") + QStringLiteral("'") + SqlText(deptCode) +
           QStringLiteral("'") + QStringLiteral(") ") + CR + QStringLiteral(" order by fcode");
}

void Tfrm_employee::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    for (TRemoteUdpDataSet* list : {DBdept, DBdept2, DBetype, DBuser}) {
        list->Close();
        list->setSetupUdpParent(md::Session().Connection);
        list->Open();
    }
    dxDBTreeList1->FullExpand();
    DBmaster_table->Close();
    DBmaster_table->Open();
    ShowListPage();
}

void Tfrm_employee::reopen(const QString& sql) {
    DBmaster_table->Close();
    DBmaster_table->SetSQL(sql);
    DBmaster_table->Open();
}

void Tfrm_employee::DeptChanged() {
    // Unsaved edits stay where they are: the list follows the tree only while browsing.
    if (DBmaster_table->InEditState() || !DBdept->Active() || DBdept->IsEmpty()) return;
    reopen(DeptFilterSQL(DBdept->FieldByName(QStringLiteral("fcode")).AsString()));
}

bool Tfrm_employee::FormKeyPress(QKeyEvent& event) {
    if (PageControl1->currentWidget() == TabDetail && FocusNextOnEnter(event)) return true;
    return Tbase_frmDictMdi::FormKeyPress(event);
}

void Tfrm_employee::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_employee::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

void Tfrm_employee::append_actionExecute() {
    Tbase_frmDictMdi::append_actionExecute();
    ShowDetailPage();
    Edit_Code->setFocus();
}

void Tfrm_employee::edit_actionExecute() {
    Tbase_frmDictMdi::edit_actionExecute();
    ShowDetailPage();
    Edit_Name->setFocus();
}

void Tfrm_employee::DBmaster_tableBeforeInsert() {
    if (!DBdept->Active() || DBdept->IsEmpty()) Refuse(QStringLiteral("请先建立部门资料"));
}

void Tfrm_employee::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fdeptcode"))
        .SetAsString(DBdept->FieldByName(QStringLiteral("fcode")).AsString());
    DBmaster_table->FieldByName(QStringLiteral("fcacelType")).SetAsInteger(1);
}

void Tfrm_employee::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString code = ds.FieldByName(QStringLiteral("fcode")).AsString();
    ds.FieldByName(QStringLiteral("fid")).SetAsString(code);
    // A code or name of blanks only is as good as none.
    if (code.trimmed().isEmpty()) Refuse(QStringLiteral("员工编号不能为空!"));
    if (ds.FieldByName(QStringLiteral("fnamech")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("员工姓名不能为空!"));
    if (ds.State() == dsInsert &&
        md::ui::QueryReturnsRow(QStringLiteral("select fcode from dt_employee where fcode='") +
                                SqlText(Edit_Code->text()) + QStringLiteral("'")))
        Refuse(QStringLiteral("员工编号不能重复!"));
}

MD_REGISTER_FORM(Tfrm_employee);
