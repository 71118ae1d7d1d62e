#include "barquantitygrid.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QUrl>
#include <QVBoxLayout>
#include <climits>

#include "colorsize.h"
#include "datasource.h"
#include "errors.h"
#include "grid.h"
#include "inifile.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "segoodscolor.h"
#include "sharedvalues.h"
#include "sizeslots.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QString kGoods = QStringLiteral("fGoodsId");
const QString kColour = QStringLiteral("fcolorid");

// The size slots in use: the database's count, at most the 30 columns.
int slotCount() {
    return qBound(0, md::Shared().SizeSlotCount, md::kSizeSlotMax);
}

// A quantity is a whole number of pieces, none or more; an empty cell is none.
QString quantityInputError(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return QString();
    bool whole = false;
    const qlonglong value = text.toLongLong(&whole);
    if (!whole) return QStringLiteral("数量必须是整数!");
    if (value < 0) return QStringLiteral("数量不能为负数!");
    if (value > INT_MAX) return QStringLiteral("数量太大!");
    return QString();
}

// Counts the component's own writes into a row, so the validation stays out.
class TFilling {
  public:
    explicit TFilling(int& depth) : m_depth(depth) { ++m_depth; }
    ~TFilling() { --m_depth; }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;

  private:
    int& m_depth;
};

void copyOrClear(TRemoteUdpDataSet& row, const QString& field, const TRemoteUdpDataSet& found,
                 const QString& column) {
    TField* target = row.FindField(field);
    if (!target) return;
    if (found.IsEmpty())
        target->Clear();
    else
        target->SetValue(found.FieldByName(column).Value());
}

std::function<void(const QString&, const QString&)>& labelProgramStarter() {
    static std::function<void(const QString&, const QString&)> starter;
    return starter;
}

}  // namespace

// ---------------------------------------------------------------- TBarQuantityGrid

TBarQuantityGrid::TBarQuantityGrid(QWidget* parent, PriceColumn price)
    : QWidget(parent), m_price(price) {
    setObjectName(QStringLiteral("BarQuantityGrid"));
    DBdetail_table = new TRemoteUdpDataSet(QStringLiteral("DBdetail_table"), this);
    DBdetail_table->SetLockType(etBatchOptimistic);
    DBdetail_table->SetSQL(ListSQL());
    DbDetail_Source = new TDataSource(QStringLiteral("DbDetail_Source"), this);
    DbDetail_Source->setDataSet(DBdetail_table);
    DBcolor_list = new TRemoteUdpDataSet(QStringLiteral("DBcolor_list"), this);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbDetail_Source);
    v->AddColumn(kGoods, QStringLiteral("货号"))
        .width(100)
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("合计"))
        .button([this](TGridColumn&) { PickGoods(); });
    v->AddColumn(kColour, QStringLiteral("颜色编号"))
        .width(70)
        .upperCase()
        .lookup(DBcolor_list, QStringLiteral("colorid"),
                {QStringLiteral("colorid"), QStringLiteral("color")},
                {QStringLiteral("颜色编号"), QStringLiteral("颜色说明")})
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(110).readOnly();
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色说明")).width(70).readOnly();
    const QStringList captions = md::SizeSlotCaptions(md::kSizeSlotMax);
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
        v->AddColumn(md::SizeSlotColumn(slot), captions.at(slot - 1))
            .width(36)
            .displayFormat(QStringLiteral("0;-0; "))
            .footer(TSummaryKind::Sum, QStringLiteral("0;-0; "))
            .inputCheck(&quantityInputError);
    v->AddColumn(QStringLiteral("qty"), QStringLiteral("数量合计"))
        .width(60)
        .readOnly()
        .displayFormat(QStringLiteral("0;-0; "))
        .footer(TSummaryKind::Sum, QStringLiteral("0"));
    if (m_price == PriceColumn::RetailPrice) {
        v->AddColumn(QStringLiteral("fretailprice"), QStringLiteral("吊牌价")).width(60).currency();
    } else {
        v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
            .width(60)
            .readOnly()
            .currency();
    }
    v->AddColumn(QStringLiteral("unit"), QStringLiteral("单位")).hidden();
    v->AddColumn(QStringLiteral("size_class"), QStringLiteral("尺码类别")).hidden();
    if (m_price == PriceColumn::RetailPrice)
        v->AddColumn(QStringLiteral("fremark"), QStringLiteral("备注")).width(120);
    v->Options().Footer = true;
    v->Options().MultiSelect = true;
    v->Options().Clipboard = true;
    v->Options().GoToNextCellOnEnter = true;
    v->ApplyOptions();
    v->SetInputAllowed(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid1);

    DBdetail_table->AfterOpen = [this](TRemoteUdpDataSet&) { bindFields(); };
    DBdetail_table->BeforePost = [this](TRemoteUdpDataSet&) { beforePost(); };
    // The table's defaults, so that a row sent and then changed again still
    // matches what the server holds.
    DBdetail_table->OnNewRecord = [](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("qty")).SetAsInteger(0);
        for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
            ds.FieldByName(md::SizeSlotColumn(slot)).SetAsInteger(0);
    };
    DBdetail_table->AfterScroll = [this](TRemoteUdpDataSet& ds) {
        if (m_filling > 0 || ds.ControlsDisabled()) return;
        md::ui::Guard([this] {
            ShowSizeCaptions();
            loadColours(DBdetail_table->FieldByName(kGoods).AsString());
        });
    };
}

QString TBarQuantityGrid::ListSQL() {
    return QStringLiteral(
        "select a.*,b.goodsname,b.colorname_ch,b.unit,b.size_class,b.unitprice\r"
        "from barcodedetail a join vgoodscolor b on a.fgoodsid=b.goodsid and a.fcolorid=b.colorid");
}

bool TBarQuantityGrid::ReadMaterialMode() {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select mode from config where [id]=50018"));
    return !query.IsEmpty() && !query.Fields(0).IsNull() && query.Fields(0).AsInteger() == 1;
}

void TBarQuantityGrid::SetMaterialMode(bool on) {
    m_materialMode = on;
    cxGrid1DBTableView1->Column(QStringLiteral("goodsname"))
        ->caption(on ? QStringLiteral("材质") : QStringLiteral("货品名称"));
    QStringList shown{QStringLiteral("colorid"), QStringLiteral("color")};
    QStringList captions{QStringLiteral("颜色编号"), QStringLiteral("颜色说明")};
    if (on) {
        shown << QStringLiteral("color1");
        captions << QStringLiteral("材质");
    }
    cxGrid1DBTableView1->Column(kColour)->lookup(DBcolor_list, QStringLiteral("colorid"), shown,
                                                 captions);
    m_colourListGoods.clear();  // the drop-down's statement differs: read it again
}

void TBarQuantityGrid::OpenList() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    ds.Close();
    {
        TFilling filling(m_filling);
        ds.Open();
    }
    const int inUse = slotCount();
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
        cxGrid1DBTableView1->Column(md::SizeSlotColumn(slot))->visible(slot <= inUse);
    m_captionsSet = false;
    m_captionedClass.clear();
    if (!ds.IsEmpty()) {
        ds.First();
        ShowSizeCaptions();
        loadColours(ds.FieldByName(kGoods).AsString());
    }
}

void TBarQuantityGrid::CloseList() {
    DBdetail_table->Close();
}

void TBarQuantityGrid::bindFields() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    ds.FieldByName(kGoods).OnValidate = [this](TField& field) { goodsValidate(field); };
    ds.FieldByName(kColour).OnValidate = [this](TField& field) { colourValidate(field); };
}

void TBarQuantityGrid::goodsValidate(TField& field) {
    if (m_filling > 0) return;
    TFilling filling(m_filling);
    TRemoteUdpDataSet& ds = *DBdetail_table;
    const QString code = field.AsString();
    if (code.isEmpty()) return;  // the check before saving names the missing code
    TRemoteUdpDataSet goods;
    md::OpenQuery(goods, QStringLiteral("select top 1 goodsid,goodsname,size_class,unitprice,unit "
                                        "from goods \r") +
                             QStringLiteral("where goodsid='") + SqlText(code) +
                             QStringLiteral("'"));
    if (goods.IsEmpty()) Refuse(QStringLiteral("没有此货号,请检查重新录入!"));
    for (const char* column : {"goodsname", "unit", "size_class", "unitprice"})
        copyOrClear(ds, QString::fromLatin1(column), goods, QString::fromLatin1(column));
    if (m_price == PriceColumn::RetailPrice)
        copyOrClear(ds, QStringLiteral("fretailprice"), goods, QStringLiteral("unitprice"));
    loadColours(code);
    captionSizes(goods.FieldByName(QStringLiteral("size_class")).AsString());
}

void TBarQuantityGrid::colourValidate(TField& field) {
    if (m_filling > 0) return;
    TFilling filling(m_filling);
    TRemoteUdpDataSet& ds = *DBdetail_table;
    const QString goods = ds.FieldByName(kGoods).AsString();
    if (goods.isEmpty()) Refuse(QStringLiteral("请先输入货号！"));
    const QString colour = field.AsString();
    TRemoteUdpDataSet found;
    if (m_materialMode) {
        md::OpenQuery(found, QStringLiteral("select top 1 colorid,colorname_ch as color,color1,"
                                            "color2 from vgoodscolor1 \r") +
                                 QStringLiteral("where goodsid='") + SqlText(goods) +
                                 QStringLiteral("'") + QStringLiteral(" and colorid=") +
                                 QStringLiteral("'") + SqlText(colour) + QStringLiteral("'"));
        copyOrClear(ds, QStringLiteral("colorname_ch"), found, QStringLiteral("color"));
        if (!found.IsEmpty()) {
            copyOrClear(ds, QStringLiteral("goodsname"), found, QStringLiteral("color1"));
            copyOrClear(ds, QStringLiteral("colorname_ch"), found, QStringLiteral("color2"));
        }
        return;
    }
    md::OpenQuery(
        found, QStringLiteral("select top 1 colorid,colorname_ch as color from vgoodscolor1 \r") +
                   QStringLiteral("where goodsid='") + SqlText(goods) + QStringLiteral("'") +
                   QStringLiteral(" and colorid=") + QStringLiteral("'") + SqlText(colour) +
                   QStringLiteral("'"));
    copyOrClear(ds, QStringLiteral("colorname_ch"), found, QStringLiteral("color"));
}

void TBarQuantityGrid::beforePost() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    if (ds.FieldByName(kGoods).AsString().isEmpty()) {
        md::ui::MessageBox(QStringLiteral("货号不能为空"), QStringLiteral("提示"),
                           md::ui::Icon::Warning);
        Abort();
    }
    if (ds.FieldByName(kColour).AsString().isEmpty()) {
        md::ui::MessageBox(QStringLiteral("颜色编号不能为空"), QStringLiteral("提示"),
                           md::ui::Icon::Warning);
        Abort();
    }
    qint64 total = 0;
    for (int slot = 1; slot <= slotCount(); ++slot)
        total += ds.FieldByName(md::SizeSlotColumn(slot)).AsInteger();
    ds.FieldByName(QStringLiteral("qty")).SetAsInteger(total);
}

void TBarQuantityGrid::loadColours(const QString& goodsCode) {
    if (goodsCode.isEmpty() || goodsCode == m_colourListGoods) return;
    const QString sql = m_materialMode
                            ? QStringLiteral(
                                  "select top 20 goodsid,colorid,colorname_ch as color,color1 from "
                                  "vgoodscolor where goodsid='") +
                                  SqlText(goodsCode) + QStringLiteral("'")
                            : QStringLiteral(
                                  "select top 20 goodsid,colorid,colorname_ch as color from "
                                  "vgoodscolor where goodsid='") +
                                  SqlText(goodsCode) + QStringLiteral("'");
    md::OpenQuery(*DBcolor_list, sql);
    m_colourListGoods = goodsCode;
}

void TBarQuantityGrid::ShowSizeCaptions() {
    const TRemoteUdpDataSet& ds = *DBdetail_table;
    if (!ds.Active() || ds.IsEmpty() || slotCount() <= 1) return;
    captionSizes(ds.FieldByName(QStringLiteral("size_class")).AsString());
}

void TBarQuantityGrid::captionSizes(const QString& sizeClass) {
    if (slotCount() <= 1) return;
    if (m_captionsSet && sizeClass == m_captionedClass) return;
    TRemoteUdpDataSet sizes;
    md::OpenQuery(sizes, QStringLiteral("select size_name from ba_size where size_class='") +
                             SqlText(sizeClass) + QStringLiteral("'") +
                             QStringLiteral(" order by displayindex"));
    QStringList names;
    for (sizes.First(); !sizes.Eof(); sizes.Next()) names << sizes.Fields(0).AsString();
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
        cxGrid1DBTableView1->Column(md::SizeSlotColumn(slot))
            ->caption(slot <= names.size() ? names.at(slot - 1) : QString());
    m_captionedClass = sizeClass;
    m_captionsSet = true;
}

QStringList TBarQuantityGrid::SizeCaptions() const {
    QStringList captions;
    for (int slot = 1; slot <= slotCount(); ++slot)
        captions << cxGrid1DBTableView1->Column(md::SizeSlotColumn(slot))->Caption();
    return captions;
}

bool TBarQuantityGrid::HandleKey(QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    std::function<void()> run;
    switch (event.key()) {
        case Qt::Key_F2:
            run = [this] { AppendRow(); };
            break;
        case Qt::Key_F3:
            run = [this] { DeleteRow(); };
            break;
        case Qt::Key_F4:
            run = [this] { PickGoods(); };
            break;
        case Qt::Key_F5:
            run = [this] { EnterColorSize(); };
            break;
        case Qt::Key_F6:
            run = [this] { RefreshTotals(); };
            break;
        default:
            return false;
    }
    md::ui::Guard(run);
    return true;
}

void TBarQuantityGrid::focusColumn(const QString& fieldName) {
    TDBTableView* v = cxGrid1DBTableView1;
    const int section = v->SectionOf(fieldName);
    const int row = DBdetail_table->RecNo() - 1;
    if (section < 0 || row < 0) return;
    v->setFocus();
    v->setCurrentIndex(v->model()->index(row, section));
}

void TBarQuantityGrid::AppendRow() {
    if (!DBdetail_table->Active()) return;
    PostEdits();
    DBdetail_table->Append();
    focusColumn(kGoods);
}

void TBarQuantityGrid::DeleteRow() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    if (!ds.Active() || ds.IsEmpty()) return;
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除一行？"))) return;
    cxGrid1DBTableView1->CancelEditor();
    ds.Delete();
}

void TBarQuantityGrid::PickGoods() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    if (!ds.Active()) return;
    const QList<TPickedGoodsColor> picked = md::ui::PickGoodsColors(window());
    if (picked.isEmpty()) return;
    PostEdits();
    TControlsDisabled still(ds);
    for (const TPickedGoodsColor& pair : picked) {
        if (ds.Locate(QStringLiteral("fgoodsid;fcolorid"), QVariantList{pair.goodsid, pair.colorid},
                      loCaseInsensitive))
            continue;
        ds.Append();
        ds.FieldByName(kGoods).SetAsString(pair.goodsid);
        ds.FieldByName(kColour).SetAsString(pair.colorid);
        ds.Post();
    }
}

void TBarQuantityGrid::EnterColorSize() {
    TRemoteUdpDataSet& ds = *DBdetail_table;
    if (!ds.Active()) return;
    PostEdits();
    const QString code = ds.IsEmpty() ? QString() : ds.FieldByName(kGoods).AsString();
    md::ui::EnterColorSizeQuantities(window(), ds, code);
    RefreshTotals();
    ShowSizeCaptions();
}

void TBarQuantityGrid::RefreshTotals() {
    Q_EMIT cxGrid1DBTableView1->summariesDirty();
    cxGrid1->update();
    Q_EMIT totalsRefreshed();
}

void TBarQuantityGrid::PostEdits() {
    cxGrid1DBTableView1->PostEditor();
    if (DBdetail_table->InEditState()) DBdetail_table->Post();
}

void TBarQuantityGrid::SendChanges() {
    PostEdits();
    DBdetail_table->UpdateBatch();
}

int TBarQuantityGrid::TotalQty() const {
    const TRemoteUdpDataSet& ds = *DBdetail_table;
    if (!ds.Active()) return 0;
    const TField* qty = ds.FindField(QStringLiteral("qty"));
    if (!qty) return 0;
    qint64 total = 0;
    for (int row = 0; row < ds.RecordCount(); ++row)
        total += TField::integerOf(ds.valueAt(row, qty->Index()));
    return int(qBound(qint64(INT_MIN), total, qint64(INT_MAX)));
}

// ---------------------------------------------------------------- label menu

TBarListSettings TBarListSettings::Read() {
    TBarListSettings settings;
    const md::IniFile ini =
        md::IniFile::load(md::settingsFilePath(QStringLiteral("softconfig.ini")));
    const QString section = QStringLiteral("BarList");
    settings.opentype = ini.value(section, QStringLiteral("opentype"), QStringLiteral("Print"));
    settings.bar1 = ini.value(section, QStringLiteral("Bar1"), QString());
    settings.bar2 = ini.value(section, QStringLiteral("Bar2"), QString());
    settings.bar3 = ini.value(section, QStringLiteral("Bar3"), QString());
    return settings;
}

QString TBarListSettings::Bar(int number) const {
    switch (number) {
        case 1:
            return bar1;
        case 2:
            return bar2;
        case 3:
            return bar3;
        default:
            return QString();
    }
}

TLabelMenu::TLabelMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Menu_bar = item("Menu_bar", QStringLiteral("打印条形码"));
    Menu_ShoeBar1 = item("Menu_ShoeBar1", QStringLiteral("打印条形码"));
    Menu_ShoeBar2 = item("Menu_ShoeBar2", QStringLiteral("打印价格标"));
    Menu_ShoeBar3 = item("Menu_ShoeBar3", QStringLiteral("打印大底标"));
    Apply(m_settings);
}

void TLabelMenu::Apply(const TBarListSettings& settings) {
    m_settings = settings;
    for (int number = 1; number <= 3; ++number) {
        QAction* item = ShoeBar(number);
        const QString program = settings.Bar(number);
        item->setVisible(!program.isEmpty());
        if (!program.isEmpty()) item->setText(program);
    }
    Menu_bar->setVisible(settings.bar1.isEmpty());
}

QAction* TLabelMenu::ShoeBar(int number) const {
    switch (number) {
        case 1:
            return Menu_ShoeBar1;
        case 2:
            return Menu_ShoeBar2;
        case 3:
            return Menu_ShoeBar3;
        default:
            return nullptr;
    }
}

namespace md::ui {

void StartLabelProgram(const QString& verb, const QString& program) {
    if (program.isEmpty()) return;
    const QString path = md::HostProgramFolder().toLower() + program;
    if (labelProgramStarter()) {
        labelProgramStarter()(verb, path);
        return;
    }
    if (verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) == 0) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return;
    }
    QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

void SetLabelProgramStarter(std::function<void(const QString&, const QString&)> starter) {
    labelProgramStarter() = std::move(starter);
}

}  // namespace md::ui
