#include "frm_MoneyCard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "datasource.h"
#include "editors.h"
#include "formfactory.h"
#include "frm_MoneyCardCreate.h"
#include "frm_MoneyCardEdit.h"
#include "frm_MoneyCardOut.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"
#include "styles.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// A barcode drawn twice by chance is drawn again; a database that keeps
// refusing after this many draws has another problem, which is shown.
constexpr int kBarcodeDraws = 5;

const char* const kStatusNames[] = {"未发放", "已发放", "已消费", "已失效"};

// The barcode a refused insert of coupons already held, when that was the reason.
QString takenBarcode(const EDatabaseError& error) {
    const TConstraintViolation& v = error.violation();
    if (v.kind != TConstraintViolation::Kind::Duplicate) return QString();
    for (qsizetype i = 0; i < v.columns.size() && i < v.values.size(); ++i)
        if (v.columns.at(i).compare(QStringLiteral("fpassword"), Qt::CaseInsensitive) == 0)
            return v.values.at(i);
    return QString();
}

}  // namespace

Tfrm_MoneyCard::Tfrm_MoneyCard(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_MoneyCard"));
    setWindowTitle(QStringLiteral("现金券管理"));

    DBshop_table = new TRemoteUdpDataSet(QStringLiteral("DBshop_table"), this);
    DBshop_table->SetLockType(etOptimistic);
    DBuser_table = new TRemoteUdpDataSet(QStringLiteral("DBuser_table"), this);
    DBuser_table->SetLockType(etOptimistic);
    DBstatus_table = new TRemoteUdpDataSet(QStringLiteral("DBstatus_table"), this);
    DBstatus_table->AddField(QStringLiteral("fstatus"), ftInteger);
    DBstatus_table->AddField(QStringLiteral("fname"), ftString, 10);

    // Declared fields give the grid its columns before the first 统计.
    const std::tuple<const char*, TFieldType, int> fields[] = {
        {"fcardno", ftString, 30},     {"fpassword", ftString, 30},
        {"fmoney", ftCurrency, 0},     {"fbegindate", ftDate, 0},
        {"fenddate", ftDate, 0},       {"fstatus", ftInteger, 0},
        {"finputdate", ftDate, 0},     {"finputuser", ftString, 30},
        {"fclientcode", ftString, 30}, {"fclientno", ftString, 12},
        {"foutemp", ftString, 30},     {"foutdate", ftDate, 0},
        {"foutuser", ftString, 30},    {"fuserclientcode", ftString, 30},
        {"fsaledate", ftDate, 0},      {"fsalebillid", ftString, 30},
        {"fremark", ftString, 100},    {"fname", ftString, 30},
        {"fmobile", ftString, 30},     {"fcheck", ftBoolean, 0}};
    for (const auto& [name, type, size] : fields)
        DBmaster_table->AddField(QString::fromLatin1(name), type, size);

    out_action = NewAction(QStringLiteral("out_action"), QStringLiteral("发放"),
                           [this] { out_actionExecute(); });
    out_action->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    SetToolbar({append_action, edit_action, del_action, out_action, excel_action, close_action});
    HideActions({first_action, prio_action, next_action, last_action, post_action, cacel_action,
                 find_action, print_action});

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(4, 4, 4, 4);
    buildFilter(ClientPanel);
    layout->addWidget(GroupBox_Filter);
    buildGrid(ClientPanel);
    layout->addWidget(cxGrid1, 1);
    resize(1100, 620);
}

void Tfrm_MoneyCard::buildFilter(QWidget* parent) {
    GroupBox_Filter = new QGroupBox(QStringLiteral("过滤条件"), parent);
    GroupBox_Filter->setObjectName(QStringLiteral("GroupBox_Filter"));
    auto* rows = new QVBoxLayout(GroupBox_Filter);
    rows->setSpacing(4);
    // The four date ranges, two by two.
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(6);
    auto range = [this, dates](TDateRange& r, const char* name, const char* caption, int row,
                               int column) {
        r.Check = new QCheckBox(QString::fromUtf8(caption), GroupBox_Filter);
        r.Check->setObjectName(QStringLiteral("Check_") + QString::fromLatin1(name));
        auto date = [this](const QString& objectName) {
            auto* edit = new QDateEdit(GroupBox_Filter);
            edit->setObjectName(objectName);
            edit->setDisplayFormat(kDateFormat);
            edit->setCalendarPopup(true);
            return edit;
        };
        r.From = date(QStringLiteral("Date_") + QString::fromLatin1(name) + QStringLiteral("1"));
        r.To = date(QStringLiteral("Date_") + QString::fromLatin1(name) + QStringLiteral("2"));
        dates->addWidget(r.Check, row, column);
        dates->addWidget(r.From, row, column + 1);
        dates->addWidget(new QLabel(QStringLiteral("至"), GroupBox_Filter), row, column + 2);
        dates->addWidget(r.To, row, column + 3);
    };
    range(InputDate, "InputDate", "生成日期:", 0, 0);
    range(OutDate, "OutDate", "发放日期:", 0, 5);
    range(ValidDate, "ValidDate", "有效日期:", 1, 0);
    range(SaleDate, "SaleDate", "消费日期:", 1, 5);
    ValidDate.Check->setChecked(true);
    dates->setColumnMinimumWidth(4, 24);
    dates->setColumnStretch(9, 1);
    rows->addLayout(dates);

    // Shops, number and status, and the button.
    auto* others = new QHBoxLayout;
    others->setSpacing(6);
    auto labelled = [this, others](const char* caption, QWidget* box) {
        others->addWidget(new QLabel(QString::fromUtf8(caption), GroupBox_Filter));
        others->addWidget(box);
        others->addSpacing(10);
    };
    auto shop = [this](const char* name) {
        auto* combo = new TLookupCombo(GroupBox_Filter);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setMinimumWidth(110);
        return combo;
    };
    Combo_Client = shop("Combo_Client");
    Combo_UserClient = shop("Combo_UserClient");
    Edit_CardNo = new QLineEdit(GroupBox_Filter);
    Edit_CardNo->setObjectName(QStringLiteral("Edit_CardNo"));
    Edit_CardNo->setMaxLength(30);
    Combo_Status = new QComboBox(GroupBox_Filter);
    Combo_Status->setObjectName(QStringLiteral("Combo_Status"));
    Combo_Status->addItems({QStringLiteral("全        部"), QStringLiteral("未发放未消费"),
                            QStringLiteral("已发放未消费"), QStringLiteral("已发放已消费"),
                            QStringLiteral("已失效未消费")});
    Combo_Status->setCurrentIndex(0);
    labelled("领券店铺:", Combo_Client);
    labelled("消费店铺:", Combo_UserClient);
    labelled("礼券编号:", Edit_CardNo);
    labelled("礼券状态:", Combo_Status);
    But_Count = new QPushButton(QStringLiteral("统计"), GroupBox_Filter);
    But_Count->setObjectName(QStringLiteral("But_Count"));
    But_Count->setAutoDefault(false);
    But_Count->setMinimumWidth(80);
    others->addWidget(But_Count);
    others->addStretch(1);
    rows->addLayout(others);
    OnClick(But_Count, [this] { But_CountClick(); });
}

void Tfrm_MoneyCard::buildGrid(QWidget* parent) {
    cxGrid1 = new TDBGrid(parent, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    const int basic = v->AddBand(QStringLiteral("基础信息"));
    const int issue = v->AddBand(QStringLiteral("发放信息"));
    const int sale = v->AddBand(QStringLiteral("消费信息"));
    const int other = v->AddBand(QStringLiteral("其他信息"));
    v->AddColumn(QStringLiteral("fcardno"), QStringLiteral("现金券编号"))
        .width(120)
        .band(basic)
        .footer(TSummaryKind::Count, QStringLiteral("合计"));
    v->AddColumn(QStringLiteral("fpassword"), QStringLiteral("现金券条码"))
        .width(110)
        .band(basic)
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fmoney"), QStringLiteral("金额"))
        .width(80)
        .band(basic)
        .currency(QStringLiteral("0.00"))
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("fbegindate"), QStringLiteral("生效日期")).width(86).band(basic);
    v->AddColumn(QStringLiteral("fenddate"), QStringLiteral("失效日期")).width(86).band(basic);
    v->AddColumn(QStringLiteral("fstatus"), QStringLiteral("状态"))
        .width(60)
        .band(basic)
        .lookup(DBstatus_table, QStringLiteral("fstatus"), {QStringLiteral("fname")}, {},
                QStringLiteral("fname"));
    v->AddColumn(QStringLiteral("fclientcode"), QStringLiteral("领券店铺"))
        .width(110)
        .band(issue)
        .lookup(DBshop_table, QStringLiteral("fcode"),
                {QStringLiteral("fcode"), QStringLiteral("fabbrev")}, {},
                QStringLiteral("fabbrev"));
    v->AddColumn(QStringLiteral("foutdate"), QStringLiteral("发放日期")).width(86).band(issue);
    v->AddColumn(QStringLiteral("foutuser"), QStringLiteral("发放人"))
        .width(70)
        .band(issue)
        .lookup(DBuser_table, QStringLiteral("userno"),
                {QStringLiteral("userno"), QStringLiteral("username")}, {},
                QStringLiteral("username"));
    v->AddColumn(QStringLiteral("fuserclientcode"), QStringLiteral("消费店铺"))
        .width(90)
        .band(sale);
    v->AddColumn(QStringLiteral("fsaledate"), QStringLiteral("消费日期")).width(86).band(sale);
    v->AddColumn(QStringLiteral("fsalebillid"), QStringLiteral("销售单号")).width(110).band(sale);
    v->AddColumn(QStringLiteral("finputdate"), QStringLiteral("制单日期")).width(86).band(other);
    v->AddColumn(QStringLiteral("finputuser"), QStringLiteral("制单人")).width(70).band(other);
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("备注说明")).width(120).band(other);
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("领券人姓名")).width(80).band(other);
    v->AddColumn(QStringLiteral("fmobile"), QStringLiteral("领券人手机")).width(100).band(other);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.ColumnSorting = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
}

// ---------------------------------------------------------------- create and state

void Tfrm_MoneyCard::FormCreate() {
    Tbase_frmMdi::FormCreate();
    ApplySharedColours(this);
    // Filled now: the inherited create handler closes every dataset.
    DBstatus_table->CreateDataSet();
    for (int status = 1; status <= 4; ++status) {
        DBstatus_table->Append();
        DBstatus_table->FieldByName(QStringLiteral("fstatus")).SetAsInteger(status);
        DBstatus_table->FieldByName(QStringLiteral("fname"))
            .SetAsString(QString::fromUtf8(kStatusNames[status - 1]));
        DBstatus_table->Post();
    }
    md::OpenQuery(*DBshop_table, QStringLiteral("select fcode,fabbrev from dt_client"));
    md::OpenQuery(*DBuser_table, QStringLiteral("select userno,username from usermain"));
    for (TLookupCombo* combo : {Combo_Client, Combo_UserClient}) {
        combo->setList(DBshop_table, QStringLiteral("fcode"),
                       {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                       {QStringLiteral("店铺编号"), QStringLiteral("店铺简称")});
        combo->setKeyValue(QString());
    }
    // Every range runs from the first of this month to today.
    const QDate today = QDate::currentDate();
    for (TDateRange* r : {&InputDate, &OutDate, &ValidDate, &SaleDate}) {
        r->From->setDate(QDate(today.year(), today.month(), 1));
        r->To->setDate(today);
    }
}

void Tfrm_MoneyCard::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    out_action->setEnabled(!Editing() && RightEdit);
    // Coupons change through the dialogs only.
    cxGrid1DBTableView1->SetInputAllowed(false);
}

// ---------------------------------------------------------------- 统计

QString Tfrm_MoneyCard::QuerySQL() const {
    QString sql = QStringLiteral("select * from D_MoneyCard where 1=1") + QLatin1Char('\r');
    auto range = [&sql](const TDateRange& r, const QString& low, const QString& high) {
        if (!r.Check->isChecked()) return;
        sql += QStringLiteral(" and ") + low + QStringLiteral(">=") + QStringLiteral("'") +
               SqlText(r.From->date().toString(kDateFormat)) + QStringLiteral("'") +
               QStringLiteral(" and ") + high + QStringLiteral("<=") + QStringLiteral("'") +
               SqlText(r.To->date().toString(kDateFormat)) + QStringLiteral("'");
    };
    range(InputDate, QStringLiteral("finputdate"), QStringLiteral("finputdate"));
    range(OutDate, QStringLiteral("foutdate"), QStringLiteral("foutdate"));
    range(ValidDate, QStringLiteral("fbegindate"), QStringLiteral("fenddate"));
    range(SaleDate, QStringLiteral("fsaledate"), QStringLiteral("fsaledate"));
    const QString client = Combo_Client->keyValue().trimmed();
    if (!client.isEmpty())
        sql += QStringLiteral(" and fclientcode=") + QStringLiteral("'") + SqlText(client) +
               QStringLiteral("'");
    const QString userClient = Combo_UserClient->keyValue().trimmed();
    if (!userClient.isEmpty())
        sql += QStringLiteral(" and fuserclientcode=") + QStringLiteral("'") + SqlText(userClient) +
               QStringLiteral("'");
    if (Combo_Status->currentIndex() > 0)
        sql += QStringLiteral(" and fstatus=") + QString::number(Combo_Status->currentIndex());
    const QString cardno = Edit_CardNo->text().trimmed();
    if (!cardno.isEmpty())
        sql += QStringLiteral(" and fcardno like ") + QStringLiteral("'%") + SqlText(cardno) +
               QStringLiteral("%'");
    return sql;
}

void Tfrm_MoneyCard::But_CountClick() {
    for (const TDateRange* r : {&InputDate, &OutDate, &ValidDate, &SaleDate})
        if (r->Check->isChecked() && r->From->date() > r->To->date())
            Refuse(QStringLiteral("<") + r->Check->text().chopped(1) +
                   QStringLiteral(">的开始日期不能晚于结束日期！"));
    const QString sql = QuerySQL();
    {
        TWaitCursor wait;
        DBmaster_table->Close();
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    UpdateActionState();
}

// ---------------------------------------------------------------- 新增

void Tfrm_MoneyCard::append_actionExecute() {
    if (!DBmaster_table->Active()) But_CountClick();
    Tfrm_MoneyCardCreate dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    storeNewCards(dialog.Cards());
}

void Tfrm_MoneyCard::storeNewCards(const QList<TNewMoneyCard>& cards) {
    {
        TControlsDisabled still(*DBmaster_table);
        TRemoteUdpDataSet& ds = *DBmaster_table;
        TField& cardno = ds.FieldByName(QStringLiteral("fcardno"));
        TField& password = ds.FieldByName(QStringLiteral("fpassword"));
        TField& money = ds.FieldByName(QStringLiteral("fmoney"));
        TField& begin = ds.FieldByName(QStringLiteral("fbegindate"));
        TField& end = ds.FieldByName(QStringLiteral("fenddate"));
        TField& status = ds.FieldByName(QStringLiteral("fstatus"));
        TField& inputDate = ds.FieldByName(QStringLiteral("finputdate"));
        TField& inputUser = ds.FieldByName(QStringLiteral("finputuser"));
        // As the fields hold dates ('yyyy-MM-dd'), made once.
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        const QString user = md::Session().UserNo;
        for (const TNewMoneyCard& card : cards) {
            if (!card.fremark.isEmpty()) continue;  // occupied: never stored
            ds.Append();
            cardno.SetAsString(card.fcardno);
            password.SetAsString(card.fpassword);
            money.SetAsFloat(card.fmoney);
            begin.SetAsString(card.fbegindate);
            end.SetAsString(card.fenddate);
            status.SetAsInteger(1);
            inputDate.SetAsString(today);
            inputUser.SetAsString(user);
            ds.Post();
        }
    }
    sendNewCards();
    UpdateActionState();
    WriteLog(QStringLiteral("新增"));
}

void Tfrm_MoneyCard::sendNewCards() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    for (int draw = 1;; ++draw) {
        QString taken;
        try {
            ds.UpdateBatch();
            return;
        } catch (const EDatabaseError& error) {
            taken = takenBarcode(error);
            if (taken.isEmpty() || draw == kBarcodeDraws) throw;
        }
        // The batch was refused whole and is still cached: the new coupon
        // with that barcode (the last one listed) gets another.
        TControlsDisabled still(ds);
        const int field = ds.FieldByName(QStringLiteral("fpassword")).Index();
        bool redrawn = false;
        for (int row = ds.RecordCount() - 1; row >= 0 && !redrawn; --row) {
            if (ds.valueAt(row, field).toString().compare(taken, Qt::CaseInsensitive) != 0)
                continue;
            ds.GotoBookmark(ds.bookmarkAt(row));
            if (ds.UpdateStatus() != usInserted) continue;
            TRemoteUdpDataSet key;
            md::OpenQuery(key, QStringLiteral("select * from v_Getpassword12"));
            ds.Edit();
            ds.FieldByName(QStringLiteral("fpassword")).SetAsString(key.Fields(0).AsString());
            ds.Post();
            redrawn = true;
        }
        if (!redrawn) throw EDatabaseError(QStringLiteral("现金券条码“%1”重复").arg(taken));
    }
}

// ---------------------------------------------------------------- 发放

void Tfrm_MoneyCard::out_actionExecute() {
    if (!DBmaster_table->Active()) But_CountClick();
    Tfrm_MoneyCardOut dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    issueCards(dialog.Cards());
}

void Tfrm_MoneyCard::issueCards(const QList<TIssuedMoneyCard>& cards) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    {
        TControlsDisabled still(ds);
        TBookmarkKept place(ds);
        const QDate today = QDate::currentDate();
        const QString user = md::Session().UserNo;
        for (const TIssuedMoneyCard& card : cards) {
            // A coupon the filter leaves out of the list is not issued.
            if (!ds.Locate(QStringLiteral("fcardno"), card.fcardno, loCaseInsensitive)) continue;
            ds.Edit();
            ds.FieldByName(QStringLiteral("fclientcode")).SetAsString(card.fclientcode);
            ds.FieldByName(QStringLiteral("fclientno")).SetAsString(card.fclientno);
            ds.FieldByName(QStringLiteral("foutemp")).SetAsString(card.foutemp);
            ds.FieldByName(QStringLiteral("foutdate")).SetAsDate(today);
            ds.FieldByName(QStringLiteral("foutuser")).SetAsString(user);
            ds.FieldByName(QStringLiteral("fstatus")).SetAsInteger(2);
            ds.Post();
        }
    }
    ds.UpdateBatch();
    UpdateActionState();
}

// ---------------------------------------------------------------- 修改, 删除

void Tfrm_MoneyCard::edit_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    const QString cardno = DBmaster_table->FieldByName(QStringLiteral("fcardno")).AsString();
    DBmaster_table->Edit();
    // The dialog frees itself when it closes.
    auto* dialog = new Tfrm_MoneyCardEdit(DbMaster_Source, DBshop_table, this);
    ExecModal(*dialog);
    UpdateActionState();
    WriteLog(QStringLiteral("修改"), cardno);
}

void Tfrm_MoneyCard::del_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    const QString cardno = DBmaster_table->FieldByName(QStringLiteral("fcardno")).AsString();
    if (cardno.isEmpty()) Abort();
    if (DBmaster_table->FieldByName(QStringLiteral("fstatus")).AsInteger() != 1)
        Refuse(QStringLiteral("只能删除未发放的现金券！"));
    if (!AskYesNo(QStringLiteral("是否确认删除此现金券资料？"))) Abort();
    DBmaster_table->Delete();
    DBmaster_table->UpdateBatch();
    UpdateActionState();
    WriteLog(QStringLiteral("删除"), cardno);
}

MD_REGISTER_FORM(Tfrm_MoneyCard);
