#include "frm_goodscolor.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSet>
#include <QStatusBar>
#include <memory>

#include "checktree.h"
#include "dbchecks.h"
#include "formfactory.h"
#include "goodsattributefilter.h"
#include "goodsfilterpanel.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "segoodscolor.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

// The window opens on the filter's statement with nothing ticked and no code.
const TCodeTable kGoodsColours{
    "货品颜色",
    "select * from ba_goodscolor where 1=1 \r",
    {{"fGoodsId", "货号", 120, TEditorKind::Button, TSummaryKind::Count, "记录数：0"},
     {"fColorId", "颜色编号", 90},
     {"fcolor", "颜色名称", 180}},
    {{"fgoodsid", "货号不能为空!"}, {"fcolorid", "颜色编号不能为空!"}},
    {860, 560}};

// How often a long "自动取数" lets the window paint and shows how far it is.
constexpr qint64 kProgressMs = 200;

// A goods colour pair as the list compares them: letter case does not count.
QString pairKey(const QString& goodsId, const QString& colourId) {
    return goodsId.toCaseFolded() + QChar(0x1f) + colourId.toCaseFolded();
}

}  // namespace

Tfrm_goodscolor::Tfrm_goodscolor(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kGoodsColours);
    find_action->setText(QStringLiteral("自动取数"));
    find_action->setVisible(true);
    cxGrid1DBTableView1->Column(QStringLiteral("fGoodsId"))->button([this](TGridColumn&) {
        fGoodsIdButtonClick();
    });

    // The filter on the left of the grid.
    auto* filter = new TGoodsFilterPanel(ClientPanel, QStringLiteral("检索过滤"));
    filter->PlaceBeside(cxGrid1, 200, 640);
    cxTreeView1 = filter->Tree;
    Edit_goodsid = filter->CodeBox;
    But_Find = filter->FindButton;
    OnClick(But_Find, [this] { But_FindClick(); });
    // Enter runs the filter also with an empty box: that lists every row.
    connect(Edit_goodsid, &QLineEdit::returnPressed, this,
            [this] { Run([this] { But_FindClick(); }); });
}

void Tfrm_goodscolor::FormCreate() {
    // The base opens the list on the table's statement: the filter as it stands now.
    Tbase_frmDictMdi::FormCreate();
    md::ui::FillGoodsAttributeTree(*cxTreeView1);
}

bool Tfrm_goodscolor::FormCloseQuery() {
    // A long "自动取数" lets the window paint; it is not closed under it.
    return !m_appendingFetched && Tbase_frmDictMdi::FormCloseQuery();
}

QString Tfrm_goodscolor::FilterSQL(const QString& condition, const QString& codeText) {
    QString c = condition;
    if (!codeText.isEmpty()) {
        const QString like = QStringLiteral("fgoodsid like ") + QStringLiteral("'") +
                             QStringLiteral("%") + SqlText(codeText) + QStringLiteral("%") +
                             QStringLiteral("'");
        c += c.isEmpty() ? QStringLiteral(" ") + like : QStringLiteral(" and ") + like;
    }
    QString sql = QString::fromUtf8(kGoodsColours.sql);
    // Inside the sub-select fgoodsid is the outer row's: goods has no such column.
    if (!c.isEmpty())
        sql += QLatin1Char('\n') +
               QStringLiteral(" and fgoodsid in(select goodsid from goods where 1=1 and ") + c +
               QStringLiteral(")");
    return sql;
}

QString Tfrm_goodscolor::MissingPairsSQL() {
    return QStringLiteral("select goodsid,colorid from vgoodscolor ") + CR +
           QStringLiteral(
               "where (ltrim(rtrim(goodsid))+ltrim(rtrim(colorid))) not in(select "
               "ltrim(rtrim(fgoodsid))+ltrim(rtrim(fcolorid)) from ba_goodscolor)");
}

void Tfrm_goodscolor::But_FindClick() {
    // Reopening would drop the rows not saved yet.
    if (DBmaster_table->InEditState() || DBmaster_table->UpdatesPending())
        Refuse(QStringLiteral("请先保存或撤消当前的修改!"));
    const QString sql =
        FilterSQL(md::ui::GoodsAttributeCondition(*cxTreeView1), Edit_goodsid->text());
    {
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->SetSQL(sql);
        DBmaster_table->Open();
    }
    UpdateActionState();
}

void Tfrm_goodscolor::fGoodsIdButtonClick() {
    if (!Editing()) Abort();
    cxGrid1DBTableView1->PostEditor();
    const QList<TPickedGoodsColor> picked = md::ui::PickGoodsColors(this);
    if (picked.isEmpty()) return;

    TRemoteUdpDataSet& list = *DBmaster_table;
    const int goodsColumn = list.FieldByName(QStringLiteral("fgoodsid")).Index();
    const int colourColumn = list.FieldByName(QStringLiteral("fcolorid")).Index();
    QSet<QString> listed;
    for (int row = 0; row < list.RecordCount(); ++row)
        listed.insert(pairKey(list.valueAt(row, goodsColumn).toString(),
                              list.valueAt(row, colourColumn).toString()));
    TField& goods = list.FieldByName(QStringLiteral("fgoodsid"));
    TField& colour = list.FieldByName(QStringLiteral("fcolorid"));
    TField& description = list.FieldByName(QStringLiteral("fcolor"));
    {
        TControlsDisabled still(list);
        for (const TPickedGoodsColor& pair : picked) {
            if (listed.contains(pairKey(pair.goodsid, pair.colorid))) continue;
            list.Append();
            goods.SetAsString(pair.goodsid);
            colour.SetAsString(pair.colorid);
            description.SetAsString(pair.colorname_ch);
            listed.insert(pairKey(pair.goodsid, pair.colorid));
        }
    }
    UpdateActionState();
}

void Tfrm_goodscolor::find_actionExecute() {
    // Rows found are added through "新增"; without it nothing could be saved.
    if (!append_action->isEnabled()) Abort();
    auto pairs = std::make_unique<TRemoteUdpDataSet>();
    md::OpenQuery(*pairs, MissingPairsSQL());
    if (pairs->IsEmpty()) return;
    append_actionExecute();
    appendFetched(*pairs);
    UpdateActionState();
}

void Tfrm_goodscolor::appendFetched(const TRemoteUdpDataSet& pairs) {
    TRemoteUdpDataSet& list = *DBmaster_table;
    TField& goods = list.FieldByName(QStringLiteral("fgoodsid"));
    TField& colour = list.FieldByName(QStringLiteral("fcolorid"));
    const int goodsColumn = pairs.FieldByName(QStringLiteral("goodsid")).Index();
    const int colourColumn = pairs.FieldByName(QStringLiteral("colorid")).Index();
    const int total = pairs.RecordCount();
    QElapsedTimer sinceShown;
    sinceShown.start();
    {
        TControlsDisabled still(list);
        QScopedValueRollback fetching(m_appendingFetched, true);
        bool newRowFilled = false;
        for (int row = 0; row < total; ++row) {
            const QString goodsId = pairs.valueAt(row, goodsColumn).toString();
            const QString colourId = pairs.valueAt(row, colourColumn).toString();
            // A pair without a code could never be saved.
            if (goodsId.isEmpty() || colourId.isEmpty()) continue;
            // The first pair goes into the row "新增" made.
            if (newRowFilled) list.Append();
            newRowFilled = true;
            goods.SetAsString(goodsId);
            colour.SetAsString(colourId);
            if (sinceShown.elapsed() >= kProgressMs) {
                StatusBar1->showMessage(QStringLiteral("自动取数：%1/%2").arg(row + 1).arg(total));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                sinceShown.restart();
            }
        }
        // Every fetched row is posted like the others; the window stays editing.
        if (newRowFilled) {
            list.Post();
            list.Edit();
        }
    }
    StatusBar1->clearMessage();
}

void Tfrm_goodscolor::DBmaster_tableBeforePost() {
    Tbase_frmDictMdi::DBmaster_tableBeforePost();
    if (m_appendingFetched || DBmaster_table->State() != dsInsert) return;
    const QString goodsId = DBmaster_table->FieldByName(QStringLiteral("fgoodsid")).AsString();
    const QString colourId = DBmaster_table->FieldByName(QStringLiteral("fcolorid")).AsString();
    if (md::ui::QueryReturnsRow(
            QStringLiteral("select fgoodsid from ba_goodscolor where fgoodsid='") +
            SqlText(goodsId) + QStringLiteral("'") + QStringLiteral(" and fcolorid=") +
            QStringLiteral("'") + SqlText(colourId) + QStringLiteral("'")))
        Refuse(QStringLiteral("不能录入相同的记录!"));
}

MD_REGISTER_FORM(Tfrm_goodscolor);
