#include "frm_exchangeratio.h"

#include <QSplitter>

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"
#include "styles.h"
#include "treelist.h"

using md::ui::Refuse;

namespace {

const char* const kRatioFields[] = {"futures_ratio", "merchandlse_ratio", "sever_ratio",
                                    "fanning_ratio", "field1_ratio",      "field2_ratio"};

}  // namespace

Tfrm_exchangeratio::Tfrm_exchangeratio(QWidget* owner) : Tbase_frmClientTerms(owner) {
    setWindowTitle(QStringLiteral("客户退换货率设置"));
    DBmaster_table->SetSQL(QStringLiteral("select * from exchange_ratio"));

    TDBTableView* v = cxGrid1DBTableView1;
    AddClientColumns(QStringLiteral("fClientCode"),
                     {QStringLiteral("fcode"), QStringLiteral("fabbrev"), QStringLiteral("fmathod"),
                      QStringLiteral("fgrad"), QStringLiteral("fareaname")},
                     {QStringLiteral("编号"), QStringLiteral("简称"), QStringLiteral("性质"),
                      QStringLiteral("等级"), QStringLiteral("地区名称")})
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("exchange_lb"), QStringLiteral("退换货条件类型"))
        .width(96)
        .valueList({QStringLiteral("数量"), QStringLiteral("金额")});
    md::ui::AcceptNumbers(v->AddColumn(QStringLiteral("exchange_day"), QStringLiteral("退换货周期"))
                              .width(80)
                              .currency(QStringLiteral("0")),
                          md::ui::TNumberKind::Whole);
    const char* const captions[] = {"期货退换货率", "补货退换货率", "sever_ratio",
                                    "铺货退换货率", "field1_ratio", "field2_ratio"};
    for (int i = 0; i < 6; ++i) {
        TGridColumn& ratio =
            v->AddColumn(QString::fromLatin1(kRatioFields[i]), QString::fromUtf8(captions[i]))
                .width(90)
                .currency(QStringLiteral("0.00"));
        md::ui::AcceptNumbers(ratio);
        if (i == 2) ratio.hidden();
    }
    v->AddColumn(QStringLiteral("merchandlse_bit"), QStringLiteral("补货后是否不允许退货"))
        .width(130)
        .checkBox();
    v->AddColumn(QStringLiteral("strat"), QStringLiteral("启用否")).width(56).checkBox();
    // A narrower window: the tree's columns give up some width.
    dxDBTreeList1->Columns().at(0)->width(130);
    dxDBTreeList1->Columns().at(1)->width(84);
    RzSplitter1->setSizes({230, 529});
    resize(759, 525);
}

QString Tfrm_exchangeratio::CaptionSQL() {
    return QStringLiteral(
        "select * from ba_fieldremark where fTablename='dt_client' and left(fname,8)='discount'");
}

QString Tfrm_exchangeratio::RatioFieldOf(const QString& fid) {
    for (int i = 0; i < 6; ++i)
        if (fid == QString::number(1001 + i)) return QString::fromLatin1(kRatioFields[i]);
    return QString();
}

void Tfrm_exchangeratio::FormCreate() {
    Tbase_frmClientTerms::FormCreate();
    // Even rows in the shared style, as the grid editors show theirs.
    md::ui::ApplySharedColours(this);
    DBclient->Open();
    DBmaster_table->Open();
}

void Tfrm_exchangeratio::FormShow() {
    Tbase_frmClientTerms::FormShow();
    applyRatioCaptions();
}

void Tfrm_exchangeratio::applyRatioCaptions() {
    TRemoteUdpDataSet rows;
    md::OpenQuery(rows, CaptionSQL());
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const QString field = RatioFieldOf(rows.FieldByName(QStringLiteral("fid")).AsString());
        if (field.isEmpty()) continue;
        cxGrid1DBTableView1->Column(field)->caption(
            rows.FieldByName(QStringLiteral("ffieldremark")).AsString());
    }
}

void Tfrm_exchangeratio::DBmaster_tableAfterOpen() {
    Tbase_frmClientTerms::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    for (const char* name : kRatioFields) {
        const QString field = QString::fromLatin1(name);
        md::ui::GuardNumberField(ds.FieldByName(field), *cxGrid1DBTableView1->Column(field));
    }
    md::ui::GuardNumberField(ds.FieldByName(QStringLiteral("exchange_day")),
                             *cxGrid1DBTableView1->Column(QStringLiteral("exchange_day")));
}

void Tfrm_exchangeratio::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("merchandlse_bit")).SetAsBoolean(false);
    DBmaster_table->FieldByName(QStringLiteral("strat")).SetAsBoolean(false);
}

bool Tfrm_exchangeratio::listedTwice(const QString& code) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int at = ds.FieldByName(QStringLiteral("fClientCode")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (row != current &&
            ds.valueAt(row, at).toString().compare(code, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Tfrm_exchangeratio::DBmaster_tableBeforePost() {
    Tbase_frmClientTerms::DBmaster_tableBeforePost();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString code = ds.FieldByName(QStringLiteral("fclientcode")).AsString().trimmed();
    if (code.isEmpty()) Refuse(QStringLiteral("请选择客户编号！"));
    if (ds.FieldByName(QStringLiteral("exchange_lb")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请选择退换货条件类型！"));
    // 0 days is a period; only an empty one is missing.
    if (ds.FieldByName(QStringLiteral("exchange_day")).IsNull())
        Refuse(QStringLiteral("请选择退换货周期！"));
    // One row per client: stored already, or a second new row in this window.
    if (IsNewRow() &&
        (md::ui::QueryReturnsRow(
             QStringLiteral("select fclientcode from exchange_ratio where fclientcode='") +
             SqlText(code) + QStringLiteral("'")) ||
         listedTwice(code)))
        Refuse(QStringLiteral("不能录入相同重复的记录！"));
}

MD_REGISTER_FORM(Tfrm_exchangeratio);
