#include "frm_goodsOrderSoure.h"

#include <QAction>

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "segoodscolor.h"
#include "sqlquote.h"

using md::ui::Refuse;

Tfrm_goodsOrderSoure::Tfrm_goodsOrderSoure(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("货品订货目标"));
    DBmaster_table->SetSQL(QStringLiteral(
        "select a.*,b.goodsname,b.colorname_ch,b.unitprice from ba_GoodsOrderSoure a join "
        "vgoodscolor b on a.fgoodsid=b.goodsid and a.fcolorid=b.colorid"));
    OrderSoureUpdateSql = new TRemoteUpdateSql(this);
    OrderSoureUpdateSql->setObjectName(QStringLiteral("OrderSoureUpdateSql"));
    OrderSoureUpdateSql->InsertSQL = QStringLiteral(
        "insert into ba_GoodsOrderSoure(fgoodsid,fcolorid,ordersoure)values(:fgoodsid,:fcolorid,:"
        "ordersoure)");
    OrderSoureUpdateSql->DeleteSQL = QStringLiteral(
        "delete from ba_GoodsOrderSoure where fgoodsid=:fgoodsid and fcolorid=:fcolorid");
    // The row as it was read is the one changed, whatever its new goods and colour.
    OrderSoureUpdateSql->ModifySQL = QStringLiteral(
        "update ba_GoodsOrderSoure set "
        "fgoodsid=:fgoodsid,fcolorid=:fcolorid,ordersoure=:ordersoure "
        "where fgoodsid=:old_fgoodsid and fcolorid=:old_fcolorid");
    DBmaster_table->SetupDataObject(OrderSoureUpdateSql);

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"))
        .button([this](TGridColumn&) { fgoodsidButtonClick(); });
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(150).readOnly();
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色说明")).width(90).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(80)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("ordersoure"), QStringLiteral("最低起订量"))
                              .width(90)
                              .currency(QStringLiteral("0")),
                          md::ui::TNumberKind::Whole);
    HideActions({first_action, prio_action, next_action, last_action});
    resize(713, 468);
}

void Tfrm_goodsOrderSoure::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->Open();
}

void Tfrm_goodsOrderSoure::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fgoodsid")).OnChange = [this](TField& f) { goodsChanged(f); };
    ds.FieldByName(QStringLiteral("fcolorid")).OnChange = [this](TField& f) { colourChanged(f); };
    md::ui::GuardNumberField(ds.FieldByName(QStringLiteral("ordersoure")),
                             *cxGrid1DBTableView1->Column(QStringLiteral("ordersoure")));
}

void Tfrm_goodsOrderSoure::goodsChanged(TField& field) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TRemoteUdpDataSet goods;
    md::OpenQuery(goods,
                  QStringLiteral("select top 1 goodsname,unitprice from goods where goodsid='") +
                      SqlText(field.AsString()) + QStringLiteral("'"));
    // Unknown goods: no message, the names stay empty.
    ds.FieldByName(QStringLiteral("goodsname"))
        .SetAsString(goods.IsEmpty() ? QString() : goods.Fields(0).AsString());
    ds.FieldByName(QStringLiteral("unitprice"))
        .SetAsFloat(goods.IsEmpty() ? 0 : goods.Fields(1).AsFloat());
}

void Tfrm_goodsOrderSoure::colourChanged(TField& field) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TRemoteUdpDataSet colour;
    md::OpenQuery(colour,
                  QStringLiteral("select top 1 colorname_ch from vgoodscolor where goodsid='") +
                      SqlText(ds.FieldByName(QStringLiteral("fgoodsid")).AsString()) +
                      QStringLiteral("'") + QStringLiteral(" and colorid=") + QStringLiteral("'") +
                      SqlText(field.AsString()) + QStringLiteral("'"));
    ds.FieldByName(QStringLiteral("colorname_ch"))
        .SetAsString(colour.IsEmpty() ? QString() : colour.Fields(0).AsString());
}

void Tfrm_goodsOrderSoure::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("ordersoure")).SetAsInteger(0);
}

bool Tfrm_goodsOrderSoure::pairListedElsewhere(const QString& goods, const QString& colour) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int goodsAt = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int colourAt = ds.FieldByName(QStringLiteral("fcolorid")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row) {
        if (row == current) continue;
        if (ds.valueAt(row, goodsAt).toString().compare(goods, Qt::CaseInsensitive) == 0 &&
            ds.valueAt(row, colourAt).toString().compare(colour, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void Tfrm_goodsOrderSoure::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const TField& goods = ds.FieldByName(QStringLiteral("fgoodsid"));
    const TField& colour = ds.FieldByName(QStringLiteral("fcolorid"));
    if (goods.AsString().trimmed().isEmpty()) Refuse(QStringLiteral("货号不能为空!"));
    if (colour.AsString().trimmed().isEmpty()) Refuse(QStringLiteral("颜色编号不能为空!"));
    // A pair is listed once: checked for new rows and for a changed goods code.
    const bool fresh = ds.State() == dsInsert || ds.UpdateStatus() == usInserted;
    const bool moved =
        goods.AsString().compare(goods.OldValue().toString(), Qt::CaseInsensitive) != 0 ||
        colour.AsString().compare(colour.OldValue().toString(), Qt::CaseInsensitive) != 0;
    if ((fresh || moved) &&
        (pairListedElsewhere(goods.AsString(), colour.AsString()) ||
         md::ui::QueryReturnsRow(
             QStringLiteral("select fgoodsid from ba_GoodsOrderSoure where fgoodsid='") +
             SqlText(goods.AsString()) + QStringLiteral("' and fcolorid='") +
             SqlText(colour.AsString()) + QStringLiteral("'"))))
        Refuse(QStringLiteral("不能录入相同的记录!"));
}

void Tfrm_goodsOrderSoure::fgoodsidButtonClick() {
    if (!post_action->isEnabled()) return;
    const QList<TPickedGoodsColor> picked = md::ui::PickGoodsColors(this);
    if (picked.isEmpty()) return;
    // The button's cell editor has written its text; closed, it writes nothing
    // into the rows that come.
    cxGrid1DBTableView1->CancelEditor();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    {
        TControlsDisabled still(ds);
        if (ds.InEditState()) {
            // An untouched new row goes; one being typed is saved first.
            if (ds.State() == dsInsert &&
                ds.FieldByName(QStringLiteral("fgoodsid")).AsString().isEmpty())
                ds.Cancel();
            else
                ds.Post();
            ds.UpdateBatch();
        }
        for (const TPickedGoodsColor& pair : picked) {
            if (ds.Locate(QStringLiteral("fgoodsid;fcolorid"),
                          QVariantList{pair.goodsid, pair.colorid}, loCaseInsensitive))
                continue;
            ds.Append();
            ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(pair.goodsid);
            ds.FieldByName(QStringLiteral("fcolorid")).SetAsString(pair.colorid);
            ds.Post();
            ds.UpdateBatch();
        }
    }
    UpdateActionState();
}

MD_REGISTER_FORM(Tfrm_goodsOrderSoure);
