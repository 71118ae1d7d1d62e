// The client record: new, edit, the code and short-name checks, the checks
// before saving, save with the photo, cancel, delete, find, the authorisation
// code and the photo.
#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTabWidget>

#include "codes/frm_dpt.h"
#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "frm_FindClient.h"
#include "frm_client.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "reportbridge.h"
#include "routines.h"
#include "sqlquote.h"
#include "treelist.h"
#include "treelookup.h"

using namespace md::ui;

namespace {

const QChar CR(13);
const QString kRootMarker = QStringLiteral(" ");
const QString kCycleMessage = QStringLiteral("不能选择本客户或其下级客户作为归属客户!");

// A number box's text: empty, or a number.
bool isNumberText(const QString& text) {
    bool isNumber = false;
    text.trimmed().toDouble(&isNumber);
    return text.trimmed().isEmpty() || isNumber;
}

}  // namespace

// ---------------------------------------------------------------- statements

QString Tfrm_client::FindSQL(const QString& conditions) {
    return QStringLiteral("select * from dt_client where 1=1 ") + conditions +
           QStringLiteral(" order by fcode");
}

QString Tfrm_client::DocumentsSQL(const QString& code) {
    const QString c = SqlText(code);
    return QStringLiteral("select top 1 fclientcode from d_sale where fclientcode='") + c +
           QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fclientcode from d_order where fclientcode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fclientcode from d_charges where fclientcode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fclientcode from d_payment where fclientcode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR;
}

QString Tfrm_client::freshKey(const QString& sql) {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, sql);
    return query.IsEmpty() ? QString() : query.Fields(0).AsString();
}

// ---------------------------------------------------------------- events

void Tfrm_client::DBmaster_tableAfterOpen() {
    Tbase_frmMditree::DBmaster_tableAfterOpen();
    // A parent inside the client's own subtree would make the tree a ring.
    DBmaster_table->FieldByName(QStringLiteral("fparentid")).OnValidate = [this](TField& field) {
        const QString parent = field.AsString();
        if (parent.trimmed().isEmpty()) return;
        if (insideSubtree(parent, DBmaster_table->FieldByName(QStringLiteral("fid")).AsString()))
            Refuse(kCycleMessage);
    };
}

void Tfrm_client::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("firstcharges")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("fcredit_type")).SetAsString(QStringLiteral("是"));
    ds.FieldByName(QStringLiteral("ftaxtype")).SetAsString(QStringLiteral("否"));
    ds.FieldByName(QStringLiteral("fid"))
        .SetAsString(freshKey(QStringLiteral("select top 1 * from dbo.V_GetPassWord12")));
    ds.FieldByName(QStringLiteral("fcredit")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("fTaxrate")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("first_amount")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("stratbit")).SetAsBoolean(true);
    for (int i = 1; i <= 6; ++i)
        ds.FieldByName(QStringLiteral("discount%1").arg(i)).SetAsFloat(1.0);
}

void Tfrm_client::focusEditor(QWidget* editor) {
    for (QWidget* page : {TabDetail, TabExtra, TabSurvey})
        if (page->isAncestorOf(editor)) PageControl1->setCurrentWidget(page);
    editor->setFocus();
}

void Tfrm_client::refuseAt(QWidget* editor, const QString& text) {
    focusEditor(editor);
    Refuse(text);
}

bool Tfrm_client::insideSubtree(const QString& parentFid, const QString& fid) const {
    if (fid.isEmpty()) return false;
    if (parentFid == fid) return true;
    // Up from the chosen parent through the parents of every client.
    QHash<QString, QString> parentOf;
    if (DBparent->Active()) {
        const int key = DBparent->FieldByName(QStringLiteral("fid")).Index();
        const int parent = DBparent->FieldByName(QStringLiteral("fparentid")).Index();
        parentOf.reserve(DBparent->RecordCount());
        for (int row = 0; row < DBparent->RecordCount(); ++row)
            parentOf.insert(DBparent->valueAt(row, key).toString(),
                            DBparent->valueAt(row, parent).toString());
    }
    QSet<QString> seen;
    for (QString at = parentFid; parentOf.contains(at) && !seen.contains(at);) {
        seen.insert(at);
        at = parentOf.value(at);
        if (at == fid) return true;
    }
    return false;
}

void Tfrm_client::checkNumbers() {
    bool rateIsNumber = false;
    const double rate = Edit_TaxRate->text().trimmed().toDouble(&rateIsNumber);
    if (!Edit_TaxRate->text().trimmed().isEmpty() && (!rateIsNumber || rate < 0 || rate > 100))
        refuseAt(Edit_TaxRate, QStringLiteral("发票税率必须是0到100之间的数字!"));
    if (!isNumberText(Edit_Deposit->text()))
        refuseAt(Edit_Deposit, QStringLiteral("保证金必须是数字!"));
    if (!isNumberText(Edit_Credit->text()))
        refuseAt(Edit_Credit, QStringLiteral("信用额度必须是数字!"));
    if (!isNumberText(Edit_FirstCharges->text()))
        refuseAt(Edit_FirstCharges, QStringLiteral("期初费用必须是数字!"));
    // An emptied amount is no amount.
    for (const char* name : {"first_amount", "fcredit", "ftaxrate", "firstcharges"}) {
        TField& field = DBmaster_table->FieldByName(QString::fromLatin1(name));
        if (field.IsNull()) field.SetAsFloat(0);
    }
}

void Tfrm_client::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    auto empty = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).AsString().trimmed().isEmpty();
    };
    if (empty("fcode")) refuseAt(Edit_Code, QStringLiteral("客户编号不能为空！"));
    if (empty("fabbrev")) refuseAt(Edit_Abbrev, QStringLiteral("客户简称不能为空！"));
    if (empty("fname")) refuseAt(Edit_Name, QStringLiteral("客户名称不能为空！"));
    if (empty("fmathod")) refuseAt(Combo_Mathod, QStringLiteral("客户性质不能为空！"));
    if (empty("fGrad")) refuseAt(Combo_Grad, QStringLiteral("客户等级不能为空！"));
    if (empty("fprice_type")) refuseAt(Combo_PriceType, QStringLiteral("价格方式不能为空！"));
    TField& parent = ds.FieldByName(QStringLiteral("fparentid"));
    if (parent.AsString().isEmpty()) parent.SetAsString(kRootMarker);
    if (insideSubtree(parent.AsString(), ds.FieldByName(QStringLiteral("fid")).AsString()))
        refuseAt(Lookup_Parent, kCycleMessage);
    checkNumbers();
    // A mistyped address is the user's to judge: said, and saved.
    const QString email = ds.FieldByName(QStringLiteral("femail")).AsString().trimmed();
    if (!email.isEmpty() && !email.contains(QLatin1Char('@')))
        MessageBox(QStringLiteral("电子邮箱地址中没有“@”，请核对!"));
}

// ---------------------------------------------------------------- the code and the short name

void Tfrm_client::PostPendingEdits() {
    Tbase_frmMditree::PostPendingEdits();
    // 保存 pressed straight after typing confirms the boxes as leaving them would.
    if (m_codeTyped) CodeConfirmed();
    if (m_abbrevTyped) AbbrevConfirmed();
}

void Tfrm_client::CodeConfirmed() {
    m_codeTyped = false;
    if (m_confirming || DBmaster_table->State() != dsInsert) return;
    const QString code = Edit_Code->text();
    if (code.isEmpty() ||
        !QueryReturnsRow(QStringLiteral("select top 1 fcode from dt_client where fcode='") +
                         SqlText(code) + QStringLiteral("'")))
        return;
    // The box loses the focus to the message: that is no second confirmation.
    QScopedValueRollback<bool> confirming(m_confirming, true);
    DBmaster_table->FieldByName(QStringLiteral("fcode")).Clear();
    refuseAt(Edit_Code, QStringLiteral("此客户编号已存在，请重新录入！"));
}

void Tfrm_client::AbbrevConfirmed() {
    m_abbrevTyped = false;
    if (m_confirming || !DBmaster_table->InEditState()) return;
    const QString abbrev = Edit_Abbrev->text();
    if (abbrev.isEmpty()) return;
    if (QueryReturnsRow(QStringLiteral("select top 1 fabbrev from dt_client where fabbrev='") +
                        SqlText(abbrev) + QStringLiteral("'") + QStringLiteral(" and fcode<>") +
                        QStringLiteral("'") + SqlText(Edit_Code->text()) + QStringLiteral("'"))) {
        QScopedValueRollback<bool> confirming(m_confirming, true);
        MessageBox(QStringLiteral("已经存在此简称的客户!"));  // a warning: the name stays
    }
}

// ---------------------------------------------------------------- record actions

void Tfrm_client::openPhoto(bool forEditing) {
    PhotoLink->Open();
    if (!forEditing) return;
    if (DBimage->IsEmpty())
        DBimage->Append();
    else
        DBimage->Edit();
}

void Tfrm_client::append_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const bool any = ds.Active() && !ds.IsEmpty();
    LastCode = any ? ds.FieldByName(QStringLiteral("fid")).AsString() : QString();
    LastParentCode = any ? ds.FieldByName(QStringLiteral("fparentid")).AsString() : QString();
    if (any) LastRecNo = ds.RecNo();
    ShowDetailPage();
    ds.Append();
    openPhoto(true);
    Edit_Code->setFocus();
    UpdateActionState();
    WriteLog(QStringLiteral("新增"));
}

void Tfrm_client::edit_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    Tbase_frmMditree::edit_actionExecute();
    ShowDetailPage();
    if (Edit_Code->isEnabled()) Edit_Code->setFocus();
    openPhoto(true);
}

void Tfrm_client::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    // The client and its photo in one transaction; a failure keeps both cached.
    SaveRecordAndDetails();
    EndEditing();
    reloadParents();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tfrm_client::cacel_actionExecute() {
    Tbase_frmMditree::cacel_actionExecute();
    CancelDetails();
}

void Tfrm_client::del_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active() || ds.IsEmpty()) Abort();
    if (QueryReturnsRow(DocumentsSQL(ds.FieldByName(QStringLiteral("fcode")).AsString())))
        Refuse(QStringLiteral("不能删除已经发生业务的客户档案!"));
    // Its clients would be left under a parent that no longer exists.
    if (QueryReturnsRow(
            QStringLiteral("select top 1 fid from dt_client where fparentid=:fid"),
            {{QStringLiteral("fid"), ds.FieldByName(QStringLiteral("fid")).AsString()}}))
        Refuse(QStringLiteral("此客户还有下级客户，不能删除!"));
    Tbase_frmMditree::del_actionExecute();
    reloadParents();
}

void Tfrm_client::reloadParents() {
    DBparent->Close();
    DBparent->Open();
}

// ---------------------------------------------------------------- find, report, lists

Tfrm_FindClient* Tfrm_client::FindDialog() {
    if (!m_find) m_find = new Tfrm_FindClient(this);
    return m_find;
}

void Tfrm_client::find_actionExecute() {
    Tfrm_FindClient* dialog = FindDialog();
    // A cancelled find lists every client.
    const QString conditions =
        ExecModal(*dialog) == QDialog::Accepted ? dialog->Conditions() : QString();
    DBmaster_table->Close();
    DBmaster_table->SetSQL(FindSQL(conditions));
    DBmaster_table->Open();
    UpdateActionState();
}

void Tfrm_client::excel_actionExecute() {
    md::OpenReportForm(QStringLiteral("frm_re_client"));
    Tbase_frmMditree::excel_actionExecute();
}

void Tfrm_client::But_DeptClick() {
    QPointer<Tfrm_dpt> departments = CreateForm<Tfrm_dpt>(this);
    ExecModal(*departments);
    if (departments) departments->deleteLater();
    DBdept->Close();
    DBdept->Open();
}

void Tfrm_client::userid_actionExecute() {
    if (!Editing()) return;
    DBmaster_table->FieldByName(QStringLiteral("fuserid"))
        .SetAsString(freshKey(QStringLiteral("select * from V_GetPassWord")));
}

void Tfrm_client::GridListDblClick() {
    ShowDetailPage();
    PhotoLink->Open();
}

// ---------------------------------------------------------------- the photo

void Tfrm_client::AssignPhoto(const QByteArray& bytes) {
    if (!Editing()) Abort();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) Refuse(QStringLiteral("所选文件不是可以识别的图片，相片未更改!"));
    QByteArray jpeg = bytes;
    if (!bytes.startsWith("\xFF\xD8\xFF")) {
        jpeg.clear();
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 90);
    }
    if (!DBimage->Active() || !DBimage->InEditState()) openPhoto(true);
    DBimage->FieldByName(QStringLiteral("fimage")).SetValue(jpeg);
}

void Tfrm_client::But_LoadPhotoClick() {
    if (!Editing()) return;
    QFileDialog dialog(this, QStringLiteral("加载相片"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("JPEG 图片 (*.jpg *.jpeg)"),
                           QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp)")});
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QFile file(dialog.selectedFiles().first());
    if (!file.open(QIODevice::ReadOnly))
        Refuse(QStringLiteral("无法读取文件 %1，相片未更改!").arg(file.fileName()));
    AssignPhoto(file.readAll());
}

void Tfrm_client::But_ClearPhotoClick() {
    if (!Editing()) return;
    if (!DBimage->Active() || !DBimage->InEditState()) openPhoto(true);
    DBimage->FieldByName(QStringLiteral("fimage")).Clear();
}
