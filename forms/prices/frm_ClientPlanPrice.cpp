#include "frm_ClientPlanPrice.h"

#include <QAction>
#include <QHash>
#include <QSet>
#include <QStyle>

#include "formfactory.h"
#include "grid.h"
#include "prices/frm_ClientPlanPriceCac.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "selectgoods.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

// Counts the form's own writes into rows, so the typing handlers stay out.
class TFilling {
  public:
    explicit TFilling(int& depth) : m_depth(depth) { ++m_depth; }
    ~TFilling() { --m_depth; }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;

  private:
    int& m_depth;
};

}  // namespace

Tfrm_ClientPlanPrice::Tfrm_ClientPlanPrice(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("店铺货品成本价"));
    DBshop = new TRemoteUdpDataSet(QStringLiteral("DBshop"), this);
    DBmaster_table->SetSQL(ListSQL());
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    CostUpdateSql = new TRemoteUpdateSql(this);
    CostUpdateSql->setObjectName(QStringLiteral("CostUpdateSql"));
    CostUpdateSql->InsertSQL = QStringLiteral(
        "insert into "
        "dt_clientplanprice(fclientcode,fgoodsid,fplanprice)values(:fclientcode,:fgoodsid,:"
        "fplanprice)");
    CostUpdateSql->ModifySQL = QStringLiteral(
        "update dt_clientplanprice set "
        "fclientcode=:fclientcode,fgoodsid=:fgoodsid,fplanprice=:fplanprice WHERE "
        "fautoid=:fautoid");
    CostUpdateSql->DeleteSQL =
        QStringLiteral("delete from dt_clientplanprice where fautoid=:fautoid");
    DBmaster_table->SetupDataObject(CostUpdateSql);

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fclientcode"), QStringLiteral("店铺编号"))
        .width(90)
        .upperCase()
        .lookup(
            DBshop, QStringLiteral("fcode"),
            {QStringLiteral("fcode"), QStringLiteral("fabbrev"), QStringLiteral("fmathod")},
            {QStringLiteral("店铺编号"), QStringLiteral("店铺简称"), QStringLiteral("店铺性质")})
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    auto shown = [v](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .readOnly();
    };
    shown("fabbrev", "店铺简称", 90);
    shown("fmathod", "店铺性质", 70);
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .upperCase()
        .button([this](TGridColumn&) { fgoodsidButtonClick(); });
    shown("goodsname", "货品名称", 130);
    shown("brand", "品牌", 60);
    shown("ayear", "货品年份", 65);
    shown("season", "货品季节", 65);
    shown("unitprice", "吊牌价", 70).currency(QStringLiteral("0.00"));
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("fplanprice"), QStringLiteral("成本价"))
                              .width(80)
                              .currency(QStringLiteral("0.00")));

    cac_action = NewAction(QStringLiteral("cac_action"), QStringLiteral("成本价重算"),
                           [this] { cac_actionExecute(); });
    cac_action->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ShowActions({print_action});
    SetToolbar({append_action, edit_action, post_action, cacel_action, del_action, nullptr,
                cac_action, print_action, excel_action, close_action});
    HideActions({first_action, prio_action, next_action, last_action});
    resize(900, 560);
}

QString Tfrm_ClientPlanPrice::ShopListSQL() {
    return QStringLiteral("select fcode,fabbrev,fmathod from dt_client where 1=1") +
           md::ClientScopeCondition() +
           QStringLiteral(" and fcode in(select fclientcode from ba_squad)");
}

QString Tfrm_ClientPlanPrice::ListSQL() {
    return QStringLiteral(
               "select a.*,b.fabbrev,b.fmathod,c.goodsname,c.ayear,c.season,c.brand,c.sort,c."
               "unitprice") +
           CR +
           QStringLiteral(
               "from dt_clientplanprice a left join dt_client b on a.fclientcode=b.fcode join "
               "goods c on a.fgoodsid=c.goodsid where 1=1") +
           md::ClientScopeCondition(QStringLiteral("a.fclientcode"));
}

void Tfrm_ClientPlanPrice::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    md::OpenQuery(*DBshop, ShopListSQL());
    // The scope is the session's now, not when the window was made.
    DBmaster_table->SetSQL(ListSQL());
    DBmaster_table->Open();
}

void Tfrm_ClientPlanPrice::cac_actionExecute() {
    Tfrm_ClientPlanPriceCac::ShowFor(this);
}

void Tfrm_ClientPlanPrice::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fclientcode")).OnValidate = [this](TField& field) {
        shopTyped(field);
    };
    ds.FieldByName(QStringLiteral("fgoodsid")).OnValidate = [this](TField& field) {
        goodsTyped(field);
    };
    md::ui::GuardNumberField(ds.FieldByName(QStringLiteral("fplanprice")),
                             *cxGrid1DBTableView1->Column(QStringLiteral("fplanprice")));
}

void Tfrm_ClientPlanPrice::shopTyped(TField& field) {
    if (m_filling > 0) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString typed = field.AsString().trimmed();
    const QVariant found = typed.isEmpty()
                               ? QVariant()
                               : DBshop->Lookup(QStringLiteral("fcode"), typed,
                                                QStringLiteral("fcode;fabbrev;fmathod"));
    if (!typed.isEmpty() && found.isNull()) Refuse(QStringLiteral("店铺编号不存在,请重新录入!"));
    const QVariantList shop = found.toList();
    TFilling filling(m_filling);
    ds.FieldByName(QStringLiteral("fabbrev")).SetValue(shop.value(1));
    ds.FieldByName(QStringLiteral("fmathod")).SetValue(shop.value(2));
}

void Tfrm_ClientPlanPrice::goodsTyped(TField& field) {
    if (m_filling > 0) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString code = field.AsString().trimmed();
    TRemoteUdpDataSet goods;
    if (!code.isEmpty()) {
        md::OpenQuery(goods, QStringLiteral("select top 1 * from goods where goodsid='") +
                                 SqlText(code) + QStringLiteral("'"));
        if (goods.IsEmpty()) Refuse(QStringLiteral("货号不存在,请重新录入!"));
    }
    TFilling filling(m_filling);
    for (const char* column : {"goodsname", "brand", "ayear", "season", "sort", "unitprice"}) {
        TField& target = ds.FieldByName(QString::fromLatin1(column));
        if (code.isEmpty())
            target.Clear();
        else
            target.SetValue(goods.FieldByName(QString::fromLatin1(column)).Value());
    }
}

bool Tfrm_ClientPlanPrice::listedElsewhere(const QString& shop, const QString& goods) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int shopAt = ds.FieldByName(QStringLiteral("fclientcode")).Index();
    const int goodsAt = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (row != current &&
            ds.valueAt(row, shopAt).toString().trimmed().compare(shop, Qt::CaseInsensitive) == 0 &&
            ds.valueAt(row, goodsAt).toString().trimmed().compare(goods, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Tfrm_ClientPlanPrice::DBmaster_tableBeforePost() {
    if (m_filling > 0) return;
    const QString goods =
        DBmaster_table->FieldByName(QStringLiteral("fgoodsid")).AsString().trimmed();
    if (goods.isEmpty()) Refuse(QStringLiteral("请输入货号!"));
    // A shop has one cost per goods item; two rows would leave it to chance which counts.
    const QString shop =
        DBmaster_table->FieldByName(QStringLiteral("fclientcode")).AsString().trimmed();
    if (!shop.isEmpty() && listedElsewhere(shop, goods))
        Refuse(QStringLiteral("不能录入相同的记录!"));
}

void Tfrm_ClientPlanPrice::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    // Picked goods come without a shop; a cost of no shop is never read.
    const int shopAt = ds.FieldByName(QStringLiteral("fclientcode")).Index();
    for (int row = 0; row < ds.RecordCount(); ++row) {
        if (!ds.valueAt(row, shopAt).toString().trimmed().isEmpty()) continue;
        ds.SetRecNo(row + 1);
        if (ds.UpdateStatus() != usUnmodified) Refuse(QStringLiteral("请选择店铺编号!"));
    }
    Tbase_frmDictMdi::post_actionExecute();
}

void Tfrm_ClientPlanPrice::fgoodsidButtonClick() {
    // Only while the list is edited; otherwise the button does nothing.
    if (!Editing()) return;
    cxGrid1DBTableView1->PostEditor();
    const QList<TPickedGoods> picked = md::ui::PickGoods(this);
    if (picked.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.CheckBrowseMode();
    QSet<QString> listed;
    const int goodsAt = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    for (int row = 0; row < ds.RecordCount(); ++row)
        listed.insert(ds.valueAt(row, goodsAt).toString().trimmed().toCaseFolded());
    {
        TControlsDisabled still(ds);
        TFilling filling(m_filling);
        for (const TPickedGoods& item : picked) {
            const QString goodsId = item.goodsid.trimmed();
            if (goodsId.isEmpty() || listed.contains(goodsId.toCaseFolded())) continue;
            ds.Append();
            ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(goodsId);
            ds.FieldByName(QStringLiteral("goodsname")).SetAsString(item.goodsname);
            ds.FieldByName(QStringLiteral("brand")).SetAsString(item.brand);
            ds.FieldByName(QStringLiteral("ayear")).SetAsString(item.ayear);
            ds.FieldByName(QStringLiteral("season")).SetAsString(item.season);
            ds.FieldByName(QStringLiteral("sort")).SetAsString(item.sort);
            ds.FieldByName(QStringLiteral("unitprice")).SetAsFloat(item.unitprice);
            ds.Post();
            listed.insert(goodsId.toCaseFolded());
        }
    }
    // The list stays in editing: the shop is chosen on each new row, then "保存".
    if (!ds.IsEmpty()) ds.Edit();
    UpdateActionState();
}

MD_REGISTER_FORM(Tfrm_ClientPlanPrice);
