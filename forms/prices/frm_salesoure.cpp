#include "frm_salesoure.h"

#include <QAction>

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "selectclient.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QString kUnknownShop = QStringLiteral("客户编号输入有误,请重新录入!");

QString monthField(int month) {
    return QStringLiteral("m%1").arg(month);
}

QString yearProblem(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) return QString();
    bool whole = false;
    const int year = typed.toInt(&whole);
    return whole && year >= 1900 && year <= 9999 ? QString() : QStringLiteral("年份输入有误!");
}

}  // namespace

Tfrm_salesoure::Tfrm_salesoure(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("销售目标设置"));
    SaleSoureUpdateSql = new TRemoteUpdateSql(this);
    SaleSoureUpdateSql->setObjectName(QStringLiteral("SaleSoureUpdateSql"));
    SaleSoureUpdateSql->InsertSQL = QStringLiteral(
        "insert into "
        "ba_salesoure(fclientcode,ayear,m1,m2,m3,m4,m5,m6,m7,m8,m9,m10,m11,m12)values(:"
        "fclientcode,:ayear,:m1,:m2,:m3,:m4,:m5,:m6,:m7,:m8,:m9,:m10,:m11,:m12)");
    SaleSoureUpdateSql->ModifySQL = QStringLiteral(
        "update ba_salesoure set "
        "m1=:m1,m2=:m2,m3=:m3,m4=:m4,m5=:m5,m6=:m6,m7=:m7,m8=:m8,m9=:m9,m10=:m10,m11=:m11,m12=:m12 "
        "where fclientcode=:fclientcode and ayear=:ayear");
    SaleSoureUpdateSql->DeleteSQL =
        QStringLiteral("delete from ba_salesoure where fclientcode=:fclientcode and ayear=:ayear");
    DBmaster_table->SetupDataObject(SaleSoureUpdateSql);
    m_sumto = &DBmaster_table->AddCalcField(QStringLiteral("sumto"), ftFloat);
    DBmaster_table->OnCalcFields = [this](TRemoteUdpDataSet& row) {
        double sum = 0;
        for (int month = 1; month <= 12; ++month)
            sum += row.FieldByName(monthField(month)).AsFloat();  // empty months count 0
        m_sumto->SetAsFloat(sum);
    };

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fclientcode"), QStringLiteral("店铺编号"))
        .width(80)
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"))
        .button([this](TGridColumn&) { fclientcodeButtonClick(); });
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("店铺简称"))
        .width(100)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fmathod"), QStringLiteral("店铺性质")).width(64).readOnly();
    v->AddColumn(QStringLiteral("ayear"), QStringLiteral("年份"))
        .width(56)
        .currency(QStringLiteral("0"))
        .inputCheck(yearProblem);
    for (int month = 1; month <= 12; ++month)
        md::ui::AcceptNumbers(v->AddColumn(monthField(month), QStringLiteral("%1月").arg(month))
                                  .width(100)
                                  .currency(QStringLiteral(",0.00"))
                                  .footer(TSummaryKind::Sum, QStringLiteral(",0.00")));
    v->AddColumn(QStringLiteral("sumto"), QStringLiteral("合计"))
        .width(110)
        .readOnly()
        .currency(QStringLiteral(",0.00"))
        .footer(TSummaryKind::Sum, QStringLiteral(",0.00"));
    v->Options().ColumnSorting = true;
    v->Options().ColumnFiltering = true;
    v->ApplyOptions();
    ShowActions({print_action});
    HideActions({first_action, prio_action, next_action, last_action});
    resize(748, 468);
}

QString Tfrm_salesoure::MasterSQL() {
    const QString scope = md::ClientScopeCondition(QStringLiteral("a.fclientcode"));
    return QStringLiteral(
               "select a.*,b.fabbrev,b.fmathod from ba_salesoure a join dt_client b on "
               "a.fclientcode=b.fcode ") +
           (scope.isEmpty() ? QString() : QStringLiteral("where 1=1") + scope);
}

void Tfrm_salesoure::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    m_currentYear = QString::number(Today().year());
    // The scope is the session's, known only now.
    DBmaster_table->SetSQL(MasterSQL());
    if (!DBmaster_table->Active()) DBmaster_table->Open();
}

void Tfrm_salesoure::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TField& shop = ds.FieldByName(QStringLiteral("fclientcode"));
    shop.OnValidate = [](TField& f) {
        const QString code = f.AsString().trimmed();
        if (!code.isEmpty() && !md::ui::QueryReturnsRow(
                                   QStringLiteral("select fcode from dt_client where fcode=:code") +
                                       md::ClientScopeCondition(),
                                   {{QStringLiteral("code"), code}}))
            Refuse(kUnknownShop);
    };
    shop.OnChange = [this](TField& f) { shopChanged(f); };
    for (int month = 1; month <= 12; ++month)
        md::ui::GuardNumberField(ds.FieldByName(monthField(month)),
                                 *cxGrid1DBTableView1->Column(monthField(month)));
}

void Tfrm_salesoure::DBmaster_tableAfterScroll() {
    m_currentYear = QString::number(Today().year());
}

void Tfrm_salesoure::shopChanged(TField& field) {
    TRemoteUdpDataSet shop;
    md::OpenQuery(shop,
                  QStringLiteral("select fcode,fabbrev,fmathod from dt_client where fcode=:code"),
                  {{QStringLiteral("code"), field.AsString()}});
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fabbrev"))
        .SetAsString(shop.IsEmpty() ? QString() : shop.Fields(1).AsString());
    ds.FieldByName(QStringLiteral("fmathod"))
        .SetAsString(shop.IsEmpty() ? QString() : shop.Fields(2).AsString());
    // Kept as the client list spells it.
    if (!shop.IsEmpty() && shop.Fields(0).AsString() != field.AsString())
        field.SetAsString(shop.Fields(0).AsString());
}

bool Tfrm_salesoure::listedTwice(const QString& shop, const QString& year) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int shopAt = ds.FieldByName(QStringLiteral("fclientcode")).Index();
    const int yearAt = ds.FieldByName(QStringLiteral("ayear")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (row != current &&
            ds.valueAt(row, shopAt).toString().compare(shop, Qt::CaseInsensitive) == 0 &&
            ds.valueAt(row, yearAt).toString() == year)
            return true;
    return false;
}

void Tfrm_salesoure::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString shop = ds.FieldByName(QStringLiteral("fclientcode")).AsString().trimmed();
    const TField& year = ds.FieldByName(QStringLiteral("ayear"));
    if (shop.isEmpty()) Refuse(QStringLiteral("请选择客户编号！"));
    if (year.IsNull()) Refuse(QStringLiteral("请输入年份！"));
    const bool fresh = ds.State() == dsInsert || ds.UpdateStatus() == usInserted;
    // The year is a whole number: it goes into the statement as it is.
    const QString yearText = QString::number(year.AsInteger());
    if (fresh &&
        (md::ui::QueryReturnsRow(
             QStringLiteral("select fclientcode from ba_salesoure where fclientcode='") +
             SqlText(shop) + QStringLiteral("'") + QStringLiteral("  and ayear=") + yearText) ||
         listedTwice(shop, yearText)))
        Refuse(QStringLiteral("不能录入相同重复的记录！"));
}

void Tfrm_salesoure::fclientcodeButtonClick() {
    if (!post_action->isEnabled()) return;
    const QList<TPickedClient> picked = md::ui::PickClients(this);
    if (picked.isEmpty()) return;
    // The button's cell editor has written its text; closed, it writes nothing
    // into the rows that come.
    cxGrid1DBTableView1->CancelEditor();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    {
        TControlsDisabled still(ds);
        // A new row with no shop yet gives way to the picked ones.
        if (ds.State() == dsInsert &&
            ds.FieldByName(QStringLiteral("fclientcode")).AsString().isEmpty())
            ds.Cancel();
        for (const TPickedClient& shop : picked) {
            if (ds.Locate(QStringLiteral("fclientcode;ayear"),
                          QVariantList{shop.fcode, m_currentYear.toInt()}, loCaseInsensitive))
                continue;
            const QString year = m_currentYear;
            ds.Append();
            ds.FieldByName(QStringLiteral("fclientcode")).SetAsString(shop.fcode);
            ds.FieldByName(QStringLiteral("ayear")).SetAsString(year);
            ds.FieldByName(QStringLiteral("fabbrev")).SetAsString(shop.fabbrev);
            ds.FieldByName(QStringLiteral("fmathod")).SetAsString(shop.fmathod);
            ds.Post();
            ds.UpdateBatch();
        }
    }
    UpdateActionState();
}

MD_REGISTER_FORM(Tfrm_salesoure);
