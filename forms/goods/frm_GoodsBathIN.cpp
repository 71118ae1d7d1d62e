#include "frm_GoodsBathIN.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "formfactory.h"
#include "frm_GoodsBathIN_p.h"
#include "grid.h"
#include "localdata.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "sqlquote.h"
#include "styles.h"

using namespace md::ui;
using namespace goodsimport;

namespace {

// The module's reference to the open import dialog; emptied when it is freed.
QPointer<Tfrm_GoodsBathIN> g_goodsImport;

const QString kCheckDone = QStringLiteral("数据核查完成,请查看最后一列的说明");

QString folded(const QString& text) {
    return text.toLower();
}

}  // namespace

// ---------------------------------------------------------------- creation

Tfrm_GoodsBathIN::Tfrm_GoodsBathIN(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_GoodsBathIN"));
    setWindowTitle(QStringLiteral("货品档案导入"));
    setModal(true);

    DBImport_table = new TRemoteUdpDataSet(QStringLiteral("DBImport_table"), this);
    // Field i is column i of kImportColumns.
    int index = 0;
    for (const ImportColumn& column : kImportColumns) {
        const QString name = QString::fromLatin1(column.name);
        if (column.kind == ImportColumn::Flag)
            DBImport_table->AddField(name, ftBoolean);
        else
            DBImport_table->AddField(name, ftString, column.width);
        if (column.caption[0]) {
            m_fieldByCaption.insert(folded(QString::fromUtf8(column.caption)), index);
            m_fieldByCaption.insert(folded(name), index);
        }
        ++index;
    }
    DbImport_Source = new TDataSource(QStringLiteral("DbImport_Source"), this);
    DbImport_Source->setDataSet(DBImport_table);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbImport_Source);
    for (const ImportColumn& column : kImportColumns) {
        if (column.kind == ImportColumn::Flag) continue;
        TGridColumn& c =
            v->AddColumn(QString::fromLatin1(column.name), QString::fromUtf8(column.caption))
                .width(column.pixels)
                .visible(column.shown);
        const QString caption = QString::fromUtf8(column.caption);
        if (column.kind == ImportColumn::Number)
            c.inputCheck([caption](const QString& typed) {
                return ParseNumber(typed) ? QString() : NotNumberRemark(caption);
            });
        else if (column.kind == ImportColumn::Date)
            c.inputCheck([caption](const QString& typed) {
                return ParseDate(typed) ? QString() : NotDateRemark(caption);
            });
    }
    v->Column(QStringLiteral("goodsid"))->footer(TSummaryKind::Count, QStringLiteral("记录数"));
    v->Column(QStringLiteral("colorid"))->footer(TSummaryKind::Count, QStringLiteral("0"));
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Clipboard = true;
    options.MultiSelect = true;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    v->ApplyOptions();
    v->SetInputAllowed(true);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPopup(at); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const char* caption, const QKeySequence& keys,
                       std::function<void()> handler) {
        QAction* a =
            NewAction(QString::fromLatin1(name), QString::fromUtf8(caption), std::move(handler));
        if (!keys.isEmpty()) a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut);  // the keys themselves go to the grid
        PopupMenu1->addAction(a);
        return a;
    };
    cut_action = item("cut_action", "剪切", QKeySequence::Cut, [this] {
        copyRows();
        deleteSelectedRows();
    });
    copy_action = item("copy_action", "复制", QKeySequence::Copy, [this] { copyRows(); });
    paste_action = item("paste_action", "粘贴", QKeySequence::Paste,
                        [this] { PasteText(QApplication::clipboard()->text()); });
    delete_action = item("delete_action", "删除", {}, [this] { deleteSelectedRows(); });
    selectall_action = item("selectall_action", "全选", QKeySequence::SelectAll,
                            [this] { cxGrid1DBTableView1->selectAll(); });
    PopupMenu1->addSeparator();
    colorno_action =
        item("colorno_action", "自动按顺序颜色编号", {}, [this] { colorno_actionExecute(); });
    childcolorno_action = item("childcolorno_action", "自动编写童装颜色编号", {},
                               [this] { childcolorno_actionExecute(); });

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    Check_GoodsColor = new QCheckBox(QStringLiteral("生成货品颜色"), this);
    Check_GoodsColor->setObjectName(QStringLiteral("Check_GoodsColor"));
    auto button = [this](const char* name, const char* caption, std::function<void()> handler) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);  // Enter belongs to the grid
        b->setMinimumWidth(88);
        OnClick(b, std::move(handler));
        return b;
    };
    But_Open = button("But_Open", "打开文件...", [this] {
        QFileDialog dialog(this, QStringLiteral("打开"), QString(),
                           QStringLiteral("表格文件 (*.csv *.xls *.txt);;所有文件 (*)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (ExecModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            LoadFile(dialog.selectedFiles().first());
    });
    But_Check = button("But_Check", "数据核查", [this] { But_CheckClick(); });
    But_OK = button("But_OK", "确定", [this] { But_OKClick(); });
    But_Cancel = button("But_Cancel", "取消", [this] { But_CancelClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addSpacing(12);
    bottom->addWidget(Check_GoodsColor);
    for (QPushButton* b : {But_Open, But_Check, But_OK, But_Cancel}) bottom->addWidget(b);
    layout->addLayout(bottom);
    resize(1180, 600);
}

void Tfrm_GoodsBathIN::FormCreate() {
    Tbase_frmTop::FormCreate();
    ApplySharedColours(this);
    DBImport_table->CreateDataSet();
    g_goodsImport = this;
}

void Tfrm_GoodsBathIN::FormShow() {
    Tbase_frmTop::FormShow();
    cxGrid1DBTableView1->setFocus();
}

void Tfrm_GoodsBathIN::FormDestroy() {
    Tbase_frmTop::FormDestroy();
    if (g_goodsImport == this) g_goodsImport = nullptr;
}

bool Tfrm_GoodsBathIN::FormCloseQuery() {
    // A running check or write owns the rows: closing asks the check to stop.
    if (m_busy) {
        m_stopRequested = true;
        return false;
    }
    return Tbase_frmTop::FormCloseQuery();
}

QString Tfrm_GoodsBathIN::TargetName() const {
    const QString name = property("TargetName").toString();
    return name.isEmpty() ? QStringLiteral("Dt_Goods") : name;
}

bool Tfrm_GoodsBathIN::FormKeyPress(QKeyEvent& event) {
    // Pasting into the grid (not into an open cell editor) reads whole rows.
    if (event.matches(QKeySequence::Paste) && QApplication::focusWidget() == cxGrid1DBTableView1) {
        Run([this] { PasteText(QApplication::clipboard()->text()); });
        return true;
    }
    if (event.matches(QKeySequence::Cut) && QApplication::focusWidget() == cxGrid1DBTableView1) {
        cut_action->trigger();
        return true;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == cxGrid1DBTableView1 || cxGrid1DBTableView1->isAncestorOf(focus)))
        return Tbase_frm::FormKeyPress(event);  // Enter moves between the grid's cells
    return Tbase_frmTop::FormKeyPress(event);
}

void Tfrm_GoodsBathIN::setBusy(bool busy, bool stoppable) {
    m_busy = busy;
    cxGrid1->setEnabled(!busy);
    for (QPushButton* b : {But_Open, But_Check, But_OK}) b->setEnabled(!busy);
    PopupMenu1->setEnabled(!busy);
    But_Cancel->setEnabled(!busy || stoppable);
}

// ---------------------------------------------------------------- rows

int Tfrm_GoodsBathIN::fieldIndex(const QString& name) const {
    return DBImport_table->FieldByName(name).Index();
}

int Tfrm_GoodsBathIN::RowCount() const {
    return DBImport_table->Active() ? DBImport_table->RecordCount() : 0;
}

QString Tfrm_GoodsBathIN::Cell(int row, const QString& fieldName) const {
    return text(row, fieldIndex(fieldName));
}

QString Tfrm_GoodsBathIN::text(int row, int field) const {
    return DBImport_table->valueAt(row, field).toString();
}

void Tfrm_GoodsBathIN::setCells(int row, const QList<QPair<int, QString>>& cells) {
    DBImport_table->SetRecNo(row + 1);
    DBImport_table->Edit();
    for (const auto& [field, value] : cells) {
        if (value.isEmpty())
            DBImport_table->Fields(field).Clear();
        else
            DBImport_table->Fields(field).SetAsString(value);
    }
    DBImport_table->Post();
}

void Tfrm_GoodsBathIN::setRemark(int row, const QString& remark) {
    setCells(row, {qMakePair(fieldIndex(QStringLiteral("fremark")), remark)});
}

void Tfrm_GoodsBathIN::removeRows(QList<int> rows) {
    if (rows.isEmpty()) return;
    TControlsDisabled still(*DBImport_table);
    if (rows.size() == RowCount()) {
        DBImport_table->EmptyDataSet();
        return;
    }
    // From the last row up, so the numbers of the rows still to go stay put.
    std::sort(rows.begin(), rows.end());
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        DBImport_table->SetRecNo(*it + 1);
        DBImport_table->Delete();
    }
    DBImport_table->MergeChangeLog();
    DBImport_table->First();
}

void Tfrm_GoodsBathIN::removeRowsWithoutCode() {
    const int code = fieldIndex(QStringLiteral("goodsid"));
    QList<int> rows;
    for (int row = 0; row < RowCount(); ++row)
        if (text(row, code).trimmed().isEmpty()) rows << row;
    removeRows(rows);
}

QString Tfrm_GoodsBathIN::formatProblem(int row) const {
    for (int field = 0; field < int(std::size(kImportColumns)); ++field) {
        const ImportColumn& column = kImportColumns[field];
        if (column.kind == ImportColumn::Flag) continue;
        const QVariant& value = DBImport_table->valueAt(row, field);
        if (value.isNull()) continue;
        const QString cell = value.toString();
        if (cell.isEmpty()) continue;
        switch (column.kind) {
            case ImportColumn::Text:
                // The remark column holds the check's own words.
                if (column.width > 0 && cell.size() > column.width &&
                    qstrcmp(column.name, "fremark") != 0)
                    return TooLongRemark(QString::fromUtf8(column.caption), column.width);
                break;
            case ImportColumn::Number:
                if (!ParseNumber(cell)) return NotNumberRemark(QString::fromUtf8(column.caption));
                break;
            case ImportColumn::Date:
                if (!ParseDate(cell)) return NotDateRemark(QString::fromUtf8(column.caption));
                break;
            default:
                break;
        }
    }
    return QString();
}

QSet<QString> Tfrm_GoodsBathIN::localSizeGroups() const {
    // The group check reads the local database, not the server: the size
    // groups this workstation knows. Read once, then looked up per row.
    QSet<QString> groups;
    for (const QVariantList& row : md::ReadLocalRows(
             QStringLiteral("ba_size"), QStringLiteral("select distinct size_class from ba_size")))
        groups.insert(row.value(0).toString().toUpper());
    return groups;
}

// ---------------------------------------------------------------- pasting and files

struct Tfrm_GoodsBathIN::Placement {
    QList<int> fields;  // the field of each cell position; -1: the cell is dropped
    bool header = false;
    int startRow = 0;
};

QList<int> Tfrm_GoodsBathIN::shownFields(int fromSection) const {
    QList<int> fields;
    bool started = fromSection < 0;
    for (int section : cxGrid1DBTableView1->VisibleSections()) {
        if (section == fromSection) started = true;
        if (!started) continue;
        if (TGridColumn* column = cxGrid1DBTableView1->ColumnOfSection(section))
            fields << fieldIndex(column->FieldName());
    }
    return fields;
}

Tfrm_GoodsBathIN::Placement Tfrm_GoodsBathIN::placementFor(const QStringList& firstRow,
                                                           bool fromCurrentCell) const {
    Placement placement;
    // A caption row: every cell that is not blank names a column (hidden ones too).
    QList<int> named;
    bool header = false;
    for (const QString& cell : firstRow) {
        const QString key = folded(cell.trimmed());
        if (key.isEmpty()) {
            named << -1;
            continue;
        }
        const auto it = m_fieldByCaption.constFind(key);
        if (it == m_fieldByCaption.constEnd()) {
            header = false;
            break;
        }
        named << *it;
        header = true;
    }
    if (header && named.size() == firstRow.size()) {
        placement.fields = named;
        placement.header = true;
        placement.startRow = RowCount();
        return placement;
    }
    const QModelIndex current = cxGrid1DBTableView1->currentIndex();
    const bool atCell = fromCurrentCell && current.isValid() && RowCount() > 0;
    placement.fields = shownFields(atCell ? current.column() : -1);
    placement.startRow = atCell ? current.row() : RowCount();
    if (firstRow.size() > placement.fields.size())
        Refuse(QStringLiteral("粘贴的数据有%1列,从当前列起表格只有%2列,请从左边的列开始粘贴")
                   .arg(firstRow.size())
                   .arg(placement.fields.size()));
    return placement;
}

void Tfrm_GoodsBathIN::addRows(const std::function<bool(QStringList&)>& nextRow,
                               const std::function<int()>& progressOf, bool fromCurrentCell) {
    cxGrid1DBTableView1->PostEditor();
    DBImport_table->CheckBrowseMode();
    QStringList first;
    do {
        if (!nextRow(first)) return;
    } while (IsBlankRow(first));
    const Placement placement = placementFor(first, fromCurrentCell);
    const int remark = fieldIndex(QStringLiteral("fremark"));
    // Every row should be as wide as the caption row, or as the first row.
    const int width = int(placement.header ? placement.fields.size() : first.size());

    Progress progress(*this, 1000, false);
    TControlsDisabled still(*DBImport_table);
    int row = placement.startRow;
    auto put = [&](const QStringList& cells) {
        if (IsBlankRow(cells)) return;
        if (row < RowCount()) {
            DBImport_table->SetRecNo(row + 1);
            DBImport_table->Edit();
        } else {
            DBImport_table->Append();
        }
        for (int i = 0; i < cells.size() && i < width; ++i) {
            const int field = placement.fields[i];
            if (field < 0) continue;
            if (cells[i].isEmpty())
                DBImport_table->Fields(field).Clear();
            else
                DBImport_table->Fields(field).SetAsString(cells[i]);
        }
        // A row of another width has lost or shifted cells: it waits for correction.
        if (cells.size() != width && DBImport_table->Fields(remark).AsString().isEmpty())
            DBImport_table->Fields(remark).SetAsString(ColumnCountRemark(width, int(cells.size())));
        DBImport_table->Post();
        ++row;
    };
    if (!placement.header) put(first);
    QStringList cells;
    for (int n = 1; nextRow(cells); ++n) {
        put(cells);
        if (n % kPiece == 0) {
            ProgressBar1->setValue(progressOf());
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    // The rows are the grid's own from now on, not changes to send anywhere.
    DBImport_table->MergeChangeLog();
    progress.finish();
}

void Tfrm_GoodsBathIN::PasteText(const QString& text) {
    TableTextReader reader(text, QLatin1Char('\t'));
    addRows([&](QStringList& row) { return !reader.atEnd() && (row = reader.nextRow(), true); },
            [&] { return reader.progress(); }, true);
}

void Tfrm_GoodsBathIN::LoadFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls")) {
        const QList<QStringList> rows = ReadXlsRows(path);
        qsizetype next = 0;
        addRows([&](QStringList& row) { return next < rows.size() && (row = rows[next++], true); },
                [&] { return int(rows.isEmpty() ? 1000 : next * 1000 / rows.size()); }, false);
        return;
    }
    if (suffix == QLatin1String("xlsx"))
        Refuse(
            QStringLiteral("不能直接读取.xlsx文件:请在表格程序中复制数据后粘贴到表格中,"
                           "或另存为.xls或.csv文件后打开"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Refuse(QStringLiteral("无法打开文件“%1”").arg(QDir::toNativeSeparators(path)));
    // Comma-separated unless the file is the tab-separated text spreadsheets also save.
    const QChar separator = suffix == QLatin1String("txt") ? QLatin1Char('\t') : QLatin1Char(',');
    TableTextReader reader(DecodeCsvBytes(file.readAll()), separator);
    addRows([&](QStringList& row) { return !reader.atEnd() && (row = reader.nextRow(), true); },
            [&] { return reader.progress(); }, false);
}

void Tfrm_GoodsBathIN::copyRows() {
    cxGrid1DBTableView1->CopyToClipboard();
}

QList<int> Tfrm_GoodsBathIN::selectedRows() const {
    QList<int> rows;
    if (QItemSelectionModel* selection = cxGrid1DBTableView1->selectionModel())
        for (const QModelIndex& index : selection->selectedRows()) rows << index.row();
    const QModelIndex current = cxGrid1DBTableView1->currentIndex();
    if (rows.isEmpty() && current.isValid()) rows << current.row();
    return rows;
}

void Tfrm_GoodsBathIN::deleteSelectedRows() {
    cxGrid1DBTableView1->CancelEditor();
    if (DBImport_table->InEditState()) DBImport_table->Cancel();
    removeRows(selectedRows());
}

void Tfrm_GoodsBathIN::showPopup(const QPoint& at) {
    if (m_busy) return;
    PopupMenu1->popup(cxGrid1DBTableView1->viewport()->mapToGlobal(at));
}

// ---------------------------------------------------------------- 数据核查

bool Tfrm_GoodsBathIN::CheckRows() {
    cxGrid1DBTableView1->PostEditor();
    DBImport_table->CheckBrowseMode();
    const QSet<QString> groups = localSizeGroups();
    removeRowsWithoutCode();

    const int group = fieldIndex(QStringLiteral("size_class"));
    const int code = fieldIndex(QStringLiteral("colorid"));
    const int name = fieldIndex(QStringLiteral("colorname_ch"));
    const int remark = fieldIndex(QStringLiteral("fremark"));
    // Each colour is asked for once per check, however many rows carry it.
    QHash<QString, QString> nameOfCode, codeOfName;
    TRemoteUdpDataSet query;
    auto ask = [&query](QHash<QString, QString>& known, const QString& key, const QString& sql) {
        auto it = known.constFind(key);
        if (it != known.constEnd()) return *it;
        md::OpenQuery(query, sql);
        const QString found = query.IsEmpty() ? QString() : query.Fields(0).AsString();
        known.insert(key, found);
        return found;
    };

    const int rows = RowCount();
    Progress progress(*this, rows, true);
    TControlsDisabled still(*DBImport_table);
    TBookmarkKept place(*DBImport_table);
    for (int row = 0; row < rows; ++row) {
        if (!progress.step(row)) return false;
        QList<QPair<int, QString>> changes;
        QString found;
        const QString colour = text(row, code);
        const QString description = text(row, name);
        if (text(row, group).trimmed().isEmpty()) {
            found = QStringLiteral("尺码类别不能为空");
        } else if (colour.trimmed().isEmpty() && description.trimmed().isEmpty()) {
            found = QStringLiteral("颜色编号与颜色说明必须一项不能为空");
        } else if (const QString problem = formatProblem(row); !problem.isEmpty()) {
            found = problem;
        } else {
            if (!groups.contains(text(row, group).toUpper()))
                found = QStringLiteral("不存在此尺码类别");
            if (!colour.isEmpty() && description.isEmpty()) {
                const QString chinese =
                    ask(nameOfCode, colour,
                        QStringLiteral("select top 1 colorname_ch from ba_color where colorid='") +
                            SqlText(colour) + QStringLiteral("'"));
                if (!chinese.isEmpty()) changes << qMakePair(name, chinese);
            } else if (colour.isEmpty() && !description.isEmpty()) {
                const QString basic =
                    ask(codeOfName, description,
                        QStringLiteral("select top 1 colorid from ba_color where colorname_ch='") +
                            SqlText(description) + QStringLiteral("'"));
                if (!basic.isEmpty()) changes << qMakePair(code, basic);
            }
        }
        // A remark stays until the user empties the cell.
        if (!found.isEmpty() && text(row, remark).trimmed().isEmpty())
            changes << qMakePair(remark, found);
        if (!changes.isEmpty()) setCells(row, changes);
    }
    DBImport_table->MergeChangeLog();
    progress.finish();
    return true;
}

void Tfrm_GoodsBathIN::But_CheckClick() {
    if (CheckRows()) MessageBox(kCheckDone);
}

void Tfrm_GoodsBathIN::But_CancelClick() {
    if (m_busy) {
        m_stopRequested = true;
        return;
    }
    Close();
}

// ---------------------------------------------------------------- colour numbering

void Tfrm_GoodsBathIN::stopGoodsColourDescriptions() {
    // Numbered colours are basic colours: their descriptions go to ba_color.
    Check_GoodsColor->setChecked(false);
    Check_GoodsColor->setEnabled(false);
}

void Tfrm_GoodsBathIN::colorno_actionExecute() {
    if (!CheckRows()) return;
    MessageBox(kCheckDone);
    stopGoodsColourDescriptions();
    // The basic colours, then the new descriptions numbered after them.
    QHash<QString, QString> codeOf;  // description, lower case -> code
    int entries = 0;
    {
        TRemoteUdpDataSet basic;
        md::OpenQuery(basic, QStringLiteral("select colorid,colorname_ch from ba_color"));
        for (basic.First(); !basic.Eof(); basic.Next()) {
            ++entries;
            const QString key = folded(basic.Fields(1).AsString());
            if (!codeOf.contains(key)) codeOf.insert(key, basic.Fields(0).AsString());
        }
    }
    removeRowsWithoutCode();
    const int code = fieldIndex(QStringLiteral("colorid"));
    const int name = fieldIndex(QStringLiteral("colorname_ch"));
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        const QString description = text(row, name);
        if (description.trimmed().isEmpty() || !text(row, code).trimmed().isEmpty()) continue;
        const QString key = folded(description);
        if (codeOf.contains(key)) continue;
        ++entries;
        codeOf.insert(key, ThreeDigitCode(entries));
    }
    TControlsDisabled still(*DBImport_table);
    TBookmarkKept place(*DBImport_table);
    for (int row = 0; row < rows; ++row) {
        const auto it = codeOf.constFind(folded(text(row, name)));
        if (text(row, name).trimmed().isEmpty() || it == codeOf.constEnd()) continue;
        if (text(row, code) != *it) setCells(row, {qMakePair(code, *it)});
    }
    DBImport_table->MergeChangeLog();
}

void Tfrm_GoodsBathIN::childcolorno_actionExecute() {
    cxGrid1DBTableView1->PostEditor();
    DBImport_table->CheckBrowseMode();
    stopGoodsColourDescriptions();
    removeRowsWithoutCode();
    const int goods = fieldIndex(QStringLiteral("goodsid"));
    const int code = fieldIndex(QStringLiteral("colorid"));
    const int name = fieldIndex(QStringLiteral("colorname_ch"));
    const int rows = RowCount();
    QSet<QString> described;
    for (int row = 0; row < rows; ++row)
        if (!text(row, name).trimmed().isEmpty()) described.insert(text(row, goods).toUpper());
    // Each such goods item's rows, in grid order, get 001, 002, ...
    QHash<QString, int> position;
    TControlsDisabled still(*DBImport_table);
    TBookmarkKept place(*DBImport_table);
    for (int row = 0; row < rows; ++row) {
        const QString key = text(row, goods).toUpper();
        if (!described.contains(key)) continue;
        const QString next = ThreeDigitCode(++position[key]);
        if (text(row, code) != next) setCells(row, {qMakePair(code, next)});
    }
    DBImport_table->MergeChangeLog();
}

// ---------------------------------------------------------------- 确定

void Tfrm_GoodsBathIN::But_OKClick() {
    cxGrid1DBTableView1->PostEditor();
    DBImport_table->CheckBrowseMode();
    const QSet<QString> groups = localSizeGroups();
    removeRowsWithoutCode();
    // Rows without a remark are written once they pass what needs no server;
    // a row that was not checked (or changed since) gets its remark here.
    const int group = fieldIndex(QStringLiteral("size_class"));
    const int code = fieldIndex(QStringLiteral("colorid"));
    const int name = fieldIndex(QStringLiteral("colorname_ch"));
    const int remark = fieldIndex(QStringLiteral("fremark"));
    QList<int> rows;
    {
        TControlsDisabled still(*DBImport_table);
        TBookmarkKept place(*DBImport_table);
        for (int row = 0; row < RowCount(); ++row) {
            if (!text(row, remark).trimmed().isEmpty()) continue;
            QString problem;
            if (text(row, group).trimmed().isEmpty())
                problem = QStringLiteral("尺码类别不能为空");
            else if (text(row, code).trimmed().isEmpty() && text(row, name).trimmed().isEmpty())
                problem = QStringLiteral("颜色编号与颜色说明必须一项不能为空");
            else
                problem = formatProblem(row);
            if (problem.isEmpty() && !groups.contains(text(row, group).toUpper()))
                problem = QStringLiteral("不存在此尺码类别");
            if (problem.isEmpty() && text(row, code).trimmed().isEmpty())
                problem = QStringLiteral("颜色编号不能为空,请先核查或编号");
            if (problem.isEmpty())
                rows << row;
            else
                setRemark(row, problem);
        }
        DBImport_table->MergeChangeLog();
    }
    if (!rows.isEmpty()) {
        writeRows(rows);
        removeRows(rows);
    }
    if (RowCount() > 0) {
        MessageBox(QStringLiteral("尚有部分数据不能导入,请查看最后一列的说明!"));
        return;
    }
    MessageBox(QStringLiteral("已全部导入完成!"));
    Close();
}

MD_REGISTER_FORM(Tfrm_GoodsBathIN);
