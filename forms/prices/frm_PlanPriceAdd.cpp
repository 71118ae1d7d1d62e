#include "frm_PlanPriceAdd.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "messages.h"
#include "pastedrows.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "scopes.h"
#include "styles.h"

namespace {

const QString kCostCaption = QStringLiteral("参考成本价");
// How many refused rows the message names; the list shows them all.
constexpr int kNamedRows = 20;

// A cost as a spreadsheet copies it: "1,280.50" is a number too.
QString costText(const QString& cell) {
    static const QRegularExpression grouped(QStringLiteral("^-?\\d{1,3}(,\\d{3})+(\\.\\d*)?$"));
    QString text = cell.trimmed();
    if (grouped.match(text).hasMatch()) text.remove(QLatin1Char(','));
    return text;
}

}  // namespace

Tfrm_PlanPriceAdd::Tfrm_PlanPriceAdd(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_PlanPriceAdd"));
    setWindowTitle(QStringLiteral("参考成本价导入"));

    DBlist = new TRemoteUdpDataSet(QStringLiteral("DBlist"), this);
    DBlist->AddField(QStringLiteral("fgoodsid"), ftString, 30);
    DBlist->AddField(QStringLiteral("fplanprice"), ftFloat);
    DBlist->AddField(QStringLiteral("fremark"), ftString, 200);
    DbList_Source = new TDataSource(QStringLiteral("DbList_Source"), this);
    DbList_Source->setDataSet(DBlist);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    cxGrid1DBTableView1->setDataSource(DbList_Source);
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(130)
        .footer(TSummaryKind::Count, QStringLiteral("记录数"));
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("fplanprice"), kCostCaption)
                              .width(100)
                              .footer(TSummaryKind::Count, QStringLiteral("0")));
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("说明")).width(230).readOnly();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.MultiSelect = true;
    options.Clipboard = true;
    v->ApplyOptions();
    v->SetInputAllowed(true);

    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_OK->setAutoDefault(false);
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    But_Cancel->setAutoDefault(false);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { reject(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    layout->addLayout(buttons);
    resize(520, 460);
}

void Tfrm_PlanPriceAdd::FormCreate() {
    Tbase_frmTop::FormCreate();
    md::ui::ApplySharedColours(this);
    DBlist->CreateDataSet();
    // A cost typed over a refused one answers that row's reason.
    DBlist->FieldByName(QStringLiteral("fplanprice")).OnChange = [this](TField&) {
        DBlist->FieldByName(QStringLiteral("fremark")).Clear();
    };
}

bool Tfrm_PlanPriceAdd::FormKeyPress(QKeyEvent& event) {
    QWidget* focus = QApplication::focusWidget();
    // Pasting into the grid (not into an open cell editor) reads whole rows.
    if (event.matches(QKeySequence::Paste) && focus == cxGrid1DBTableView1) {
        Run([this] { PasteText(QApplication::clipboard()->text()); });
        return true;
    }
    if (focus && (focus == cxGrid1DBTableView1 || cxGrid1DBTableView1->isAncestorOf(focus)))
        return Tbase_frm::FormKeyPress(event);  // Enter moves between the grid's cells
    return Tbase_frmTop::FormKeyPress(event);
}

void Tfrm_PlanPriceAdd::PasteText(const QString& text) {
    const QList<QStringList> rows = md::ParsePastedRows(text);
    TRemoteUdpDataSet& list = *DBlist;
    list.CheckBrowseMode();
    TField& code = list.FieldByName(QStringLiteral("fgoodsid"));
    TField& cost = list.FieldByName(QStringLiteral("fplanprice"));
    TField& remark = list.FieldByName(QStringLiteral("fremark"));
    TControlsDisabled still(list);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString goodsId = rows[i].value(0).trimmed();
        const QString typed = costText(rows[i].value(1));
        // The captions a spreadsheet's first row carries are no goods.
        if (i == 0 && goodsId == QStringLiteral("货号")) continue;
        if (goodsId.isEmpty() && typed.isEmpty()) continue;
        list.Append();
        code.SetAsString(goodsId);
        bool isNumber = false;
        const double value = typed.toDouble(&isNumber);
        if (isNumber) cost.SetAsFloat(value);
        // Text is kept in the reason, so the user sees what was pasted.
        const QString problem = md::ui::NumberInputProblem(kCostCaption, typed);
        if (!problem.isEmpty())
            remark.SetAsString(
                isNumber ? problem : problem + QStringLiteral("(") + typed + QStringLiteral(")"));
        list.Post();
    }
}

QString Tfrm_PlanPriceAdd::rowProblem(int row) const {
    const TRemoteUdpDataSet& list = *DBlist;
    const QVariant& cost =
        list.valueAt(row, list.FieldByName(QStringLiteral("fplanprice")).Index());
    const QString remark =
        list.valueAt(row, list.FieldByName(QStringLiteral("fremark")).Index()).toString();
    if (cost.isNull())
        return remark.isEmpty() ? kCostCaption + QStringLiteral("不能为空!") : remark;
    return md::ui::NumberInputProblem(kCostCaption, QString::number(cost.toDouble(), 'g', 15));
}

void Tfrm_PlanPriceAdd::But_OKClick() {
    cxGrid1DBTableView1->PostEditor();
    TRemoteUdpDataSet& list = *DBlist;
    list.CheckBrowseMode();
    const int codeAt = list.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int costAt = list.FieldByName(QStringLiteral("fplanprice")).Index();

    QList<TPastedCost> fit;
    QMap<int, QString> refused;  // by row, in the list's order
    for (int row = 0; row < list.RecordCount(); ++row) {
        const QString goodsId = list.valueAt(row, codeAt).toString().trimmed();
        if (goodsId.isEmpty()) continue;
        const QString problem = rowProblem(row);
        if (problem.isEmpty())
            fit << TPastedCost{row, goodsId, list.valueAt(row, costAt).toDouble()};
        else
            refused.insert(row, problem);
    }
    if (Import)
        for (const TRefusedCost& r : Import(fit)) refused.insert(r.row, r.reason);
    if (refused.isEmpty()) {
        accept();
        return;
    }

    // What was imported (and rows without a code) goes; the refused rows stay with their reason.
    QStringList named;
    struct Kept {
        QVariant code, cost;
        QString reason;
    };
    QList<Kept> kept;
    for (auto it = refused.cbegin(); it != refused.cend(); ++it) {
        const QString goodsId = list.valueAt(it.key(), codeAt).toString();
        if (named.size() < kNamedRows)
            named << QStringLiteral("第%1行 %2：%3").arg(it.key() + 1).arg(goodsId, it.value());
        kept << Kept{list.valueAt(it.key(), codeAt), list.valueAt(it.key(), costAt), it.value()};
    }
    if (refused.size() > kNamedRows) named << QStringLiteral("……");
    {
        TControlsDisabled still(list);
        list.EmptyDataSet();
        for (const Kept& row : kept) {
            list.Append();
            list.FieldByName(QStringLiteral("fgoodsid")).SetValue(row.code);
            list.FieldByName(QStringLiteral("fplanprice")).SetValue(row.cost);
            list.FieldByName(QStringLiteral("fremark")).SetAsString(row.reason);
            list.Post();
        }
        list.First();
    }
    md::ui::MessageBox(QStringLiteral("以下%1行没有导入：").arg(refused.size()) +
                       QLatin1Char('\n') + named.join(QLatin1Char('\n')));
}
