// The list page: the list statement and its filter, the online flags, the
// batch changes, navigation and export.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include "configuredcolumn.h"
#include "datasource.h"
#include "editors.h"
#include "frm_goods.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "messages.h"
#include "propertygrid.h"
#include "remoteudpdataset.h"
#include "reportbridge.h"
#include "routines.h"
#include "scopes.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "treelookup.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QChar CR(13);

}  // namespace

QString Tfrm_goods::ListBaseSQL() {
    return QStringLiteral(
               "select "
               "a.fcheck,a.goodsid,a.goodsname,a.brand,a.ayear,a.season,a.sort,a.patter,a.item,a."
               "unitprice,"
               "a.strat,a.inputdate,isbmp=case when isnull(b.fgoodsid,'')<>'' then convert(bit,1) "
               "else "
               "convert(bit,0) end,a.fisshoptop ") +
           CR +
           QStringLiteral(
               " from goods a left join (select distinct(fgoodsid) fgoodsid from goodsimage)b on "
               "a.goodsid=b.fgoodsid");
}

QString Tfrm_goods::FilterSQL(const QString& condition, const QString& codeText) {
    QString c = condition;
    if (!codeText.isEmpty()) {
        const QString like = QStringLiteral("a.goodsid like ") + QStringLiteral("'") +
                             QStringLiteral("%") + SqlText(codeText) + QStringLiteral("%") +
                             QStringLiteral("'");
        c += c.isEmpty() ? QStringLiteral(" ") + like : QStringLiteral(" and ") + like;
    }
    QString sql = ListBaseSQL() + QStringLiteral(" where 1=1 ") + CR;
    // The condition is a line of its own, as the dataset's AddSQL joins lines.
    if (!c.isEmpty()) sql += QLatin1Char('\n') + QStringLiteral(" and ") + c;
    return sql;
}

void Tfrm_goods::openList(const QString& sql) {
    // The grid sees the new rows in one reset, not the closing and the opening apart.
    TControlsDisabled still(*DBgoodslist);
    DBgoodslist->Close();
    DBgoodslist->SetSQL(sql);
    DBgoodslist->Open();
    DBgoodslist->First();
    // The goods record follows the first row of a (re)opened list.
    if (DBmaster_table->State() == dsBrowse || !DBmaster_table->Active()) OpenGoods(listCode());
    UpdateActionState();
}

void Tfrm_goods::sendListChanges() {
    if (DBgoodslist->Active() &&
        (DBgoodslist->UpdatesPending() || DBgoodslist->State() != dsBrowse))
        DBgoodslist->UpdateBatch();
}

QString Tfrm_goods::listCode() const {
    if (!DBgoodslist->Active() || DBgoodslist->IsEmpty()) return QString();
    return DBgoodslist->FieldByName(QStringLiteral("goodsid")).AsString();
}

void Tfrm_goods::followListRow() {
    if (DBmaster_table->Active() && DBmaster_table->State() != dsBrowse)
        return;  // a record being edited stays
    const QString code = listCode();
    if (DBmaster_table->Active() && code == goodsCode() &&
        (!code.isEmpty() || DBmaster_table->IsEmpty()))
        return;
    OpenGoods(code);
}

QStringList Tfrm_goods::tickedCodes() const {
    QStringList codes;
    if (!DBgoodslist->Active()) return codes;
    const int check = DBgoodslist->FieldByName(QStringLiteral("fcheck")).Index();
    const int code = DBgoodslist->FieldByName(QStringLiteral("goodsid")).Index();
    for (int row = 0; row < DBgoodslist->RecordCount(); ++row) {
        const QVariant& ticked = DBgoodslist->valueAt(row, check);
        if (!ticked.isNull() && TField::booleanOf(ticked))
            codes << DBgoodslist->valueAt(row, code).toString();
    }
    return codes;
}

// ---------------------------------------------------------------- filter

void Tfrm_goods::But_FilterClick() {
    sendListChanges();
    const QString condition = GoodsAttributeCondition(*CheckTree1, QStringLiteral("a."));
    {
        TWaitCursor wait;
        openList(FilterSQL(condition, Edit_GoodsId->text()));
    }
    ShowListPage();
}

void Tfrm_goods::Check_AllClick() {
    if (!DBgoodslist->Active()) return;
    const bool on = Check_All->isChecked();
    DBgoodslist->CheckBrowseMode();
    TControlsDisabled still(*DBgoodslist);
    TBookmarkKept place(*DBgoodslist);
    TField& check = DBgoodslist->FieldByName(QStringLiteral("fcheck"));
    for (DBgoodslist->First(); !DBgoodslist->Eof(); DBgoodslist->Next()) {
        DBgoodslist->Edit();
        check.SetAsBoolean(on);
        DBgoodslist->Post();
    }
}

void Tfrm_goods::But_TypeOKClick() {
    RequireRight(RightEdit);
    if (!DBgoodslist->Active()) return;
    DBgoodslist->CheckBrowseMode();
    const QString type = Lookup_Type->keyValue();
    const TBookmark at = DBgoodslist->GetBookmark();
    for (const QString& code : tickedCodes()) {
        md::ExecuteSQL(QStringLiteral("update goods set typecode='") + SqlText(type) +
                       QStringLiteral("'") + QStringLiteral(" where goodsid=") +
                       QStringLiteral("'") + SqlText(code) + QStringLiteral("'"));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (DBgoodslist->BookmarkValid(at)) DBgoodslist->GotoBookmark(at);
    MessageBox(QStringLiteral("批量修改完成!"));
}

void Tfrm_goods::But_FieldOKClick() {
    RequireRight(RightEdit);
    if (Combo_Field->currentIndex() < 0 || Combo_Field->currentText().isEmpty()) {
        MessageBox(QStringLiteral("请选择货品属性!"));
        GridListView->setFocus();
        Abort();
    }
    const QString value = Edit_Value->text();
    if (value.isEmpty()) {
        MessageBox(QStringLiteral("请输入要更改的值!"));
        Edit_Value->setFocus();
        Abort();
    }
    md::OpenQuery(
        *DBtmp,
        QStringLiteral(
            "select top 1 * from ba_fieldremark where ftablename='goods' and ffieldremark='") +
            SqlText(Combo_Field->currentText()) + QStringLiteral("'"));
    const QString column = DBtmp->IsEmpty()
                               ? QString()
                               : DBtmp->FieldByName(QStringLiteral("fname")).AsString().trimmed();
    DBtmp->Close();
    if (column.isEmpty()) Refuse(QStringLiteral("没有找到对应的数据库字段!"));
    const QString goodsColumn = ConfiguredColumn(QStringLiteral("goods"), column);
    if (!AskYesNo(QStringLiteral("是否确认更改?"))) Abort();
    if (DBgoodslist->Active()) DBgoodslist->CheckBrowseMode();
    // The list keeps showing the old values until the filter runs again.
    for (const QString& code : tickedCodes()) {
        md::ExecuteSQL(QStringLiteral("update goods set ") + goodsColumn + QStringLiteral("=") +
                       QStringLiteral("'") + SqlText(value) + QStringLiteral("'") +
                       QStringLiteral(" where goodsid=") + QStringLiteral("'") + SqlText(code) +
                       QStringLiteral("'"));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    MessageBox(QStringLiteral("批量修改完成,请按检索过滤刷新!"));
}

// ---------------------------------------------------------------- the saved record in the list

void Tfrm_goods::updateListRow(const QString& readCode) {
    if (!DBgoodslist->Active() || !DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;
    const QString code = goodsCode();
    if (code.isEmpty()) return;
    // Ticks and flags the user set go first; the row changed here only shows
    // what the save has written and is not sent again.
    sendListChanges();
    // The row of the saved code, else the row the item had under its old code, else a new one.
    if (DBgoodslist->Locate(QStringLiteral("goodsid"), code, loCaseInsensitive) ||
        (!readCode.isEmpty() &&
         DBgoodslist->Locate(QStringLiteral("goodsid"), readCode, loCaseInsensitive)))
        DBgoodslist->Edit();
    else
        DBgoodslist->Append();
    for (const char* column : {"goodsid", "goodsname", "brand", "ayear", "season", "sort", "patter",
                               "item", "unitprice", "strat", "inputdate", "fisshoptop"}) {
        const QString name = QString::fromLatin1(column);
        DBgoodslist->FieldByName(name).SetValue(DBmaster_table->FieldByName(name).Value());
    }
    DBgoodslist->Post();
    DBgoodslist->MergeChangeLog();
}

// ---------------------------------------------------------------- navigation, state, export

void Tfrm_goods::first_actionExecute() {
    DBgoodslist->First();
    UpdateActionState();
    OpenGoods(listCode());
}

void Tfrm_goods::prio_actionExecute() {
    DBgoodslist->Prior();
    UpdateActionState();
    OpenGoods(listCode());
    PageControl2->setCurrentWidget(TabColorPicture);
}

void Tfrm_goods::next_actionExecute() {
    DBgoodslist->Next();
    UpdateActionState();
    OpenGoods(listCode());
    PageControl2->setCurrentWidget(TabColorPicture);
}

void Tfrm_goods::last_actionExecute() {
    DBgoodslist->Last();
    UpdateActionState();
    OpenGoods(listCode());
}

void Tfrm_goods::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    const bool editing = Editing();
    const bool bof = !DBgoodslist->Active() || DBgoodslist->Bof();
    const bool eof = !DBgoodslist->Active() || DBgoodslist->Eof();
    first_action->setEnabled(!editing && !bof);
    prio_action->setEnabled(!editing && !bof);
    next_action->setEnabled(!editing && !eof);
    last_action->setEnabled(!editing && !eof);
    copy_action->setEnabled(!post_action->isEnabled());
    addcolor_action->setEnabled(editing);
    delcolor_action->setEnabled(editing);
    cxDBVerticalGrid1->SetInputAllowed(editing);
    GridColorView->SetInputAllowed(editing);
    GridItemPriceView->SetInputAllowed(editing);
    GridPriceView->SetInputAllowed(editing && md::Shared().PriceEdit);
}

void Tfrm_goods::excel_actionExecute() {
    md::OpenReportForm(QStringLiteral("frm_re_goods"));
    WriteLog(QStringLiteral("导出"));
}
