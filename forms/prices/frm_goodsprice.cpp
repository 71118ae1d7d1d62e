#include "frm_goodsprice.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <cmath>

#include "checktree.h"
#include "formfactory.h"
#include "goods/frm_ShowGoodImage.h"
#include "goodsattributefilter.h"
#include "goodsfilterpanel.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "scopes.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

struct Level {
    const char* price;
    const char* discount;
    const char* margin;
    const char* name;
};

const Level kLevelList[Tfrm_goodsprice::kLevels] = {
    {"price1", "discount1", "faigprice1", "总代理价"},
    {"price2", "discount2", "faigprice2", "一级代理价"},
    {"price3", "discount3", "faigprice3", "二级代理价"},
    {"price4", "discount4", "faigprice4", "经销价"},
    {"price5", "discount5", "faigprice5", "批发价"},
    {"price6", "discount6", "faigprice6", "一般客户价"}};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Why a typed price is none: no number, below zero, or with more decimal
// places than the session's prices keep (trailing zeros aside).
QString priceProblem(const QString& what, const QString& typed, int decimals) {
    const QString problem = md::ui::NumberInputProblem(what, typed);
    if (!problem.isEmpty()) return problem;
    QString fraction = typed.trimmed().section(QLatin1Char('.'), 1);
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    if (fraction.size() > decimals)
        return QStringLiteral("%1最多只能有%2位小数!").arg(what).arg(decimals);
    return QString();
}

QString discountCaption(int level) {
    return text(kLevelList[level].name) + QStringLiteral("折扣");
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

Tfrm_goodsprice::Tfrm_goodsprice(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("设定货品价格"));
    DBmaster_table->SetSQL(BaseSQL());
    PriceUpdateSql = new TRemoteUpdateSql(this);
    PriceUpdateSql->setObjectName(QStringLiteral("PriceUpdateSql"));
    PriceUpdateSql->ModifySQL = QStringLiteral(
        "update goods set "
        "price1=:price1,price2=:price2,price3=:price3,price4=:price4,price5=:price5,price6=:price6,"
        "unitprice=:unitprice where goodsid=:goodsid");
    DBmaster_table->SetupDataObject(PriceUpdateSql);
    for (int i = 0; i < kLevels; ++i) {
        m_discount[i] = &DBmaster_table->AddCalcField(text(kLevelList[i].discount), ftFloat);
        m_discount[i]->OnWrite = [this, i](TField&, const QVariant& value) {
            writeDiscount(i, value);
        };
        m_margin[i] = &DBmaster_table->AddCalcField(text(kLevelList[i].margin), ftFloat);
    }
    DBmaster_table->OnCalcFields = [this](TRemoteUdpDataSet& row) { calcLevels(row); };

    TDBTableView* v = cxGrid1DBTableView1;
    const int goodsBand = v->AddBand(QStringLiteral("货品资料"));
    v->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .band(goodsBand)
        .width(104)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称"))
        .band(goodsBand)
        .width(110)
        .readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价")).band(goodsBand).width(78);
    v->AddColumn(QStringLiteral("planprice"), QStringLiteral("成本价"))
        .band(goodsBand)
        .width(70)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    for (int i = 0; i < kLevels; ++i) {
        const Level& level = kLevelList[i];
        const int band = v->AddBand(text(level.name));
        v->AddColumn(text(level.price), QStringLiteral("单价")).band(band).width(74);
        v->AddColumn(text(level.discount), QStringLiteral("折扣"))
            .band(band)
            .width(46)
            .currency(QStringLiteral("0.00"))
            .inputCheck([i](const QString& typed) {
                return md::ui::DiscountInputProblem(discountCaption(i), typed);
            });
        v->AddColumn(text(level.margin), QStringLiteral("毛利值"))
            .band(band)
            .width(62)
            .readOnly()
            .currency(QStringLiteral("0.00"));
    }
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    HideActions({first_action, prio_action, next_action, last_action, append_action, del_action});

    // The filter on the left of the grid.
    auto* filter = new TGoodsFilterPanel(ClientPanel, QStringLiteral("   检   索    "));
    filter->PlaceBeside(cxGrid1, 170, 1030);
    cxTreeView1 = filter->Tree;
    Edit_goodsid = filter->CodeBox;
    But_Find = filter->FindButton;
    OnClick(But_Find, [this] { But_FindClick(); });
    connect(Edit_goodsid, &QLineEdit::returnPressed, this,
            [this] { Run([this] { But_FindClick(); }); });

    Label_F7 = new QLabel(QStringLiteral("F7 显示图片"), StatusBar1);
    Label_F7->setObjectName(QStringLiteral("Label_F7"));
    Label_F7->setContentsMargins(6, 0, 6, 0);
    StatusBar1->addWidget(Label_F7);
    resize(1200, 640);
}

QString Tfrm_goodsprice::BaseSQL() {
    return QStringLiteral(
        "select "
        "a.goodsid,a.goodsname,a.unitprice,a.price1,a.price2,a.price3,a.price4,a.price5,a.price6,b."
        "planprice from goods a left join planprice b on a.goodsid=b.fgoodsid");
}

QString Tfrm_goodsprice::FilterSQL(const QString& condition, const QString& codeText) {
    QString sql = BaseSQL() + QStringLiteral(" where 1=1");
    if (!condition.isEmpty()) sql += QLatin1Char('\n') + QStringLiteral(" and ") + condition;
    if (!codeText.isEmpty())
        sql += QLatin1Char('\n') + QStringLiteral(" and a.goodsid like '%") + SqlText(codeText) +
               QStringLiteral("%") + QStringLiteral("'");
    return sql;
}

double Tfrm_goodsprice::RoundCents(double value) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return std::nearbyint(value / 0.01) * 0.01;
}

QString Tfrm_goodsprice::PriceFormat(int decimals) {
    const int places = qBound(0, decimals, 4);
    const QString number = places == 0 ? QStringLiteral(",0")
                                       : QStringLiteral(",0.") + QString(places, QLatin1Char('0'));
    return QStringLiteral("￥") + number + QStringLiteral(";￥-") + number;
}

void Tfrm_goodsprice::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    TDBTableView* v = cxGrid1DBTableView1;
    // Decimal places and the right to see costs are the session's.
    const int decimals = qBound(0, md::Shared().PriceDecimals, 4);
    const QString format = PriceFormat(decimals);
    auto priceColumn = [v, format, decimals](const QString& field, const QString& what) {
        v->Column(field)->currency(format).inputCheck(
            [what, decimals](const QString& typed) { return priceProblem(what, typed, decimals); });
    };
    priceColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"));
    for (const Level& level : kLevelList) priceColumn(text(level.price), text(level.name));
    const bool costs = md::Shared().PlanPriceVisible;
    v->Column(QStringLiteral("planprice"))->visible(costs);
    for (const Level& level : kLevelList) v->Column(text(level.margin))->visible(costs);

    md::ui::FillGoodsAttributeTree(*cxTreeView1);
    WaitCursor wait;
    DBmaster_table->Open();
}

void Tfrm_goodsprice::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    bindFields(*DBmaster_table);
}

void Tfrm_goodsprice::bindFields(TRemoteUdpDataSet& ds) {
    // A search reopens the same columns: the fields, and what is set on them, stay.
    m_tag = &ds.FieldByName(QStringLiteral("unitprice"));
    m_cost = &ds.FieldByName(QStringLiteral("planprice"));
    // Values that arrive other than typed (pasted, set by the window) meet the same rule.
    auto guard = [](TField& field, const QString& what) {
        field.OnValidate = [what](TField& f) {
            const QString problem =
                md::ui::NumberInputProblem(what, QString::number(f.AsFloat(), 'g', 15));
            if (!problem.isEmpty()) Refuse(problem);
        };
    };
    guard(*m_tag, QStringLiteral("吊牌价"));
    for (int i = 0; i < kLevels; ++i) {
        m_price[i] = &ds.FieldByName(text(kLevelList[i].price));
        guard(*m_price[i], text(kLevelList[i].name));
    }
}

void Tfrm_goodsprice::calcLevels(TRemoteUdpDataSet& row) {
    if (!m_tag) bindFields(row);  // a row read before the open finished
    // Empty values count as 0.
    const double tag = m_tag->AsFloat();
    const double cost = m_cost->AsFloat();
    for (int i = 0; i < kLevels; ++i) {
        const double price = m_price[i]->AsFloat();
        m_discount[i]->SetAsFloat(tag == 0 ? 0.0 : RoundCents(price / tag));
        m_margin[i]->SetAsFloat(RoundCents(price - cost));
    }
}

void Tfrm_goodsprice::writeDiscount(int level, const QVariant& value) {
    if (value.isNull()) return;  // an emptied discount leaves the price as it is
    const double discount = TField::floatOf(value);
    const QString caption = discountCaption(level);
    const QString problem =
        md::ui::DiscountInputProblem(caption, QString::number(discount, 'g', 15));
    if (!problem.isEmpty()) Refuse(problem);
    // 8.5 typed for 0.85 would sell at eight times the tag price.
    if (discount > 1 && !md::ui::AskYesNo(md::ui::DiscountQuestion(caption, discount))) Abort();
    m_price[level]->SetAsFloat(RoundCents(m_tag->AsFloat() * discount));
}

void Tfrm_goodsprice::But_FindClick() {
    // Reopening would drop the prices not saved yet.
    if (DBmaster_table->InEditState() || DBmaster_table->UpdatesPending())
        Refuse(QStringLiteral("请先保存或撤消当前的修改!"));
    const QString sql =
        FilterSQL(md::ui::GoodsAttributeCondition(*cxTreeView1), Edit_goodsid->text().trimmed());
    {
        WaitCursor wait;
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    UpdateActionState();
}

void Tfrm_goodsprice::ShowPicture() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;
    Tfrm_ShowGoodImage::Execute(DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString(),
                                this);
}

bool Tfrm_goodsprice::FormKeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_F7 && event.modifiers() == Qt::NoModifier) {
        ShowPicture();
        return true;
    }
    return Tbase_frmDictMdi::FormKeyPress(event);
}

MD_REGISTER_FORM(Tfrm_goodsprice);
