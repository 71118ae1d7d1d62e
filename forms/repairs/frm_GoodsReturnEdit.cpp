#include "frm_GoodsReturnEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "frm_GoodsReturnAnwar.h"
#include "grid.h"
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "segoodscolor.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using namespace md::ui;
using NoteMode = md::ui::RepairNoteMode;

namespace {

const QChar CR(13);

QString dateText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

// The line columns the insert and update statements write (fanswerint is the
// follow-up dialog's: a new line starts at 0 and the editor never writes it).
const QStringList& lineColumns() {
    static const QStringList columns = {
        QStringLiteral("fbillid"),        QStringLiteral("fgoodsid"),
        QStringLiteral("fcolorid"),       QStringLiteral("fsize"),
        QStringLiteral("fieldname"),      QStringLiteral("fretailprice"),
        QStringLiteral("fbalancprice"),   QStringLiteral("fqty"),
        QStringLiteral("freturnremark"),  QStringLiteral("fisnew"),
        QStringLiteral("fsuppliercode"),  QStringLiteral("fsupqty"),
        QStringLiteral("fsupdate"),       QStringLiteral("fsupreturnqty"),
        QStringLiteral("fsupreturndate"), QStringLiteral("fcliqty"),
        QStringLiteral("fclidate"),       QStringLiteral("fremark"),
        QStringLiteral("fflag")};
    return columns;
}

// Quantities are whole pieces, none negative.
QString quantityInputProblem(const QString& caption, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    bool whole = false;
    const qlonglong value = t.toLongLong(&whole);
    if (!whole) {
        bool number = false;
        t.toDouble(&number);
        return caption + (number ? QStringLiteral("必须是整数！") : QStringLiteral("必须是数字！"));
    }
    if (value < 0) return caption + QStringLiteral("不能为负数！");
    return {};
}

}  // namespace

// ---------------------------------------------------------------- statements

QString Tfrm_GoodsReturnEdit::NewNotePlaceholder() {
    // Note numbers are digits, "K" and digits; this has neither form nor length.
    return QStringLiteral("<新单>");
}

QString Tfrm_GoodsReturnEdit::NoteNumber(const QDate& day, int number) {
    const QString count = QStringLiteral("00000") + QString::number(number);
    return day.toString(QStringLiteral("yyMMdd")) + QStringLiteral("K") + count.right(4);
}

QString Tfrm_GoodsReturnEdit::LinesSQL() {
    return QStringLiteral(
               "select a.fautoid,a.fbillid,a.fgoodsid,b.goodsname,a.fcolorid,b.colorname_ch,"
               "a.fsize,a.fretailprice,a.fbalancprice,") +
           CR +
           QStringLiteral(
               "a.fieldname,a.fqty,a.freturnremark,a.fisnew,a.fsuppliercode,a.fsupqty,a.fsupdate,"
               "fsupreturnqty,a.fsupreturndate,") +
           CR + QStringLiteral("a.fcliqty,a.fclidate,a.fremark,a.fflag") + CR +
           QStringLiteral(
               "from d_GoodsReturnNoteDetail a join vgoodscolor b on a.fgoodsid=b.goodsid and "
               "a.fcolorid=b.colorid") +
           CR + QStringLiteral("where a.fbillid=:fbillid") + CR +
           QStringLiteral("order by a.fautoid");
}

QString Tfrm_GoodsReturnEdit::LineInsertSQL() {
    QStringList params;
    for (const QString& c : lineColumns()) params << QStringLiteral(":") + c;
    return QStringLiteral("insert into d_GoodsReturnNoteDetail(") + lineColumns().join(',') +
           QStringLiteral(",fanswerint)") + CR + QStringLiteral("values(") + params.join(',') +
           QStringLiteral(",0)");
}

QString Tfrm_GoodsReturnEdit::LineModifySQL() {
    QStringList sets;
    for (const QString& c : lineColumns()) sets << c + QStringLiteral("=:") + c;
    return QStringLiteral("update d_GoodsReturnNoteDetail set ") + sets.join(',') + CR +
           QStringLiteral("where fautoid=:fautoid");
}

// ---------------------------------------------------------------- description

Tfrm_GoodsReturnEdit::Tfrm_GoodsReturnEdit(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_GoodsReturnEdit"));
    setWindowTitle(QStringLiteral("商品返修登记"));

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetSQL(
        QStringLiteral("select * from d_GoodsReturnNote where fbillid=:fbillid"));
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);
    DbMaster_Source->SetAutoEdit(true);

    DBdetail = new TRemoteUdpDataSet(QStringLiteral("DBdetail"), this);
    DBdetail->SetSQL(LinesSQL());
    DetailUpdateSql = new TRemoteUpdateSql(this);
    DetailUpdateSql->setObjectName(QStringLiteral("DetailUpdateSql"));
    DetailUpdateSql->InsertSQL = LineInsertSQL();
    DetailUpdateSql->ModifySQL = LineModifySQL();
    DetailUpdateSql->DeleteSQL =
        QStringLiteral("delete from d_GoodsReturnNoteDetail where fautoid=:fautoid");
    DBdetail->SetupDataObject(DetailUpdateSql);
    DsDetail = new TDataSource(QStringLiteral("DsDetail"), this);
    DsDetail->setDataSet(DBdetail);
    DsDetail->SetAutoEdit(true);

    DBclient = new TRemoteUdpDataSet(QStringLiteral("DBclient"), this);
    DBsupplier = new TRemoteUdpDataSet(QStringLiteral("DBsupplier"), this);
    DBcolor = new TRemoteUdpDataSet(QStringLiteral("DBcolor"), this);
    DBsize = new TRemoteUdpDataSet(QStringLiteral("DBsize"), this);
    m_goods = new TRemoteUdpDataSet(QStringLiteral("DBgoods"), this);

    auto* layout = new QVBoxLayout(this);
    buildHeader();
    layout->addWidget(findChild<QGroupBox*>(QStringLiteral("GroupHeader")));
    buildGrid();
    layout->addWidget(cxGrid1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    But_Posted = new QPushButton(QStringLiteral("审核"), this);
    But_Posted->setObjectName(QStringLiteral("But_Posted"));
    But_Delete = new QPushButton(QStringLiteral("删除"), this);
    But_Delete->setObjectName(QStringLiteral("But_Delete"));
    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    for (QPushButton* b : {But_Posted, But_Delete, But_OK, But_Cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    OnClick(But_Posted, [this] { But_PostedClick(); });
    OnClick(But_Delete, [this] { But_DeleteClick(); });
    OnClick(But_OK, [this] { But_OKClick(); });
    connect(But_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Header and lines refuse every change the mode does not allow, silently.
    DBmaster_table->BeforeEdit = [this](TRemoteUdpDataSet&) {
        if (!headerEditable() && !m_unposting) Abort();
    };
    DBmaster_table->BeforeInsert = [this](TRemoteUdpDataSet&) {
        if (m_mode != NoteMode::New) Abort();
    };
    DBmaster_table->BeforeDelete = [](TRemoteUdpDataSet&) { Abort(); };
    DBdetail->BeforeEdit = [this](TRemoteUdpDataSet&) {
        if (m_mode == NoteMode::View) Abort();
    };
    DBdetail->BeforeInsert = [this](TRemoteUdpDataSet&) {
        if (!clientBandEditable()) Abort();
    };
    DBdetail->BeforeDelete = [this](TRemoteUdpDataSet&) {
        if (!clientBandEditable()) Abort();
    };
    DBdetail->OnNewRecord = [this](TRemoteUdpDataSet& ds) { lineNewRecord(ds); };
    DBdetail->BeforePost = [this](TRemoteUdpDataSet& ds) { lineBeforePost(ds); };
    DBdetail->AfterOpen = [this](TRemoteUdpDataSet& ds) {
        TField& goods = ds.FieldByName(QStringLiteral("fgoodsid"));
        goods.OnValidate = [this](TField& f) { goodsValidate(f); };
        goods.OnChange = [this](TField& f) { goodsChanged(f); };
        ds.FieldByName(QStringLiteral("fcolorid")).OnValidate = [this](TField& f) {
            checkInList(f, *DBcolor, QStringLiteral("colorid"),
                        QStringLiteral("颜色编号不存在，请重新选择"));
        };
        ds.FieldByName(QStringLiteral("fsize")).OnValidate = [this](TField& f) {
            checkInList(f, *DBsize, QStringLiteral("fsize"),
                        QStringLiteral("尺码不存在，请重新选择"));
        };
        ds.FieldByName(QStringLiteral("fcolorid")).OnChange = [this](TField& f) {
            if (m_filling > 0) return;
            const QVariant name = DBcolor->Active()
                                      ? DBcolor->Lookup(QStringLiteral("colorid"), f.AsString(),
                                                        QStringLiteral("colorname_ch"))
                                      : QVariant();
            DBdetail->FieldByName(QStringLiteral("colorname_ch")).SetValue(name);
        };
        ds.FieldByName(QStringLiteral("fsize")).OnChange = [this](TField& f) {
            if (m_filling > 0) return;
            const QVariant slot = DBsize->Active()
                                      ? DBsize->Lookup(QStringLiteral("fsize"), f.AsString(),
                                                       QStringLiteral("fieldname"))
                                      : QVariant();
            DBdetail->FieldByName(QStringLiteral("fieldname")).SetValue(slot);
        };
    };
    // The drop-downs follow the current line's goods.
    connect(DBdetail, &TRemoteUdpDataSet::scrolled, this, [this] {
        if (!DBdetail->ControlsDisabled()) Run([this] { ensureGoodsLists(); });
    });
    connect(cxGrid1DBTableView1, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { LoadGoodsLists(); }); });
    resize(1000, 560);
}

void Tfrm_GoodsReturnEdit::buildHeader() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupHeader"));
    auto* grid = new QGridLayout(group);
    Edit_BillId = new TDBEdit(DbMaster_Source, QStringLiteral("fbillid"), group);
    Edit_BillId->setObjectName(QStringLiteral("Edit_BillId"));
    Edit_BillId->setReadOnly(true);
    Edit_BillId->setFocusPolicy(Qt::NoFocus);
    Edit_ManualId = new TDBEdit(DbMaster_Source, QStringLiteral("fmanualid"), group);
    Edit_ManualId->setObjectName(QStringLiteral("Edit_ManualId"));
    Date_Bill = new TDBDateEdit(DbMaster_Source, QStringLiteral("fbilldate"), group);
    Date_Bill->setObjectName(QStringLiteral("Date_Bill"));
    Combo_Client = new TDBLookupComboBox(DbMaster_Source, QStringLiteral("fclientcode"), group);
    Combo_Client->setObjectName(QStringLiteral("Combo_Client"));
    Combo_Client->setList(DBclient, QStringLiteral("fcode"),
                          {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                          {QStringLiteral("客户编号"), QStringLiteral("客户简称")});
    Label_ClientName = new QLabel(group);
    Label_ClientName->setObjectName(QStringLiteral("Label_ClientName"));
    Label_ClientName->setMinimumWidth(90);
    auto* client = new QWidget(group);
    auto* clientRow = new QHBoxLayout(client);
    clientRow->setContentsMargins(0, 0, 0, 0);
    clientRow->addWidget(Combo_Client, 1);
    clientRow->addWidget(Label_ClientName);
    connect(DbMaster_Source, &TDataSource::dataChanged, this, [this] { showClientName(); });
    Edit_KeyMan = new TDBEdit(DbMaster_Source, QStringLiteral("fkeyman"), group);
    Edit_KeyMan->setObjectName(QStringLiteral("Edit_KeyMan"));
    Combo_BillType = new TDBComboBox(DbMaster_Source, QStringLiteral("fbilltype"), {}, true, group);
    Combo_BillType->setObjectName(QStringLiteral("Combo_BillType"));
    Edit_Remark = new TDBEdit(DbMaster_Source, QStringLiteral("fremark"), group);
    Edit_Remark->setObjectName(QStringLiteral("Edit_Remark"));

    const struct {
        const char* caption;
        QWidget* editor;
        int row, column, span;
    } cells[] = {
        {"系统单号", Edit_BillId, 0, 0, 1}, {"手工单号", Edit_ManualId, 0, 2, 1},
        {"返修日期", Date_Bill, 0, 4, 1},   {"客户简称", client, 1, 0, 1},
        {"经 手人", Edit_KeyMan, 1, 2, 1},  {"返修类型", Combo_BillType, 1, 4, 1},
        {"返修备注", Edit_Remark, 2, 0, 5},
    };
    for (const auto& cell : cells) {
        grid->addWidget(new QLabel(QString::fromUtf8(cell.caption), group), cell.row, cell.column);
        grid->addWidget(cell.editor, cell.row, cell.column + 1, 1, cell.span);
    }
    for (int column : {1, 3, 5}) grid->setColumnStretch(column, 1);
}

void Tfrm_GoodsReturnEdit::buildGrid() {
    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DsDetail);
    const int client = v->AddBand(QStringLiteral("客户往来联"));
    const int toFactory = v->AddBand(QStringLiteral("退回工厂"));
    const int fromFactory = v->AddBand(QStringLiteral("工厂返回"));
    const int toClient = v->AddBand(QStringLiteral("返回客户"));
    const struct {
        const char* field;
        const char* caption;
        int band;
        int width;
    } columns[] = {
        {"fgoodsid", "货号", client, 76},
        {"goodsname", "货品名称", client, 84},
        {"fcolorid", "颜色编号", client, 60},
        {"colorname_ch", "颜色名称", client, 60},
        {"fsize", "尺码", client, 44},
        {"fretailprice", "零售价", client, 60},
        {"fqty", "数量", client, 48},
        {"freturnremark", "质量原因", client, 90},
        {"fisnew", "新/旧", client, 44},
        {"fsuppliercode", "返修工厂", toFactory, 80},
        {"fsupqty", "发出数量", toFactory, 60},
        {"fsupdate", "发出日期", toFactory, 80},
        {"fsupreturnqty", "返回数量", fromFactory, 60},
        {"fsupreturndate", "返回日期", fromFactory, 80},
        {"fcliqty", "返回客户数量", toClient, 84},
        {"fclidate", "返回客户日期", toClient, 84},
        {"fremark", "备注", toClient, 84},
        {"fflag", "完成否", toClient, 48},
    };
    for (const auto& c : columns)
        v->AddColumn(QString::fromLatin1(c.field), QString::fromUtf8(c.caption))
            .band(c.band)
            .width(c.width);
    for (const char* field : {"fqty", "fsupqty", "fsupreturnqty", "fcliqty"}) {
        TGridColumn* column = v->Column(QString::fromLatin1(field));
        const QString caption = column->Caption();
        column->inputCheck(
            [caption](const QString& typed) { return quantityInputProblem(caption, typed); });
    }
    v->Column(QStringLiteral("fgoodsid"))->upperCase().button([this](TGridColumn&) {
        fgoodsidButtonClick();
    });
    v->Column(QStringLiteral("fcolorid"))
        ->lookup(DBcolor, QStringLiteral("colorid"),
                 {QStringLiteral("colorid"), QStringLiteral("colorname_ch")},
                 {QStringLiteral("颜色编号"), QStringLiteral("颜色名称")});
    v->Column(QStringLiteral("fsize"))
        ->lookup(DBsize, QStringLiteral("fsize"), {QStringLiteral("fsize")},
                 {QStringLiteral("尺码")});
    v->Column(QStringLiteral("fretailprice"))->currency();
    v->Column(QStringLiteral("fisnew"))->valueList({QStringLiteral("新"), QStringLiteral("旧")});
    v->Column(QStringLiteral("fsuppliercode"))
        ->lookup(DBsupplier, QStringLiteral("fcode"),
                 {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                 {QStringLiteral("厂商编号"), QStringLiteral("厂商简称")},
                 QStringLiteral("fabbrev"));
    for (const char* date : {"fsupdate", "fsupreturndate", "fclidate"})
        v->Column(QString::fromLatin1(date))->date();
    v->Column(QStringLiteral("fflag"))->checkBox();
    v->ApplyOptions();
}

void Tfrm_GoodsReturnEdit::FormCreate() {
    Tbase_frm::FormCreate();
    m_userName = md::repairs::SessionUserName();
    md::OpenQuery(*DBclient, QStringLiteral("select fcode,fabbrev from dt_client where 1=1") +
                                 md::ClientScopeCondition());
    md::OpenQuery(*DBsupplier, QStringLiteral("select fcode,fabbrev from dt_supplier"));
    TRemoteUdpDataSet types;
    md::OpenQuery(
        types, QStringLiteral("select distinct(fbilltype) as fbilltype from  d_GoodsReturnNote"));
    for (types.First(); !types.Eof(); types.Next()) {
        const QString type = types.FieldByName(QStringLiteral("fbilltype")).AsString();
        if (!type.isEmpty()) Combo_BillType->addItem(type);
    }
}

// ---------------------------------------------------------------- modes

bool Tfrm_GoodsReturnEdit::clientBandEditable() const {
    return m_mode == NoteMode::New || m_mode == NoteMode::Edit;
}

bool Tfrm_GoodsReturnEdit::headerEditable() const {
    return clientBandEditable();
}

bool Tfrm_GoodsReturnEdit::noteApproved() const {
    return DBmaster_table->Active() && !DBmaster_table->IsEmpty() &&
           DBmaster_table->FieldByName(QStringLiteral("fposted")).AsBoolean();
}

QString Tfrm_GoodsReturnEdit::billId() const {
    return DBmaster_table->FieldByName(QStringLiteral("fbillid")).AsString();
}

void Tfrm_GoodsReturnEdit::LoadNote(const QString& billId, NoteMode mode) {
    m_mode = mode;
    const QString key = mode == NoteMode::New ? NewNotePlaceholder() : billId;
    DBmaster_table->Close();
    DBmaster_table->ParamByName(u"fbillid").SetValue(key);
    DBmaster_table->Open();
    DBdetail->Close();
    DBdetail->ParamByName(u"fbillid").SetValue(key);
    DBdetail->Open();
    if (mode == NoteMode::New) {
        const QString today = dateText(QDate::currentDate());
        DBmaster_table->Append();
        TRemoteUdpDataSet& h = *DBmaster_table;
        h.FieldByName(QStringLiteral("fbillid")).SetAsString(key);
        h.FieldByName(QStringLiteral("fbilldate")).SetAsString(today);
        h.FieldByName(QStringLiteral("finputdate")).SetAsString(today);
        h.FieldByName(QStringLiteral("finputuser")).SetAsString(md::Session().UserNo);
        h.FieldByName(QStringLiteral("finputusername")).SetAsString(m_userName);
        h.FieldByName(QStringLiteral("fposted")).SetAsBoolean(false);
        for (const char* status : {"fstatus", "fclick", "freturn"})
            h.FieldByName(QString::fromLatin1(status)).SetAsInteger(0);
    }
    applyMode();
    LoadGoodsLists();
}

void Tfrm_GoodsReturnEdit::applyMode() {
    // Band by band: 0 the client's, 1 to the factory, 2 back from it, 3 to the client.
    const int mode = int(m_mode);
    const int lastShown = mode <= 2 ? 0 : mode - 2;
    const int editable = mode == 0 ? -1 : (mode <= 2 ? 0 : lastShown);
    for (TGridColumn* column : cxGrid1DBTableView1->Columns()) {
        const int band = column->BandIndex();
        column->visible(band <= lastShown);
        static const QStringList shownOnly = {QStringLiteral("goodsname"),
                                              QStringLiteral("colorname_ch"),
                                              QStringLiteral("fretailprice")};
        column->readOnly(band != editable || shownOnly.contains(column->FieldName()));
    }
    TGridViewOptions& options = cxGrid1DBTableView1->Options();
    options.Appending = options.Inserting = options.Deleting = clientBandEditable();
    cxGrid1DBTableView1->ApplyOptions();
    cxGrid1DBTableView1->SetInputAllowed(m_mode != NoteMode::View);

    const bool header = headerEditable();
    // A header that may not change is shown greyed, every box alike.
    for (QWidget* w : {static_cast<QWidget*>(Edit_ManualId), static_cast<QWidget*>(Date_Bill),
                       static_cast<QWidget*>(Combo_Client), static_cast<QWidget*>(Edit_KeyMan),
                       static_cast<QWidget*>(Combo_BillType), static_cast<QWidget*>(Edit_Remark)})
        w->setEnabled(header);
    const bool firstSteps = m_mode <= NoteMode::Edit;
    But_Posted->setVisible(firstSteps);
    But_Delete->setVisible(firstSteps);
    But_OK->setEnabled(m_mode != NoteMode::View);
    updateButtons();
    showClientName();
    // Wide enough for the bands shown.
    int width = 0;
    for (TGridColumn* column : cxGrid1DBTableView1->Columns())
        if (column->Visible()) width += column->Width();
    resize(qMax(900, width + 60), height());
}

void Tfrm_GoodsReturnEdit::showClientName() {
    const QString code = DBmaster_table->Active() && !DBmaster_table->IsEmpty()
                             ? DBmaster_table->FieldByName(QStringLiteral("fclientcode")).AsString()
                             : QString();
    const QVariant name =
        code.isEmpty() || !DBclient->Active()
            ? QVariant()
            : DBclient->Lookup(QStringLiteral("fcode"), code, QStringLiteral("fabbrev"));
    Label_ClientName->setText(name.toString());
}

void Tfrm_GoodsReturnEdit::updateButtons() {
    const bool approved = noteApproved();
    // A note not saved yet has nothing to approve or delete.
    const bool stored = m_mode != NoteMode::New;
    But_Posted->setEnabled(stored && RightPosted && !approved);
    But_Delete->setEnabled(stored && RightDelete && !approved);
}

// ---------------------------------------------------------------- lines

QString Tfrm_GoodsReturnEdit::lineGoods() const {
    return DBdetail->Active() && !DBdetail->IsEmpty()
               ? DBdetail->FieldByName(QStringLiteral("fgoodsid")).AsString()
               : QString();
}

void Tfrm_GoodsReturnEdit::LoadGoodsLists() {
    const QString goods = lineGoods();
    m_listGoods = goods;
    if (goods.isEmpty()) {
        DBcolor->Close();
        DBsize->Close();
        return;
    }
    md::OpenQuery(
        *DBcolor,
        QStringLiteral("select top 30 colorid,colorname_ch from vgoodscolor where goodsid='") +
            SqlText(goods) + QStringLiteral("'") + QStringLiteral(" order by colorid"));
    md::OpenQuery(*DBsize,
                  QStringLiteral("select top 30 size_name as fsize,fieldname from vgoodssize "
                                 "where goodsid='") +
                      SqlText(goods) + QStringLiteral("'") +
                      QStringLiteral(" order by displayindex"));
}

void Tfrm_GoodsReturnEdit::ensureGoodsLists() {
    if (lineGoods().compare(m_listGoods, Qt::CaseInsensitive) != 0 || !DBcolor->Active())
        LoadGoodsLists();
}

// A colour or size must be one of the line's goods: the lines are read
// joined with the goods' colours, so another would lose its line.
void Tfrm_GoodsReturnEdit::checkInList(TField& field, TRemoteUdpDataSet& list, const QString& key,
                                       const QString& message) {
    if (m_filling > 0 || field.AsString().isEmpty()) return;
    ensureGoodsLists();
    if (!list.Active() || list.Lookup(key, field.AsString(), key).isNull()) Refuse(message);
}

void Tfrm_GoodsReturnEdit::lineNewRecord(TRemoteUdpDataSet& ds) {
    QScopedValueRollback<int> filling(m_filling, m_filling + 1);
    for (const char* zero :
         {"fbalancprice", "fretailprice", "fqty", "fsupqty", "fsupreturnqty", "fcliqty"})
        ds.FieldByName(QString::fromLatin1(zero)).SetAsInteger(0);
    ds.FieldByName(QStringLiteral("fflag")).SetAsBoolean(false);
    ds.FieldByName(QStringLiteral("fbillid")).SetAsString(billId());
}

void Tfrm_GoodsReturnEdit::lineBeforePost(TRemoteUdpDataSet& ds) {
    auto text = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).AsString();
    };
    auto number = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).AsFloat();
    };
    if (text("fgoodsid").isEmpty()) Refuse(QStringLiteral("货号不能为空！"));
    if (text("fcolorid").isEmpty()) Refuse(QStringLiteral("颜色编号为空！"));
    const QString problem = md::repairs::QuantityChainProblem(
        text("fgoodsid"), text("fcolorid"), text("fsize"), number("fqty"), number("fsupqty"),
        number("fsupreturnqty"), number("fcliqty"));
    if (!problem.isEmpty()) Refuse(problem);
    ds.FieldByName(QStringLiteral("fbillid")).SetAsString(billId());
}

void Tfrm_GoodsReturnEdit::goodsValidate(TField& field) {
    if (m_filling > 0 || field.AsString().isEmpty()) return;
    md::OpenQuery(
        *m_goods,
        QStringLiteral("select top 1 goodsid,goodsname,unitprice from goods where goodsid='") +
            SqlText(field.AsString()) + QStringLiteral("'"));
    if (m_goods->IsEmpty()) Refuse(QStringLiteral("货号不存在，请重新录入"));
}

void Tfrm_GoodsReturnEdit::goodsChanged(TField& field) {
    if (m_filling > 0) return;
    QScopedValueRollback<int> filling(m_filling, m_filling + 1);
    TRemoteUdpDataSet& ds = *DBdetail;
    const bool found = !field.AsString().isEmpty() && m_goods->Active() && !m_goods->IsEmpty();
    if (found) {
        field.SetAsString(m_goods->FieldByName(QStringLiteral("goodsid")).AsString());
        ds.FieldByName(QStringLiteral("goodsname"))
            .SetValue(m_goods->FieldByName(QStringLiteral("goodsname")).Value());
        ds.FieldByName(QStringLiteral("fretailprice"))
            .SetAsFloat(m_goods->FieldByName(QStringLiteral("unitprice")).AsFloat());
    } else {
        ds.FieldByName(QStringLiteral("goodsname")).Clear();
    }
    // Colour and size belong to the goods item before.
    for (const char* name : {"fcolorid", "colorname_ch", "fsize", "fieldname"})
        ds.FieldByName(QString::fromLatin1(name)).Clear();
    LoadGoodsLists();
}

void Tfrm_GoodsReturnEdit::fgoodsidButtonClick() {
    if (!clientBandEditable()) return;
    const QList<TPickedGoodsColor> picked = PickGoodsColors(this);
    if (picked.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBdetail;
    if (ds.InEditState()) ds.Post();
    TControlsDisabled still(ds);
    QScopedValueRollback<int> filling(m_filling, m_filling + 1);
    for (const TPickedGoodsColor& row : picked) {
        if (ds.Locate(QStringLiteral("fgoodsid;fcolorid"), QVariantList{row.goodsid, row.colorid},
                      loCaseInsensitive))
            continue;
        ds.Append();
        ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(row.goodsid);
        ds.FieldByName(QStringLiteral("goodsname")).SetAsString(row.goodsname);
        ds.FieldByName(QStringLiteral("fcolorid")).SetAsString(row.colorid);
        ds.FieldByName(QStringLiteral("colorname_ch")).SetAsString(row.colorname_ch);
        ds.FieldByName(QStringLiteral("fretailprice")).SetAsFloat(row.unitprice);
        ds.Post();
    }
}

// ---------------------------------------------------------------- buttons

void Tfrm_GoodsReturnEdit::checkBeforeSave() {
    TRemoteUdpDataSet& h = *DBmaster_table;
    if (h.FieldByName(QStringLiteral("fclientcode")).AsString().isEmpty())
        Refuse(QStringLiteral("请选择客户简称！"));
    // Only a client of the drop-down (within the user's clients): the list
    // shows notes joined with their client.
    const QString client = h.FieldByName(QStringLiteral("fclientcode")).AsString();
    if (DBclient->Lookup(QStringLiteral("fcode"), client, QStringLiteral("fcode")).isNull())
        Refuse(QStringLiteral("客户简称不存在，请重新选择！"));
    TField& date = h.FieldByName(QStringLiteral("fbilldate"));
    if (date.IsNull()) Refuse(QStringLiteral("请选择日期！"));
    if (date.AsDate() > QDate::currentDate()) Refuse(QStringLiteral("返修日期不能晚于今天！"));
    TRemoteUdpDataSet& ds = *DBdetail;
    if (ds.InEditState()) ds.Post();
    const int sizeAt = ds.FieldByName(QStringLiteral("fsize")).Index();
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (ds.valueAt(row, sizeAt).toString().trimmed().isEmpty())
            Refuse(QStringLiteral("尺码不能为空！"));
}

void Tfrm_GoodsReturnEdit::giveNumber() {
    // Today's notes counted inside the transaction; a number another
    // workstation took meanwhile (or one left by a deleted note) moves on.
    TRemoteUdpDataSet count;
    md::OpenQuery(count, QStringLiteral("select count(fbillid) from d_GoodsReturnNote where "
                                        "dbo.getdate1(fbilldate)=dbo.getdate1(getdate())"));
    const QDate today = QDate::currentDate();
    TRemoteUdpDataSet& h = *DBmaster_table;
    for (int number = count.Fields(0).AsInteger() + 1; number <= 9999; ++number) {
        const QString id = NoteNumber(today, number);
        TRemoteUdpDataSet taken;
        md::OpenQuery(taken,
                      QStringLiteral("select 1 from d_GoodsReturnNote where fbillid=:fbillid"),
                      {{QStringLiteral("fbillid"), id}});
        if (!taken.IsEmpty()) continue;
        if (!h.InEditState()) h.Edit();
        h.FieldByName(QStringLiteral("fbillid")).SetAsString(id);
        h.Post();
        try {
            h.UpdateBatch();
            return;
        } catch (const EDatabaseError& error) {
            if (error.violation().kind != TConstraintViolation::Kind::Duplicate) throw;
        }
    }
    throw EDatabaseError(QStringLiteral("今天的返修单号已用完"));
}

void Tfrm_GoodsReturnEdit::saveNote() {
    TRemoteUdpDataSet& h = *DBmaster_table;
    TRemoteUdpDataSet& ds = *DBdetail;
    if (h.InEditState()) h.Post();
    TTransactionScope transaction(*md::Session().Connection);
    if (m_mode == NoteMode::New)
        giveNumber();
    else
        h.UpdateBatch();
    const QString id = billId();
    {
        TControlsDisabled still(ds);
        TBookmarkKept place(ds);
        QScopedValueRollback<int> filling(m_filling, m_filling + 1);
        TField& lineBill = ds.FieldByName(QStringLiteral("fbillid"));
        for (ds.First(); !ds.Eof(); ds.Next()) {
            if (lineBill.AsString() == id) continue;
            ds.Edit();
            lineBill.SetAsString(id);
            ds.Post();
        }
    }
    ds.UpdateBatch();
    transaction.commit();
    m_savedId = id;
}

void Tfrm_GoodsReturnEdit::But_OKClick() {
    if (m_mode == NoteMode::View) return;
    checkBeforeSave();
    saveNote();
    accept();
}

void Tfrm_GoodsReturnEdit::But_PostedClick() {
    if (!But_Posted->isEnabled()) return;
    if (!AskYesNo(QStringLiteral("是否确定审核此单？"))) Abort();
    md::ExecuteSQL(QStringLiteral("update d_GoodsReturnNote set fposted=1,fposteduser='") +
                   SqlText(md::Session().UserNo) + QStringLiteral("'") +
                   QStringLiteral(",fposteddate=") + QStringLiteral("'") +
                   dateText(QDate::currentDate()) + QStringLiteral("'") +
                   QStringLiteral(" where fbillid=") + QStringLiteral("'") + SqlText(billId()) +
                   QStringLiteral("'"));
    MessageBox(QStringLiteral("审核成功！"));
    accept();
}

void Tfrm_GoodsReturnEdit::But_DeleteClick() {
    if (!But_Delete->isEnabled()) return;
    if (!AskYesNo(QStringLiteral("是否确定删除此单？"))) Abort();
    const QString number = billId();
    DBdetail->Close();
    DBmaster_table->Close();
    md::ExecuteSQL(QStringLiteral("delete from d_GoodsReturnNote where fbillid='") +
                   SqlText(number) + QStringLiteral("'") + CR +
                   QStringLiteral("delete from d_GoodsReturnNotedetail where fbillid=") +
                   QStringLiteral("'") + SqlText(number) + QStringLiteral("'"));
    MessageBox(QStringLiteral("删除成功！"));
    accept();
}

void Tfrm_GoodsReturnEdit::UnpostNote() {
    if (!RightUnposted || !noteApproved()) return;
    if (!AskYesNo(QStringLiteral("是否确定反审核此单?"))) Abort();
    QScopedValueRollback<bool> unposting(m_unposting, true);
    TRemoteUdpDataSet& h = *DBmaster_table;
    if (!h.InEditState()) h.Edit();
    h.FieldByName(QStringLiteral("fposted")).SetAsBoolean(false);
    h.Post();
    h.UpdateBatch();
    updateButtons();
}

bool Tfrm_GoodsReturnEdit::FormKeyPress(QKeyEvent& event) {
    if (event.key() == Qt::Key_F12 && event.modifiers() == Qt::NoModifier) {
        Run([this] { UnpostNote(); });
        return true;
    }
    return Tbase_frm::FormKeyPress(event);
}
