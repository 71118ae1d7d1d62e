#include "frm_Retailprice.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

Tfrm_Retailprice::Tfrm_Retailprice(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("店铺零售价"));
    DBshop = new TRemoteUdpDataSet(QStringLiteral("DBshop"), this);
    RetailUpdateSql = new TRemoteUpdateSql(this);
    RetailUpdateSql->setObjectName(QStringLiteral("RetailUpdateSql"));
    RetailUpdateSql->ModifySQL = QStringLiteral(
        "exec P_UpdateOneShopPlanprice :fclientcode,:fgoodsid,:fcolorid,:fretailprice,:fplanprice");
    DBmaster_table->SetupDataObject(RetailUpdateSql);
    DBmaster_table->AddCalcField(QStringLiteral("faigprice"), ftCurrency);
    DBmaster_table->OnCalcFields = [](TRemoteUdpDataSet& row) {
        row.FieldByName(QStringLiteral("faigprice"))
            .SetAsFloat(row.FieldByName(QStringLiteral("fretailprice")).AsFloat() -
                        row.FieldByName(QStringLiteral("fplanprice")).AsFloat());
    };

    TDBTableView* v = cxGrid1DBTableView1;
    auto shown = [v](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .readOnly();
    };
    shown("fclientcode", "店铺编号", 70).footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    shown("fabbrev", "店铺简称", 96);
    shown("fgoodsid", "货号", 100);
    shown("goodsname", "货品名称", 100);
    shown("fcolorid", "颜色编号", 60);
    shown("brand", "品牌", 52);
    shown("fcolor", "颜色说明", 64);
    shown("ayear", "年份", 44);
    shown("season", "季节", 40);
    shown("unitprice", "吊牌价", 66).currency(QStringLiteral("0.00"));
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("fretailprice"), QStringLiteral("零售价"))
                              .width(66)
                              .currency(QStringLiteral("0.00")));
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("fplanprice"), QStringLiteral("成本价"))
                              .width(66)
                              .currency(QStringLiteral("0.00")));
    shown("faigprice", "单件毛利", 66).currency(QStringLiteral("0.00"));
    // A quantity of 0 shows as an empty cell.
    shown("qty", "库存数", 56)
        .displayFormat(QStringLiteral("0;-0; "))
        .footer(TSummaryKind::Sum, QStringLiteral("0"));
    shown("saleqty", "累计销售数", 70)
        .displayFormat(QStringLiteral("0;-0; "))
        .footer(TSummaryKind::Sum, QStringLiteral("0"));
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    HideActions({first_action, prio_action, next_action, last_action, append_action, del_action});

    // The chooser above the grid.
    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(new QLabel(QStringLiteral("店铺选择:"), ClientPanel));
    Lookup_Shop = new md::ui::TLookupCombo(ClientPanel);
    Lookup_Shop->setObjectName(QStringLiteral("Lookup_Shop"));
    Lookup_Shop->setMinimumWidth(180);
    top->addWidget(Lookup_Shop);
    But_Find = new QPushButton(QStringLiteral("检索"), ClientPanel);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    But_Find->setAutoDefault(false);
    top->addWidget(But_Find);
    top->addStretch(1);
    OnClick(But_Find, [this] { But_FindClick(); });
    static_cast<QVBoxLayout*>(ClientPanel->layout())->insertLayout(0, top);
    resize(1220, 600);
}

QString Tfrm_Retailprice::ShopListSQL() {
    QString sql = QStringLiteral(
        "select fcode,fabbrev from dt_client where fcode in(select distinct(fclientcode) "
        "fclientcode from ba_squad)");
    const QString scope = md::ClientScopeCondition();
    if (!scope.isEmpty()) sql += CR + scope;
    return sql;
}

QString Tfrm_Retailprice::AddMissingSQL(const QString& shop) {
    const QString s = SqlText(shop);
    return QStringLiteral("insert into retailprice(fclientcode,fgoodsid,fcolorid,fretailprice)") +
           CR +
           QStringLiteral(
               "select a.fclientcode,a.fgoodsid,b.colorid,b.unitprice from vShopGoodscolor a join "
               "vgoodscolor b on a.fgoodsid=b.goodsid") +
           CR + QStringLiteral("where a.fclientcode='") + s + QStringLiteral("'") +
           QStringLiteral(" and a.fclientcode+a.fgoodsid+b.colorid not in(") + CR +
           QStringLiteral(
               "select fclientcode+fgoodsid+fcolorid from retailprice where fclientcode=") +
           QStringLiteral("'") + s + QStringLiteral("'") + QStringLiteral(")");
}

QString Tfrm_Retailprice::SearchSQL(const QString& shop) {
    const QString s = SqlText(shop);
    return QStringLiteral(
               "select a.*,b.goodsname,b.brand,b.ayear,b.season,b.colorname_ch as "
               "fcolor,b.unitprice,c.fabbrev,d.qty,f.qty as saleqty from (") +
           CR +
           QStringLiteral(
               "select a.fclientcode,a.fgoodsid,a.fcolorid,a.fretailprice,b.fplanprice") +
           CR +
           QStringLiteral(
               "from retailprice a join dt_clientplanprice b on a.fclientcode=b.fclientcode and "
               "a.fgoodsid=b.fgoodsid") +
           CR + QStringLiteral("where a.fclientcode='") + s + QStringLiteral("'") +
           QStringLiteral(
               ")a join vgoodscolor b on a.fgoodsid=b.goodsid and a.fcolorid=b.colorid") +
           CR + QStringLiteral("join dt_client c on a.fclientcode=c.fcode") + CR +
           QStringLiteral(
               "left join s_stock d on a.fclientcode=d.fclientcode and a.fgoodsid=d.fgoodsid and "
               "a.fcolorid=d.fcolorid") +
           CR +
           QStringLiteral(
               "left join (select b.fclientcode,a.fgoodsid,a.fcolorid,sum(isnull(a.qty,0)) qty") +
           CR + QStringLiteral("from d_s_saledetail a join d_s_sale b on a.fbillid=b.fbillid") +
           CR + QStringLiteral("where b.fclientcode=") + QStringLiteral("'") + s +
           QStringLiteral("'") + CR +
           QStringLiteral(
               "group by b.fclientcode,a.fgoodsid,a.fcolorid)f on a.fclientcode=f.fclientcode and "
               "a.fgoodsid=f.fgoodsid and a.fcolorid=f.fcolorid") +
           CR + QStringLiteral("order by a.fclientcode,b.goodsname,a.fgoodsid,a.fcolorid");
}

void Tfrm_Retailprice::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBshop->Close();
    DBshop->setSetupUdpParent(md::Session().Connection);
    DBshop->SetSQL(ShopListSQL());
    DBshop->Open();
    Lookup_Shop->setList(DBshop, QStringLiteral("fcode"),
                         {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                         {QStringLiteral("店铺编号"), QStringLiteral("店铺简称")});
    Lookup_Shop->setKeyValue(QString());
}

bool Tfrm_Retailprice::FormKeyPress(QKeyEvent& event) {
    // Delete in the chooser clears it.
    QWidget* focus = QApplication::focusWidget();
    if (event.key() == Qt::Key_Delete && event.modifiers() == Qt::NoModifier && focus &&
        (focus == Lookup_Shop || Lookup_Shop->isAncestorOf(focus))) {
        Lookup_Shop->setKeyValue(QString());
        return true;
    }
    return Tbase_frmDictMdi::FormKeyPress(event);
}

void Tfrm_Retailprice::But_FindClick() {
    const QString typed = Lookup_Shop->keyValue().trimmed();
    // Only a shop the chooser offers: a code typed past the user's scope lists nothing.
    if (typed.isEmpty() || !DBshop->Locate(QStringLiteral("fcode"), typed, loCaseInsensitive))
        Refuse(QStringLiteral("请选择店铺!"));
    const QString shop = DBshop->FieldByName(QStringLiteral("fcode")).AsString();
    // Reading the list again would drop the prices not saved yet.
    if (DBmaster_table->InEditState() || DBmaster_table->UpdatesPending())
        Refuse(QStringLiteral("请先保存或撤消当前的修改!"));
    Lookup_Shop->setKeyValue(shop);
    WaitCursor wait;
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    {
        // New retail prices and the shop costs they need, or neither.
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(AddMissingSQL(shop));
        md::ExecuteSQL(QStringLiteral("exec P_UpdateShopPlanprice '") + SqlText(shop) +
                       QStringLiteral("'"));
        transaction.commit();
    }
    openList(shop);
}

void Tfrm_Retailprice::openList(const QString& shop) {
    {
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(SearchSQL(shop));
        DBmaster_table->Open();
    }
    m_shop = shop;
    UpdateActionState();
}

void Tfrm_Retailprice::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TDBTableView* v = cxGrid1DBTableView1;
    for (const char* field : {"fretailprice", "fplanprice"})
        md::ui::GuardNumberField(DBmaster_table->FieldByName(QString::fromLatin1(field)),
                                 *v->Column(QString::fromLatin1(field)));
}

void Tfrm_Retailprice::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    if (DBmaster_table->Active()) return;
    edit_action->setEnabled(false);
    excel_action->setEnabled(false);
}

void Tfrm_Retailprice::post_actionExecute() {
    Tbase_frmDictMdi::post_actionExecute();
    if (m_shop.isEmpty()) return;
    // A shop cost is the goods item's: every colour of it shows the one saved last.
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString goods = ds.FieldByName(QStringLiteral("fgoodsid")).AsString();
    const QString colour = ds.FieldByName(QStringLiteral("fcolorid")).AsString();
    openList(m_shop);
    ds.Locate(QStringLiteral("fgoodsid;fcolorid"), QVariantList{goods, colour});
}

MD_REGISTER_FORM(Tfrm_Retailprice);
