#include "frm_housestockLimit.h"

#include <QAction>

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "segoodscolor.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

// Counts the form's own writes into a row, so the typing handlers stay out.
class TFilling {
  public:
    explicit TFilling(int& depth) : m_depth(depth) { ++m_depth; }
    ~TFilling() { --m_depth; }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;

  private:
    int& m_depth;
};

void setOrClear(TField& field, const TRemoteUdpDataSet& result, const QString& column) {
    if (result.IsEmpty())
        field.Clear();
    else
        field.SetValue(result.FieldByName(column).Value());
}

}  // namespace

Tfrm_housestockLimit::Tfrm_housestockLimit(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("库存上下限设置"));
    DBmaster_table->SetSQL(QStringLiteral(
        "select a.*,b.goodsname,b.unitprice,b.colorname_ch from Ba_housestockLimit a join "
        "vgoodscolor b on a.fgoodsid=b.goodsid and a.fcolorid=b.colorid"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    LimitUpdateSql = new TRemoteUpdateSql(this);
    LimitUpdateSql->setObjectName(QStringLiteral("LimitUpdateSql"));
    LimitUpdateSql->InsertSQL = QStringLiteral(
        "insert into "
        "Ba_housestockLimit(fgoodsid,fcolorid,fmaxstock,fminstock)values(:fgoodsid,:fcolorid,:"
        "fmaxstock,:fminstock)");
    LimitUpdateSql->ModifySQL = QStringLiteral(
        "update Ba_housestockLimit set fmaxstock=:fmaxstock,fminstock=:fminstock where "
        "fgoodsid=:fgoodsid and fcolorid=:fcolorid");
    LimitUpdateSql->DeleteSQL = QStringLiteral(
        "delete from Ba_housestockLimit where fgoodsid=:fgoodsid and fcolorid=:fcolorid");
    DBmaster_table->SetupDataObject(LimitUpdateSql);

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"))
        .button([this](TGridColumn&) { fgoodsidButtonClick(); });
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(150).readOnly();
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号")).width(80);
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色名称")).width(90).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(80)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    // Whole numbers: the cell's editor takes digits and a sign only.
    v->AddColumn(QStringLiteral("fmaxstock"), QStringLiteral("库存上限"))
        .width(80)
        .currency(QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fminstock"), QStringLiteral("库存下限"))
        .width(80)
        .currency(QStringLiteral("0"));
    v->Options().ColumnFiltering = true;
    v->ApplyOptions();
    HideActions({first_action, prio_action, next_action, last_action});
    resize(760, 520);
}

void Tfrm_housestockLimit::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
}

void Tfrm_housestockLimit::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TField& goods = ds.FieldByName(QStringLiteral("fgoodsid"));
    goods.OnValidate = [this](TField&) { refuseKeyChangeOfSavedRow(); };
    goods.OnChange = [this](TField& field) { goodsChanged(field); };
    TField& colour = ds.FieldByName(QStringLiteral("fcolorid"));
    colour.OnValidate = [this](TField&) { refuseKeyChangeOfSavedRow(); };
    colour.OnChange = [this](TField& field) { colourChanged(field); };
    ds.FieldByName(QStringLiteral("fmaxstock")).OnValidate = [](TField& field) {
        if (!field.IsNull() && field.AsInteger() < 0) Refuse(QStringLiteral("库存上限不能为负数!"));
    };
    ds.FieldByName(QStringLiteral("fminstock")).OnValidate = [](TField& field) {
        if (!field.IsNull() && field.AsInteger() < 0) Refuse(QStringLiteral("库存下限不能为负数!"));
    };
}

bool Tfrm_housestockLimit::isNewRow() const {
    return DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
}

void Tfrm_housestockLimit::refuseKeyChangeOfSavedRow() {
    // The stored row is found by its goods and colour and only its limits are
    // written: a changed key would never reach the database.
    if (m_filling == 0 && !isNewRow())
        Refuse(QStringLiteral("已保存的记录不能修改货号和颜色编号!"));
}

void Tfrm_housestockLimit::goodsChanged(TField& field) {
    if (m_filling > 0) return;
    TFilling filling(m_filling);
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TRemoteUdpDataSet goods;
    md::OpenQuery(goods,
                  QStringLiteral("select top 1 goodsname,unitprice from goods where goodsid='") +
                      SqlText(field.AsString()) + QStringLiteral("'"));
    setOrClear(ds.FieldByName(QStringLiteral("goodsname")), goods, QStringLiteral("goodsname"));
    setOrClear(ds.FieldByName(QStringLiteral("unitprice")), goods, QStringLiteral("unitprice"));
    // A colour typed before the goods is named again for the new goods.
    if (!ds.FieldByName(QStringLiteral("fcolorid")).AsString().isEmpty()) nameColour();
}

void Tfrm_housestockLimit::colourChanged(TField&) {
    if (m_filling > 0) return;
    TFilling filling(m_filling);
    nameColour();
}

void Tfrm_housestockLimit::nameColour() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TRemoteUdpDataSet name;
    md::OpenQuery(name,
                  QStringLiteral("select top 1 colorname_ch from vgoodscolor where goodsid='") +
                      SqlText(ds.FieldByName(QStringLiteral("fgoodsid")).AsString()) +
                      QStringLiteral("'") + QStringLiteral(" and colorid=") + QStringLiteral("'") +
                      SqlText(ds.FieldByName(QStringLiteral("fcolorid")).AsString()) +
                      QStringLiteral("'"));
    setOrClear(ds.FieldByName(QStringLiteral("colorname_ch")), name,
               QStringLiteral("colorname_ch"));
}

void Tfrm_housestockLimit::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fmaxstock")).SetAsInteger(0);
    DBmaster_table->FieldByName(QStringLiteral("fminstock")).SetAsInteger(0);
}

bool Tfrm_housestockLimit::listedElsewhere(const QString& goods, const QString& colour) const {
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

void Tfrm_housestockLimit::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString goods = ds.FieldByName(QStringLiteral("fgoodsid")).AsString();
    const QString colour = ds.FieldByName(QStringLiteral("fcolorid")).AsString();
    if (goods.isEmpty()) Refuse(QStringLiteral("货号不能为空!"));
    if (colour.isEmpty()) Refuse(QStringLiteral("颜色编号不能为空!"));
    if (isNewRow()) {
        // Stored already, or typed twice before saving: either way the same record.
        if (md::ui::QueryReturnsRow(
                QStringLiteral("select fgoodsid from Ba_housestockLimit where fgoodsid='") +
                SqlText(goods) + QStringLiteral("'") + QStringLiteral(" and fcolorid=") +
                QStringLiteral("'") + SqlText(colour) + QStringLiteral("'")) ||
            listedElsewhere(goods, colour))
            Refuse(QStringLiteral("不能录入相同的记录!"));
    }
    const TField& upper = ds.FieldByName(QStringLiteral("fmaxstock"));
    const TField& lower = ds.FieldByName(QStringLiteral("fminstock"));
    if ((upper.IsNull() ? 0 : upper.AsInteger()) < (lower.IsNull() ? 0 : lower.AsInteger()))
        Refuse(QStringLiteral("库存上限不能小于库存下限!"));
}

void Tfrm_housestockLimit::fgoodsidButtonClick() {
    // Only while the list is edited; otherwise the button does nothing.
    if (!post_action->isEnabled()) return;
    const QList<TPickedGoodsColor> picked = md::ui::PickGoodsColors(this);
    if (picked.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TControlsDisabled still(ds);
    TFilling filling(m_filling);
    for (const TPickedGoodsColor& pair : picked) {
        if (ds.Locate(QStringLiteral("fgoodsid;fcolorid"), QVariantList{pair.goodsid, pair.colorid},
                      loCaseInsensitive))
            continue;
        ds.Append();
        ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(pair.goodsid);
        ds.FieldByName(QStringLiteral("fcolorid")).SetAsString(pair.colorid);
        TRemoteUdpDataSet names;
        md::OpenQuery(
            names,
            QStringLiteral(
                "select top 1 goodsname,unitprice,colorname_ch from vgoodscolor where goodsid='") +
                SqlText(pair.goodsid) + QStringLiteral("'") + QStringLiteral(" and colorid=") +
                QStringLiteral("'") + SqlText(pair.colorid) + QStringLiteral("'"));
        for (const char* column : {"colorname_ch", "goodsname", "unitprice"})
            setOrClear(ds.FieldByName(QString::fromLatin1(column)), names,
                       QString::fromLatin1(column));
        ds.Post();
    }
}

MD_REGISTER_FORM(Tfrm_housestockLimit);
