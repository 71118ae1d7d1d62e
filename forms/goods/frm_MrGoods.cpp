#include "frm_MrGoods.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "frm_MrGoodsImage.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sizeslots.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

// The sample columns whose custom caption (ba_fieldremark) names both the list
// column and the editor's label, and those that have only a list column.
const char* const kCaptionedEditors[] = {"goodsid", "goodsname", "brand",  "ayear",
                                         "season",  "sort",      "style",  "item",
                                         "patter",  "masterial", "lining", "whence"};
const char* const kCaptionedColumns[] = {"unit", "catena", "sex", "mat", "standard", "unitprice"};

// The editors whose value lists are the values the samples already have.
const char* const kValueListFields[] = {"goodsname", "brand", "masterial", "lining", "ayear",
                                        "season",    "sort",  "whence",    "patter", "item"};

// While alive, the form itself writes colour rows (save, cancel): the rule that
// only an edited sample lets them change does not apply.
class InternalWrites {
  public:
    explicit InternalWrites(int& counter) : m_counter(counter) { ++m_counter; }
    ~InternalWrites() { --m_counter; }
    InternalWrites(const InternalWrites&) = delete;
    InternalWrites& operator=(const InternalWrites&) = delete;

  private:
    int& m_counter;
};

QString freshKey() {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select top 1 * from dbo.V_GetPassWord12"));
    return query.IsEmpty() ? QString() : query.Fields(0).AsString();
}

}  // namespace

Tfrm_MrGoods::Tfrm_MrGoods(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("版单款号"));
    DBmaster_table->SetSQL(QStringLiteral("select * from mr_goods"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    // The editors take input only after "新增" or "修改".
    DbMaster_Source->SetAutoEdit(false);

    DBcolor = new TRemoteUdpDataSet(QStringLiteral("DBcolor"), this);
    DBcolor->SetSQL(QStringLiteral(
        "select a.fgoodsid,a.fcolorid,b.colorname_ch,a.fcolor from mr_goodscolor a join ba_color "
        "b on a.fcolorid=b.colorid where a.fgoodsid=:fgoodsid"));
    ColorUpdateSql = new TRemoteUpdateSql(this);
    ColorUpdateSql->setObjectName(QStringLiteral("ColorUpdateSql"));
    ColorUpdateSql->InsertSQL = QStringLiteral(
        "insert into mr_goodscolor(fgoodsid,fcolorid,fcolor)values(:fgoodsid,:fcolorid,:fcolor)");
    ColorUpdateSql->ModifySQL = QStringLiteral(
        "update mr_goodscolor set fcolorid=:fcolorid,fcolor=:fcolor where "
        "fgoodsid=:fgoodsid and fcolorid=:fcolorid");
    ColorUpdateSql->DeleteSQL =
        QStringLiteral("delete from mr_goodscolor where fgoodsid=:fgoodsid and fcolorid=:fcolorid");
    DBcolor->SetupDataObject(ColorUpdateSql);
    DScolor = new TDataSource(QStringLiteral("DScolor"), this);
    DScolor->setDataSet(DBcolor);
    // The colours follow the current sample and are saved with it.
    ColorLink = LinkDetail(DBcolor, {{QStringLiteral("goodsid"), QStringLiteral("fgoodsid")}});

    DBsize = new TRemoteUdpDataSet(QStringLiteral("DBsize"), this);
    DBbacolor = new TRemoteUdpDataSet(QStringLiteral("DBbacolor"), this);
    DBcolordesc = new TRemoteUdpDataSet(QStringLiteral("DBcolordesc"), this);

    convert_action = NewAction(QStringLiteral("convert_action"), QStringLiteral("转为货品档案"),
                               [this] { convert_actionExecute(); });
    import_action = NewAction(QStringLiteral("import_action"), QStringLiteral("批量导入"),
                              [this] { import_actionExecute(); });
    picture_action = NewAction(QStringLiteral("picture_action"), QStringLiteral("样板图片"),
                               [this] { picture_actionExecute(); });
    picture_action->setShortcut(Qt::Key_F7);
    HideActions({first_action, prio_action, next_action, last_action});
    SetToolbar({append_action, edit_action, post_action, cacel_action, del_action, nullptr,
                convert_action, import_action, nullptr, find_action, print_action, excel_action,
                close_action});

    // Above the list: the sample's editors and its colours.
    auto* top = new QWidget(ClientPanel);
    top->setObjectName(QStringLiteral("TopPanel"));
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(6, 6, 6, 6);
    buildEditPanel(top);
    buildColorGrid(top);
    // The editors keep their rows together at the top; the colours take the
    // height of the editors, the list below takes the rest.
    auto* editors = new QVBoxLayout;
    editors->addWidget(EditPanel);
    editors->addStretch(1);
    topLayout->addLayout(editors, 1);
    topLayout->addWidget(GridColor);
    top->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    GridColor->setMaximumHeight(EditPanel->sizeHint().height() + 12);
    static_cast<QVBoxLayout*>(ClientPanel->layout())->insertWidget(0, top);

    TDBTableView* v = cxGrid1DBTableView1;
    auto column = [v](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .readOnly();
    };
    column("goodsid", "款号", 90).footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    column("goodsname", "款式名称", 130);
    column("brand", "品牌", 70);
    column("ayear", "年份", 55);
    column("season", "季节", 50);
    column("sort", "类别", 70);
    column("size_class", "尺码类别", 70).hidden();
    column("style", "系列", 70).hidden();
    column("masterial", "面料", 70);
    column("lining", "里料", 70);
    column("fnewgoodsid", "对应成品货号", 110);
    column("patter", "供应商", 80).hidden();
    column("item", "厂商货号", 80).hidden();
    column("whence", "产地", 70).hidden();
    column("unit", "单位", 50).hidden();
    column("catena", "底台", 70).hidden();
    column("sex", "性别", 50).hidden();
    column("unitprice", "吊牌价", 70).hidden().currency(QStringLiteral("0.00"));
    column("standard", "执行标准", 80).hidden();
    column("mat", "垫脚", 70).hidden();
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    resize(1000, 640);
}

void Tfrm_MrGoods::buildEditPanel(QWidget* parent) {
    EditPanel = new TFieldPanel(DbMaster_Source, 3, parent);
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    TFieldPanel* p = EditPanel;
    auto valueList = [this, p](const char* label, const char* field) {
        auto* combo =
            new TDBComboBox(DbMaster_Source, QString::fromLatin1(field), {}, true, EditPanel);
        p->AddEditor(QString::fromUtf8(label), combo, QString::fromLatin1(field));
    };
    Edit_goodsid = &p->AddEdit(QStringLiteral("款号:"), QStringLiteral("goodsid"));
    Edit_goodsid->SetUpperCase(true);
    valueList("品名:", "goodsname");
    valueList("品牌:", "brand");
    valueList("年份:", "ayear");
    valueList("季节:", "season");
    valueList("类别:", "sort");
    Lookup_size = new TDBLookupComboBox(DbMaster_Source, QStringLiteral("size_class"), EditPanel);
    p->AddEditor(QStringLiteral("尺码组:"), Lookup_size, QStringLiteral("size_class"));
    p->AddEdit(QStringLiteral("系列:"), QStringLiteral("style"));
    valueList("面料:", "masterial");
    valueList("里料:", "lining");
    valueList("供应商:", "patter");
    valueList("厂商货号:", "item");
    valueList("产地:", "whence");
    Edit_newgoodsid = &p->AddEdit(QStringLiteral("对应成品货号:"), QStringLiteral("fnewgoodsid"));
    Edit_newgoodsid->SetUpperCase(true);
    // Names and codes are read whole.
    for (QWidget* editor : EditPanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QLabel*>(editor)) editor->setMinimumWidth(110);
}

void Tfrm_MrGoods::buildColorGrid(QWidget* parent) {
    GridColor = new TDBGrid(parent, QStringLiteral("GridColor"), QStringLiteral("GridColorView"));
    GridColor->setFixedWidth(330);
    GridColorView = GridColor->View();
    GridColorView->setDataSource(DScolor);
    TDBTableView* v = GridColorView;
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号"))
        .width(80)
        .upperCase()
        .lookup(DBbacolor, QStringLiteral("colorid"),
                {QStringLiteral("colorid"), QStringLiteral("colorname_ch")},
                {QStringLiteral("颜色编号"), QStringLiteral("颜色名称")});
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色名称"))
        .width(90)
        .lookup(DBbacolor, QStringLiteral("colorname_ch"), {QStringLiteral("colorname_ch")},
                {QStringLiteral("颜色名称")});
    v->AddColumn(QStringLiteral("fcolor"), QStringLiteral("颜色说明"))
        .width(120)
        .valueList({}, true);
    TGridViewOptions& options = v->Options();
    options.Footer = false;
    options.ColumnSorting = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);

    // Colour rows change only while the sample is being edited.
    auto refuse = [this](TRemoteUdpDataSet&) {
        if (m_internal == 0 && !Editing()) Abort();
    };
    DBcolor->BeforeInsert = refuse;
    DBcolor->BeforeEdit = refuse;
    DBcolor->BeforeDelete = refuse;
    DBcolor->BeforePost = [this](TRemoteUdpDataSet& ds) {
        if (ds.FieldByName(QStringLiteral("fcolorid")).AsString().isEmpty())
            Refuse(QStringLiteral("请选择颜色编号！"));
        ds.FieldByName(QStringLiteral("fgoodsid"))
            .SetAsString(DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString());
    };
    DBcolor->AfterOpen = [this](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fcolorid")).OnChange = [this](TField&) {
            colorCodeChanged();
        };
        ds.FieldByName(QStringLiteral("colorname_ch")).OnChange = [this](TField&) {
            colorNameChanged();
        };
        // A description typed that the list does not know joins it for the session.
        ds.FieldByName(QStringLiteral("fcolor")).OnChange = [this](TField& field) {
            if (TGridColumn* column = GridColorView->Column(QStringLiteral("fcolor")))
                if (!field.AsString().isEmpty()) column->AddItem(field.AsString());
        };
    };
}

// ---------------------------------------------------------------- creation

void Tfrm_MrGoods::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    md::OpenQuery(*DBbacolor, QStringLiteral("select * from ba_color"));
    FillValueLists();
    fillSizeLookup();
    md::OpenQuery(*DBcolordesc, QStringLiteral("select distinct(fcolor) from mr_goodscolor"));
    if (TGridColumn* column = GridColorView->Column(QStringLiteral("fcolor"))) {
        column->ClearItems();
        for (DBcolordesc->First(); !DBcolordesc->Eof(); DBcolordesc->Next())
            if (const QString text = DBcolordesc->Fields(0).AsString(); !text.isEmpty())
                column->AddItem(text);
    }
    applyCaptions();
    DBmaster_table->Open();  // the colours follow through their link
    UpdateActionState();
}

void Tfrm_MrGoods::FillValueLists() {
    TRemoteUdpDataSet values;
    for (const char* name : kValueListFields) {
        const QString field = QString::fromLatin1(name);
        auto* combo = qobject_cast<TDBComboBox*>(EditPanel->Editor(field));
        if (!combo) continue;
        md::OpenQuery(
            values, QStringLiteral("select distinct(") + field + QStringLiteral(") from mr_goods"));
        QStringList items;
        for (values.First(); !values.Eof(); values.Next())
            if (const QString text = values.Fields(0).AsString(); !text.isEmpty()) items << text;
        combo->clear();
        combo->addItems(items);
        combo->DataLink()->Show();
    }
}

void Tfrm_MrGoods::fillSizeLookup() {
    // The size groups with their sizes, so the user sees what each group holds.
    md::OpenQuery(*DBsize, QStringLiteral("select * from v_size"));
    QStringList shown{QStringLiteral("size_class")};
    QStringList captions{QStringLiteral("尺码类别")};
    for (int slot = 1; slot <= qMin(md::Shared().SizeSlotCount, md::kSizeSlotMax); ++slot) {
        shown << QStringLiteral("S%1").arg(slot);
        captions << QStringLiteral("S%1").arg(slot);
    }
    Lookup_size->setList(DBsize, QStringLiteral("size_class"), shown, captions);
}

void Tfrm_MrGoods::applyCaptions() {
    TRemoteUdpDataSet remarks;
    md::OpenQuery(remarks, QStringLiteral("select * from ba_fieldremark where ftablename='goods'"));
    auto listed = [](const auto& names, const QString& field) {
        for (const char* name : names)
            if (field.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    for (remarks.First(); !remarks.Eof(); remarks.Next()) {
        const QString field = remarks.FieldByName(QStringLiteral("fname")).AsString().trimmed();
        const QString caption =
            remarks.FieldByName(QStringLiteral("fFieldremark")).AsString().trimmed();
        if (caption.isEmpty()) continue;
        const bool withEditor = listed(kCaptionedEditors, field);
        if (!withEditor && !listed(kCaptionedColumns, field)) continue;
        if (TGridColumn* column = cxGrid1DBTableView1->Column(field)) column->caption(caption);
        // The labels keep the colon the form's own labels have.
        if (QLabel* label = withEditor ? EditorLabel(field) : nullptr)
            label->setText(caption + QLatin1Char(':'));
    }
}

QWidget* Tfrm_MrGoods::Editor(const QString& field) const {
    return EditPanel->Editor(field);
}

QLabel* Tfrm_MrGoods::EditorLabel(const QString& field) const {
    QWidget* editor = Editor(field);
    if (!editor) return nullptr;
    for (QLabel* label : EditPanel->findChildren<QLabel*>())
        if (label->buddy() == editor) return label;
    return nullptr;
}

// ---------------------------------------------------------------- keys and state

bool Tfrm_MrGoods::FormKeyPress(QKeyEvent& event) {
    // In the editors Enter moves on; the grids keep it for their cells.
    QWidget* focus = focusWidget();
    if (focus && EditPanel->isAncestorOf(focus) && FocusNextOnEnter(event)) return true;
    return Tbase_frmDictMdi::FormKeyPress(event);
}

bool Tfrm_MrGoods::codeEditable() const {
    // A saved sample keeps its code; a new one (also one whose save failed) takes any.
    return DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
}

void Tfrm_MrGoods::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    const bool editing = Editing();
    convert_action->setEnabled(!editing && RightAdd);
    import_action->setEnabled(!editing && RightAdd);
    GridColorView->SetInputAllowed(editing);
    Edit_goodsid->setEnabled(!DBmaster_table->InEditState() || codeEditable());
    // The list stays on the sample being edited until it is saved or dropped.
    cxGrid1->setEnabled(!DBmaster_table->InEditState());
}

// ---------------------------------------------------------------- colours

void Tfrm_MrGoods::colorCodeChanged() {
    if (m_colorSync || !DBbacolor->Active()) return;
    QScopedValueRollback<bool> sync(m_colorSync, true);
    const QString code = DBcolor->FieldByName(QStringLiteral("fcolorid")).AsString();
    if (!DBbacolor->Locate(QStringLiteral("colorid"), code, loCaseInsensitive)) return;
    DBcolor->FieldByName(QStringLiteral("fcolorid"))
        .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorid")).AsString());
    DBcolor->FieldByName(QStringLiteral("colorname_ch"))
        .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorname_ch")).AsString());
}

void Tfrm_MrGoods::colorNameChanged() {
    if (m_colorSync || !DBbacolor->Active()) return;
    QScopedValueRollback<bool> sync(m_colorSync, true);
    const QString name = DBcolor->FieldByName(QStringLiteral("colorname_ch")).AsString();
    if (!DBbacolor->Locate(QStringLiteral("colorname_ch"), name, loCaseInsensitive)) return;
    DBcolor->FieldByName(QStringLiteral("fcolorid"))
        .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorid")).AsString());
}

// ---------------------------------------------------------------- record actions

void Tfrm_MrGoods::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("inputdate")).SetAsDate(QDate::currentDate());
}

void Tfrm_MrGoods::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString().isEmpty())
        Refuse(QStringLiteral("请输入货号!"));
    if (DBmaster_table->FieldByName(QStringLiteral("size_class")).AsString().isEmpty())
        Refuse(QStringLiteral("请选择尺码类别!"));
}

void Tfrm_MrGoods::append_actionExecute() {
    Tbase_frmDictMdi::append_actionExecute();
    Edit_goodsid->setFocus();
}

void Tfrm_MrGoods::edit_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    Tbase_frmMdi::edit_actionExecute();
    if (QWidget* name = Editor(QStringLiteral("goodsname"))) name->setFocus();
}

void Tfrm_MrGoods::post_actionExecute() {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    if (connection->InTransaction()) connection->RollbackTrans();
    Edit_goodsid->setEnabled(true);
    InternalWrites internal(m_internal);
    if (DBcolor->Active() && DBcolor->InEditState()) DBcolor->Post();
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    try {
        // The sample and its colours (each taking the sample's code) in one transaction.
        SaveRecordAndDetails();
    } catch (const EAbort&) {
        throw;
    } catch (...) {
        // Everything stays cached: back to editing the sample as typed.
        if (!DBmaster_table->IsEmpty() && !DBmaster_table->InEditState()) DBmaster_table->Edit();
        UpdateActionState();
        throw;
    }
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tfrm_MrGoods::cacel_actionExecute() {
    GridColorView->CancelEditor();
    Tbase_frmDictMdi::cacel_actionExecute();
    InternalWrites internal(m_internal);
    CancelDetails();
    ColorLink->Open();
    UpdateActionState();
}

void Tfrm_MrGoods::del_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    if (!md::ui::AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    const QString code = DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString();
    TRemoteUdpConnection* connection = DBmaster_table->SetupUdpParent();
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    {
        // The sample goes with its colours, or neither goes.
        TTransactionScope transaction(*connection);
        DBmaster_table->Delete();
        DBmaster_table->UpdateBatch();
        md::ExecuteSQL(QStringLiteral("delete from mr_goodscolor where fgoodsid=:fgoodsid"),
                       {{QStringLiteral("fgoodsid"), code}});
        transaction.commit();
    }
    UpdateActionState();
    WriteLog(QStringLiteral("删除"));
}

// ---------------------------------------------------------------- own actions

void Tfrm_MrGoods::convert_actionExecute() {
    if (Editing() || !RightAdd) Abort();
    TRemoteUdpDataSet goods, colours, samples, sampleColours;
    md::OpenQuery(goods, QStringLiteral("select goodsid,goodsname,brand,ayear,season,sort,"
                                        "size_class,style,masterial,lining,inputdate,item from "
                                        "goods"));
    md::OpenQuery(colours, QStringLiteral("select * from goodscolor"));
    md::OpenQuery(samples, QStringLiteral("select * from mr_goods"));
    md::OpenQuery(sampleColours, QStringLiteral("select fgoodsid,fcolorid from mr_goodscolor"));
    QHash<QString, QStringList> coloursOf;  // by upper-case sample code, in stored order
    for (sampleColours.First(); !sampleColours.Eof(); sampleColours.Next())
        coloursOf[sampleColours.Fields(0).AsString().toUpper()]
            << sampleColours.Fields(1).AsString();

    auto copy = [&samples, &goods](const char* field) {
        const QString name = QString::fromLatin1(field);
        goods.FieldByName(name).SetValue(samples.FieldByName(name).Value());
    };
    QList<QPair<QString, QString>> made;  // goods code, its GoodsNo
    for (samples.First(); !samples.Eof(); samples.Next()) {
        const QString target =
            samples.FieldByName(QStringLiteral("fnewgoodsid")).AsString().trimmed();
        // A target code in use already, also by a sample converted just now, is skipped whole.
        if (target.isEmpty() || goods.Locate(QStringLiteral("goodsid"), target, loCaseInsensitive))
            continue;
        const QString sampleCode = samples.FieldByName(QStringLiteral("goodsid")).AsString();
        const QString goodsNo = freshKey();
        goods.Append();
        goods.FieldByName(QStringLiteral("goodsid")).SetAsString(target);
        for (const char* field : {"goodsname", "brand", "ayear", "season", "sort", "size_class",
                                  "style", "masterial", "inputdate"})
            copy(field);
        goods.FieldByName(QStringLiteral("item")).SetAsString(sampleCode);
        goods.Post();
        made << qMakePair(target, goodsNo);
        for (const QString& colour : coloursOf.value(sampleCode.toUpper())) {
            if (colours.Locate(QStringLiteral("fgoodsid;fcolorid"), QVariantList{target, colour},
                               loCaseInsensitive))
                continue;
            colours.Append();
            colours.FieldByName(QStringLiteral("fgoodsid")).SetAsString(target);
            colours.FieldByName(QStringLiteral("fcolorid")).SetAsString(colour);
            // Keys the goods form addresses goods and colour rows by.
            colours.FieldByName(QStringLiteral("GoodsNo")).SetAsString(goodsNo);
            colours.FieldByName(QStringLiteral("ColorNo")).SetAsString(freshKey());
            colours.Post();
        }
    }

    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    TTransactionScope transaction(*connection);
    goods.UpdateBatch();
    for (const auto& [code, goodsNo] : made)
        md::ExecuteSQL(QStringLiteral("update goods set goodsno=:goodsno where goodsid=:goodsid"),
                       {{QStringLiteral("goodsno"), goodsNo}, {QStringLiteral("goodsid"), code}});
    colours.UpdateBatch();
    md::ExecuteSQL(QStringLiteral(
        "update mr_smp set fgoodsid=b.fnewgoodsid from mr_smp a join mr_goods b on "
        "a.foldgoodsid=b.goodsid where b.fnewgoodsid is not null and isnull(a.fgoodsid,'')=''"));
    transaction.commit();
}

void Tfrm_MrGoods::import_actionExecute() {
    if (Editing() || !RightAdd) Abort();
    // The import is told its target before it is shown.
    if (md::ui::FormFactory factory = md::ui::formFactoryFor("Tfrm_GoodsBathIN")) {
        QPointer<QDialog> import = factory(this);
        if (import) {
            import->setProperty("TargetName", QStringLiteral("Mr_Goods"));
            md::ui::ExecModal(*import);
        }
    }
    md::OpenQuery(*DBmaster_table, QStringLiteral(" select * from Mr_goods"));
    FillValueLists();
    UpdateActionState();
}

void Tfrm_MrGoods::picture_actionExecute() {
    const QString code = Edit_goodsid->text().trimmed();
    if (code.isEmpty()) return;
    Tfrm_MrGoodsImage::Execute(code, this);
}

MD_REGISTER_FORM(Tfrm_MrGoods);
