#include "frm_client.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "dbimage.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "treelist.h"
#include "treelookup.h"

using namespace md::ui;

namespace {

// Every column of dt_client, in the order of the insert statement; the update
// sets all but the key fid.
const char* const kClientColumns[] = {
    "fid",          "fparentid",      "fcode",         "fname",         "fabbrev",
    "fmathod",      "fgrad",          "fprice_type",   "fareacode",     "fdeptcode",
    "frpdtmancode", "fkeyman",        "fcontactman",   "ftel1",         "ftel2",
    "ffax",         "fzipcode",       "femail",        "fqym",          "fhttp",
    "faddres",      "first_amount",   "stratbit",      "remark",        "fcredit_type",
    "fcredit",      "ftaxtype",       "ftaxrate",      "finvoice_name", "finvoice_addres",
    "bank_name",    "bank_no",        "fpayMentmode",  "begindate",     "enddate",
    "firstcharges", "fuserid",        "fusercode",     "fusername",     "fuserpass",
    "discount1",    "discount2",      "discount3",     "discount4",     "discount5",
    "discount6",    "ftaxcode",       "ysk_acccode1",  "ysk_acccode2",  "flinkemail",
    "fclientBrand", "fclientMuBrand", "fgoodsstyle",   "fclientMode",   "fyearmoney",
    "fshoptye",     "fshopcount",     "fshoparea",     "fshopaddres",   "fordertime",
    "fordertype",   "fsalemode",      "fsalearea",     "fsaleaddres",   "fpurchasetype",
    "fmatch",       "flinkname",      "flinkmobile",   "flinksex",      "flinkbirthdate",
    "fpackltd",     "fpacktel",       "fpacklinkname", "fpackaddres",   "fshipltd",
    "fshiptel",     "fshiplinkname",  "fshipaddres"};

QString clientInsertSQL() {
    QStringList names, params;
    for (const char* column : kClientColumns) {
        names << QString::fromLatin1(column);
        params << QLatin1Char(':') + QString::fromLatin1(column);
    }
    return QStringLiteral("insert into dt_client(") + names.join(QLatin1Char(',')) +
           QStringLiteral(")values(") + params.join(QLatin1Char(',')) + QStringLiteral(")");
}

QString clientModifySQL() {
    QStringList sets;
    for (const char* column : kClientColumns) {
        const QString name = QString::fromLatin1(column);
        if (name != QLatin1String("fid")) sets << name + QStringLiteral("=:") + name;
    }
    return QStringLiteral("update dt_client set ") + sets.join(QLatin1Char(',')) +
           QStringLiteral(" where fid=:fid");
}

// A number box over a numeric field. Typing a number writes it at once; a text
// that is no number stays in the box, the field keeping its value, until the
// save's check names it. While the typed number equals the field the box
// keeps the user's spelling ("1." stays "1." rather than turning into "1.00").
class TNumberBox : public QLineEdit {
  public:
    TNumberBox(TDataSource* source, const QString& fieldName, QWidget* parent)
        : QLineEdit(parent),
          m_link(new TFieldDataLink(source, fieldName, this, [this] { showField(); })) {
        setObjectName(QStringLiteral("DBNumber_") + fieldName);
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
            bool isNumber = false;
            const double value = typed.trimmed().toDouble(&isNumber);
            if (typed.trimmed().isEmpty())
                m_link->Write([](TField& f) { f.Clear(); });
            else if (isNumber)
                m_link->Write([value](TField& f) { f.SetAsFloat(value); });
        });
        m_link->Show();
    }

  private:
    void showField() {
        const TField* f = m_link->Field();
        setReadOnly(!m_link->CanModify());
        const bool empty =
            !f || f->IsNull() || (f->DataSet()->IsEmpty() && f->DataSet()->State() != dsInsert);
        bool isNumber = false;
        const double typed = text().trimmed().toDouble(&isNumber);
        if (empty ? text().trimmed().isEmpty() : isNumber && typed == f->AsFloat()) return;
        setText(empty ? QString() : QString::number(f->AsFloat(), 'f', 2));
    }

    TFieldDataLink* m_link;
};

// A read-only box showing a field; only the form writes it.
QLineEdit* shownField(TDataSource* source, const QString& fieldName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("DBShown_") + fieldName);
    box->setReadOnly(true);
    auto* link = new TFieldDataLink(source, fieldName, box, nullptr);
    auto show = [box, link] {
        const TField* f = link->Field();
        const bool any = f && !(f->DataSet()->IsEmpty() && f->DataSet()->State() != dsInsert);
        box->setText(any ? f->AsString() : QString());
    };
    QObject::connect(source, &TDataSource::stateChanged, box, show);
    QObject::connect(source, &TDataSource::dataChanged, box, show);
    show();
    return box;
}

QScrollArea* scrolled(QWidget* page, QWidget* content) {
    auto* area = new QScrollArea(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return area;
}

QGroupBox* group(const QString& title, TFieldPanel* panel, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    panel->setParent(box);
    layout->addWidget(panel);
    return box;
}

const QStringList kNatures = {"自营", "专柜", "联营", "加盟", "代理", "批发", "外销"};
const QStringList kGrades = {"总代理", "一级代理", "二级代理", "经销商", "批发商", "一般客户"};
const QStringList kPriceTypes = {"按折扣", "按等级"};
const QStringList kYesNo = {"是", "否"};

}  // namespace

// ---------------------------------------------------------------- description

QString Tfrm_client::MasterSQL() {
    return QStringLiteral("select * from dt_client order  by fcode");
}

Tfrm_client::Tfrm_client(QWidget* owner) : Tbase_frmMditree(owner) {
    setObjectName(QStringLiteral("frm_client"));
    setWindowTitle(QStringLiteral("客户档案"));
    DBmaster_table->SetSQL(MasterSQL());
    ClientUpdateSql = new TRemoteUpdateSql(this);
    ClientUpdateSql->setObjectName(QStringLiteral("ClientUpdateSql"));
    ClientUpdateSql->InsertSQL = clientInsertSQL();
    ClientUpdateSql->ModifySQL = clientModifySQL();
    // The photo goes with its client: a client code freed by a delete must not
    // find the old photo under it.
    ClientUpdateSql->DeleteSQL = QStringLiteral("delete from dt_client where fid=:fid") +
                                 QLatin1Char('\n') +
                                 QStringLiteral("delete from Dt_ClientImage where fcode=:fcode");
    DBmaster_table->SetupDataObject(ClientUpdateSql);

    auto dataSet = [this](const char* name, const QString& sql) {
        auto* ds = new TRemoteUdpDataSet(QString::fromLatin1(name), this);
        ds->SetSQL(sql);
        return ds;
    };
    DBparent =
        dataSet("DBparent",
                QStringLiteral("select fid,fparentid,fcode,fabbrev,fmathod,fgrad from dt_client"));
    DBdept = dataSet("DBdept", QStringLiteral("select * from ba_Department"));
    DBsalesman = dataSet(
        "DBsalesman",
        QStringLiteral("select a.fcode,fnamech,b.fname as deptname from dbo.Dt_Employee a left "
                       "join  ba_Department b on a.fdeptcode=b.fcode where fcaceltype=1"));
    DBimage =
        dataSet("DBimage", QStringLiteral("select top 1 * from Dt_ClientImage where fcode=:fcode"));
    DSimage = new TDataSource(QStringLiteral("DSimage"), this);
    DSimage->setDataSet(DBimage);
    PhotoLink = LinkDetail(DBimage, {{QStringLiteral("fcode"), QStringLiteral("fcode")}});
    PhotoLink->follow = TMasterDetailLink::Follow::OnDemand;
    // A photo row made for a client without a photo is stored only once it holds one.
    PhotoLink->SendWhen = [](TRemoteUdpDataSet& photo) {
        if (photo.IsEmpty()) return false;
        return photo.UpdateStatus() != usInserted ||
               !photo.FieldByName(QStringLiteral("fimage")).Value().toByteArray().isEmpty();
    };
    DBimage->OnNewRecord = [this](TRemoteUdpDataSet& photo) {
        photo.FieldByName(QStringLiteral("fcode"))
            .SetValue(DBmaster_table->FieldByName(QStringLiteral("fcode")).Value());
    };

    // The tree: key fid, parent fparentid; checks and parents are the form's own.
    TreeRules.CodeField = QStringLiteral("fcode");
    TreeRules.ParentField = QStringLiteral("fparentid");
    TreeRules.NameField = QStringLiteral("fname");
    dxDBTreeList1->SetKeyField(QStringLiteral("fid"));
    dxDBTreeList1->SetParentField(QStringLiteral("fparentid"));
    dxDBTreeList1->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(150);
    dxDBTreeList1->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("简称")).width(120);

    append_action->setText(QStringLiteral("新增"));
    userid_action = NewAction(QStringLiteral("userid_action"), QStringLiteral("授权码"),
                              [this] { userid_actionExecute(); });
    HideActions({insert_action});
    ShowActions({find_action, print_action});
    SetToolbar({append_action, edit_action, post_action, cacel_action, del_action, nullptr,
                find_action, print_action, excel_action, close_action});

    PageControl1 = new QTabWidget(RzPanel2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    static_cast<QVBoxLayout*>(RzPanel2->layout())->insertWidget(0, PageControl1, 1);
    auto page = [this](const char* name, const char* caption) {
        auto* w = new QWidget(PageControl1);
        w->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(w, QString::fromUtf8(caption));
        return w;
    };
    TabList = page("TabList", "列表");
    TabDetail = page("TabDetail", "详细说明");
    TabExtra = page("TabExtra", "辅助说明");
    TabSurvey = page("TabSurvey", "其它说明");
    buildListPage();
    buildDetailPage();
    buildExtraPage();
    buildSurveyPage();
    CodeEditor = Edit_Code;
    NameEditor = Edit_Name;

    RzSplitter1->setSizes({300, 740});
    resize(1040, 660);
}

Tfrm_client::~Tfrm_client() {
    // The datasets go after this part of the window: their last signals must not reach it.
    for (TDataSource* source : {DbMaster_Source, DSimage})
        disconnect(source, nullptr, this, nullptr);
}

void Tfrm_client::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    GridList = new TDBGrid(TabList, QStringLiteral("GridList"), QStringLiteral("GridListView"));
    GridListView = GridList->View();
    layout->addWidget(GridList);
    TDBTableView* v = GridListView;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("客户编号"))
        .width(90)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("客户简称")).width(100).readOnly();
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("客户名称")).width(190).readOnly();
    v->AddColumn(QStringLiteral("fMathod"), QStringLiteral("客户性质")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fGrad"), QStringLiteral("客户等级")).width(80).readOnly();
    v->AddColumn(QStringLiteral("fcontactman"), QStringLiteral("联系人")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fTel1"), QStringLiteral("联系电话1")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fTel2"), QStringLiteral("联系电话2")).width(110).readOnly();
    v->AddColumn(QStringLiteral("ffax"), QStringLiteral("传真号码")).width(110).readOnly();
    v->AddColumn(QStringLiteral("stratbit"), QStringLiteral("启用否"))
        .width(60)
        .checkBox()
        .readOnly();
    v->Options().Footer = true;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    connect(v, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { GridListDblClick(); }); });
}

void Tfrm_client::buildDetailPage() {
    auto* panel = new TFieldPanel(DbMaster_Source, 2);
    scrolled(TabDetail, panel);
    Edit_Code = &panel->AddEdit(QStringLiteral("客户编号："), QStringLiteral("fcode"));
    Edit_Abbrev = &panel->AddEdit(QStringLiteral("客户简称："), QStringLiteral("fabbrev"));
    Edit_Name = &panel->AddEdit(QStringLiteral("客户名称："), QStringLiteral("fname"), true);

    Combo_Mathod = new TDBComboBox(DbMaster_Source, QStringLiteral("fmathod"), kNatures, false);
    Combo_Mathod->setToolTip(QStringLiteral("性质主要是指此客户的经营方式,如自营,加盟,代理等"));
    panel->AddEditor(QStringLiteral("性质："), Combo_Mathod, QStringLiteral("fmathod"));
    Combo_Grad = new TDBComboBox(DbMaster_Source, QStringLiteral("fgrad"), kGrades, false);
    panel->AddEditor(QStringLiteral("等级："), Combo_Grad, QStringLiteral("fgrad"));
    Combo_PriceType =
        new TDBComboBox(DbMaster_Source, QStringLiteral("fprice_type"), kPriceTypes, false);
    Combo_PriceType->setToolTip(
        QStringLiteral("价格方式是指此客户在订货、出货时的单价计算时按折扣来算还是按货品档案中的"
                       "价格来算"));
    panel->AddEditor(QStringLiteral("价格方式："), Combo_PriceType, QStringLiteral("fprice_type"));

    Lookup_Parent = new TDBTreeLookupCombo(DbMaster_Source, QStringLiteral("fparentid"));
    Lookup_Parent->setToolTip(QStringLiteral("F5 清除归属客户"));
    Lookup_Parent->setList(DBparent, QStringLiteral("fid"),
                           QStringLiteral("fcode;fabbrev;fmathod;fgrad"),
                           QStringLiteral("fparentid"));
    panel->AddEditor(QStringLiteral("归属客户："), Lookup_Parent, QStringLiteral("fparentid"));

    Edit_Area = new TDBEdit(DbMaster_Source, QStringLiteral("fareacode"));
    Edit_Area->setToolTip(QStringLiteral("F6 清除所属地区"));
    panel->AddEditor(QStringLiteral("所属地区："), Edit_Area, QStringLiteral("fareacode"));

    auto* dept = new QWidget;
    auto* deptLayout = new QHBoxLayout(dept);
    deptLayout->setContentsMargins(0, 0, 0, 0);
    deptLayout->setSpacing(2);
    Lookup_Dept = new TDBTreeLookupCombo(DbMaster_Source, QStringLiteral("fdeptcode"), dept);
    Lookup_Dept->setList(DBdept, QStringLiteral("fCode"), QStringLiteral("fName"),
                         QStringLiteral("fparentcode"));
    But_Dept = new QToolButton(dept);
    But_Dept->setObjectName(QStringLiteral("But_Dept"));
    But_Dept->setText(QStringLiteral("..."));
    But_Dept->setToolTip(QStringLiteral("部门资料编辑"));
    deptLayout->addWidget(Lookup_Dept, 1);
    deptLayout->addWidget(But_Dept);
    OnClick(But_Dept, [this] { But_DeptClick(); });
    panel->AddEditor(QStringLiteral("归属部门："), dept, QStringLiteral("fdeptcode"));

    Lookup_Salesman = new TDBLookupComboBox(DbMaster_Source, QStringLiteral("frpdtmancode"));
    panel->AddEditor(QStringLiteral("所属业务员："), Lookup_Salesman,
                     QStringLiteral("frpdtmancode"));
    panel->AddEdit(QStringLiteral("法人代表："), QStringLiteral("fkeyman"));
    panel->AddEdit(QStringLiteral("联系人："), QStringLiteral("fcontactman"));
    panel->AddEdit(QStringLiteral("联系电话："), QStringLiteral("ftel1"));
    panel->AddEdit(QStringLiteral("手机号码："), QStringLiteral("ftel2"));
    panel->AddEdit(QStringLiteral("传真号码："), QStringLiteral("ffax"));
    panel->AddEdit(QStringLiteral("邮政编码："), QStringLiteral("fzipcode"));
    Edit_Email = &panel->AddEdit(QStringLiteral("电子邮箱："), QStringLiteral("femail"));
    panel->AddEdit(QStringLiteral("区域码："), QStringLiteral("fqym"));
    panel->AddEdit(QStringLiteral("网址："), QStringLiteral("fhttp"));
    panel->AddEdit(QStringLiteral("地址："), QStringLiteral("faddres"), true);
    Edit_Deposit = new TNumberBox(DbMaster_Source, QStringLiteral("first_amount"), nullptr);
    panel->AddEditor(QStringLiteral("保证金："), Edit_Deposit, QStringLiteral("first_amount"));
    panel->AddCheckBox(QStringLiteral("启用否"), QStringLiteral("stratbit"));
    panel->AddEditor(
        QStringLiteral("控制信用度："),
        new TDBComboBox(DbMaster_Source, QStringLiteral("fcredit_type"), kYesNo, false),
        QStringLiteral("fcredit_type"));
    Edit_Credit = new TNumberBox(DbMaster_Source, QStringLiteral("fcredit"), nullptr);
    panel->AddEditor(QStringLiteral("信用额度："), Edit_Credit, QStringLiteral("fcredit"));
    panel->AddMemo(QStringLiteral("备注："), QStringLiteral("remark"));

    connect(Edit_Code, &QLineEdit::textEdited, this, [this] { m_codeTyped = true; });
    connect(Edit_Abbrev, &QLineEdit::textEdited, this, [this] { m_abbrevTyped = true; });
    connect(Edit_Code, &QLineEdit::editingFinished, this,
            [this] { Run([this] { CodeConfirmed(); }); });
    connect(Edit_Abbrev, &QLineEdit::editingFinished, this,
            [this] { Run([this] { AbbrevConfirmed(); }); });
}

void Tfrm_client::buildExtraPage() {
    auto* content = new QWidget;
    scrolled(TabExtra, content);
    auto* columns = new QHBoxLayout(content);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 3);

    auto* invoice = new TFieldPanel(DbMaster_Source, 2);
    invoice->AddEditor(QStringLiteral("需开具发票："),
                       new TDBComboBox(DbMaster_Source, QStringLiteral("ftaxtype"), kYesNo, false),
                       QStringLiteral("ftaxtype"));
    auto* rate = new QWidget;
    auto* rateLayout = new QHBoxLayout(rate);
    rateLayout->setContentsMargins(0, 0, 0, 0);
    Edit_TaxRate = new TNumberBox(DbMaster_Source, QStringLiteral("ftaxrate"), rate);
    rateLayout->addWidget(Edit_TaxRate, 1);
    rateLayout->addWidget(new QLabel(QStringLiteral("%"), rate));
    invoice->AddEditor(QStringLiteral("发票税率："), rate, QStringLiteral("ftaxrate"));
    invoice->AddEdit(QStringLiteral("发票公司名称："), QStringLiteral("finvoice_name"), true);
    invoice->AddEdit(QStringLiteral("发票公司地址："), QStringLiteral("finvoice_addres"), true);
    invoice->AddEdit(QStringLiteral("银行名称："), QStringLiteral("bank_name"));
    invoice->AddEdit(QStringLiteral("银行帐号："), QStringLiteral("bank_no"));
    invoice->AddEdit(QStringLiteral("货款结算方式："), QStringLiteral("fpayMentmode"));
    left->addWidget(group(QStringLiteral("发票及结算"), invoice, content));

    auto* charges = new TFieldPanel(DbMaster_Source, 2);
    charges->AddEditor(QStringLiteral("起始日期："),
                       new TDBDateEdit(DbMaster_Source, QStringLiteral("begindate")),
                       QStringLiteral("begindate"));
    charges->AddEditor(QStringLiteral("截止日期："),
                       new TDBDateEdit(DbMaster_Source, QStringLiteral("enddate")),
                       QStringLiteral("enddate"));
    Edit_FirstCharges = new TNumberBox(DbMaster_Source, QStringLiteral("firstcharges"), nullptr);
    charges->AddEditor(QStringLiteral("期初费用："), Edit_FirstCharges,
                       QStringLiteral("firstcharges"));
    left->addWidget(group(QStringLiteral("期初费用摊销"), charges, content));

    auto* online = new TFieldPanel(DbMaster_Source, 2);
    auto* userId = new QWidget;
    auto* userIdLayout = new QHBoxLayout(userId);
    userIdLayout->setContentsMargins(0, 0, 0, 0);
    userIdLayout->setSpacing(2);
    Edit_UserId = shownField(DbMaster_Source, QStringLiteral("fuserid"), userId);
    But_UserId = new QPushButton(QStringLiteral("生成授权码"), userId);
    But_UserId->setObjectName(QStringLiteral("But_UserId"));
    userIdLayout->addWidget(Edit_UserId, 1);
    userIdLayout->addWidget(But_UserId);
    connect(But_UserId, &QPushButton::clicked, userid_action, &QAction::trigger);
    online->AddEditor(QStringLiteral("授权码："), userId, QStringLiteral("fuserid"), true);
    online->AddEdit(QStringLiteral("用户编号："), QStringLiteral("fusercode"));
    Edit_UserPass = &online->AddEdit(QStringLiteral("登陆密码："), QStringLiteral("fuserpass"));
    Edit_UserPass->setEchoMode(QLineEdit::Password);
    left->addWidget(group(QStringLiteral("网上订货设置"), online, content));
    left->addStretch();

    auto* photo = new QGroupBox(QStringLiteral("客户相片"), content);
    auto* photoLayout = new QVBoxLayout(photo);
    cxDBImage1 = new TDBImage(photo, QStringLiteral("cxDBImage1"));
    cxDBImage1->SetDataSource(DSimage, QStringLiteral("fimage"));
    cxDBImage1->setMinimumSize(180, 220);
    photoLayout->addWidget(cxDBImage1, 1);
    auto* buttons = new QHBoxLayout;
    But_LoadPhoto = new QPushButton(QStringLiteral("加载相片..."), photo);
    But_LoadPhoto->setObjectName(QStringLiteral("But_LoadPhoto"));
    But_ClearPhoto = new QPushButton(QStringLiteral("清除相片"), photo);
    But_ClearPhoto->setObjectName(QStringLiteral("But_ClearPhoto"));
    buttons->addWidget(But_LoadPhoto);
    buttons->addWidget(But_ClearPhoto);
    photoLayout->addLayout(buttons);
    OnClick(But_LoadPhoto, [this] { But_LoadPhotoClick(); });
    OnClick(But_ClearPhoto, [this] { But_ClearPhotoClick(); });
    columns->addWidget(photo, 2, Qt::AlignTop);
}

void Tfrm_client::buildSurveyPage() {
    auto* content = new QWidget;
    scrolled(TabSurvey, content);
    auto* layout = new QVBoxLayout(content);

    auto* market = new TFieldPanel(DbMaster_Source, 2);
    market->AddEdit(QStringLiteral("公司名称："), QStringLiteral("fname"), true);
    market->AddEdit(QStringLiteral("品牌："), QStringLiteral("fclientBrand"));
    market->AddEdit(QStringLiteral("加盟品牌："), QStringLiteral("fclientMuBrand"));
    market->AddEdit(QStringLiteral("产品风格："), QStringLiteral("fgoodsstyle"));
    market->AddEditor(QStringLiteral("经营方式："),
                      new TDBComboBox(DbMaster_Source, QStringLiteral("fclientMode"),
                                      {QStringLiteral("商铺"), QStringLiteral("批发")}, true),
                      QStringLiteral("fclientMode"));
    market->AddEdit(QStringLiteral("年度销量："), QStringLiteral("fyearmoney"));
    market->AddEditor(QStringLiteral("专卖店场所："),
                      new TDBComboBox(DbMaster_Source, QStringLiteral("fshoptye"),
                                      {QStringLiteral("步行街"), QStringLiteral("百货大楼"),
                                       QStringLiteral("商业区")},
                                      false),
                      QStringLiteral("fshoptye"));
    market->AddEdit(QStringLiteral("专卖店数量："), QStringLiteral("fshopcount"));
    market->AddEdit(QStringLiteral("分布地区："), QStringLiteral("fshoparea"));
    market->AddEdit(QStringLiteral("总店地址："), QStringLiteral("fshopaddres"), true);
    market->AddEdit(QStringLiteral("四季订货时间："), QStringLiteral("fordertime"));
    market->AddEdit(QStringLiteral("订货会形式："), QStringLiteral("fordertype"));
    market->AddEdit(QStringLiteral("批发场所："), QStringLiteral("fsalemode"));
    market->AddEdit(QStringLiteral("批发地区："), QStringLiteral("fsalearea"));
    market->AddEdit(QStringLiteral("联系地址："), QStringLiteral("fsaleaddres"), true);
    market->AddEditor(QStringLiteral("采购主要模式："),
                      new TDBComboBox(DbMaster_Source, QStringLiteral("fpurchasetype"),
                                      {QStringLiteral("订货会"), QStringLiteral("多家采购"),
                                       QStringLiteral("定向采购"), QStringLiteral("固定的厂家")},
                                      false),
                      QStringLiteral("fpurchasetype"));
    market->AddEdit(QStringLiteral("当地主要竞争对手："), QStringLiteral("fmatch"));
    layout->addWidget(group(QStringLiteral("市场调查"), market, content));

    auto* merchandiser = new TFieldPanel(DbMaster_Source, 2);
    merchandiser->AddEdit(QStringLiteral("跟单人员："), QStringLiteral("flinkname"));
    merchandiser->AddEdit(QStringLiteral("电话："), QStringLiteral("flinkmobile"));
    merchandiser->AddEditor(QStringLiteral("性别："),
                            new TDBComboBox(DbMaster_Source, QStringLiteral("flinksex"),
                                            {QStringLiteral("男"), QStringLiteral("女")}, false),
                            QStringLiteral("flinksex"));
    merchandiser->AddEditor(QStringLiteral("出生日期："),
                            new TDBDateEdit(DbMaster_Source, QStringLiteral("flinkbirthdate")),
                            QStringLiteral("flinkbirthdate"));
    layout->addWidget(group(QStringLiteral("跟单人员"), merchandiser, content));

    auto partner = [&](const char* title, const char* name, const char* tel, const char* contact,
                       const char* address) {
        auto* panel = new TFieldPanel(DbMaster_Source, 2);
        panel->AddEdit(QString::fromUtf8(title) + QStringLiteral("："), QString::fromLatin1(name));
        panel->AddEdit(QStringLiteral("电话："), QString::fromLatin1(tel));
        panel->AddEdit(QStringLiteral("联系人："), QString::fromLatin1(contact));
        panel->AddEdit(QStringLiteral("地址："), QString::fromLatin1(address));
        layout->addWidget(group(QString::fromUtf8(title), panel, content));
    };
    partner("包装厂家", "fpackltd", "fpacktel", "fpacklinkname", "fpackaddres");
    partner("货运公司", "fshipltd", "fshiptel", "fshiplinkname", "fshipaddres");
    layout->addStretch();
}

// ---------------------------------------------------------------- creation

void Tfrm_client::OpenLists() {
    // Parents and departments first, then the salespersons if not open yet.
    DBparent->Close();
    DBparent->Open();
    DBdept->Close();
    DBdept->Open();
    if (!DBsalesman->Active()) DBsalesman->Open();
    Lookup_Salesman->setList(DBsalesman, QStringLiteral("fcode"),
                             {QStringLiteral("fcode"), QStringLiteral("fnamech")},
                             {QStringLiteral("编号"), QStringLiteral("姓名")});
}

void Tfrm_client::FormCreate() {
    Tbase_frmMditree::FormCreate();
    OpenLists();
    DBmaster_table->Close();
    DBmaster_table->Open();
    ShowDetailPage();
}

void Tfrm_client::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_client::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

bool Tfrm_client::FormKeyPress(QKeyEvent& event) {
    if (event.modifiers() == Qt::NoModifier && Editing() &&
        (event.key() == Qt::Key_F5 || event.key() == Qt::Key_F6)) {
        // F5: no parent (saved as a top-level client); F6: no area.
        DBmaster_table
            ->FieldByName(event.key() == Qt::Key_F5 ? QStringLiteral("fparentid")
                                                    : QStringLiteral("fareacode"))
            .Clear();
        return true;
    }
    QWidget* focus = focusWidget();
    if (focus && (TabDetail->isAncestorOf(focus) || TabExtra->isAncestorOf(focus)) &&
        FocusNextOnEnter(event))
        return true;
    return Tbase_frmMditree::FormKeyPress(event);
}

IReportSource* Tfrm_client::ReportSource() const {
    return GridListView;
}

void Tfrm_client::UpdateActionState() {
    Tbase_frmMditree::UpdateActionState();
    const bool editing = Editing();
    find_action->setEnabled(!editing);
    userid_action->setEnabled(editing);
    But_UserId->setEnabled(editing);
    But_LoadPhoto->setEnabled(editing);
    But_ClearPhoto->setEnabled(editing);
    // The list moves the record, as the tree does: neither while one is edited.
    GridList->setEnabled(!editing);
}

MD_REGISTER_FORM(Tfrm_client);
