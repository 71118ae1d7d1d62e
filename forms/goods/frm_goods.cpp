#include "frm_goods.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

#include "datasource.h"
#include "dbcontrols.h"
#include "editors.h"
#include "formfactory.h"
#include "frm_GoodsPicShow.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "messages.h"
#include "propertygrid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "session.h"
#include "sharedvalues.h"
#include "sizeslots.h"
#include "sqlquote.h"
#include "treelookup.h"

using namespace md::ui;

namespace {

const QChar CR(13);

// The goods columns in the order of the insert statement; the update sets all
// but the last (the row key, never changed).
const char* const kGoodsColumns[] = {"goodsid",
                                     "goodssortid",
                                     "goodsname",
                                     "ayear",
                                     "season",
                                     "brand",
                                     "unit",
                                     "sort",
                                     "style",
                                     "item",
                                     "patter",
                                     "catena",
                                     "sex",
                                     "masterial",
                                     "lining",
                                     "mat",
                                     "standard",
                                     "whence",
                                     "size_class",
                                     "topdate",
                                     "picture",
                                     "remark",
                                     "strat",
                                     "inputdate",
                                     "field1",
                                     "field2",
                                     "field3",
                                     "field4",
                                     "unitprice",
                                     "price1",
                                     "price2",
                                     "price3",
                                     "price4",
                                     "price5",
                                     "price6",
                                     "isshopgoods",
                                     "typecode",
                                     "fsortbyint",
                                     "fshopstockqty",
                                     "fshopprice",
                                     "fisshoptop",
                                     "fisshopnew",
                                     "fisshopmaster",
                                     "fisshopscrush",
                                     "fisshopsale",
                                     "fshopclickcount",
                                     "fgoodscaption",
                                     "fgoodsremark",
                                     "fgoodsweight",
                                     "fshopscrushprice",
                                     "fshopscrushbegindate",
                                     "fshopscrushenddate",
                                     "fshopplanpirce",
                                     "fshopisend",
                                     "fshopenddate",
                                     "lastupdate",
                                     "goodsno"};

QString goodsInsertSQL() {
    QStringList names, params;
    for (const char* column : kGoodsColumns) {
        names << QString::fromLatin1(column);
        params << QLatin1Char(':') + QString::fromLatin1(column);
    }
    return QStringLiteral("insert into goods(") + names.join(QLatin1Char(',')) +
           QStringLiteral(")") + QStringLiteral("values") + QStringLiteral("(") +
           params.join(QLatin1Char(',')) + QStringLiteral(")");
}

QString goodsModifySQL() {
    QStringList sets;
    for (const char* column : kGoodsColumns) {
        const QString name = QString::fromLatin1(column);
        if (name == QLatin1String("goodsno")) continue;
        sets << name + QStringLiteral("=:") + name;
    }
    return QStringLiteral("update goods set ") + sets.join(QLatin1Char(',')) +
           QStringLiteral(" where GoodsNo=:GoodsNo");
}

// The attribute rows whose captions the description fields rename.
const char* const kRenamable[] = {"field2", "field1",    "whence", "style", "standard", "patter",
                                  "mat",    "masterial", "lining", "item",  "catena",   "sort"};

// The attribute rows that take the values of their description field.
const char* const kValueListColumns[] = {"goodsname", "ayear",  "brand",  "season",   "sort",
                                         "catena",    "item",   "patter", "mat",      "style",
                                         "masterial", "lining", "sex",    "standard", "whence",
                                         "field1",    "field2", "field3", "field4"};

const QString kMatCaption = QStringLiteral("包装数量");
const QString kDigitsOnly = QStringLiteral("[0-9]+");

// Runs a handler on a double click of a widget.
class DoubleClickFilter : public QObject {
  public:
    DoubleClickFilter(QWidget* target, std::function<void()> handler)
        : QObject(target), m_handler(std::move(handler)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_handler();
            return true;
        }
        return false;
    }

  private:
    std::function<void()> m_handler;
};

}  // namespace

// ---------------------------------------------------------------- description

Tfrm_goods::Tfrm_goods(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setObjectName(QStringLiteral("frm_goods"));
    setWindowTitle(QStringLiteral("货品档案"));
    // The editor's own grid is not used: the list and the detail page take its place.
    cxGrid1->hide();

    auto dataSet = [this](const char* name, const QString& sql = QString()) {
        auto* ds = new TRemoteUdpDataSet(QString::fromLatin1(name), this);
        if (!sql.isEmpty()) ds->SetSQL(sql);
        return ds;
    };
    auto source = [this](const char* name, TRemoteUdpDataSet* ds) {
        auto* s = new TDataSource(QString::fromLatin1(name), this);
        s->setDataSet(ds);
        return s;
    };
    auto updateSql = [this](const char* name, const QString& insert, const QString& modify,
                            const QString& remove) {
        auto* u = new TRemoteUpdateSql(this);
        u->setObjectName(QString::fromLatin1(name));
        u->InsertSQL = insert;
        u->ModifySQL = modify;
        u->DeleteSQL = remove;
        return u;
    };

    DBmaster_table->SetSQL(QStringLiteral("select top 1 * from goods where goodsid=:goodsid"));
    GoodsUpdateSql = updateSql("GoodsUpdateSql", goodsInsertSQL(), goodsModifySQL(),
                               QStringLiteral("delete from goods where GoodsNo=:GoodsNo"));
    DBmaster_table->SetupDataObject(GoodsUpdateSql);
    // The detail page's editors take input only after "新增", "修改" or "复制".
    DbMaster_Source->SetAutoEdit(false);

    DBcolor = dataSet(
        "DBcolor",
        QStringLiteral(
            "select a.GoodsNo,a.fgoodsid,a.fcolorid,b.colorname_ch,b.colorname_en,b.color_values,"
            "c.fcolor as goodscolor,a.colorno") +
            QLatin1Char('\n') +
            QStringLiteral("from goodscolor a join ba_color b on a.fcolorid=b.colorid ") +
            QLatin1Char('\n') +
            QStringLiteral(
                "left join ba_goodscolor c on a.fgoodsid=c.fgoodsid and a.fcolorid=c.fcolorid") +
            QLatin1Char('\n') + QStringLiteral("where a.fgoodsid=:fgoodsid"));
    ColorUpdateSql = updateSql(
        "ColorUpdateSql",
        QStringLiteral("insert into "
                       "goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo)values(:fgoodsid,:fcolorid,:"
                       "GoodsNo,:ColorNo)"),
        QStringLiteral(
            "update goodscolor set fcolorid=:fcolorid,fgoodsid=:fgoodsid where colorno=:colorno"),
        QStringLiteral("delete from goodscolor where colorno=:colorno") + QLatin1Char('\n') +
            QStringLiteral("delete from ba_goodscolor where colorno=:colorno"));
    DBcolor->SetupDataObject(ColorUpdateSql);
    DScolor = source("DScolor", DBcolor);

    DBitemprice = dataSet("DBitemprice",
                          QStringLiteral("select * from goodsitemprice where fgoodsid=:fgoodsid"));
    ItemPriceUpdateSql =
        updateSql("ItemPriceUpdateSql",
                  QStringLiteral("insert into "
                                 "goodsitemprice(fgoodsid,fitem,fprice,GoodsNo)values(:fgoodsid,:"
                                 "fitem,:fprice,:GoodsNo)"),
                  QStringLiteral("update goodsitemprice set "
                                 "fgoodsid=:fgoodsid,fitem=:fitem,fprice=:fprice,GoodsNo=:GoodsNo "
                                 "where fautoid=:fautoid"),
                  QStringLiteral("delete from goodsitemprice where fautoid=:fautoid"));
    DBitemprice->SetupDataObject(ItemPriceUpdateSql);
    DSitemprice = source("DSitemprice", DBitemprice);

    DBimage =
        dataSet("DBimage", QStringLiteral("select * from GoodsImage where fgoodsid=:fgoodsid"));
    DSimage = source("DSimage", DBimage);

    // Colours and item prices follow the goods record and are saved with it; the
    // picture is read when it is shown and saved after them when it has one.
    const QList<TMasterDetailLink::FieldPair> byGoods = {
        {QStringLiteral("goodsid"), QStringLiteral("fgoodsid")},
        {QStringLiteral("goodsno"), QStringLiteral("GoodsNo")}};
    ColorLink = LinkDetail(DBcolor, byGoods);
    ItemPriceLink = LinkDetail(DBitemprice, byGoods);
    PictureLink = LinkDetail(DBimage, byGoods);
    PictureLink->follow = TMasterDetailLink::Follow::OnDemand;
    PictureLink->phase = TMasterDetailLink::SavePhase::AfterCommit;
    // A picture row already stored is sent also when cleared; a new one only with a picture.
    PictureLink->SendWhen = [](TRemoteUdpDataSet& picture) {
        if (picture.IsEmpty()) return false;
        return picture.UpdateStatus() != usInserted ||
               !picture.FieldByName(QStringLiteral("fimage")).Value().toByteArray().isEmpty();
    };

    DBsize = dataSet("DBsize");
    DBbacolor = dataSet("DBbacolor");
    DBitemname = dataSet("DBitemname");
    DBgoodstype = dataSet("DBgoodstype");
    DBcolordesc = dataSet("DBcolordesc");
    DBsupplier = dataSet("DBsupplier");
    DBemployee = dataSet("DBemployee");
    DBtmp = dataSet("DBtmp");

    DBgoodslist = dataSet("DBgoodslist");
    // The only change the list sends back is the online flag.
    ListUpdateSql =
        updateSql("ListUpdateSql", QString(),
                  QStringLiteral("update goods set fisshoptop=:fisshoptop where goodsid=:goodsid"),
                  QString());
    DBgoodslist->SetupDataObject(ListUpdateSql);
    DSgoodslist = source("DSgoodslist", DBgoodslist);

    // Actions: the record editor's plus the form's own.
    copy_action = NewAction(QStringLiteral("copy_action"), QStringLiteral("复制"),
                            [this] { copy_actionExecute(); });
    copy_action->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    showpic_action = NewAction(QStringLiteral("showpic_action"), QStringLiteral("显示图片"),
                               [this] { showpic_actionExecute(); });
    addcolor_action = NewAction(QStringLiteral("addcolor_action"), QStringLiteral("新增颜色行"),
                                [this] { addcolor_actionExecute(); });
    delcolor_action = NewAction(QStringLiteral("delcolor_action"), QStringLiteral("删除颜色"),
                                [this] { delcolor_actionExecute(); });
    import_action = NewAction(QStringLiteral("import_action"), QStringLiteral("批量导入"),
                              [this] { import_actionExecute(); });
    import_action->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    ean13_action = NewAction(QStringLiteral("ean13_action"), QStringLiteral("国际码"),
                             [this] { ean13_actionExecute(); });
    ean13_action->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    newcolor_action = NewAction(QStringLiteral("newcolor_action"), QStringLiteral("新增颜色"),
                                [this] { newcolor_actionExecute(); });
    merge_action = NewAction(QStringLiteral("merge_action"), QStringLiteral("整理合并货号"),
                             [this] { merge_actionExecute(); });
    goodsfield_action =
        NewAction(QStringLiteral("goodsfield_action"), QStringLiteral("设置货品字段"),
                  [this] { goodsfield_actionExecute(); });
    loadpic_action = NewAction(QStringLiteral("loadpic_action"), QStringLiteral("加载图片..."),
                               [this] { loadpic_actionExecute(); });
    clearpic_action = NewAction(QStringLiteral("clearpic_action"), QStringLiteral("清除图片"),
                                [this] { clearpic_actionExecute(); });
    append_action->setShortcut(Qt::Key_F2);
    edit_action->setShortcut(Qt::Key_F3);
    post_action->setShortcut(Qt::Key_F4);
    cacel_action->setShortcut(Qt::Key_F5);
    copy_action->setShortcut(Qt::Key_F6);
    del_action->setShortcut(Qt::Key_F7);
    showpic_action->setShortcut(Qt::Key_F8);
    addcolor_action->setShortcut(Qt::Key_F9);
    delcolor_action->setShortcut(Qt::Key_F10);
    HideActions({first_action, last_action});
    SetToolbar({first_action, prio_action, next_action, last_action, nullptr, append_action,
                edit_action, post_action, cacel_action, copy_action, del_action, nullptr,
                import_action, ean13_action, excel_action, close_action});

    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ClientPanel->layout()->addWidget(PageControl1);
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("货品列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("货品明细"));
    buildListPage();
    buildDetailPage();
    // Entering the detail page shows the goods item of the list row.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == PageControl1->indexOf(TabDetail)) Run([this] { followListRow(); });
    });

    for (const char* key : {"F2 新增", "F3 修改", "F4 保存", "F5 撤消", "F6 复制", "F7 删除 ",
                            "F8 显示图片", "F9 新增颜色", "F10 删除颜色"}) {
        auto* label = new QLabel(QString::fromUtf8(key), StatusBar1);
        label->setContentsMargins(6, 0, 6, 0);
        StatusBar1->addWidget(label);
    }

    bindDataSetEvents();
    resize(1080, 680);
}

Tfrm_goods::~Tfrm_goods() {
    // The datasets go after this part of the window: their last signals must not reach it.
    for (TDataSource* source : {DbMaster_Source, DSgoodslist, DScolor, DSitemprice, DSimage})
        disconnect(source, nullptr, this, nullptr);
}

void Tfrm_goods::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, TabList);
    layout->addWidget(splitter, 1);

    // The filter: the attribute tree, the code box and "检索过滤".
    auto* filter = new QWidget(splitter);
    auto* filterLayout = new QVBoxLayout(filter);
    filterLayout->setContentsMargins(0, 0, 0, 0);
    CheckTree1 = new TCheckTree(filter, QStringLiteral("CheckTree1"));
    filterLayout->addWidget(CheckTree1, 1);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("货号:"), filter));
    Edit_GoodsId = new QLineEdit(filter);
    Edit_GoodsId->setObjectName(QStringLiteral("Edit_GoodsId"));
    Edit_GoodsId->setValidator(new TUpperCaseValidator(Edit_GoodsId));
    codeRow->addWidget(Edit_GoodsId, 1);
    filterLayout->addLayout(codeRow);
    But_Filter = new QPushButton(QStringLiteral("检索过滤"), filter);
    But_Filter->setObjectName(QStringLiteral("But_Filter"));
    filterLayout->addWidget(But_Filter);
    OnClick(But_Filter, [this] { But_FilterClick(); });
    connect(Edit_GoodsId, &QLineEdit::returnPressed, this, [this] {
        if (!Edit_GoodsId->text().isEmpty()) Run([this] { But_FilterClick(); });
    });

    GridList = new TDBGrid(splitter, QStringLiteral("GridList"), QStringLiteral("GridListView"));
    GridListView = GridList->View();
    GridListView->setDataSource(DSgoodslist);
    TDBTableView* v = GridListView;
    v->AddColumn(QStringLiteral("fcheck"), QStringLiteral("选择")).width(44).checkBox();
    v->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .width(110)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(130).readOnly();
    v->AddColumn(QStringLiteral("brand"), QStringLiteral("品牌")).width(70).readOnly();
    v->AddColumn(QStringLiteral("ayear"), QStringLiteral("年份")).width(56).readOnly();
    v->AddColumn(QStringLiteral("season"), QStringLiteral("季节")).width(50).readOnly();
    v->AddColumn(QStringLiteral("sort"), QStringLiteral("类别")).width(70).readOnly();
    v->AddColumn(QStringLiteral("patter"), QStringLiteral("所属厂商")).width(80).readOnly();
    v->AddColumn(QStringLiteral("item"), QStringLiteral("厂商货号")).width(80).readOnly();
    v->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价"))
        .width(76)
        .readOnly()
        .currency(QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("strat"), QStringLiteral("启用否")).width(52).readOnly().checkBox();
    v->AddColumn(QStringLiteral("inputdate"), QStringLiteral("录入日期"))
        .width(88)
        .readOnly()
        .date();
    v->AddColumn(QStringLiteral("isbmp"), QStringLiteral("图片加载否"))
        .width(72)
        .readOnly()
        .checkBox();
    v->AddColumn(QStringLiteral("fisshoptop"), QStringLiteral("上架")).width(44).checkBox();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    options.ColumnSorting = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);
    connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& at) {
        const TGridColumn* col = GridListView->ColumnOfSection(at.column());
        if (col && col->Kind() == TEditorKind::CheckBox && !col->ReadOnly())
            return;  // a tick, not an opening
        Run([this] {
            // A record being edited stays: the detail page shows it, as moving in the list does.
            if (!DBmaster_table->Active() || DBmaster_table->State() == dsBrowse)
                OpenGoods(listCode());
            ShowDetailPage();
        });
    });
    splitter->addWidget(filter);
    splitter->addWidget(GridList);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 860});

    // The batch changes under the list.
    auto* batch = new QHBoxLayout;
    batch->addWidget(new QLabel(QStringLiteral("将所选择商品类别改为:"), TabList));
    Lookup_Type = new TTreeLookupCombo(TabList);
    Lookup_Type->setObjectName(QStringLiteral("Lookup_Type"));
    Lookup_Type->setMinimumWidth(140);
    batch->addWidget(Lookup_Type);
    But_TypeOK = new QPushButton(QStringLiteral("确定"), TabList);
    But_TypeOK->setObjectName(QStringLiteral("But_TypeOK"));
    batch->addWidget(But_TypeOK);
    batch->addSpacing(24);
    Check_All = new QCheckBox(QStringLiteral("全选"), TabList);
    Check_All->setObjectName(QStringLiteral("Check_All"));
    batch->addWidget(Check_All);
    batch->addSpacing(12);
    batch->addWidget(new QLabel(QStringLiteral("将所选择商品"), TabList));
    Combo_Field = new QComboBox(TabList);
    Combo_Field->setObjectName(QStringLiteral("Combo_Field"));
    Combo_Field->setMinimumWidth(110);
    batch->addWidget(Combo_Field);
    batch->addWidget(new QLabel(QStringLiteral("改为"), TabList));
    Edit_Value = new QLineEdit(TabList);
    Edit_Value->setObjectName(QStringLiteral("Edit_Value"));
    batch->addWidget(Edit_Value);
    But_FieldOK = new QPushButton(QStringLiteral("确定"), TabList);
    But_FieldOK->setObjectName(QStringLiteral("But_FieldOK"));
    batch->addWidget(But_FieldOK);
    batch->addStretch(1);
    layout->addLayout(batch);
    // Enter belongs to the code box and the grids; buttons are pressed, not defaulted.
    for (QPushButton* button : {But_Filter, But_TypeOK, But_FieldOK}) button->setAutoDefault(false);
    OnClick(But_TypeOK, [this] { But_TypeOKClick(); });
    OnClick(Check_All, [this] { Check_AllClick(); });
    OnClick(But_FieldOK, [this] { But_FieldOKClick(); });
}

void Tfrm_goods::buildDetailPage() {
    auto* layout = new QHBoxLayout(TabDetail);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, TabDetail);
    layout->addWidget(splitter);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    buildAttributeGrid(left);
    leftLayout->addWidget(cxDBVerticalGrid1);

    PageControl2 = new QTabWidget(splitter);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    TabColorPicture = new QWidget(PageControl2);
    TabPrice = new QWidget(PageControl2);
    TabShop = new QWidget(PageControl2);
    PageControl2->addTab(TabColorPicture, QStringLiteral("颜色及图片"));
    PageControl2->addTab(TabPrice, QStringLiteral("价格设置"));
    PageControl2->addTab(TabShop, QStringLiteral("网上订货信息"));
    buildColorPicturePage();
    buildPricePage();
    buildShopPage();
    splitter->addWidget(left);
    splitter->addWidget(PageControl2);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({360, 700});
}

void Tfrm_goods::buildAttributeGrid(QWidget* parent) {
    cxDBVerticalGrid1 = new TDBVerticalGrid(parent);
    TDBVerticalGrid* g = cxDBVerticalGrid1;
    g->setDataSource(DbMaster_Source);
    g->SetCaptionWidth(120);
    const int basic = g->AddCategory(QStringLiteral("基础资料"));
    const int notes = g->AddCategory(QStringLiteral("辅助说明"));
    auto list = [](TPropertyRow& row) -> TPropertyRow& {
        row.valueList({}, true);
        return row;
    };
    g->AddRow(QStringLiteral("goodsid"), QStringLiteral("货号*"), basic).upperCase();
    g->AddRow(QStringLiteral("goodssortid"), QStringLiteral("助记码"), basic).upperCase();
    list(g->AddRow(QStringLiteral("goodsname"), QStringLiteral("货品名称"), basic));
    list(g->AddRow(QStringLiteral("ayear"), QStringLiteral("年份"), basic));
    list(g->AddRow(QStringLiteral("season"), QStringLiteral("季节"), basic));
    list(g->AddRow(QStringLiteral("brand"), QStringLiteral("品牌"), basic));
    list(g->AddRow(QStringLiteral("unit"), QStringLiteral("单位"), basic));
    list(g->AddRow(QStringLiteral("sort"), QStringLiteral("类别"), basic));
    g->AddRow(QStringLiteral("size_class"), QStringLiteral("尺码类别*"), basic)
        .lookup(DBsize, QStringLiteral("size_class"), {QStringLiteral("size_class")});
    g->AddRow(QStringLiteral("unitprice"), QStringLiteral("吊牌价*"), basic)
        .currency(QStringLiteral("0.00"));
    g->AddRow(QStringLiteral("topdate"), QStringLiteral("上市日期"), basic).date();
    g->AddRow(QStringLiteral("remark"), QStringLiteral("备注"), basic);
    g->AddRow(QStringLiteral("strat"), QStringLiteral("启用否"), basic).checkBox();
    g->AddRow(QStringLiteral("inputdate"), QStringLiteral("录入日期"), basic).date();
    list(g->AddRow(QStringLiteral("style"), QStringLiteral("规格"), notes));
    list(g->AddRow(QStringLiteral("item"), QStringLiteral("项目"), notes));
    list(g->AddRow(QStringLiteral("patter"), QStringLiteral("款式"), notes));
    list(g->AddRow(QStringLiteral("catena"), QStringLiteral("故事"), notes));
    list(g->AddRow(QStringLiteral("sex"), QStringLiteral("性别"), notes));
    list(g->AddRow(QStringLiteral("masterial"), QStringLiteral("面料"), notes));
    list(g->AddRow(QStringLiteral("lining"), QStringLiteral("里料"), notes));
    list(g->AddRow(QStringLiteral("mat"), kMatCaption, notes));
    list(g->AddRow(QStringLiteral("standard"), QStringLiteral("执行标准"), notes));
    list(g->AddRow(QStringLiteral("whence"), QStringLiteral("产地"), notes));
    list(g->AddRow(QStringLiteral("field1"), QStringLiteral("备用字段1"), notes));
    list(g->AddRow(QStringLiteral("field2"), QStringLiteral("备用字段2"), notes));

    AttributeMenu = new QMenu(g);
    AttributeMenu->setObjectName(QStringLiteral("AttributeMenu"));
    AttributeMenu->addAction(merge_action);
    AttributeMenu->addAction(goodsfield_action);
    g->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(g, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        AttributeMenu->popup(cxDBVerticalGrid1->viewport()->mapToGlobal(at));
    });
}

void Tfrm_goods::buildColorPicturePage() {
    auto* layout = new QHBoxLayout(TabColorPicture);
    layout->setContentsMargins(2, 2, 2, 2);
    GridColor =
        new TDBGrid(TabColorPicture, QStringLiteral("GridColor"), QStringLiteral("GridColorView"));
    GridColorView = GridColor->View();
    GridColorView->setDataSource(DScolor);
    TDBTableView* v = GridColorView;
    v->AddColumn(QStringLiteral("fColorId"), QStringLiteral("颜色编号"))
        .width(90)
        .upperCase()
        .lookup(
            DBbacolor, QStringLiteral("colorid"),
            {QStringLiteral("colorid"), QStringLiteral("colorname_ch"),
             QStringLiteral("colorname_en")},
            {QStringLiteral("颜色编号"), QStringLiteral("颜色名称"), QStringLiteral("英文名称")});
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色名称"))
        .width(100)
        .lookup(DBbacolor, QStringLiteral("colorname_ch"), {QStringLiteral("colorname_ch")},
                {QStringLiteral("颜色名称")});
    v->AddColumn(QStringLiteral("colorname_en"), QStringLiteral("颜色英文说明"))
        .hidden()
        .readOnly();
    v->AddColumn(QStringLiteral("goodscolor"), QStringLiteral("颜色说明"))
        .width(140)
        .valueList({}, true);
    TGridViewOptions& options = v->Options();
    options.Footer = false;
    options.ColumnSorting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);
    ColorMenu = new QMenu(v);
    ColorMenu->setObjectName(QStringLiteral("ColorMenu"));
    ColorMenu->addAction(newcolor_action);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ColorMenu->popup(GridColorView->viewport()->mapToGlobal(at));
    });
    layout->addWidget(GridColor, 1);

    auto* picture = new QWidget(TabColorPicture);
    auto* pictureLayout = new QVBoxLayout(picture);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    cxDBImage1 = new TDBImage(picture, QStringLiteral("cxDBImage1"));
    cxDBImage1->SetDataSource(DSimage, QStringLiteral("fimage"));
    cxDBImage1->setMinimumSize(240, 300);
    Label_Picture = new QLabel(picture);
    Label_Picture->setObjectName(QStringLiteral("Label_Picture"));
    Label_Picture->setAlignment(Qt::AlignCenter);
    pictureLayout->addWidget(cxDBImage1, 1);
    pictureLayout->addWidget(Label_Picture);
    layout->addWidget(picture);
    new DoubleClickFilter(cxDBImage1, [this] { Run([this] { LoadPicture(); }); });
    PictureMenu = new QMenu(cxDBImage1);
    PictureMenu->setObjectName(QStringLiteral("PictureMenu"));
    PictureMenu->addAction(loadpic_action);
    PictureMenu->addAction(clearpic_action);
    cxDBImage1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cxDBImage1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        loadpic_action->setEnabled(Editing());
        clearpic_action->setEnabled(Editing() && cxDBImage1->HasPicture());
        PictureMenu->popup(cxDBImage1->mapToGlobal(at));
    });
}

void Tfrm_goods::buildPricePage() {
    auto* layout = new QVBoxLayout(TabPrice);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* items = new QGroupBox(QStringLiteral("后整/包装单价"), TabPrice);
    auto* itemsLayout = new QVBoxLayout(items);
    GridItemPrice =
        new TDBGrid(items, QStringLiteral("GridItemPrice"), QStringLiteral("GridItemPriceView"));
    GridItemPriceView = GridItemPrice->View();
    GridItemPriceView->setDataSource(DSitemprice);
    GridItemPriceView->AddColumn(QStringLiteral("fitem"), QStringLiteral("项目名称"))
        .width(160)
        .valueList({}, true)
        .footer(TSummaryKind::Count, QStringLiteral("合计：0"));
    GridItemPriceView->AddColumn(QStringLiteral("fprice"), QStringLiteral("单价"))
        .width(110)
        .currency(QStringLiteral("0.00"))
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    GridItemPriceView->Options().Footer = true;
    GridItemPriceView->ApplyOptions();
    GridItemPriceView->SetInputAllowed(false);
    itemsLayout->addWidget(GridItemPrice);
    layout->addWidget(items, 1);

    auto* sales = new QGroupBox(QStringLiteral("销售价格"), TabPrice);
    auto* salesLayout = new QVBoxLayout(sales);
    GridPrice = new TDBGrid(sales, QStringLiteral("GridPrice"), QStringLiteral("GridPriceView"));
    GridPriceView = GridPrice->View();
    GridPriceView->setDataSource(DbMaster_Source);
    const char* const captions[] = {"总代理价", "一级代理价", "二级代理价",
                                    "经销价",   "批发价",     "一般客户价"};
    for (int i = 0; i < 6; ++i)
        GridPriceView
            ->AddColumn(QStringLiteral("price%1").arg(i + 1), QString::fromUtf8(captions[i]))
            .width(96)
            .currency();
    GridPriceView->Options().Appending = false;
    GridPriceView->Options().Inserting = false;
    GridPriceView->Options().Deleting = false;
    GridPriceView->ApplyOptions();
    GridPriceView->SetInputAllowed(false);
    GridPrice->setMaximumHeight(90);
    salesLayout->addWidget(GridPrice);
    layout->addWidget(sales);
}

void Tfrm_goods::buildShopPage() {
    auto* form = new QFormLayout(TabShop);
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    Lookup_ShopType = new TDBTreeLookupCombo(DbMaster_Source, QStringLiteral("typecode"), TabShop);
    Lookup_ShopType->setObjectName(QStringLiteral("Lookup_ShopType"));
    Lookup_ShopType->setMinimumWidth(220);
    form->addRow(QStringLiteral("商品类型:"), Lookup_ShopType);
    auto* endRow = new QHBoxLayout;
    Check_ShopIsEnd = new TDBCheckBox(QStringLiteral("自动下架日期:"), DbMaster_Source,
                                      QStringLiteral("fshopisend"), TabShop);
    Date_ShopEnd = new TDBDateEdit(DbMaster_Source, QStringLiteral("fshopenddate"), TabShop);
    Date_ShopEnd->setMinimumWidth(140);
    endRow->addWidget(Check_ShopIsEnd);
    endRow->addWidget(Date_ShopEnd);
    endRow->addStretch(1);
    form->addRow(QString(), endRow);
    Date_Top = new TDBDateEdit(DbMaster_Source, QStringLiteral("topdate"), TabShop);
    Date_Top->setMinimumWidth(140);
    form->addRow(QStringLiteral("自动上架日期:"), Date_Top);
    Edit_Caption = new TDBEdit(DbMaster_Source, QStringLiteral("fgoodscaption"), TabShop);
    Edit_Caption->setMinimumWidth(420);
    form->addRow(QStringLiteral("商品标题:"), Edit_Caption);
    auto* flags = new QHBoxLayout;
    Check_Scrush = new TDBCheckBox(QStringLiteral("特价"), DbMaster_Source,
                                   QStringLiteral("fisshopscrush"), TabShop);
    Check_Sale = new TDBCheckBox(QStringLiteral("热销"), DbMaster_Source,
                                 QStringLiteral("fisshopsale"), TabShop);
    Check_Master = new TDBCheckBox(QStringLiteral("精品"), DbMaster_Source,
                                   QStringLiteral("fisshopmaster"), TabShop);
    Check_New = new TDBCheckBox(QStringLiteral("新品"), DbMaster_Source,
                                QStringLiteral("fisshopnew"), TabShop);
    Check_Top = new TDBCheckBox(QStringLiteral("上架"), DbMaster_Source,
                                QStringLiteral("fisshoptop"), TabShop);
    for (TDBCheckBox* box : {Check_Scrush, Check_Sale, Check_Master, Check_New, Check_Top})
        flags->addWidget(box);
    flags->addStretch(1);
    form->addRow(QString(), flags);
    Memo_Remark = new TDBMemo(DbMaster_Source, QStringLiteral("fgoodsremark"), TabShop);
    Memo_Remark->setMinimumSize(420, 180);
    form->addRow(QStringLiteral("商品描述:"), Memo_Remark);
}

// ---------------------------------------------------------------- creation

void Tfrm_goods::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    // The list's 上架 ticks are saved: they need the edit right.
    GridListView->Column(QStringLiteral("fisshoptop"))->readOnly(!RightEdit);
    applyPriceFormats();
    PackingMode = readConfigSwitch(40005, true);
    FillValueLists();

    md::OpenQuery(
        *DBitemname,
        QStringLiteral(
            "select distinct(fitem) fitem from goodsitemprice where isnull(fitem,'')<>''"));
    if (TGridColumn* items = GridItemPriceView->Column(QStringLiteral("fitem"))) {
        items->ClearItems();
        for (DBitemname->First(); !DBitemname->Eof(); DBitemname->Next())
            items->AddItem(DBitemname->Fields(0).AsString());
    }
    md::OpenQuery(*DBtmp, QStringLiteral("select count(goodsid) from goods"));
    const int goodsCount = DBtmp->IsEmpty() ? 0 : DBtmp->Fields(0).AsInteger();
    DBtmp->Close();
    // Beyond 3000 goods the list starts empty with the same columns: the user filters first.
    QString sql = ListBaseSQL();
    if (goodsCount >= 3001)
        sql = QStringLiteral("select top 0 ") + sql.mid(QStringLiteral("select ").size());
    openList(sql);
    md::OpenQuery(*DBgoodstype, QStringLiteral("select * from goodstype"));
    Lookup_Type->setList(DBgoodstype, QStringLiteral("fcode"), QStringLiteral("fName"),
                         QStringLiteral("fparentcode"));
    Lookup_ShopType->setList(DBgoodstype, QStringLiteral("fCode"), QStringLiteral("fName"),
                             QStringLiteral("fParentCode"));
    md::OpenQuery(*DBbacolor, QStringLiteral("select * from ba_color"));
    reloadColorDescriptions();

    AutoBarcode = readConfigSwitch(70009, false);
    if (md::Shared().SizeSlotCount == 0) MessageBox(QStringLiteral("请先建立尺码资料!"));
    applyCaptions();
    fillFieldCaptions();
    setupSpecialEditors();
    PageControl2->setCurrentWidget(TabColorPicture);
    UpdateActionState();
}

void Tfrm_goods::applyPriceFormats() {
    const int decimals = md::Shared().PriceDecimals;
    QString format = QStringLiteral("￥,0.00;￥-,0.0000");
    if (decimals == 2)
        format = QStringLiteral("￥,0.00;￥-,0.00");
    else if (decimals == 3)
        format = QStringLiteral("￥,0.000;￥-,0.000");
    else if (decimals == 4)
        format = QStringLiteral("￥,0.0000;￥-,0.0000");
    for (TGridColumn* col : GridPriceView->Columns()) col->displayFormat(format);
    cxDBVerticalGrid1->Row(QStringLiteral("unitprice"))->displayFormat(format);
    PageControl2->setTabVisible(PageControl2->indexOf(TabPrice), md::Shared().PriceVisible);
}

bool Tfrm_goods::readConfigSwitch(int id, bool nonZero) {
    md::OpenQuery(*DBtmp,
                  QStringLiteral("select mode from config where [id]=") + QString::number(id));
    bool on = false;
    if (!DBtmp->IsEmpty()) {
        const int mode = DBtmp->Fields(0).AsInteger();
        on = nonZero ? mode != 0 : mode == 1;
    }
    DBtmp->Close();
    return on;
}

void Tfrm_goods::FillValueLists() {
    for (TPropertyRow* row : cxDBVerticalGrid1->Rows())
        if (row->Kind() == TEditorKind::ValueList) row->ClearItems();
    FillGoodsAttributeTree(*CheckTree1);
    md::OpenQuery(*DBtmp,
                  QStringLiteral("select * from dbo.ba_fieldvalues where ftablename='goods'") + CR +
                      QStringLiteral(" and ffieldname in(select fname from ba_fieldremark where "
                                     "ftablename='goods' and visiblebit=1)"));
    TField& name = DBtmp->FieldByName(QStringLiteral("ffieldname"));
    TField& value = DBtmp->FieldByName(QStringLiteral("fFieldValues"));
    for (DBtmp->First(); !DBtmp->Eof(); DBtmp->Next()) {
        const QString column = name.AsString().trimmed();
        if (PackingMode && column.compare(QLatin1String("mat"), Qt::CaseInsensitive) == 0) continue;
        bool listed = false;
        for (const char* c : kValueListColumns)
            listed = listed || column.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
        TPropertyRow* row = listed ? cxDBVerticalGrid1->Row(column) : nullptr;
        if (row && row->Kind() == TEditorKind::ValueList) row->AddItem(value.AsString().trimmed());
    }
    TPropertyRow* mat = cxDBVerticalGrid1->Row(QStringLiteral("mat"));
    if (PackingMode)
        mat->editor(TEditorKind::Text);
    else
        mat->valueList(mat->Items(), true);
    mat->mask(PackingMode ? kDigitsOnly : QString());

    md::OpenQuery(
        *DBtmp, QStringLiteral(
                    "select * from ba_fieldvalues where fTablename='goods' and fFieldname='unit'"));
    TPropertyRow* unit = cxDBVerticalGrid1->Row(QStringLiteral("unit"));
    for (DBtmp->First(); !DBtmp->Eof(); DBtmp->Next())
        unit->AddItem(DBtmp->FieldByName(QStringLiteral("fFieldValues")).AsString().trimmed());
    DBtmp->Close();

    // The size groups with their sizes, so the user sees what each group holds.
    md::OpenQuery(*DBsize, QStringLiteral("select * from v_size"));
    QStringList shown{QStringLiteral("size_class")};
    QStringList captions{QStringLiteral("尺码类别")};
    for (int slot = 1; slot <= qMin(md::Shared().SizeSlotCount, md::kSizeSlotMax); ++slot) {
        shown << QStringLiteral("S%1").arg(slot);
        captions << QStringLiteral("S%1").arg(slot);
    }
    cxDBVerticalGrid1->Row(QStringLiteral("size_class"))
        ->lookup(DBsize, QStringLiteral("size_class"), shown, captions);
}

void Tfrm_goods::reloadColorDescriptions() {
    md::OpenQuery(
        *DBcolordesc,
        QStringLiteral("select distinct(fcolor) from (") + QLatin1Char('\n') +
            QStringLiteral("select fcolor from ba_goodscolor where fcolor is not null") +
            QLatin1Char('\n') + QStringLiteral("union all") + QLatin1Char('\n') +
            QStringLiteral("select colorname_ch from ba_color where colorname_ch is not null)a") +
            QLatin1Char('\n') + QStringLiteral("order by fcolor"));
    TGridColumn* col = GridColorView->Column(QStringLiteral("goodscolor"));
    col->ClearItems();
    for (DBcolordesc->First(); !DBcolordesc->Eof(); DBcolordesc->Next())
        col->AddItem(DBcolordesc->Fields(0).AsString());
}

void Tfrm_goods::applyCaptions() {
    md::OpenQuery(
        *DBtmp,
        QStringLiteral("select * from dbo.ba_fieldremark where ftablename='goods' order by fid"));
    for (DBtmp->First(); !DBtmp->Eof(); DBtmp->Next()) {
        const QString name = DBtmp->FieldByName(QStringLiteral("fname")).AsString().trimmed();
        for (const char* renamable : kRenamable) {
            if (name.compare(QLatin1String(renamable), Qt::CaseInsensitive) != 0) continue;
            cxDBVerticalGrid1->Row(name)->caption(
                DBtmp->FieldByName(QStringLiteral("fFieldremark")).AsString().trimmed());
        }
    }
    DBtmp->Close();
    if (PackingMode) cxDBVerticalGrid1->Row(QStringLiteral("mat"))->caption(kMatCaption);
}

void Tfrm_goods::fillFieldCaptions() {
    md::OpenQuery(
        *DBtmp, QStringLiteral(
                    "select * from ba_fieldremark where ftablename='Goods' and fname<>'goodsid'") +
                    CR + QStringLiteral(" and fname<>'unitprice' order by fid"));
    Combo_Field->clear();
    for (DBtmp->First(); !DBtmp->Eof(); DBtmp->Next())
        Combo_Field->addItem(DBtmp->FieldByName(QStringLiteral("ffieldremark")).AsString());
    Combo_Field->setCurrentIndex(-1);
    DBtmp->Close();
}

void Tfrm_goods::setupSpecialEditors() {
    // The supplier and employee tables belong to other parts of the system; a
    // database without them keeps the value lists.
    const md::sql::Catalog& catalog = md::Session().Connection->catalog();
    TPropertyRow* patter = cxDBVerticalGrid1->Row(QStringLiteral("patter"));
    if (patter->Caption() == QStringLiteral("供应商") &&
        catalog.table(QStringLiteral("dt_supplier"))) {
        md::OpenQuery(*DBsupplier,
                      QStringLiteral("select fcode,fabbrev from dt_supplier where category=1"));
        patter
            ->lookup(DBsupplier, QStringLiteral("fabbrev"),
                     {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                     {QStringLiteral("编号"), QStringLiteral("简称")})
            .upperCase();
    }
    TPropertyRow* field1 = cxDBVerticalGrid1->Row(QStringLiteral("field1"));
    if (field1->Caption() != QStringLiteral("设计师") ||
        !catalog.table(QStringLiteral("ba_salevalues")) ||
        !catalog.table(QStringLiteral("Dt_Employee")))
        return;
    md::OpenQuery(*DBtmp, QStringLiteral("select distinct(ftypename) from ba_salevalues"));
    const bool schemes = !DBtmp->IsEmpty();
    DBtmp->Close();
    if (!schemes) return;
    md::OpenQuery(
        *DBemployee,
        QStringLiteral(
            "select a.fcode,fnamech,b.fname as deptname from dbo.Dt_Employee a left join  "
            "ba_Department b on a.fdeptcode=b.fcode where fcaceltype=1"));
    field1->lookup(DBemployee, QStringLiteral("fcode"),
                   {QStringLiteral("fcode"), QStringLiteral("fnamech")},
                   {QStringLiteral("编号"), QStringLiteral("姓名")});
}

void Tfrm_goods::updatePictureCaption() {
    const TField* picture =
        DBmaster_table->Active() ? DBmaster_table->FindField(QStringLiteral("picture")) : nullptr;
    const bool has = picture && !DBmaster_table->IsEmpty() && !picture->AsString().isEmpty();
    Label_Picture->setText(has ? QStringLiteral("双击显示图片")
                               : QStringLiteral("尚未加载图片，双击加载图片"));
}

void Tfrm_goods::FormClose() {
    if (m_viewer) m_viewer->Close();
    // Each step on its own: a failing one is shown and the window still closes.
    Run([this] { sendListChanges(); });
    Run([] { md::ExecuteSQL(QStringLiteral("exec updategoodsfield")); });
    Tbase_frmDictMdi::FormClose();
}

void Tfrm_goods::showEvent(QShowEvent* event) {
    Tbase_frmDictMdi::showEvent(event);
    ShowListPage();
}

void Tfrm_goods::PostPendingEdits() {
    Tbase_frmDictMdi::PostPendingEdits();
    cxDBVerticalGrid1->PostEditor();
}

void Tfrm_goods::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_goods::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

MD_REGISTER_FORM(Tfrm_goods);
