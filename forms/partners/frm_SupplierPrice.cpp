#include "frm_SupplierPrice.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

#include "datasource.h"
#include "formfactory.h"
#include "grid.h"
#include "gridprint.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "selectgoods.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "treelist.h"

using namespace md::ui;

namespace {

const QChar CR(13);

// The goods columns the quote shows beside its own, copied when a code is entered.
const char* const kGoodsColumns[] = {"goodsname", "season", "brand", "ayear", "unitprice"};

// Prices with the session's decimal places; a price of 0 shows nothing.
QString priceFormat(bool zeroEmpty) {
    const int places = qBound(0, md::Shared().PriceDecimals, 4);
    const QString number = places == 0 ? QStringLiteral("0")
                                       : QStringLiteral("0.") + QString(places, QLatin1Char('0'));
    return number + QStringLiteral(";-") + number + (zeroEmpty ? QStringLiteral("; ") : QString());
}

double roundCents(double value) {
    return std::nearbyint(value * 100) / 100;
}

}  // namespace

// ---------------------------------------------------------------- statements

QString Tfrm_SupplierPrice::MasterSQL() {
    return QStringLiteral(
               "select a.*,b.goodsname,b.season,b.brand,b.ayear,b.unitprice from "
               "Dt_SupplierPrice  a join goods b on a.fgoodsid=b.goodsid") +
           CR + QStringLiteral("where a.fsuppliercode=:fsuppliercode");
}

QString Tfrm_SupplierPrice::InsertSQL() {
    return QStringLiteral(
               "insert into Dt_SupplierPrice(fsuppliercode,fgoodsid,fdate,fmasterialprice,"
               "fmanualprice,fposted,finputdate,finputuser,fposteddate,fposteduser,fremark)") +
           CR +
           QStringLiteral(
               "values(:fsuppliercode,:fgoodsid,:fdate,:fmasterialprice,:fmanualprice,:fposted,"
               ":finputdate,:finputuser,:fposteddate,:fposteduser,:fremark)");
}

QString Tfrm_SupplierPrice::ModifySQL() {
    // Only the row as it was read: its supplier, goods code and quote date.
    return QStringLiteral(
               "update Dt_SupplierPrice set "
               "fsuppliercode=:fsuppliercode,fgoodsid=:fgoodsid,fdate=:fdate,fmasterialprice=:"
               "fmasterialprice,") +
           CR +
           QStringLiteral(
               "fmanualprice=:fmanualprice,fposted=:fposted,finputdate=:finputdate,finputuser=:"
               "finputuser,fposteddate=:fposteddate,") +
           CR + QStringLiteral("fposteduser=:fposteduser,fremark=:fremark") + CR +
           QStringLiteral(
               "where fsuppliercode=:old_fsuppliercode and fgoodsid=:old_fgoodsid and "
               "fdate=:old_fdate");
}

QString Tfrm_SupplierPrice::DeleteSQL() {
    return QStringLiteral(
        "delete from Dt_SupplierPrice where fsuppliercode=:fsuppliercode and fgoodsid=:fgoodsid "
        "and fdate=:fdate");
}

QString Tfrm_SupplierPrice::CostsSQL() {
    return QStringLiteral(
               "insert into planprice(fgoodsid,planprice,GoodsNo) select "
               "a.fgoodsid,avg(isnull(a.fmasterialprice,0)+isnull(a.fmanualprice,0)) "
               "planprice,b.GoodsNo from dt_supplierprice a join goods b on a.fgoodsid=b.goodsid") +
           CR +
           QStringLiteral(
               "where a.fgoodsid not in(select fgoodsid from planprice) group by "
               "a.fgoodsid,b.GoodsNo") +
           CR + CR +
           QStringLiteral(
               "update planprice set planprice=b.planprice from planprice a join (select "
               "fgoodsid,avg(isnull(fmasterialprice,0)+isnull(fmanualprice,0)) planprice") +
           CR +
           QStringLiteral(
               "from dt_supplierprice group by fgoodsid)b on a.fgoodsid=b.fgoodsid where "
               "isnull(a.planprice,0)=0");
}

// ---------------------------------------------------------------- description

Tfrm_SupplierPrice::Tfrm_SupplierPrice(QWidget* owner) : Tbase_frmMditree(owner) {
    setWindowTitle(QStringLiteral("供应商报价"));
    DBmaster_table->SetSQL(MasterSQL());
    PriceUpdateSql = new TRemoteUpdateSql(this);
    PriceUpdateSql->setObjectName(QStringLiteral("PriceUpdateSql"));
    PriceUpdateSql->InsertSQL = InsertSQL();
    PriceUpdateSql->ModifySQL = ModifySQL();
    PriceUpdateSql->DeleteSQL = DeleteSQL();
    DBmaster_table->SetupDataObject(PriceUpdateSql);
    DBmaster_table->AddCalcField(QStringLiteral("fprice"), ftCurrency);
    DBmaster_table->OnCalcFields = [](TRemoteUdpDataSet& row) {
        row.FieldByName(QStringLiteral("fprice"))
            .SetAsFloat(row.FieldByName(QStringLiteral("fMasterialPrice")).AsFloat() +
                        row.FieldByName(QStringLiteral("fManualPrice")).AsFloat());
    };
    m_goods = new TRemoteUdpDataSet(QStringLiteral("DBgoods"), this);

    DBsupplier = new TRemoteUdpDataSet(QStringLiteral("DBsupplier"), this);
    DBsupplier->SetLockType(etOptimistic);
    DBsupplier->SetSQL(QStringLiteral("select fcode,fname,fabbrev from dt_Supplier"));
    DsSupplier = new TDataSource(QStringLiteral("DsSupplier"), this);
    DsSupplier->setDataSet(DBsupplier);
    // The quotes follow the supplier chosen in the tree.
    LinkDetail(DBmaster_table, {{QStringLiteral("fcode"), QStringLiteral("fsuppliercode")}},
               DBsupplier);

    // Suppliers have no hierarchy: each is its own parent, so all stand at the top.
    dxDBTreeList1->setDataSource(DsSupplier);
    dxDBTreeList1->SetKeyField(QStringLiteral("fcode"));
    dxDBTreeList1->SetParentField(QStringLiteral("fcode"));
    dxDBTreeList1->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(80);
    dxDBTreeList1->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("名称")).width(110);
    TreeRules.MoveFocus = false;

    // Typing into a row starts editing it while the window is editing.
    DbMaster_Source->SetAutoEdit(true);
    cxGrid1 = new TDBGrid(RzPanel2, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    static_cast<QVBoxLayout*>(RzPanel2->layout())->insertWidget(0, cxGrid1, 1);
    RzPanel2->layout()->setContentsMargins(0, 2, 2, 2);
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(100)
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"))
        .button([this](TGridColumn&) { fgoodsidButtonClick(); });
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(100).readOnly();
    v->AddColumn(QStringLiteral("brand"), QStringLiteral("品牌")).width(56).readOnly();
    v->AddColumn(QStringLiteral("ayear"), QStringLiteral("年份")).width(48).readOnly();
    v->AddColumn(QStringLiteral("season"), QStringLiteral("季节")).width(48).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fDate"), QStringLiteral("报价日期")).width(84).date();
    AcceptNumbers(
        v->AddColumn(QStringLiteral("fMasterialPrice"), QStringLiteral("物料价")).width(70));
    AcceptNumbers(v->AddColumn(QStringLiteral("fManualPrice"), QStringLiteral("加工价")).width(70));
    v->AddColumn(QStringLiteral("fprice"), QStringLiteral("合计单价")).width(72).readOnly();
    v->AddColumn(QStringLiteral("fPosted"), QStringLiteral("确认否")).width(52).checkBox();
    v->AddColumn(QStringLiteral("fRemark"), QStringLiteral("备注")).width(110).memo();
    v->Options().Footer = true;
    v->ApplyOptions();
    v->SetInputAllowed(false);

    update_action = NewAction(QStringLiteral("update_action"), QStringLiteral("更新至成本价"),
                              [this] { update_actionExecute(); });
    update_action->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    append_action->setText(QStringLiteral("新增"));
    HideActions({insert_action});
    ShowActions({print_action});
    SetToolbar({append_action, edit_action, post_action, cacel_action, del_action, print_action,
                excel_action, update_action, close_action});

    StatusBar1->addWidget(new QLabel(QStringLiteral("折扣："), StatusBar1));
    Edit_Discount = new QDoubleSpinBox(StatusBar1);
    Edit_Discount->setObjectName(QStringLiteral("Edit_Discount"));
    Edit_Discount->setDecimals(2);
    Edit_Discount->setRange(0, 1.0);
    Edit_Discount->setSingleStep(0.01);
    Edit_Discount->setValue(0.01);
    StatusBar1->addWidget(Edit_Discount);
    But_Cac = new QPushButton(QStringLiteral("计  算"), StatusBar1);
    But_Cac->setObjectName(QStringLiteral("But_Cac"));
    StatusBar1->addWidget(But_Cac);
    OnClick(But_Cac, [this] { But_CacClick(); });

    RzSplitter1->setStretchFactor(0, 0);
    RzSplitter1->setStretchFactor(1, 1);
    RzSplitter1->setSizes({220, 880});
    resize(1020, 600);
}

void Tfrm_SupplierPrice::FormCreate() {
    Tbase_frmMditree::FormCreate();
    const QString plain = priceFormat(false);
    const QString zeroEmpty = priceFormat(true);
    TDBTableView* v = cxGrid1DBTableView1;
    v->Column(QStringLiteral("unitprice"))->currency(plain);
    v->Column(QStringLiteral("fMasterialPrice"))->currency(zeroEmpty);
    v->Column(QStringLiteral("fManualPrice"))->currency(zeroEmpty);
    v->Column(QStringLiteral("fprice"))->currency(plain);
    // Opening the suppliers reads the first one's quotes.
    DBsupplier->Close();
    DBsupplier->setSetupUdpParent(md::Session().Connection);
    DBsupplier->Open();
    UpdateActionState();
}

QString Tfrm_SupplierPrice::SupplierCode() const {
    if (!DBsupplier->Active() || DBsupplier->IsEmpty()) return QString();
    return DBsupplier->FieldByName(QStringLiteral("fcode")).AsString();
}

bool Tfrm_SupplierPrice::editingQuotes() const {
    return post_action->isEnabled();
}

void Tfrm_SupplierPrice::UpdateActionState() {
    Tbase_frmMditree::UpdateActionState();
    const bool editing = Editing();
    cxGrid1DBTableView1->SetInputAllowed(editing);
    StatusBar1->setEnabled(editing);
    update_action->setEnabled(!editing && RightEdit);
}

IReportSource* Tfrm_SupplierPrice::ReportSource() const {
    return cxGrid1DBTableView1;
}

// ---------------------------------------------------------------- the quote rows

void Tfrm_SupplierPrice::DBmaster_tableAfterOpen() {
    Tbase_frmMditree::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TField& goods = ds.FieldByName(QStringLiteral("fgoodsid"));
    goods.OnValidate = [this](TField& f) { goodsValidate(f); };
    goods.OnChange = [this](TField& f) { goodsChanged(f); };
    for (const char* price : {"fMasterialPrice", "fManualPrice"})
        GuardNumberField(ds.FieldByName(QString::fromLatin1(price)),
                         *cxGrid1DBTableView1->Column(QString::fromLatin1(price)));
}

void Tfrm_SupplierPrice::goodsValidate(TField& field) {
    if (m_filling > 0 || field.AsString().isEmpty()) return;
    md::OpenQuery(*m_goods, QStringLiteral("select top 1 * from goods where goodsid='") +
                                SqlText(field.AsString()) + QStringLiteral("'"));
    if (m_goods->IsEmpty()) {
        MessageBox(QStringLiteral("货号不存在,请重新录入!"), QStringLiteral("提示"));
        Abort();
    }
}

void Tfrm_SupplierPrice::goodsChanged(TField& field) {
    if (m_filling > 0) return;
    QScopedValueRollback<int> filling(m_filling, m_filling + 1);
    const bool found = !field.AsString().isEmpty() && m_goods->Active() && !m_goods->IsEmpty();
    for (const char* column : kGoodsColumns) {
        const QString name = QString::fromLatin1(column);
        TField& target = DBmaster_table->FieldByName(name);
        if (found)
            target.SetValue(m_goods->FieldByName(name).Value());
        else
            target.Clear();
    }
}

void Tfrm_SupplierPrice::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QDate today = QDate::currentDate();
    ds.FieldByName(QStringLiteral("fDate")).SetAsDate(today);
    ds.FieldByName(QStringLiteral("fMasterialPrice")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("fManualPrice")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("fPosted")).SetAsBoolean(true);
    ds.FieldByName(QStringLiteral("fInputDate")).SetAsDate(today);
    ds.FieldByName(QStringLiteral("fInputUser")).SetAsString(md::Session().UserNo);
}

bool Tfrm_SupplierPrice::quotedElsewhere(const QString& goods, const QDate& date) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int goodsAt = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int dateAt = ds.FieldByName(QStringLiteral("fDate")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row) {
        if (row == current) continue;
        if (ds.valueAt(row, goodsAt).toString().compare(goods, Qt::CaseInsensitive) == 0 &&
            TField::dateTimeOf(ds.valueAt(row, dateAt)).date() == date)
            return true;
    }
    return false;
}

void Tfrm_SupplierPrice::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString supplier = SupplierCode();
    if (supplier.isEmpty()) Refuse(QStringLiteral("请先选择供应商!"));
    ds.FieldByName(QStringLiteral("fsuppliercode")).SetAsString(supplier);
    const QString goods = ds.FieldByName(QStringLiteral("fgoodsid")).AsString();
    if (goods.isEmpty()) Refuse(QStringLiteral("货号不能为空"));
    // An emptied price is no price.
    for (const char* price : {"fMasterialPrice", "fManualPrice"}) {
        TField& f = ds.FieldByName(QString::fromLatin1(price));
        if (f.IsNull()) f.SetAsFloat(0);
    }
    TField& date = ds.FieldByName(QStringLiteral("fDate"));
    if (date.IsNull()) Refuse(QStringLiteral("报价日期不能为空!"));
    // The supplier, goods code and date name the quote in the table.
    if (quotedElsewhere(goods, date.AsDate()))
        Refuse(QStringLiteral("此货号在该报价日期已有报价!"));
}

void Tfrm_SupplierPrice::fgoodsidButtonClick() {
    // Only while the quotes are edited; otherwise the button does nothing.
    if (!editingQuotes()) return;
    const QList<TPickedGoods> picked = PickGoods(this);
    if (picked.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TControlsDisabled still(ds);
    QScopedValueRollback<int> filling(m_filling, m_filling + 1);
    for (const TPickedGoods& goods : picked) {
        if (ds.Locate(QStringLiteral("fgoodsid"), goods.goodsid, loCaseInsensitive)) continue;
        ds.Append();
        ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(goods.goodsid);
        ds.FieldByName(QStringLiteral("goodsname")).SetAsString(goods.goodsname);
        ds.FieldByName(QStringLiteral("season")).SetAsString(goods.season);
        ds.FieldByName(QStringLiteral("brand")).SetAsString(goods.brand);
        ds.FieldByName(QStringLiteral("ayear")).SetAsString(goods.ayear);
        ds.FieldByName(QStringLiteral("unitprice")).SetAsFloat(goods.unitprice);
        ds.Post();
    }
}

void Tfrm_SupplierPrice::But_CacClick() {
    if (!editingQuotes()) return;
    // The box's value as a decimal number: its text, as shown.
    const double discount = Edit_Discount->cleanText().toDouble();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    TControlsDisabled still(ds);
    TBookmarkKept place(ds);
    for (ds.First(); !ds.Eof(); ds.Next()) {
        if (ds.FieldByName(QStringLiteral("fMasterialPrice")).AsFloat() != 0) continue;
        ds.Edit();
        ds.FieldByName(QStringLiteral("fMasterialPrice"))
            .SetAsFloat(
                roundCents(ds.FieldByName(QStringLiteral("unitprice")).AsFloat() * discount));
        ds.Post();
    }
}

// ---------------------------------------------------------------- actions

void Tfrm_SupplierPrice::append_actionExecute() {
    if (SupplierCode().isEmpty()) Refuse(QStringLiteral("请先选择供应商!"));
    DBmaster_table->Append();
    UpdateActionState();
    cxGrid1DBTableView1->setFocus();
    WriteLog(QStringLiteral("新增"));
}

void Tfrm_SupplierPrice::edit_actionExecute() {
    if (SupplierCode().isEmpty()) Refuse(QStringLiteral("请先选择供应商!"));
    Tbase_frmMditree::edit_actionExecute();
    cxGrid1DBTableView1->setFocus();
}

void Tfrm_SupplierPrice::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    // A failed batch keeps the changes cached and the window editing.
    ds.UpdateBatch();
    EndEditing();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tfrm_SupplierPrice::cacel_actionExecute() {
    if (!AskYesNo(QStringLiteral("是否确认撤消本次修改？"))) Abort();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    cxGrid1DBTableView1->CancelEditor();
    if (ds.InEditState()) ds.Cancel();
    ds.CancelUpdates();
    EndEditing();
    UpdateActionState();
    WriteLog(QStringLiteral("撤消"));
}

void Tfrm_SupplierPrice::del_actionExecute() {
    // Nothing to ask about in an empty list.
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    Tbase_frmMditree::del_actionExecute();
}

void Tfrm_SupplierPrice::print_actionExecute() {
    const QString abbrev = SupplierCode().isEmpty()
                               ? QString()
                               : DBsupplier->FieldByName(QStringLiteral("fabbrev")).AsString();
    PrintPreview(*cxGrid1DBTableView1, QStringLiteral("供应商报价(") + abbrev + QStringLiteral(")"),
                 this);
    UpdateActionState();
    WriteLog(QStringLiteral("打印"));
}

void Tfrm_SupplierPrice::excel_actionExecute() {
    // The quote grid to a chosen file, which is then opened.
    Tbase_frmMdi::excel_actionExecute();
}

void Tfrm_SupplierPrice::update_actionExecute() {
    {
        TTransactionScope transaction(*md::Session().Connection);
        md::ExecuteSQL(CostsSQL());
        transaction.commit();
    }
    MessageBox(QStringLiteral("更新成功"));
}

MD_REGISTER_FORM(Tfrm_SupplierPrice);
