// The goods record: new, edit, save, cancel, copy and delete; colours, item
// prices and the picture that follow it.
#include <QAction>
#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QScopedValueRollback>
#include <QTabWidget>

#include "codes/frm_color.h"
#include "datasource.h"
#include "dbchecks.h"
#include "formfactory.h"
#include "frm_GoodsField.h"
#include "frm_GoodsPicShow.h"
#include "frm_goods.h"
#include "grid.h"
#include "messages.h"
#include "propertygrid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"

using namespace md::ui;

namespace {

const QChar CR(13);

// While alive, the form itself changes child rows (save, copy, cancel): the
// rule that only an edited goods record lets them change does not apply.
class InternalWrites {
  public:
    explicit InternalWrites(int& counter) : m_counter(counter) { ++m_counter; }
    ~InternalWrites() { --m_counter; }
    InternalWrites(const InternalWrites&) = delete;
    InternalWrites& operator=(const InternalWrites&) = delete;

  private:
    int& m_counter;
};

}  // namespace

// ---------------------------------------------------------------- events

void Tfrm_goods::bindDataSetEvents() {
    auto refuse = [this](TRemoteUdpDataSet&) { refuseUnlessEditing(); };
    for (TRemoteUdpDataSet* ds : {DBcolor, DBitemprice}) {
        ds->BeforeInsert = refuse;
        ds->BeforeEdit = refuse;
        ds->BeforeDelete = refuse;
    }
    DBcolor->OnNewRecord = [this](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("GoodsNo"))
            .SetAsString(DBmaster_table->FieldByName(QStringLiteral("goodsno")).AsString());
        ds.FieldByName(QStringLiteral("ColorNo")).SetAsString(freshKey());
    };
    // A posted row shows the goods code and GoodsNo at once; the link writes
    // them again when the save sends it, should the goods code change meanwhile.
    auto takeGoods = [this](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fgoodsid")).SetAsString(goodsCode());
        ds.FieldByName(QStringLiteral("GoodsNo"))
            .SetAsString(DBmaster_table->FieldByName(QStringLiteral("goodsno")).AsString());
    };
    DBcolor->BeforePost = [takeGoods](TRemoteUdpDataSet& ds) {
        if (ds.FieldByName(QStringLiteral("fcolorid")).AsString().isEmpty())
            Refuse(QStringLiteral("请选择颜色编号！"));
        takeGoods(ds);
    };
    DBcolor->AfterOpen = [this](TRemoteUdpDataSet& ds) {
        ds.FieldByName(QStringLiteral("fcolorid")).OnChange = [this](TField&) {
            colorCodeChanged();
        };
        ds.FieldByName(QStringLiteral("colorname_ch")).OnChange = [this](TField&) {
            colorNameChanged();
        };
    };

    DBitemprice->BeforePost = [takeGoods](TRemoteUdpDataSet& ds) {
        if (ds.FieldByName(QStringLiteral("fitem")).AsString().isEmpty())
            Refuse(QStringLiteral("请输入项目名称！"));
        takeGoods(ds);
    };
    DBitemprice->AfterOpen = [this](TRemoteUdpDataSet& ds) {
        // A new item name joins the list the column offers.
        ds.FieldByName(QStringLiteral("fitem")).OnChange = [this](TField& field) {
            if (TGridColumn* col = GridItemPriceView->Column(QStringLiteral("fitem")))
                if (!field.AsString().isEmpty()) col->AddItem(field.AsString());
        };
    };

    DBimage->BeforePost = takeGoods;

    connect(DbMaster_Source, &TDataSource::dataChanged, this,
            [this](int) { updatePictureCaption(); });
    connect(DbMaster_Source, &TDataSource::stateChanged, this, [this] { updatePictureCaption(); });
    // The navigation buttons follow the list's position.
    connect(DSgoodslist, &TDataSource::dataChanged, this, [this](int field) {
        if (field < 0) Run([this] { UpdateActionState(); });
    });
}

void Tfrm_goods::refuseUnlessEditing() {
    if (m_internal == 0 && !Editing()) Abort();
}

void Tfrm_goods::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    // A code typed into "货号*" must not belong to another goods item.
    DBmaster_table->FieldByName(QStringLiteral("goodsid")).OnValidate = [this](TField& field) {
        if (m_internal > 0) return;
        const QString code = field.AsString();
        if (code.isEmpty() || code.compare(field.OldValue().toString(), Qt::CaseInsensitive) == 0)
            return;
        if (QueryReturnsRow(QStringLiteral("select top 1 goodsid from goods where goodsid='") +
                            SqlText(code) + QStringLiteral("'")))
            Refuse(QStringLiteral("此货号已存在，请重新录入！"));
    };
    updatePictureCaption();
}

void Tfrm_goods::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("inputdate")).SetAsDate(QDate::currentDate());
    DBmaster_table->FieldByName(QStringLiteral("strat")).SetAsBoolean(true);
    DBmaster_table->FieldByName(QStringLiteral("goodsno")).SetAsString(freshKey());
    DBmaster_table->FieldByName(QStringLiteral("unitprice")).SetAsFloat(0);
    for (int i = 1; i <= 6; ++i)
        DBmaster_table->FieldByName(QStringLiteral("price%1").arg(i)).SetAsFloat(0);
}

void Tfrm_goods::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString().isEmpty())
        Refuse(QStringLiteral("请输入货号!"));
    if (DBmaster_table->FieldByName(QStringLiteral("size_class")).AsString().isEmpty())
        Refuse(QStringLiteral("请选择尺码类别!"));
}

QString Tfrm_goods::goodsCode() const {
    if (!DBmaster_table->Active() ||
        (DBmaster_table->IsEmpty() && DBmaster_table->State() != dsInsert))
        return QString();
    return DBmaster_table->FieldByName(QStringLiteral("goodsid")).AsString();
}

QString Tfrm_goods::freshKey() {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select top 1 * from dbo.V_GetPassWord12"));
    return query.IsEmpty() ? QString() : query.Fields(0).AsString();
}

// ---------------------------------------------------------------- following the goods record

void Tfrm_goods::OpenGoods(const QString& code) {
    DBmaster_table->Close();
    DBmaster_table->ParamByName(u"goodsid").SetAsString(code);
    DBmaster_table->Open();  // colours and item prices follow through their links
    // Goods made from sample styles come without the GoodsNo the form's own
    // statements address an item by: such an item gets one when first read here.
    if (!DBmaster_table->IsEmpty() &&
        DBmaster_table->FieldByName(QStringLiteral("goodsno")).AsString().isEmpty()) {
        const ParamMap key{{QStringLiteral("goodsno"), freshKey()},
                           {QStringLiteral("goodsid"), goodsCode()}};
        md::Session().Connection->ExecSQL(
            QStringLiteral("update goods set goodsno=:goodsno where goodsid=:goodsid and "
                           "isnull(goodsno,'')=''"),
            &key);
        DBmaster_table->Refresh();
    }
    // The viewer, when open, follows the goods item; otherwise the picture waits for a double
    // click.
    if (m_viewer && m_viewer->isVisible())
        PictureLink->Open();
    else
        DBimage->Close();
    UpdateActionState();
}

bool Tfrm_goods::hasPicture() const {
    return DBimage->Active() && !DBimage->IsEmpty() &&
           !DBimage->FieldByName(QStringLiteral("fimage")).Value().toByteArray().isEmpty();
}

void Tfrm_goods::LoadPicture() {
    // A picture being assigned stays; otherwise the current goods item's record is read.
    if (!DBimage->Active() || !DBimage->InEditState()) PictureLink->Open();
    if (Editing() && !DBimage->InEditState()) {
        if (DBimage->IsEmpty())
            DBimage->Append();
        else
            DBimage->Edit();
    }
}

void Tfrm_goods::AssignPicture(const QByteArray& bytes) {
    if (!Editing()) Abort();
    QByteArray jpeg = bytes;
    if (!bytes.startsWith("\xFF\xD8\xFF")) {
        const QImage image = QImage::fromData(bytes);
        if (image.isNull()) throw EDatabaseError(QStringLiteral("无法识别的图片格式"));
        jpeg.clear();
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 90);
    }
    LoadPicture();
    DBimage->FieldByName(QStringLiteral("fimage")).SetValue(jpeg);
    DBmaster_table->FieldByName(QStringLiteral("picture")).SetAsString(QStringLiteral("true"));
}

void Tfrm_goods::loadpic_actionExecute() {
    if (!Editing()) return;
    QFileDialog dialog(this, QStringLiteral("加载图片"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("JPEG 图片 (*.jpg *.jpeg)"),
                           QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp)")});
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QFile file(dialog.selectedFiles().first());
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("无法读取文件 %1").arg(file.fileName()));
    AssignPicture(file.readAll());
}

void Tfrm_goods::clearpic_actionExecute() {
    if (!Editing()) return;
    LoadPicture();
    DBimage->FieldByName(QStringLiteral("fimage")).Clear();
}

void Tfrm_goods::showpic_actionExecute() {
    if (!DBimage->Active() || (!DBimage->InEditState() && !PictureLink->IsCurrent()))
        PictureLink->Open();
    if (!m_viewer) m_viewer = CreateForm<Tfrm_GoodsPicShow>(this);
    m_viewer->SetPictureDataSet(DBimage);
    m_viewer->show();
    m_viewer->raise();
}

// ---------------------------------------------------------------- colours

void Tfrm_goods::colorCodeChanged() {
    if (m_colorSync) return;
    QScopedValueRollback<bool> sync(m_colorSync, true);
    TField& code = DBcolor->FieldByName(QStringLiteral("fcolorid"));
    const QString typed = code.AsString();
    if (DBbacolor->Active() &&
        DBbacolor->Locate(QStringLiteral("colorid"), typed, loCaseInsensitive)) {
        if (DBbacolor->FieldByName(QStringLiteral("colorid")).AsString() != typed)
            code.SetAsString(DBbacolor->FieldByName(QStringLiteral("colorid")).AsString());
        DBcolor->FieldByName(QStringLiteral("colorname_ch"))
            .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorname_ch")).AsString());
        DBcolor->FieldByName(QStringLiteral("colorname_en"))
            .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorname_en")).AsString());
    }
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select top 1 colorname_ch from ba_color where colorid='") +
                             SqlText(code.AsString()) + QStringLiteral("'"));
    if (!query.IsEmpty())
        DBcolor->FieldByName(QStringLiteral("colorname_ch"))
            .SetAsString(query.Fields(0).AsString());
}

void Tfrm_goods::colorNameChanged() {
    if (m_colorSync) return;
    QScopedValueRollback<bool> sync(m_colorSync, true);
    const QString name = DBcolor->FieldByName(QStringLiteral("colorname_ch")).AsString();
    if (!DBbacolor->Active() ||
        !DBbacolor->Locate(QStringLiteral("colorname_ch"), name, loCaseInsensitive))
        return;
    DBcolor->FieldByName(QStringLiteral("fcolorid"))
        .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorid")).AsString());
    DBcolor->FieldByName(QStringLiteral("colorname_en"))
        .SetAsString(DBbacolor->FieldByName(QStringLiteral("colorname_en")).AsString());
}

void Tfrm_goods::addcolor_actionExecute() {
    if (!Editing()) return;
    DBcolor->Append();
    ShowDetailPage();
    PageControl2->setCurrentWidget(TabColorPicture);
    GridColorView->setFocus();
}

void Tfrm_goods::delcolor_actionExecute() {
    if (!Editing() || !DBcolor->Active() || DBcolor->IsEmpty()) return;
    if (!AskYesNo(QStringLiteral("是否确认删除此颜色？"))) return;
    DBcolor->Delete();
}

void Tfrm_goods::newcolor_actionExecute() {
    QPointer<Tfrm_color> colors = CreateForm<Tfrm_color>(this);
    ExecModal(*colors);
    if (colors) colors->deleteLater();
    md::OpenQuery(*DBbacolor, QStringLiteral("select * from ba_color"));
}

// ---------------------------------------------------------------- record actions

void Tfrm_goods::append_actionExecute() {
    ShowDetailPage();
    Tbase_frmDictMdi::append_actionExecute();
    InternalWrites internal(m_internal);
    PictureLink->Open();  // colours and item prices are empty for the new record already
    DBimage->Append();
    UpdateActionState();
    cxDBVerticalGrid1->setFocus();
}

void Tfrm_goods::edit_actionExecute() {
    ShowDetailPage();
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;
    const QString code = goodsCode();
    DBmaster_table->Edit();
    if (!PictureLink->IsCurrent()) PictureLink->Open();
    if (!DBimage->InEditState()) {
        if (DBimage->IsEmpty())
            DBimage->Append();
        else
            DBimage->Edit();
    }
    UpdateActionState();
    WriteLog(QStringLiteral("修改"), code);
}

void Tfrm_goods::post_actionExecute() {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    if (connection->InTransaction()) connection->RollbackTrans();
    if (DBcolor->InEditState()) DBcolor->Post();
    if (DBitemprice->Active() && DBitemprice->InEditState()) DBitemprice->Post();
    // The flag says the item has a picture: set when one is there, cleared with
    // a stored picture that was cleared; an empty picture record sets nothing.
    if (DBimage->Active() && DBmaster_table->InEditState()) {
        TField& flag = DBmaster_table->FieldByName(QStringLiteral("picture"));
        if (hasPicture())
            flag.SetAsString(QStringLiteral("true"));
        else if (!DBimage->IsEmpty() && DBimage->UpdateStatus() != usInserted)
            flag.Clear();
    }
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    const QString code = goodsCode();
    // The code the list row has when the save changes an item's code.
    const QString readCode =
        DBmaster_table->UpdateStatus() == usModified
            ? DBmaster_table->FieldByName(QStringLiteral("goodsid")).OldValue().toString()
            : QString();
    const bool saved = saveTransaction();

    // These steps run whether or not the transaction went through.
    reloadColorDescriptions();
    md::ExecuteSQL(QStringLiteral("exec P_UpdateGoodsSize '") + SqlText(code) +
                   QStringLiteral("'"));
    if (AutoBarcode)
        md::ExecuteSQL(QStringLiteral("exec get_BarcodeOneGoods '") + SqlText(code) +
                       QStringLiteral("'"));
    updateListRow(readCode);
    UpdateActionState();
    if (saved) WriteLog(QStringLiteral("保存"), code);
}

// Sends goods, colours and item prices in one transaction, then the colour
// descriptions and the picture. False when something failed: the error has
// been shown, the transaction rolled back and every change is still cached.
bool Tfrm_goods::saveTransaction() {
    // The links carry the goods code into colours and item prices before they
    // are sent, so a changed code takes them along.
    InternalWrites internal(m_internal);
    try {
        SaveRecordAndDetails();
    } catch (const std::exception& error) {
        if (dynamic_cast<const EAbort*>(&error)) throw;
        ShowError(error);
        return false;
    }
    ColorLink->Open();
    UpdateActionState();
    return true;
}

void Tfrm_goods::AfterDetailsCommitted() {
    saveColorDescriptions();
}

void Tfrm_goods::saveColorDescriptions() {
    const QString code = goodsCode();
    const QString goodsNo = DBmaster_table->FieldByName(QStringLiteral("goodsno")).AsString();
    TControlsDisabled still(*DBcolor);
    for (DBcolor->First(); !DBcolor->Eof(); DBcolor->Next()) {
        const QString description = DBcolor->FieldByName(QStringLiteral("goodscolor")).AsString();
        if (description.isEmpty() ||
            description == DBcolor->FieldByName(QStringLiteral("colorname_ch")).AsString())
            continue;
        const QString colorNo = DBcolor->FieldByName(QStringLiteral("ColorNo")).AsString();
        const QString colorId = DBcolor->FieldByName(QStringLiteral("fcolorid")).AsString();
        if (!QueryReturnsRow(QStringLiteral("select top 1 * from ba_goodscolor where ColorNo='") +
                             SqlText(colorNo) + QStringLiteral("'"))) {
            md::ExecuteSQL(
                QStringLiteral(
                    "insert into ba_goodscolor(fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo)") +
                CR + QStringLiteral("values('") + SqlText(code) + QStringLiteral("'") +
                QStringLiteral(",") + QStringLiteral("'") + SqlText(colorId) + QStringLiteral("'") +
                QStringLiteral(",") + QStringLiteral("'") + SqlText(description) +
                QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") + SqlText(goodsNo) +
                QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") + SqlText(colorNo) +
                QStringLiteral("'") + QStringLiteral(")"));
        } else {
            md::ExecuteSQL(QStringLiteral("update ba_goodscolor set fcolor='") +
                           SqlText(description) + QStringLiteral("'") +
                           QStringLiteral(",fgoodsid=") + QStringLiteral("'") + SqlText(code) +
                           QStringLiteral("'") + QStringLiteral(",fcolorid=") +
                           QStringLiteral("'") + SqlText(colorId) + QStringLiteral("'") +
                           QStringLiteral(" where ColorNo=") + QStringLiteral("'") +
                           SqlText(colorNo) + QStringLiteral("'"));
        }
    }
}

void Tfrm_goods::cacel_actionExecute() {
    Tbase_frmDictMdi::cacel_actionExecute();
    InternalWrites internal(m_internal);
    CancelDetails();
    // Read again: what the cancelled edit typed is gone from the rows too.
    ColorLink->Open();
    ItemPriceLink->Open();
    UpdateActionState();
}

void Tfrm_goods::RequireRight(bool right) {
    if (!right) Refuse(QStringLiteral("您没有足够的权限进行此操作!"));
}

void Tfrm_goods::copy_actionExecute() {
    RequireRight(RightAdd);
    // On the list page the selected row is the one copied, not the item read before.
    if (PageControl1->currentWidget() == TabList && !DBmaster_table->InEditState() &&
        listCode() != goodsCode())
        OpenGoods(listCode());
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty() || DBmaster_table->InEditState())
        return;
    post_action->setEnabled(true);
    // The descriptive columns, the tag and sales prices, and the colours.
    QStringList names;
    for (const char* column :
         {"goodsid", "goodssortid", "goodsname", "ayear",  "season",     "brand",     "unit",
          "sort",    "style",       "item",      "patter", "catena",     "sex",       "masterial",
          "lining",  "mat",         "standard",  "whence", "size_class", "unitprice", "price1",
          "price2",  "price3",      "price4",    "price5", "price6"})
        names << QString::fromLatin1(column);
    QVariantList values;
    for (const QString& name : names) values << DBmaster_table->FieldByName(name).Value();
    struct Colour {
        QString id, name, english;
    };
    QList<Colour> colours;
    {
        TControlsDisabled still(*DBcolor);
        for (DBcolor->First(); !DBcolor->Eof(); DBcolor->Next())
            colours << Colour{DBcolor->FieldByName(QStringLiteral("fcolorid")).AsString(),
                              DBcolor->FieldByName(QStringLiteral("colorname_ch")).AsString(),
                              DBcolor->FieldByName(QStringLiteral("colorname_en")).AsString()};
    }
    const QString oldCode = goodsCode();
    const QString newCode = oldCode + QStringLiteral("@");

    InternalWrites internal(m_internal);
    DBmaster_table->Append();
    for (int i = 0; i < names.size(); ++i)
        DBmaster_table->FieldByName(names[i]).SetValue(values[i]);
    DBmaster_table->FieldByName(QStringLiteral("goodsid")).SetAsString(newCode);
    UpdateActionState();

    // The new record's colours are empty (its link read none): the copies go in
    // as they are, without looking them up again.
    {
        QScopedValueRollback<bool> sync(m_colorSync, true);
        for (const Colour& colour : colours) {
            DBcolor->Append();
            DBcolor->FieldByName(QStringLiteral("fcolorid")).SetAsString(colour.id);
            DBcolor->FieldByName(QStringLiteral("colorname_ch")).SetAsString(colour.name);
            DBcolor->FieldByName(QStringLiteral("colorname_en")).SetAsString(colour.english);
            DBcolor->Post();
        }
    }
    ShowDetailPage();
    PictureLink->Open();
    DBimage->Append();
    UpdateActionState();
    WriteLog(QStringLiteral("复制"), oldCode);
}

void Tfrm_goods::del_actionExecute() {
    const QString code = listCode();
    if (code.isEmpty()) return;
    TRemoteUdpDataSet check;
    md::OpenQuery(check,
                  QStringLiteral("exec P_CheckDelGoods '") + SqlText(code) + QStringLiteral("'"));
    const bool used = !check.IsEmpty();
    check.Close();
    if (used) Refuse(QStringLiteral("此货号已发生业务，不能删除此货号!"));
    if (!AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    const QString c = SqlText(code);
    md::ExecuteSQL(
        QStringLiteral("delete from goods where goodsid='") + c + QStringLiteral("'") + CR +
        QStringLiteral("delete from goodssize where goodsid=") + QStringLiteral("'") + c +
        QStringLiteral("'") + CR + QStringLiteral("delete from goodscolor where fgoodsid=") +
        QStringLiteral("'") + c + QStringLiteral("'") + CR +
        QStringLiteral("delete from ba_goodscolor where fgoodsid=") + QStringLiteral("'") + c +
        QStringLiteral("'") + CR + QStringLiteral("delete from barcode where fgoodsid=") +
        QStringLiteral("'") + c + QStringLiteral("'") + CR);
    // The list row goes without a statement of its own: the goods row is gone already.
    sendListChanges();
    DBgoodslist->Delete();
    DBgoodslist->MergeChangeLog();
    OpenGoods(listCode());
    UpdateActionState();
    WriteLog(QStringLiteral("删除"), code);
}

// ---------------------------------------------------------------- other actions

void Tfrm_goods::ean13_actionExecute() {
    RequireRight(RightEdit);
    md::ExecuteSQL(QStringLiteral("EXEC P_UpdateGoodsEan13"));
    MessageBox(QStringLiteral("更新完成！"));
}

void Tfrm_goods::import_actionExecute() {
    RequireRight(RightAdd);
    // The import dialog is told its target before it is shown.
    if (FormFactory factory = formFactoryFor("Tfrm_GoodsBathIN")) {
        QPointer<QDialog> import = factory(this);
        if (import) {
            import->setProperty("TargetName", QStringLiteral("Dt_Goods"));
            ExecModal(*import);
        }
    }
    openList(DBgoodslist->SQL());
    FillValueLists();
}

void Tfrm_goods::merge_actionExecute() {
    if (FormFactory factory = formFactoryFor("Tfrm_ChangeGoodsID")) {
        QPointer<QDialog> merge = factory(this);
        if (merge) ExecModal(*merge);
    }
}

void Tfrm_goods::goodsfield_actionExecute() {
    const QString sql =
        QStringLiteral(
            "select top 10 a.* from dr_rightdetail a,dr_right b where a.autoid=b.autoid") +
        CR +
        QStringLiteral(
            "and(a.b_add=1 or a.b_edit=1 or a.b_del=1 or a.b_browse=1 or a.b_posted=1 or "
            "a.b_print=1 or a.b_excel=1 or a.b_unposted=1)") +
        CR + QStringLiteral("and(a.groupid in(select fgroupid from usermainde where userno='") +
        SqlText(md::Session().UserNo) + QStringLiteral("'") + QStringLiteral("))and(b.listname=") +
        QStringLiteral("'") + QStringLiteral("m_config") + QStringLiteral("'") +
        QStringLiteral(")");
    if (!QueryReturnsRow(sql)) {
        MessageBox(QStringLiteral("您没有足够的权限进行此操作!"));
        return;
    }
    Tfrm_GoodsField::Execute(this);
}
