#include "frm_BarcodeGuID.h"

#include <sodium.h>

#include <QCoreApplication>
#include <QCursor>
#include <QDate>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

#include "barquantitygrid.h"
#include "datasource.h"
#include "formfactory.h"
#include "grid.h"
#include "localdata.h"
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"
#include "reportprint.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sizeslots.h"
#include "sqlquote.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QChar CR(13);
const QString kLocalTable = QStringLiteral("BarcodeGuID");
const QString kNoQuantities = QStringLiteral("请选择录入要打印的明细内容");
// Four digits of record number: more pieces of one variant in one run would
// repeat a serial inside the run.
constexpr qint64 kMostPiecesPerRun = 9999;

// The columns of barcodedetail that a list row sends, besides the slots.
const char* const kListColumns[] = {"fGoodsId", "fcolorid", "qty", "fretailprice", "fremark"};

int slotCount() {
    return qBound(0, md::Shared().SizeSlotCount, md::kSizeSlotMax);
}

// Keeps the progress bar shown while a run writes its serials.
struct ProgressShown {
    ProgressShown(QProgressBar* bar, int maximum) : m_bar(bar) {
        m_bar->setRange(0, qMax(1, maximum));
        m_bar->setValue(0);
        m_bar->setVisible(true);
    }
    ~ProgressShown() { m_bar->setVisible(false); }
    QProgressBar* m_bar;
};

}  // namespace

Tfrm_BarcodeGuID::Tfrm_BarcodeGuID(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_BarcodeGuID"));
    setWindowTitle(QStringLiteral("生成产品序列号"));
    // The buttons under the pages take the place of the record editor's toolbar.
    ToolBar1->hide();
    DBmaster_table->SetSQL(QStringLiteral("select * from barcodeguidTemp where 1=2"));
    DBguid = new TRemoteUdpDataSet(QStringLiteral("DBguid"), this);
    DBguid->SetLockType(etBatchOptimistic);
    DBguid->SetSQL(QStringLiteral("select * from barcodeguid where 1=2"));
    DBsummary = new TRemoteUdpDataSet(QStringLiteral("DBsummary"), this);

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    auto* quantityPage = new QWidget(PageControl1);
    quantityPage->setObjectName(QStringLiteral("TabSheet1"));
    auto* quantityLayout = new QVBoxLayout(quantityPage);
    quantityLayout->setContentsMargins(0, 0, 0, 0);
    Quantities = new TBarQuantityGrid(quantityPage);
    quantityLayout->addWidget(Quantities);
    PageControl1->addTab(quantityPage, QStringLiteral("打印数量"));

    auto* detailPage = new QWidget(PageControl1);
    detailPage->setObjectName(QStringLiteral("TabSheet2"));
    auto* detailLayout = new QVBoxLayout(detailPage);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    cxGrid2 =
        new TDBGrid(detailPage, QStringLiteral("cxGrid2"), QStringLiteral("cxGrid2DBTableView1"));
    cxGrid2DBTableView1 = cxGrid2->View();
    TDBTableView* v = cxGrid2DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fsize"), QStringLiteral("尺码")).width(60).readOnly();
    v->AddColumn(QStringLiteral("fbarcode"), QStringLiteral("序列号")).width(160).readOnly();
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("验证码")).width(80).readOnly();
    v->Options().Footer = true;
    v->Options().Appending = false;
    v->Options().Inserting = false;
    v->Options().Deleting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    detailLayout->addWidget(cxGrid2);
    PageControl1->addTab(detailPage, QStringLiteral("明细表"));

    auto* bar = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(ClientPanel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);
    bar->addWidget(ProgressBar1, 1);
    bar->addStretch(0);
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, ClientPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    But_Clear = button("But_Clear", QStringLiteral("清 空"));
    But_Count = button("But_Count", QStringLiteral("统计"));
    But_Print = button("But_Print", QStringLiteral("批量打印"));
    But_Close = button("But_Close", QStringLiteral("关 闭"));
    layout->addLayout(bar);
    OnClick(But_Clear, [this] { But_ClearClick(); });
    OnClick(But_Count, [this] { But_CountClick(); });
    OnClick(But_Print, [this] { But_PrintClick(); });
    OnClick(But_Close, [this] { Close(); });

    LabelMenu = new TLabelMenu(this);
    connect(LabelMenu->Menu_bar, &QAction::triggered, this,
            [this] { Run([this] { Menu_barClick(); }); });
    for (int number = 1; number <= 3; ++number)
        connect(LabelMenu->ShoeBar(number), &QAction::triggered, this,
                [this, number] { Run([this, number] { StartLabelProgram(number); }); });
    resize(900, 560);
}

void Tfrm_BarcodeGuID::FormCreate() {
    Tbase_frmMdi::FormCreate();
    LabelMenu->Apply(TBarListSettings::Read());
    DBmaster_table->Open();
    Quantities->OpenList();
    UpdateActionState();
}

bool Tfrm_BarcodeGuID::FormKeyPress(QKeyEvent& event) {
    return Quantities->HandleKey(event) || Tbase_frmMdi::FormKeyPress(event);
}

void Tfrm_BarcodeGuID::FormClose() {
    // The scratch lists go when the user says so; the window closes either way.
    Run([] {
        if (AskYesNo(QStringLiteral("您是否确认清空此表?")))
            md::ExecuteSQL(QStringLiteral("delete from barcodedetail") + CR +
                           QStringLiteral("delete from barcode_temp"));
    });
    Tbase_frmMdi::FormClose();
}

bool Tfrm_BarcodeGuID::Counted() const {
    return DBsummary->Active();
}

// ---------------------------------------------------------------- the parts of a serial

QString Tfrm_BarcodeGuID::SerialNumber(const QString& barcode1, qint64 recordNumber) {
    return barcode1 + QString(QStringLiteral("0000000") + QString::number(recordNumber)).right(4);
}

QString Tfrm_BarcodeGuID::NewVerificationCode() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw EDatabaseError(QStringLiteral("随机数发生器初始化失败"));
    static const char kSymbols[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    QString code(6, Qt::Uninitialized);
    for (QChar& c : code) c = QChar::fromLatin1(kSymbols[randombytes_uniform(62)]).toUpper();
    return code;
}

QString Tfrm_BarcodeGuID::SummarySQL() {
    return QStringLiteral(
               "select a.fgoodsid,a.fcolorid,a.fsize,a.fcount,isnull(b.frecid,1) "
               "frecid,c.fbarcode1 from (") +
           CR +
           QStringLiteral(
               "select fgoodsid,fcolorid,fsize,count(*) fcount from barcode_temp "
               "group by fgoodsid,fcolorid,fsize)a") +
           CR + QStringLiteral("left join") + CR +
           QStringLiteral(
               "(select fgoodsid,fcolorid,fsize,max(frecid) frecid from barcodeguid "
               "group by fgoodsid,fcolorid,fsize)b") +
           CR +
           QStringLiteral(
               "on a.fgoodsid=b.fgoodsid and a.fcolorid=b.fcolorid and a.fsize=b.fsize") +
           CR +
           QStringLiteral(
               "left join barcode c on a.fgoodsid=c.fgoodsid and a.fcolorid=c.fcolorid "
               "and a.fsize=c.fsize");
}

void Tfrm_BarcodeGuID::CopyLabelRows(const QString& sql) {
    QSqlDatabase local = md::OpenLocalData(kLocalTable);
    const QSqlRecord record = local.record(kLocalTable);
    QStringList columns;
    for (int i = 1; i < record.count(); ++i) columns << record.fieldName(i);
    QList<QVariantList> rows;
    if (!sql.isEmpty()) {
        TRemoteUdpDataSet query;
        md::OpenQuery(query, sql);
        const int width = qMin(query.FieldCount(), int(columns.size()));
        columns = columns.mid(0, width);
        rows.reserve(query.RecordCount());
        for (int row = 0; row < query.RecordCount(); ++row) {
            QVariantList values;
            values.reserve(width);
            for (int c = 0; c < width; ++c) values << query.valueAt(row, c);
            rows << values;
        }
        query.Close();
    }
    md::ReplaceLocalRows(kLocalTable, columns, rows);
}

// ---------------------------------------------------------------- 统计

void Tfrm_BarcodeGuID::refuseBadQuantities() {
    const TRemoteUdpDataSet& list = *Quantities->DBdetail_table;
    if (!list.Active()) return;
    const int goods = list.FieldByName(QStringLiteral("fGoodsId")).Index();
    const int colour = list.FieldByName(QStringLiteral("fcolorid")).Index();
    const int sizeClass = list.FieldByName(QStringLiteral("size_class")).Index();
    QList<int> slotFields;
    for (int slot = 1; slot <= slotCount(); ++slot)
        slotFields << list.FieldByName(md::SizeSlotColumn(slot)).Index();
    // Pieces per goods colour and slot over the whole list: a variant may
    // stand on two rows.
    QHash<QString, qint64> pieces;
    for (int row = 0; row < list.RecordCount(); ++row) {
        const QString goodsCode = list.valueAt(row, goods).toString().trimmed();
        const QString colourCode = list.valueAt(row, colour).toString().trimmed();
        for (int k = 0; k < slotFields.size(); ++k) {
            const QVariant value = list.valueAt(row, slotFields[k]);
            if (value.isNull()) continue;
            bool number = false;
            const double quantity = value.toDouble(&number);
            if (!number || quantity < 0 || quantity != std::floor(quantity))
                Refuse(QStringLiteral("货号“%1”颜色“%2”的数量必须是不小于0的整数!")
                           .arg(goodsCode, colourCode));
            const QString key = goodsCode.toCaseFolded() + QChar(0x1f) + colourCode.toCaseFolded() +
                                QChar(0x1f) + QString::number(k);
            const qint64 total = (pieces[key] += qint64(quantity));
            if (total > kMostPiecesPerRun) {
                const QString size =
                    md::GroupSizes(list.valueAt(row, sizeClass).toString()).value(k);
                Refuse(QStringLiteral("货号“%1”颜色“%2”尺码“%3”一次最多生成%4个产品序列号,"
                                      "请分次生成!")
                           .arg(goodsCode, colourCode, size)
                           .arg(kMostPiecesPerRun));
            }
        }
    }
}

void Tfrm_BarcodeGuID::sendQuantities() {
    // The list's rows go to the server whole, also those it read from there:
    // the server's list was emptied for this run.
    const TRemoteUdpDataSet& list = *Quantities->DBdetail_table;
    QStringList columns;
    for (const char* name : kListColumns) columns << QString::fromLatin1(name);
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot) columns << md::SizeSlotColumn(slot);
    TRemoteUdpDataSet target;
    target.SetLockType(etBatchOptimistic);
    md::OpenQuery(target, QStringLiteral("select ") + columns.join(QLatin1Char(',')) +
                              QStringLiteral(" from barcodedetail where 1=2"));
    QList<int> from;
    QList<TField*> to;
    for (const QString& column : std::as_const(columns)) {
        const TField* source = list.FindField(column);
        if (!source) continue;
        from << source->Index();
        to << &target.FieldByName(column);
    }
    for (int row = 0; row < list.RecordCount(); ++row) {
        target.Append();
        for (int i = 0; i < from.size(); ++i) to[i]->SetValue(list.valueAt(row, from[i]));
        target.Post();
    }
    target.UpdateBatch();
    target.Close();
}

int Tfrm_BarcodeGuID::makeSerials() {
    md::OpenQuery(*DBsummary, SummarySQL());
    qint64 total = 0;
    const TField& count = DBsummary->FieldByName(QStringLiteral("fcount"));
    for (DBsummary->First(); !DBsummary->Eof(); DBsummary->Next()) total += count.AsInteger();

    DBguid->Close();
    DBguid->Open();
    DBmaster_table->Close();
    DBmaster_table->Open();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString user = md::Session().UserNo;
    TRemoteUdpDataSet* targets[] = {DBguid, DBmaster_table};
    struct Columns {
        TField *goods, *colour, *size, *recid, *serial, *code, *date, *user, *flag;
    } fields[2];
    for (int t = 0; t < 2; ++t) {
        TRemoteUdpDataSet& ds = *targets[t];
        fields[t] = {&ds.FieldByName(QStringLiteral("fgoodsid")),
                     &ds.FieldByName(QStringLiteral("fcolorid")),
                     &ds.FieldByName(QStringLiteral("fsize")),
                     &ds.FieldByName(QStringLiteral("frecid")),
                     &ds.FieldByName(QStringLiteral("fbarcode")),
                     &ds.FieldByName(QStringLiteral("fcode")),
                     &ds.FieldByName(QStringLiteral("finputdate")),
                     &ds.FieldByName(QStringLiteral("finputuser")),
                     &ds.FieldByName(QStringLiteral("fflag"))};
    }
    const TField& goods = DBsummary->FieldByName(QStringLiteral("fgoodsid"));
    const TField& colour = DBsummary->FieldByName(QStringLiteral("fcolorid"));
    const TField& size = DBsummary->FieldByName(QStringLiteral("fsize"));
    const TField& highest = DBsummary->FieldByName(QStringLiteral("frecid"));
    const TField& barcode1 = DBsummary->FieldByName(QStringLiteral("fbarcode1"));

    ProgressShown progress(ProgressBar1, int(qMin<qint64>(total, INT_MAX)));
    TControlsDisabled stillGuid(*DBguid);
    TControlsDisabled stillTemp(*DBmaster_table);
    int made = 0;
    for (DBsummary->First(); !DBsummary->Eof(); DBsummary->Next()) {
        const QVariant goodsCode = goods.Value();
        const QVariant colourCode = colour.Value();
        const QVariant sizeName = size.Value();
        const qint64 base = highest.AsInteger();
        const QString prefix = barcode1.AsString();
        const int pieces = count.AsInteger();
        for (int k = 1; k <= pieces; ++k) {
            const qint64 recid = base + k;
            const QString serial = SerialNumber(prefix, recid);
            const QString code = NewVerificationCode();
            for (int t = 0; t < 2; ++t) {
                targets[t]->Append();
                const Columns& f = fields[t];
                f.goods->SetValue(goodsCode);
                f.colour->SetValue(colourCode);
                f.size->SetValue(sizeName);
                f.recid->SetAsInteger(recid);
                f.serial->SetAsString(serial);
                f.code->SetAsString(code);
                f.date->SetAsString(today);
                f.user->SetAsString(user);
                f.flag->SetAsBoolean(false);
                targets[t]->Post();
            }
            if (++made % 2000 == 0) {
                ProgressBar1->setValue(made);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        }
    }
    ProgressBar1->setValue(made);
    DBguid->UpdateBatch();
    DBmaster_table->UpdateBatch();
    return made;
}

void Tfrm_BarcodeGuID::But_CountClick() {
    Quantities->PostEdits();
    refuseBadQuantities();
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    bool empty = false;
    {
        // The whole run or nothing of it: a failure leaves the server's lists
        // and serials as they were and the window's list with its rows.
        TWaitCursor wait;
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(QStringLiteral("delete from barcodedetail"));
        md::ExecuteSQL(QStringLiteral("delete from barcodeguidTemp"));
        PageControl1->setCurrentIndex(1);
        const TRemoteUdpDataSet& list = *Quantities->DBdetail_table;
        empty = !list.Active() || list.IsEmpty();
        if (!empty) {
            try {
                sendQuantities();
                md::ExecuteSQL(QStringLiteral("exec get_barcodetemp"));
                makeSerials();
            } catch (...) {
                DBsummary->Close();
                DBguid->Close();
                DBmaster_table->Close();
                DBmaster_table->Open();
                throw;
            }
        }
        transaction.commit();
    }
    if (empty) Refuse(kNoQuantities);
    // The list as the server now holds it (the rows just sent).
    Quantities->OpenList();
    CopyLabelRows(QStringLiteral("select * from vbarcodeGuid"));
    UpdateActionState();
}

// ---------------------------------------------------------------- other buttons

void Tfrm_BarcodeGuID::But_ClearClick() {
    if (!AskYesNo(QStringLiteral("您是否确认清空此表?"))) Abort();
    md::ExecuteSQL(QStringLiteral("delete from barcodedetail"));
    Quantities->OpenList();
}

void Tfrm_BarcodeGuID::But_PrintClick() {
    LabelMenu->popup(QCursor::pos());
}

void Tfrm_BarcodeGuID::Menu_barClick() {
    if (!Counted()) Refuse(QStringLiteral("请先按统计按钮进行统计才能打印"));
    if (!AskYesNo(QStringLiteral("您是否现在确认批量打印条形码？"))) Abort();
    PrintOneTable(QStringLiteral("产品序列号.frf"), QStringLiteral("select * from vbarcodeGuid"));
}

void Tfrm_BarcodeGuID::StartLabelProgram(int number) {
    const TBarListSettings& settings = LabelMenu->Settings();
    md::ui::StartLabelProgram(settings.opentype, settings.Bar(number));
}

MD_REGISTER_FORM(Tfrm_BarcodeGuID);
