#include "frm_BarGuidEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "barcodes/frm_BarcodeGuID.h"
#include "barquantitygrid.h"
#include "checktree.h"
#include "editors.h"
#include "formfactory.h"
#include "goodsattributefilter.h"
#include "goodsfilterpanel.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "reportprint.h"
#include "scopes.h"
#include "sqlquote.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QChar CR(13);
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QDateEdit* makeDateEdit(QWidget* parent, const QString& name) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDateFormat);
    edit->setCalendarPopup(true);
    edit->setMinimumWidth(110);
    return edit;
}

}  // namespace

Tfrm_BarGuidEdit::Tfrm_BarGuidEdit(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_BarGuidEdit"));
    setWindowTitle(QStringLiteral("产品序列号维护"));
    GuidUpdateSql = new TRemoteUpdateSql(this);
    GuidUpdateSql->setObjectName(QStringLiteral("GuidUpdateSql"));
    GuidUpdateSql->ModifySQL =
        QStringLiteral(
            "update barcodeguid set "
            "fgoodsid=:fgoodsid,fcolorid=:fcolorid,fsize=:fsize,fbarcode=:fbarcode,") +
        CR + QStringLiteral("fcode=:fcode,fflag=:fflag,fflagdate=:fflagdate,fflagmode=:fflagmode") +
        CR + QStringLiteral("where fautoid=:fautoid");
    GuidUpdateSql->DeleteSQL = QStringLiteral("delete from barcodeguid where fbarcode=:fbarcode");
    DBmaster_table->SetupDataObject(GuidUpdateSql);

    print_action->setText(QStringLiteral("打印列表"));
    labelprint_action = NewAction(QStringLiteral("labelprint_action"), QStringLiteral("打印吊牌"),
                                  [this] { labelprint_actionExecute(); });
    labelprint_action->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
    ShowActions({print_action});
    HideActions({first_action, prio_action, next_action, last_action, append_action, find_action});
    SetToolbar({edit_action, post_action, cacel_action, del_action, print_action, labelprint_action,
                excel_action, close_action});

    LabelMenu = new TLabelMenu(this);
    LabelMenu->setObjectName(QStringLiteral("LabelMenu"));
    connect(LabelMenu->Menu_bar, &QAction::triggered, this,
            [this] { Run([this] { Reprint(0); }); });
    for (int number = 1; number <= 3; ++number)
        connect(LabelMenu->ShoeBar(number), &QAction::triggered, this,
                [this, number] { Run([this, number] { Reprint(number); }); });

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* right = new QWidget(ClientPanel);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* dates = new QHBoxLayout;
    Check_Date = new QCheckBox(QStringLiteral("日期选择:"), right);
    Check_Date->setObjectName(QStringLiteral("Check_Date"));
    Check_Date->setChecked(true);
    DateEdit_begin = makeDateEdit(right, QStringLiteral("DateEdit_begin"));
    DateEdit_end = makeDateEdit(right, QStringLiteral("DateEdit_end"));
    But_Find = new QPushButton(QStringLiteral("统计"), right);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    But_Find->setAutoDefault(false);
    dates->addWidget(Check_Date);
    dates->addWidget(DateEdit_begin);
    dates->addWidget(new QLabel(QStringLiteral("至"), right));
    dates->addWidget(DateEdit_end);
    dates->addSpacing(12);
    dates->addWidget(But_Find);
    dates->addStretch(1);
    rightLayout->addLayout(dates);
    connect(Check_Date, &QCheckBox::toggled, this, [this](bool on) {
        DateEdit_begin->setEnabled(on);
        DateEdit_end->setEnabled(on);
    });
    OnClick(But_Find, [this] { But_FindClick(); });

    cxGrid1 = new TDBGrid(right, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("delbit"), QStringLiteral("选择打印")).width(56).checkBox();
    v->AddColumn(QStringLiteral("fbarcode"), QStringLiteral("产品序列号"))
        .width(162)
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("验证码")).width(64).upperCase();
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号")).width(90).upperCase();
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("品名")).width(92).readOnly();
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号")).width(56).upperCase();
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色名称")).width(56).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(52)
        .currency()
        .readOnly();
    v->AddColumn(QStringLiteral("fsize"), QStringLiteral("尺码")).width(40);
    v->AddColumn(QStringLiteral("fflag"), QStringLiteral("是否已注册")).width(66).checkBox();
    v->AddColumn(QStringLiteral("fflagdate"), QStringLiteral("注册日期")).width(78).date();
    v->AddColumn(QStringLiteral("fflagmode"), QStringLiteral("注册方式"))
        .width(64)
        .valueList(
            {QStringLiteral("电话注册"), QStringLiteral("短信注册"), QStringLiteral("网上注册")});
    v->AddColumn(QStringLiteral("finputdate"), QStringLiteral("制单日期")).width(72).readOnly();
    v->AddColumn(QStringLiteral("finputuser"), QStringLiteral("制单人")).width(50).readOnly();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.MultiSelect = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    rightLayout->addWidget(cxGrid1, 1);
    layout->addWidget(right, 1);

    auto* filter = new TGoodsFilterPanel(right, QStringLiteral("检索过滤"));
    CheckTree1 = filter->Tree;
    Edit_GoodsId = filter->CodeBox;
    Edit_GoodsId->setValidator(new TUpperCaseValidator(Edit_GoodsId));
    // The panel's own button gives way to "统计" above the grid.
    filter->FindButton->hide();
    filter->PlaceBeside(right, 150, 950);
    connect(Edit_GoodsId, &QLineEdit::returnPressed, this,
            [this] { Run([this] { But_FindClick(); }); });
    resize(1120, 600);
}

void Tfrm_BarGuidEdit::FormCreate() {
    Tbase_frmMdi::FormCreate();
    FillGoodsAttributeTree(*CheckTree1);
    LabelMenu->Apply(TBarListSettings::Read());
    // The serials made today, as the date boxes stand.
    But_FindClick();
    UpdateActionState();
}

QString Tfrm_BarGuidEdit::SearchSQL(const QString& condition, const QString& codeText,
                                    const QString& fromDate, const QString& toDate) {
    QString c = condition;
    if (!codeText.isEmpty())
        c += (c.isEmpty() ? QStringLiteral(" a.fgoodsid like ")
                          : QStringLiteral(" and a.fgoodsid like ")) +
             QStringLiteral("'%") + SqlText(codeText) + QStringLiteral("%'");
    QString sql = QStringLiteral(
                      "select "
                      "a.*,b.goodsname,b.colorname_ch,b.size_class,b.unitprice,b.brand,b.ayear,b."
                      "season,b.sort,b.delbit") +
                  CR +
                  QStringLiteral(
                      "from barcodeguid a join vgoodscolor b on a.fgoodsid=b.goodsid "
                      "and a.fcolorid=b.colorid where 1=1 ") +
                  CR;
    if (!c.isEmpty()) sql += QStringLiteral(" and ") + c + CR;
    if (!fromDate.isEmpty())
        sql += QStringLiteral(" and a.finputdate>='") + SqlText(fromDate) + QStringLiteral("'") +
               QStringLiteral(" and a.finputdate<=") + QStringLiteral("'") + SqlText(toDate) +
               QStringLiteral("'");
    return sql;
}

void Tfrm_BarGuidEdit::But_FindClick() {
    if (DBmaster_table->InEditState() || DBmaster_table->UpdatesPending())
        Refuse(QStringLiteral("请先保存或撤消当前的修改!"));
    const bool dated = Check_Date->isChecked();
    const QString sql =
        SearchSQL(GoodsAttributeCondition(*CheckTree1), Edit_GoodsId->text().trimmed(),
                  dated ? DateEdit_begin->date().toString(kDateFormat) : QString(),
                  dated ? DateEdit_end->date().toString(kDateFormat) : QString());
    {
        TWaitCursor wait;
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    UpdateActionState();
}

void Tfrm_BarGuidEdit::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    // Reprinting reads the marks as they stand, also while they are being set.
    labelprint_action->setEnabled(RightPrint);
}

void Tfrm_BarGuidEdit::post_actionExecute() {
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    DBmaster_table->UpdateBatch();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

QStringList Tfrm_BarGuidEdit::markedSerials() const {
    QStringList serials;
    if (!DBmaster_table->Active()) return serials;
    const int mark = DBmaster_table->FieldByName(QStringLiteral("delbit")).Index();
    const int serial = DBmaster_table->FieldByName(QStringLiteral("fbarcode")).Index();
    for (int row = 0; row < DBmaster_table->RecordCount(); ++row)
        if (TField::booleanOf(DBmaster_table->valueAt(row, mark)))
            serials << DBmaster_table->valueAt(row, serial).toString();
    return serials;
}

void Tfrm_BarGuidEdit::del_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    if (!AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    DBmaster_table->CheckBrowseMode();
    if (markedSerials().isEmpty()) {
        // Nothing marked: the current row, as the record editor deletes.
        DBmaster_table->Delete();
    } else {
        TControlsDisabled still(*DBmaster_table);
        const TField& mark = DBmaster_table->FieldByName(QStringLiteral("delbit"));
        DBmaster_table->First();
        while (!DBmaster_table->Eof()) {
            if (mark.AsBoolean())
                DBmaster_table->Delete();
            else
                DBmaster_table->Next();
        }
    }
    DBmaster_table->UpdateBatch();
    UpdateActionState();
    WriteLog(QStringLiteral("删除"));
}

void Tfrm_BarGuidEdit::labelprint_actionExecute() {
    LabelMenu->popup(QCursor::pos());
}

void Tfrm_BarGuidEdit::Reprint(int program) {
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    Tfrm_BarcodeGuID::CopyLabelRows(QString());
    const QStringList serials = markedSerials();
    if (serials.isEmpty()) Refuse(QStringLiteral("请选择要打印的产品序列号!"));
    QStringList quoted;
    for (const QString& serial : serials) quoted << QuotedStr(serial);
    const QString sql = QStringLiteral("select * from vbarcodeGuid2 where 序列号 in(") +
                        quoted.join(QLatin1Char(',')) + QStringLiteral(")");
    Tfrm_BarcodeGuID::CopyLabelRows(sql);
    const TBarListSettings& settings = LabelMenu->Settings();
    if (program == 0)
        PrintOneTable(QStringLiteral("产品序列号.frf"), sql);
    else
        StartLabelProgram(settings.opentype, settings.Bar(program));
}

MD_REGISTER_FORM(Tfrm_BarGuidEdit);
