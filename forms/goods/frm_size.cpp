#include "frm_size.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "dictdm.h"
#include "formfactory.h"
#include "gridcolumn.h"
#include "localdata.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sizeslots.h"
#include "sqlquote.h"
#include "styles.h"

using namespace md::ui;

namespace {

const QString kGroupCaption = QStringLiteral("尺码类别");
constexpr int kGroupColumnWidth = 110;
constexpr int kSizeColumnWidth = 64;

void copySizesToLocalData() {
    // The goods import checks size groups against the workstation's copy. The
    // server has the sizes already: a copy that fails is left for the next save.
    try {
        TRemoteUdpDataSet sizes;
        md::OpenQuery(sizes, QStringLiteral("select size_class,size_name,displayindex,fieldname "
                                            "from ba_size order by size_class,displayindex"));
        QList<QVariantList> rows;
        for (sizes.First(); !sizes.Eof(); sizes.Next())
            rows << QVariantList{sizes.Fields(0).Value(), sizes.Fields(1).Value(),
                                 sizes.Fields(2).Value(), sizes.Fields(3).Value()};
        sizes.Close();
        md::ReplaceLocalRows(QStringLiteral("ba_size"),
                             {QStringLiteral("size_class"), QStringLiteral("size_name"),
                              QStringLiteral("displayindex"), QStringLiteral("fieldname")},
                             rows);
    } catch (const std::exception& error) {
        qWarning("尺码资料未能复制到本地数据库: %s", error.what());
    }
}

}  // namespace

Tfrm_size::Tfrm_size(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_size"));
    setWindowTitle(QStringLiteral("尺码资料"));

    QStyle* s = style();
    auto make = [this, s](const char* name, const char* caption, QStyle::StandardPixmap icon,
                          void (Tfrm_size::*handler)()) {
        QAction* a =
            NewAction(QString::fromLatin1(name), QString::fromUtf8(caption), [this, handler] {
                if (handler) (this->*handler)();
            });
        a->setIcon(s->standardIcon(icon));
        return a;
    };
    first_action = make("first_action", "尺码", QStyle::SP_FileDialogNewFolder,
                        &Tfrm_size::first_actionExecute);
    prio_action = make("prio_action", "前笔", QStyle::SP_MediaSeekBackward, nullptr);
    next_action = make("next_action", "后笔", QStyle::SP_MediaSeekForward, nullptr);
    last_action = make("last_action", "末笔", QStyle::SP_MediaSkipForward, nullptr);
    append_action =
        make("append_action", "新增", QStyle::SP_FileIcon, &Tfrm_size::append_actionExecute);
    edit_action = make("edit_action", "修改", QStyle::SP_FileDialogDetailedView,
                       &Tfrm_size::edit_actionExecute);
    post_action =
        make("post_action", "保存", QStyle::SP_DialogSaveButton, &Tfrm_size::post_actionExecute);
    cacel_action = make("cacel_action", "撤消", QStyle::SP_DialogCancelButton,
                        &Tfrm_size::cacel_actionExecute);
    del_action = make("del_action", "删除", QStyle::SP_TrashIcon, &Tfrm_size::del_actionExecute);
    print_action = make("print_action", "打印", QStyle::SP_FileDialogInfoView, nullptr);
    excel_action = make("excel_action", "导出", QStyle::SP_DialogOpenButton, nullptr);
    close_action =
        make("close_action", "关闭", QStyle::SP_DialogCloseButton, &Tfrm_size::close_actionExecute);
    // No printing, export or record navigation here.
    for (QAction* hidden : {prio_action, next_action, last_action, print_action, excel_action})
        hidden->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(20, 20));
    for (QAction* a : {append_action, edit_action, post_action, cacel_action, del_action})
        ToolBar1->addAction(a);
    ToolBar1->addSeparator();
    for (QAction* a :
         {first_action, prio_action, next_action, last_action, print_action, excel_action})
        ToolBar1->addAction(a);
    ToolBar1->addSeparator();
    ToolBar1->addAction(close_action);

    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kSizeColumnWidth);
    StringGrid1->horizontalHeader()->setSectionsClickable(false);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    StringGrid1->setTabKeyNavigation(true);
    layout->addWidget(ToolBar1);
    layout->addWidget(StringGrid1, 1);

    setColCount(1);
    setRowCount(2);
    resize(760, 480);
}

// ---------------------------------------------------------------- the text grid

int Tfrm_size::ColCount() const {
    return StringGrid1->columnCount();
}

int Tfrm_size::RowCount() const {
    return StringGrid1->rowCount() + 1;
}

QString Tfrm_size::Cells(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return QString();
    const QTableWidgetItem* item =
        row == 0 ? StringGrid1->horizontalHeaderItem(col) : StringGrid1->item(row - 1, col);
    return item ? item->text() : QString();
}

void Tfrm_size::SetCells(int col, int row, const QString& text) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return;
    if (row == 0) {
        StringGrid1->setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* item = StringGrid1->item(row - 1, col))
        item->setText(text);
    else
        StringGrid1->setItem(row - 1, col, new QTableWidgetItem(text));
}

int Tfrm_size::Row() const {
    return qMax(0, StringGrid1->currentRow()) + 1;
}

void Tfrm_size::setColCount(int count) {
    const int before = ColCount();
    StringGrid1->setColumnCount(qMax(1, count));
    for (int c = before; c < ColCount(); ++c)
        SetCells(c, 0, c == 0 ? kGroupCaption : md::SizeSlotFieldName(c));
    StringGrid1->setColumnWidth(0, kGroupColumnWidth);
}

void Tfrm_size::setRowCount(int count) {
    StringGrid1->setRowCount(qMax(0, count - 1));
}

// ---------------------------------------------------------------- create, destroy

void Tfrm_size::FormCreate() {
    Tbase_frmTop::FormCreate();
    // Toolbar and header row in the button colour, as the other grids have it.
    ApplySharedColours(this);
    const QColor header = colorFromText(md::Shared().ColorButton);
    if (header.isValid()) {
        QPalette pal = StringGrid1->horizontalHeader()->palette();
        pal.setColor(QPalette::Button, header);
        pal.setColor(QPalette::Window, header);
        StringGrid1->horizontalHeader()->setPalette(pal);
    }
    LoadGrid();
    // Wide enough for the groups in use, within reason.
    const int wanted = kGroupColumnWidth + (ColCount() - 1) * kSizeColumnWidth +
                       2 * StringGrid1->frameWidth() +
                       StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    resize(qBound(640, wanted, 1000), height());
    OpenWindowCaption = windowTitle();
    m_openWindowEntry.Join(OpenWindowCaption);
    UpdateToolbar();
}

void Tfrm_size::FormDestroy() {
    Tbase_frmTop::FormDestroy();
    m_openWindowEntry.Leave();
}

// ---------------------------------------------------------------- load and state

void Tfrm_size::LoadGrid() {
    StringGrid1->setUpdatesEnabled(false);
    StringGrid1->clearContents();

    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("SELECT MAX(DISPLAYINDEX) as DISPLAYINDEX FROM ba_size"));
    // Read as a number of any size; columns go no further than the slots do.
    const double largest =
        query.IsEmpty() || query.Fields(0).IsNull() ? 0 : query.Fields(0).AsFloat();

    md::OpenQuery(query, QStringLiteral("SELECT DISTINCT(SIZE_CLASS) as size_class FROM ba_size"));
    QStringList groups;
    for (query.First(); !query.Eof(); query.Next()) groups << query.Fields(0).AsString();
    if (!groups.isEmpty()) setRowCount(int(groups.size()) + 1);

    QList<QStringList> sizes;
    int widest = 0;
    for (const QString& group : groups) {
        md::OpenQuery(query, QStringLiteral("SELECT * FROM ba_size WHERE SIZE_CLASS='") +
                                 SqlText(group) + QStringLiteral("'") +
                                 QStringLiteral(" ORDER BY DISPLAYINDEX"));
        QStringList names;
        for (query.First(); !query.Eof(); query.Next())
            names << query.FieldByName(QStringLiteral("size_name")).AsString();
        widest = qMax(widest, int(names.size()));
        sizes << names;
    }
    query.Close();

    // One column per stored number up to the 30 slots; a group with more sizes
    // than that (saved twice) still shows every one of them, so a save keeps them.
    const int columns = qMax(int(qBound(0.0, largest, double(md::kSizeSlotMax))), widest);
    setColCount(columns + 1);
    SetCells(0, 0, kGroupCaption);
    for (int c = 1; c < ColCount(); ++c) SetCells(c, 0, md::SizeSlotFieldName(c));

    // Columns follow the position in displayindex order, so gaps in the stored
    // numbers close up and the next save numbers them 1, 2, 3 ...
    for (int row = 1; row <= groups.size(); ++row) {
        SetCells(0, row, groups[row - 1]);
        const QStringList& names = sizes[row - 1];
        for (int col = 1; col <= names.size() && col < ColCount(); ++col)
            SetCells(col, row, names[col - 1]);
    }
    StringGrid1->setUpdatesEnabled(true);

    if (largest > md::kSizeSlotMax && !m_strayIndexReported) {
        m_strayIndexReported = true;
        MessageBox(QStringLiteral("尺码的排列序号(displayindex)最大为%1，超过了30个尺码栏位。"
                                  "各尺码已按顺序排在S1起的栏位中，修改并保存后将重新编号。")
                       .arg(QString::number(largest, 'f', 0)));
    }
}

void Tfrm_size::UpdateToolbar() {
    const bool browsing = m_state == ssBrowse;
    append_action->setEnabled(browsing);
    edit_action->setEnabled(browsing);
    del_action->setEnabled(browsing);
    post_action->setEnabled(!browsing);
    cacel_action->setEnabled(!browsing);
    first_action->setEnabled(!browsing);
}

// ---------------------------------------------------------------- actions

void Tfrm_size::append_actionExecute() {
    m_state = ssInsert;
    UpdateToolbar();
    // An empty last row is reused.
    if (!Cells(0, RowCount() - 1).isEmpty()) setRowCount(RowCount() + 1);
    StringGrid1->setCurrentCell(StringGrid1->rowCount() - 1, 0);
    StringGrid1->setFocus();
}

void Tfrm_size::edit_actionExecute() {
    m_state = ssEdit;
    UpdateToolbar();
}

void Tfrm_size::first_actionExecute() {
    if (m_state == ssBrowse) return;
    if (ColCount() - 1 >= md::kSizeSlotMax)
        Refuse(QStringLiteral(
            "一个尺码类别最多只能有30个尺码：货品的数量按尺码顺序存放在S1至S30这30个尺码栏位中，"
            "第31个尺码将无法录入和保存数量。"));
    setColCount(ColCount() + 1);
    UpdateToolbar();
}

void Tfrm_size::post_actionExecute() {
    m_state = ssBrowse;
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    try {
        TTransactionScope transaction(*connection);
        md::ExecuteSQL(QStringLiteral("delete from ba_size"));
        TRemoteUdpDataSet table;
        table.SetLockType(etBatchOptimistic);
        md::OpenQuery(table, QStringLiteral("select * from ba_size"));
        for (int row = 1; row < RowCount(); ++row) {
            const QString group = Cells(0, row);
            for (int col = 1; col < ColCount(); ++col) {
                const QString size = Cells(col, row);
                // A blank cell ends the row: sizes to its right are not saved.
                if (size.trimmed().isEmpty()) break;
                table.Append();
                table.FieldByName(QStringLiteral("size_name")).SetAsString(size);
                table.FieldByName(QStringLiteral("size_class")).SetAsString(group);
                table.FieldByName(QStringLiteral("displayindex")).SetAsInteger(col);
                table.FieldByName(QStringLiteral("fieldname")).SetAsString(Cells(col, 0));
                table.Post();
            }
        }
        table.UpdateBatch();
        transaction.commit();
    } catch (const EAbort&) {
        UpdateToolbar();
        throw;
    } catch (const std::exception& error) {
        // Rolled back; the grid keeps what was typed, so the user can correct it and save again.
        UpdateToolbar();
        ShowError(error);
        return;
    }
    copySizesToLocalData();
    LoadGrid();
    UpdateToolbar();
}

void Tfrm_size::cacel_actionExecute() {
    m_state = ssBrowse;
    LoadGrid();
    UpdateToolbar();
}

void Tfrm_size::del_actionExecute() {
    m_state = ssBrowse;
    UpdateToolbar();
    MessageBox(QStringLiteral("请确认该尺码尚未使用,如已使用删除后将造成数据丢失!"));
    if (MessageBox(QStringLiteral("是否确认删除?"), QStringLiteral("提示"), Icon::Question,
                   Buttons::OkCancel) != Answer::Ok)
        return;
    md::ExecuteSQL(QStringLiteral("DELETE FROM ba_size WHERE SIZE_CLASS='") +
                   SqlText(Cells(0, Row())) + QStringLiteral("'"));
    copySizesToLocalData();
    UpdateToolbar();
    LoadGrid();
}

void Tfrm_size::close_actionExecute() {
    Close();
}

// ---------------------------------------------------------------- keyboard

void Tfrm_size::PostPendingEdits() {
    Tbase_frmTop::PostPendingEdits();
    // An open cell editor writes its text before any action reads the grid.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->parentWidget() == StringGrid1->viewport()) {
        Q_EMIT StringGrid1->itemDelegate()->commitData(focus);
        Q_EMIT StringGrid1->itemDelegate()->closeEditor(focus);
    }
}

bool Tfrm_size::FormKeyPress(QKeyEvent& event) {
    QWidget* focus = QApplication::focusWidget();
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter && !(mods & ~Qt::KeypadModifier) && focus &&
        (focus == StringGrid1 || StringGrid1->isAncestorOf(focus))) {
        moveToNextSizeCell();
        return true;
    }
    // Group codes and sizes are entered in capitals: a typed a-z reaches the
    // control as A-Z, anything else (digits, Chinese) as typed.
    const QString text = event.text();
    const QString upper = UpperAscii(text);
    if (focus && upper != text &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        QKeyEvent capital(event.type(), event.key(), mods, upper, event.isAutoRepeat(),
                          quint16(event.count()));
        QCoreApplication::sendEvent(focus, &capital);
        return true;
    }
    return Tbase_frmTop::FormKeyPress(event);
}

void Tfrm_size::moveToNextSizeCell() {
    if (StringGrid1->rowCount() == 0) return;
    PostPendingEdits();
    const int row = qMax(0, StringGrid1->currentRow());
    int next = StringGrid1->currentColumn() + 1;
    if (next >= ColCount()) next = qMin(1, ColCount() - 1);
    StringGrid1->setCurrentCell(row, next);
    StringGrid1->setFocus();
}

MD_REGISTER_FORM(Tfrm_size);
