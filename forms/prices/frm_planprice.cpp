#include "frm_planprice.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>

#include "checktree.h"
#include "dbchecks.h"
#include "formfactory.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "prices/frm_PlanCac.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "selectgoods.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "waitcursor.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

const QString kListSQL = QStringLiteral(
    "select a.*,b.goodsname,b.brand,b.ayear,b.season,b.unitprice,b.item,b.inputdate,b.patter "
    "from planprice a join goods b on a.fgoodsid=b.goodsid");

// The goods columns a row shows, copied from the goods item.
const char* const kGoodsColumns[] = {"goodsname", "brand", "ayear",     "season",
                                     "unitprice", "item",  "inputdate", "patter"};

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

QString goodsQuery(const QString& code) {
    return QStringLiteral("select top 1 * from goods where goodsid='") + SqlText(code) +
           QStringLiteral("'");
}

double roundedTo(double value, int decimals) {
    const double scale = std::pow(10.0, qBound(0, decimals, 4));
    return double(std::llround(value * scale)) / scale;
}

// The places of the grid's rows by goods code, as the database compares codes:
// ignoring case. Rows are only appended meanwhile, so a place stays where it is.
QHash<QString, int> rowsByCode(const TRemoteUdpDataSet& ds) {
    QHash<QString, int> rows;
    const int at = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    rows.reserve(ds.RecordCount());
    for (int row = 0; row < ds.RecordCount(); ++row)
        rows.insert(ds.valueAt(row, at).toString().trimmed().toCaseFolded(), row);
    return rows;
}

}  // namespace

Tfrm_planprice::Tfrm_planprice(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("货品参考成本价"));
    DBmaster_table->SetSQL(kListSQL);
    DBmaster_table->SetRTSQL(kListSQL);

    // The grid saves by GoodsNo: a row it adds takes its goods item's at once,
    // and a row whose code changes takes the new item's.
    PlanUpdateSql = new TRemoteUpdateSql(this);
    PlanUpdateSql->setObjectName(QStringLiteral("PlanUpdateSql"));
    PlanUpdateSql->InsertSQL =
        QStringLiteral(
            "insert into "
            "planprice(fgoodsid,planprice,ftaxprice,frepairprice)values(:fgoodsid,:planprice,:"
            "ftaxprice,:frepairprice)") +
        CR +
        QStringLiteral(
            "update planprice set GoodsNo=(select top 1 GoodsNo from goods where "
            "goodsid=:fgoodsid) where fgoodsid=:fgoodsid");
    PlanUpdateSql->ModifySQL =
        QStringLiteral(
            "update planprice set "
            "fgoodsid=:fgoodsid,planprice=:planprice,ftaxprice=:ftaxprice,frepairprice=:"
            "frepairprice where goodsNo=:goodsNo") +
        CR +
        QStringLiteral(
            "update planprice set GoodsNo=(select top 1 GoodsNo from goods where "
            "goodsid=planprice.fgoodsid) where goodsNo=:goodsNo");
    PlanUpdateSql->DeleteSQL = QStringLiteral("delete from planprice where fgoodsid=:fgoodsid");
    DBmaster_table->SetupDataObject(PlanUpdateSql);

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"))
        .button([this](TGridColumn&) { fgoodsidButtonClick(); });
    auto shown = [v](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .readOnly();
    };
    shown("goodsname", "货品名称", 110);
    shown("brand", "品牌", 52);
    shown("ayear", "年份", 44);
    shown("season", "季节", 40);
    shown("patter", "厂商", 60);
    shown("item", "厂商货号", 72);
    shown("inputdate", "录入日期", 80).displayFormat(QStringLiteral("yyyy-MM-dd"));
    shown("unitprice", "吊牌价", 70).currency(QStringLiteral("0.00"));
    for (const auto& [field, caption] :
         {std::pair{"planprice", "参考成本价"}, std::pair{"ftaxprice", "含税成本价"},
          std::pair{"frepairprice", "补货成本价"}})
        md::ui::AcceptNumbers(
            v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption)).width(76));

    // The filter on the left of the grid.
    auto* filter = new QWidget(ClientPanel);
    auto* filterLayout = new QVBoxLayout(filter);
    filterLayout->setContentsMargins(0, 0, 0, 0);
    cxTreeView1 = new TCheckTree(filter, QStringLiteral("cxTreeView1"));
    filterLayout->addWidget(cxTreeView1, 1);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("货号:"), filter));
    Edit_goodsid = new QLineEdit(filter);
    Edit_goodsid->setObjectName(QStringLiteral("Edit_goodsid"));
    codeRow->addWidget(Edit_goodsid, 1);
    filterLayout->addLayout(codeRow);
    But_Find = new QPushButton(QStringLiteral("检索过滤"), filter);
    But_Find->setObjectName(QStringLiteral("But_Find"));
    But_Find->setAutoDefault(false);
    filterLayout->addWidget(But_Find);
    OnClick(But_Find, [this] { But_FindClick(); });
    connect(Edit_goodsid, &QLineEdit::returnPressed, this,
            [this] { Run([this] { But_FindClick(); }); });
    auto* splitter = new QSplitter(Qt::Horizontal, ClientPanel);
    splitter->setObjectName(QStringLiteral("FilterSplitter"));
    delete ClientPanel->layout()->replaceWidget(cxGrid1, splitter);
    splitter->addWidget(filter);
    splitter->addWidget(cxGrid1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({150, 890});
    splitter->setChildrenCollapsible(false);

    // The discount fill in the status bar, usable while editing.
    StatusBar1->addWidget(new QLabel(QStringLiteral("折扣："), StatusBar1));
    Edit_discount = new QDoubleSpinBox(StatusBar1);
    Edit_discount->setObjectName(QStringLiteral("Edit_discount"));
    Edit_discount->setDecimals(2);
    Edit_discount->setRange(0, 1.0);
    Edit_discount->setSingleStep(0.01);
    Edit_discount->setValue(0.01);
    StatusBar1->addWidget(Edit_discount);
    But_Cac = new QPushButton(QStringLiteral("计  算"), StatusBar1);
    But_Cac->setObjectName(QStringLiteral("But_Cac"));
    But_Cac->setAutoDefault(false);
    StatusBar1->addWidget(But_Cac);
    OnClick(But_Cac, [this] { But_CacClick(); });

    find_action->setText(QStringLiteral("自动检索"));
    first_action->setText(QStringLiteral("导入"));
    last_action->setText(QStringLiteral("重算"));
    ShowActions({find_action, print_action});
    HideActions({prio_action, next_action});
    SetToolbar({first_action, last_action, nullptr, append_action, edit_action, post_action,
                cacel_action, del_action, find_action, print_action, excel_action, close_action});
    resize(1040, 580);
}

QString Tfrm_planprice::priceFormat() const {
    const int decimals = qBound(0, md::Shared().PriceDecimals, 4);
    return decimals == 0 ? QStringLiteral("0")
                         : QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
}

void Tfrm_planprice::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    for (const char* field : {"planprice", "ftaxprice", "frepairprice"})
        cxGrid1DBTableView1->Column(QString::fromLatin1(field))->currency(priceFormat());
    md::ui::FillGoodsAttributeTree(*cxTreeView1);
    reopen(SearchSQL(QString(), Edit_goodsid->text()));
}

QString Tfrm_planprice::SearchSQL(const QString& condition, const QString& codeText) {
    QString c = condition;
    if (!codeText.isEmpty()) {
        const QString like = QStringLiteral("fgoodsid like ") + QStringLiteral("'%") +
                             SqlText(codeText) + QStringLiteral("%'");
        c += c.isEmpty() ? QStringLiteral(" ") + like : QStringLiteral(" and ") + like;
    }
    QString sql = kListSQL + QStringLiteral(" where 1=1");
    // Inside the sub-select fgoodsid is the outer row's: goods has no such column.
    if (!c.isEmpty())
        sql += CR + QStringLiteral(" and a.fgoodsid in(select goodsid from goods where 1=1 and ") +
               c + QStringLiteral(")");
    return sql;
}

void Tfrm_planprice::refuseUnsavedChanges() const {
    // Reading the list again would drop them.
    if (DBmaster_table->InEditState() || DBmaster_table->UpdatesPending())
        Refuse(QStringLiteral("请先保存或撤消当前的修改!"));
}

void Tfrm_planprice::reopen(const QString& sql) {
    {
        md::ui::TWaitCursor hourglass;
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    UpdateActionState();
}

void Tfrm_planprice::But_FindClick() {
    refuseUnsavedChanges();
    reopen(SearchSQL(md::ui::GoodsAttributeCondition(*cxTreeView1), Edit_goodsid->text()));
}

void Tfrm_planprice::find_actionExecute() {
    refuseUnsavedChanges();
    DBmaster_table->Close();
    md::ExecuteSQL(
        QStringLiteral("insert into planprice(fgoodsid,planprice,GoodsNo) select goodsid,0,GoodsNo "
                       "from goods where goodsid not in(select fgoodsid from planprice)"));
    reopen(DBmaster_table->SQL());
}

void Tfrm_planprice::first_actionExecute() {
    QPointer<Tfrm_PlanPriceAdd> dialog = md::ui::CreateForm<Tfrm_PlanPriceAdd>(this);
    dialog->Import = [this](const QList<TPastedCost>& costs) { return ImportCosts(costs); };
    md::ui::ExecModal(*dialog);
    UpdateActionState();
}

void Tfrm_planprice::last_actionExecute() {
    Tfrm_PlanCac::ShowFor(this);
}

bool Tfrm_planprice::event(QEvent* event) {
    // 导入 follows the first-record action's rule, and comes back whenever
    // the window becomes the active one.
    if (event->type() == QEvent::WindowActivate) first_action->setEnabled(!Editing());
    return Tbase_frmDictMdi::event(event);
}

// ---------------------------------------------------------------- rows

void Tfrm_planprice::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    TField& code = ds.FieldByName(QStringLiteral("fgoodsid"));
    code.OnValidate = [this](TField& field) { codeTyped(field); };
    code.OnChange = [this](TField& field) { codeChanged(field); };
    for (const char* field : {"planprice", "ftaxprice", "frepairprice"})
        md::ui::GuardNumberField(ds.FieldByName(QString::fromLatin1(field)),
                                 *cxGrid1DBTableView1->Column(QString::fromLatin1(field)));
}

void Tfrm_planprice::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("planprice")).SetAsFloat(0);
}

void Tfrm_planprice::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("fgoodsid")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("货号不能为空!"));
}

bool Tfrm_planprice::listedElsewhere(const QString& code) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int at = ds.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (row != current &&
            ds.valueAt(row, at).toString().trimmed().compare(code, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Tfrm_planprice::codeTyped(TField& field) {
    if (m_filling > 0) return;
    const QString code = field.AsString().trimmed();
    // The row's own stored code, typed again, is no second record.
    if (code.isEmpty() ||
        code.compare(field.OldValue().toString().trimmed(), Qt::CaseInsensitive) == 0)
        return;
    if (md::ui::QueryReturnsRow(QStringLiteral("select top 1 * from planprice where fgoodsid='") +
                                SqlText(code) + QStringLiteral("'")) ||
        listedElsewhere(code))
        Refuse(QStringLiteral("不能录入相同的记录!"));
}

void Tfrm_planprice::codeChanged(TField& field) {
    if (m_filling > 0) return;
    TFilling filling(m_filling);
    TRemoteUdpDataSet goods;
    md::OpenQuery(goods, goodsQuery(field.AsString().trimmed()));
    fillFromGoods(goods);
}

void Tfrm_planprice::fillFromGoods(const TRemoteUdpDataSet& goods) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    for (const char* column : kGoodsColumns) {
        TField& field = ds.FieldByName(QString::fromLatin1(column));
        if (goods.IsEmpty())
            field.Clear();
        else
            field.SetValue(goods.FieldByName(QString::fromLatin1(column)).Value());
    }
    // What the server gives the row when it is saved; later saves find the row by it.
    TField& goodsNo = ds.FieldByName(QStringLiteral("GoodsNo"));
    if (goods.IsEmpty())
        goodsNo.Clear();
    else
        goodsNo.SetValue(goods.FieldByName(QStringLiteral("GoodsNo")).Value());
}

void Tfrm_planprice::fgoodsidButtonClick() {
    // Only while the list is edited; otherwise the button does nothing.
    if (!Editing()) return;
    cxGrid1DBTableView1->PostEditor();
    const QList<TPickedGoods> picked = md::ui::PickGoods(this);
    if (picked.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.CheckBrowseMode();
    QHash<QString, int> listed = rowsByCode(ds);
    TField& code = ds.FieldByName(QStringLiteral("fgoodsid"));
    {
        TControlsDisabled still(ds);
        TFilling filling(m_filling);
        for (const TPickedGoods& item : picked) {
            const QString goodsId = item.goodsid.trimmed();
            if (goodsId.isEmpty() || listed.contains(goodsId.toCaseFolded())) continue;
            // Costed already but not in this search: a second row could never be saved.
            if (md::ui::QueryReturnsRow(
                    QStringLiteral("select top 1 * from planprice where fgoodsid='") +
                    SqlText(goodsId) + QStringLiteral("'")))
                continue;
            ds.Append();
            code.SetAsString(goodsId);
            TRemoteUdpDataSet goods;
            md::OpenQuery(goods, goodsQuery(goodsId));
            fillFromGoods(goods);
            ds.Post();
            listed.insert(goodsId.toCaseFolded(), ds.RecNo() - 1);
        }
    }
    // The list stays in editing, so "保存" sends the new rows.
    if (!ds.IsEmpty()) ds.Edit();
    UpdateActionState();
}

void Tfrm_planprice::But_CacClick() {
    if (!post_action->isEnabled()) return;
    const double discount = Edit_discount->value();
    const int decimals = md::Shared().PriceDecimals;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.CheckBrowseMode();
    {
        TControlsDisabled still(ds);
        TBookmarkKept at(ds);
        TField& cost = ds.FieldByName(QStringLiteral("planprice"));
        TField& tag = ds.FieldByName(QStringLiteral("unitprice"));
        for (ds.First(); !ds.Eof(); ds.Next()) {
            if (!cost.IsNull() && cost.AsFloat() != 0) continue;
            ds.Edit();
            cost.SetAsFloat(roundedTo(tag.AsFloat() * discount, decimals));
            ds.Post();
        }
    }
    if (!ds.IsEmpty()) ds.Edit();
    UpdateActionState();
}

// ---------------------------------------------------------------- import

QList<TRefusedCost> Tfrm_planprice::ImportCosts(const QList<TPastedCost>& costs) {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.CheckBrowseMode();
    QList<TRefusedCost> refused;
    // Costed goods this search does not show are written by code.
    QList<TPastedCost> unlisted;
    QHash<QString, qsizetype> unlistedAt;
    QHash<QString, int> listed = rowsByCode(ds);
    TField& code = ds.FieldByName(QStringLiteral("fgoodsid"));
    TField& cost = ds.FieldByName(QStringLiteral("planprice"));
    {
        TControlsDisabled still(ds);
        TFilling filling(m_filling);
        for (const TPastedCost& row : costs) {
            const QString folded = row.goodsid.trimmed().toCaseFolded();
            if (folded.isEmpty()) continue;
            if (const auto found = listed.constFind(folded); found != listed.cend()) {
                ds.SetRecNo(*found + 1);
                ds.Edit();
                cost.SetAsFloat(row.cost);
                ds.Post();
                continue;
            }
            if (const auto again = unlistedAt.constFind(folded); again != unlistedAt.cend()) {
                unlisted[*again].cost = row.cost;
                continue;
            }
            TRemoteUdpDataSet goods;
            md::OpenQuery(goods, goodsQuery(row.goodsid.trimmed()));
            if (goods.IsEmpty()) {
                refused << TRefusedCost{row.row, QStringLiteral("货号不存在!")};
                continue;
            }
            // The goods item's own spelling of its code.
            const QString goodsId = goods.FieldByName(QStringLiteral("goodsid")).AsString();
            if (md::ui::QueryReturnsRow(
                    QStringLiteral("select top 1 * from planprice where fgoodsid='") +
                    SqlText(goodsId) + QStringLiteral("'"))) {
                unlistedAt.insert(folded, unlisted.size());
                unlisted << TPastedCost{row.row, goodsId, row.cost};
                continue;
            }
            ds.Append();
            code.SetAsString(goodsId);
            cost.SetAsFloat(row.cost);
            fillFromGoods(goods);
            ds.Post();
            listed.insert(folded, ds.RecNo() - 1);
        }
    }
    {
        TTransactionScope transaction(*connection);
        ds.UpdateBatch();
        for (const TPastedCost& row : unlisted)
            md::ExecuteSQL(
                QStringLiteral("update planprice set planprice=:planprice where fgoodsid=:goodsid"),
                {{QStringLiteral("planprice"), row.cost},
                 {QStringLiteral("goodsid"), row.goodsid}});
        transaction.commit();
    }
    reopen(ds.SQL());
    return refused;
}

MD_REGISTER_FORM(Tfrm_planprice);
