#include "frm_HouseLocal.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "datasource.h"
#include "editors.h"
#include "formfactory.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

}  // namespace

Tfrm_HouseLocal::Tfrm_HouseLocal(QWidget* owner) : Tbase_frmMdi(owner) {
    setWindowTitle(QStringLiteral("仓位维护"));
    ToolBar1->hide();
    for (QAction* a : {first_action, prio_action, next_action, last_action, append_action,
                       edit_action, post_action, cacel_action, del_action, find_action,
                       print_action, excel_action, close_action})
        a->setVisible(false);

    DBhouse = new TRemoteUdpDataSet(QStringLiteral("DBhouse"), this);
    DBlocal = new TRemoteUdpDataSet(QStringLiteral("DBlocal"), this);
    DBlocal->SetSQL(QStringLiteral("select * from dt_HstockLocal where fhousecode=:fhousecode"));

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("仓库："), ClientPanel));
    Lookup_House = new md::ui::TLookupCombo(ClientPanel);
    Lookup_House->setObjectName(QStringLiteral("Lookup_House"));
    Lookup_House->setMinimumWidth(160);
    top->addWidget(Lookup_House);
    auto button = [this, top](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), ClientPanel);
        b->setObjectName(QString::fromLatin1(name));
        top->addWidget(b);
        return b;
    };
    But_Find = button("But_Find", "检索");
    But_Save = button("But_Save", "保存");
    top->addStretch(1);
    But_Close = button("But_Close", "关闭");
    OnClick(But_Find, [this] { But_FindClick(); });
    OnClick(But_Save, [this] { But_SaveClick(); });
    OnClick(But_Close, [this] { Close(); });
    layout->addLayout(top);

    cxGrid1 = new TDBGrid(ClientPanel, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    cxGrid1DBTableView1->setDataSource(DbMaster_Source);
    TDBTableView* v = cxGrid1DBTableView1;
    auto column = [v](const char* field, const char* caption) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption)).readOnly();
    };
    column("fhousecode", "仓库编号");
    column("fname", "仓库名称");
    column("fgoodsid", "货号");
    column("goodsname", "货品名称");
    column("fcolorid", "颜色编号");
    column("fcolor", "颜色说明");
    column("ayear", "年份");
    column("season", "季节");
    column("brand", "品牌");
    column("sort", "类别");
    column("qty", "数量").footer(TSummaryKind::Sum, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fhouselocal"), QStringLiteral("仓位"));
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);
    layout->addWidget(cxGrid1, 1);
    resize(980, 560);
}

void Tfrm_HouseLocal::FormCreate() {
    Tbase_frmMdi::FormCreate();
    DBhouse->SetSQL(QStringLiteral("select fcode,fname from dt_house where 1=1"));
    const md::SharedValues& shared = md::Shared();
    if (!shared.HouseScopeAll && !shared.HouseScopeList.isEmpty())
        DBhouse->AddSQL(QStringLiteral(" and fcode in(") + shared.HouseScopeList +
                        QStringLiteral(")"));
    DBhouse->Open();
    Lookup_House->setList(DBhouse, QStringLiteral("fcode"),
                          {QStringLiteral("fcode"), QStringLiteral("fname")},
                          {QStringLiteral("仓库编号"), QStringLiteral("仓库名称")});
    Lookup_House->setKeyValue(QString());
    But_Save->setEnabled(false);
}

void Tfrm_HouseLocal::UpdateActionState() {
    for (QAction* a : {first_action, prio_action, next_action, last_action, append_action,
                       edit_action, post_action, cacel_action, del_action, find_action,
                       print_action, excel_action, close_action})
        a->setEnabled(false);
}

QString Tfrm_HouseLocal::SearchSQL(const QString& houseCode) {
    return QStringLiteral(
               "select a.fhousecode,b.fname,a.fgoodsid,c.goodsname,a.fcolorid,c.colorname_ch as "
               "fcolor,c.ayear,c.season,c.brand,c.sort,sum(isnull(a.qty,0)) as qty,e.fhouselocal") +
           CR +
           QStringLiteral(
               "from stock a join dt_house b on a.fhousecode=b.fcode join vgoodscolor c on "
               "a.fgoodsid=c.goodsid and a.fcolorid=c.colorid") +
           CR +
           QStringLiteral(
               "left join dt_HstockLocal e on a.fhousecode=e.fhousecode and "
               "a.fgoodsid=e.fgoodsid and a.fcolorid=e.fcolorid") +
           CR + QStringLiteral("where a.fhousecode='") + SqlText(houseCode) + QStringLiteral("'") +
           CR +
           QStringLiteral(
               "group by a.fhousecode,b.fname,a.fgoodsid,a.fcolorid,c.goodsname,c.colorname_ch,"
               "c.ayear,c.season,c.brand,c.sort,e.fhouselocal") +
           CR + QStringLiteral("order by a.fhousecode,e.fhouselocal,a.fgoodsid,a.fcolorid");
}

void Tfrm_HouseLocal::But_FindClick() {
    const QString text = Lookup_House->currentText().trimmed();
    if (text.isEmpty()) Refuse(QStringLiteral("请选择仓库!"));
    // Only a warehouse the chooser offers: a typed code outside the user's
    // scope finds nothing to show or to save.
    if (!DBhouse->Locate(QStringLiteral("fcode"), text, loCaseInsensitive))
        Refuse(QStringLiteral("请选择仓库!"));
    const QString house = DBhouse->FieldByName(QStringLiteral("fcode")).AsString();
    Lookup_House->setKeyValue(house);
    DBmaster_table->Close();
    DBmaster_table->setSetupUdpParent(md::Session().Connection);
    DBmaster_table->SetSQL(SearchSQL(house));
    DBmaster_table->Open();
    m_house = house;
    fitColumns();
    But_Save->setEnabled(true);
}

void Tfrm_HouseLocal::fitColumns() {
    TDBTableView* v = cxGrid1DBTableView1;
    const QFontMetrics metrics = v->fontMetrics();
    const QFontMetrics header = v->horizontalHeader()->fontMetrics();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    // Enough rows to judge the widths by; a large warehouse is not measured whole.
    const int rows = qMin(ds.RecordCount(), 500);
    for (TGridColumn* column : v->Columns()) {
        int width = header.horizontalAdvance(column->Caption()) + 16;
        if (const TField* f = ds.FindField(column->FieldName()))
            for (int row = 0; row < rows; ++row)
                width =
                    qMax(width, metrics.horizontalAdvance(ds.displayTextAt(row, f->Index())) + 12);
        column->width(qMin(width, 240));
    }
    // The location is what is typed here: room for a long one.
    if (TGridColumn* place = v->Column(QStringLiteral("fhouselocal")))
        place->width(qMax(place->Width(), 200));
}

void Tfrm_HouseLocal::But_SaveClick() {
    if (m_house.isEmpty() || !DBmaster_table->Active()) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    {
        // Deleting and writing back go together: a failure leaves the stored
        // locations as they were and the list as typed.
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(QStringLiteral("delete from dt_HstockLocal where fhousecode='") +
                       SqlText(m_house) + QStringLiteral("'"));
        DBlocal->Close();
        DBlocal->setSetupUdpParent(connection);
        DBlocal->ParamByName(u"fhousecode").SetAsString(m_house);
        DBlocal->Open();
        {
            TControlsDisabled still(ds);
            TBookmarkKept place(ds);
            TField& house = ds.FieldByName(QStringLiteral("fhousecode"));
            TField& goods = ds.FieldByName(QStringLiteral("fgoodsid"));
            TField& colour = ds.FieldByName(QStringLiteral("fcolorid"));
            TField& location = ds.FieldByName(QStringLiteral("fhouselocal"));
            for (ds.First(); !ds.Eof(); ds.Next()) {
                const QString text = location.AsString().trimmed();
                if (text.isEmpty()) continue;
                DBlocal->Append();
                DBlocal->FieldByName(QStringLiteral("fhousecode")).SetAsString(house.AsString());
                DBlocal->FieldByName(QStringLiteral("fgoodsid")).SetAsString(goods.AsString());
                DBlocal->FieldByName(QStringLiteral("fcolorid")).SetAsString(colour.AsString());
                DBlocal->FieldByName(QStringLiteral("fhouselocal")).SetAsString(text);
                DBlocal->Post();
            }
        }
        DBlocal->UpdateBatch();
        transaction.commit();
    }
    // The list's typing is stored now; nothing of it is pending any more.
    ds.MergeChangeLog();
    md::ui::MessageBox(QStringLiteral("保存成功!"));
}

MD_REGISTER_FORM(Tfrm_HouseLocal);
