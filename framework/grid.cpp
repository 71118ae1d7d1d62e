#include "grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "datasource.h"
#include "editorfactory.h"
#include "griddelegate.h"
#include "gridfooter.h"
#include "gridmodel.h"
#include "messages.h"
#include "remoteudpdataset.h"

using namespace md::ui;

TDBTableView::TDBTableView(const QString& name, QWidget* parent)
    : QTableView(parent),
      m_model(new TGridModel(this)),
      m_delegate(new TGridDelegate(m_model, this)) {
    setObjectName(name);
    m_model->columnByField = [this](const QString& field) { return Column(field); };
    setModel(m_model);
    setItemDelegate(m_delegate);

    // Fixed row height and no measuring: opening a large table costs one reset.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // After the view's own handling of a reset, so the header has its new sections.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyLayout();
        syncFromDataSet();
        Q_EMIT summariesDirty();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        syncFromDataSet();
        Q_EMIT summariesDirty();
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { Q_EMIT summariesDirty(); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { Q_EMIT summariesDirty(); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onCurrentRowChanged(current); });
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            &TDBTableView::showHeaderMenu);
    ApplyOptions();
}

TDBTableView::~TDBTableView() = default;

void TDBTableView::setDataSource(TDataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_model->setDataSet(source ? source->DataSet() : nullptr);
    if (!source) return;
    connect(source, &TDataSource::stateChanged, this, [this] {
        // The source may have been given another dataset.
        if (m_source && m_model->dataSet() != m_source->DataSet())
            m_model->setDataSet(m_source->DataSet());
    });
    connect(source, &TDataSource::dataChanged, this, [this](int field) {
        if (field < 0) syncFromDataSet();
    });
    m_model->dataSetModel()->BeforeEditRow = [this](int) { return m_source && m_source->Edit(); };
    m_model->dataSetModel()->OnError = [](const std::exception& e) { ShowError(e); };
    applyLayout();
    syncFromDataSet();
}

TRemoteUdpDataSet* TDBTableView::DataSet() const {
    return m_model->dataSet();
}

// ---------------------------------------------------------------- description

TGridColumn& TDBTableView::AddColumn(const QString& fieldName, const QString& caption) {
    auto* col = new TGridColumn(fieldName, caption, this);
    col->setObjectName(objectName() + fieldName);
    col->onChanged = [this] {
        m_model->refreshColumns();
        applyLayout();
        Q_EMIT summariesDirty();
    };
    m_columns.append(col);
    col->onChanged();
    return *col;
}

TGridColumn* TDBTableView::Column(const QString& fieldName) const {
    for (TGridColumn* col : m_columns)
        if (col->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0) return col;
    return nullptr;
}

int TDBTableView::AddBand(const QString& caption) {
    m_bands.append(caption);
    Q_EMIT layoutApplied();
    return int(m_bands.size() - 1);
}

void TDBTableView::ApplyOptions() {
    if (isSortingEnabled() != m_options.ColumnSorting) {
        setSortingEnabled(m_options.ColumnSorting);
        if (!m_options.ColumnSorting && m_model->sortColumn() >= 0) {
            horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            m_model->sort(-1);
        }
    }
    const auto mode = m_options.MultiSelect ? QAbstractItemView::ExtendedSelection
                                            : QAbstractItemView::SingleSelection;
    if (selectionMode() != mode) setSelectionMode(mode);
    Q_EMIT layoutApplied();
}

// Shows the described columns in their order (or every visible field when
// none is described). A reset clears the header's sections, so this runs
// after every reset.
void TDBTableView::applyLayout() {
    ApplyOptions();
    QHeaderView* header = horizontalHeader();
    const int sections = m_model->columnCount();
    const TDataSetModel* fields = m_model->dataSetModel();
    for (int s = 0; s < sections; ++s) {
        const TGridColumn* col = m_model->columnAt(s);
        const TField* f = fields->field(s);
        const bool shown = m_columns.isEmpty() ? (f && f->Visible()) : (col && col->Visible());
        header->setSectionHidden(s, !shown);
    }
    int visual = 0;
    for (const TGridColumn* col : m_columns) {
        const int s = fields->columnOf(col->FieldName());
        if (s < 0) continue;
        const int from = header->visualIndex(s);
        if (from != visual) header->moveSection(from, visual);
        ++visual;
        const int width =
            col->Width() > 0
                ? col->Width()
                : qMax(80, header->fontMetrics().horizontalAdvance(col->Caption()) + 24);
        if (header->sectionSize(s) != width) header->resizeSection(s, width);
    }
    Q_EMIT layoutApplied();
}

// ---------------------------------------------------------------- editing gate and editors

void TDBTableView::SetInputAllowed(bool allowed) {
    if (!allowed) {
        // Input ends: a text that is no value is dropped, anything else written.
        QWidget* editor = m_delegate->openEditor();
        if (editor && !EditorInputError(editor).isEmpty()) CancelEditor();
        PostEditor();
    }
    m_model->setInputAllowed(allowed);
}

bool TDBTableView::InputAllowed() const {
    return m_model->inputAllowed();
}

void TDBTableView::PostEditor() {
    if (QWidget* editor = m_delegate->openEditor()) {
        TGridDelegate::CheckEditorInput(editor);
        commitData(editor);
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TDBTableView::CancelEditor() {
    if (QWidget* editor = m_delegate->openEditor())
        QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void TDBTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Enter in a cell editor: the value is written, then the next cell gets the
    // focus. The view closes editors with the same hint when the current row
    // changes; those stay where the user went.
    if (hint == QAbstractItemDelegate::SubmitModelCache && m_options.GoToNextCellOnEnter &&
        m_delegate->closingOnEnter() && editor == m_delegate->openEditor()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextCell();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

// ---------------------------------------------------------------- current record

void TDBTableView::syncFromDataSet() {
    TRemoteUdpDataSet* ds = DataSet();
    if (m_syncing || !ds || !ds->Active() || ds->IsEmpty()) return;
    const int row = m_model->viewRow(ds->RecNo() - 1);
    if (row < 0) return;
    int column = currentIndex().isValid() ? currentIndex().column() : firstVisibleSection();
    if (ds->State() == dsInsert && m_options.FocusFirstCellOnNewRecord)
        column = firstVisibleSection();
    if (column < 0) column = 0;
    const QModelIndex at = m_model->index(row, column);
    if (currentIndex() == at) return;
    m_syncing = true;
    selectionModel()->setCurrentIndex(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
    scrollTo(at);
}

void TDBTableView::onCurrentRowChanged(const QModelIndex& current) {
    TRemoteUdpDataSet* ds = DataSet();
    if (m_syncing || !ds || !ds->Active() || !current.isValid()) return;
    const int row = m_model->dataSetRow(current.row());
    if (row < 0 || ds->RecNo() == row + 1) return;
    m_syncing = true;
    // Leaving a record posts it; a refused post keeps the grid on that record.
    const bool moved = Guard([&] { ds->SetRecNo(row + 1); });
    m_syncing = false;
    if (!moved || ds->RecNo() != row + 1)
        QMetaObject::invokeMethod(
            this, [this] { syncFromDataSet(); }, Qt::QueuedConnection);
}

int TDBTableView::firstVisibleSection() const {
    const QList<int> sections = VisibleSections();
    return sections.isEmpty() ? -1 : sections.first();
}

void TDBTableView::moveToNextCell() {
    const QList<int> sections = VisibleSections();
    const QModelIndex current = currentIndex();
    if (sections.isEmpty() || !current.isValid()) return;
    const qsizetype at = sections.indexOf(current.column());
    QModelIndex next;
    if (at >= 0 && at + 1 < sections.size())
        next = m_model->index(current.row(), sections.at(at + 1));
    else if (current.row() + 1 < m_model->rowCount())
        next = m_model->index(current.row() + 1, sections.first());
    if (next.isValid()) setCurrentIndex(next);
}

// ---------------------------------------------------------------- keys

void TDBTableView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    TRemoteUdpDataSet* ds = DataSet();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier &&
        m_options.GoToNextCellOnEnter) {
        moveToNextCell();
        return;
    }
    if (ds && ds->Active() && InputAllowed()) {
        if (key == Qt::Key_Down && mods == Qt::NoModifier && m_options.Appending &&
            currentIndex().row() == m_model->rowCount() - 1) {
            // An untouched new record is not followed by another one.
            if (!(ds->State() == dsInsert && !ds->Modified())) Guard([&] { ds->Append(); });
            return;
        }
        if (key == Qt::Key_Insert && mods == Qt::NoModifier && m_options.Inserting) {
            Guard([&] { ds->Insert(); });
            return;
        }
        if (key == Qt::Key_Delete && mods == Qt::ControlModifier && m_options.Deleting) {
            Guard([&] {
                if (!ds->IsEmpty() && AskYesNo(QStringLiteral("是否确认删除此记录？")))
                    ds->Delete();
            });
            return;
        }
    }
    if (m_options.Clipboard && event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        return;
    }
    if (m_options.Clipboard && event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---------------------------------------------------------------- find

void TDBTableView::ShowFilterBuilder(const QString& fieldName) {
    TRemoteUdpDataSet* ds = DataSet();
    if (!ds || !ds->Active()) return;
    QList<QPair<QString, QString>> columns;
    for (int section : VisibleSections())
        if (const TField* f = m_model->dataSetModel()->field(section))
            columns.append(
                {f->FieldName(), m_model->headerData(section, Qt::Horizontal).toString()});
    TFilterDialog dialog(columns, window());
    QList<TFilterCondition> start = m_conditions;
    if (!fieldName.isEmpty() && start.isEmpty())
        start.append({false, fieldName, QStringLiteral("="), QString()});
    dialog.setConditions(start);
    if (ExecModal(dialog) != QDialog::Accepted) return;
    ApplyFilter(dialog.conditions());
}

void TDBTableView::ApplyFilter(const QList<TFilterCondition>& conditions) {
    TRemoteUdpDataSet* ds = DataSet();
    if (!ds) return;
    // A filter the form set itself stays in force under the grid's conditions.
    if (m_appliedFilter.isEmpty() || ds->Filter() != m_appliedFilter)
        m_baseFilter = ds->Filtered() ? ds->Filter() : QString();
    const QString find = FilterText(conditions, *ds);
    QString text = find;
    if (!m_baseFilter.isEmpty())
        text = find.isEmpty() ? m_baseFilter
                              : QLatin1Char('(') + m_baseFilter + QStringLiteral(") and (") + find +
                                    QLatin1Char(')');
    ds->SetFilter(text);
    ds->SetFiltered(!text.isEmpty());
    m_conditions = conditions;
    m_appliedFilter = text;
}

void TDBTableView::ClearFilter() {
    ApplyFilter({});
}

void TDBTableView::showHeaderMenu(const QPoint& pos) {
    if (!m_options.ColumnFiltering) return;
    const int section = horizontalHeader()->logicalIndexAt(pos);
    const TField* f = m_model->dataSetModel()->field(section);
    QMenu menu(this);
    QAction* filter = menu.addAction(QStringLiteral("筛选..."));
    QAction* clear = menu.addAction(QStringLiteral("清除筛选"));
    clear->setEnabled(!m_conditions.isEmpty());
    QAction* chosen = menu.exec(horizontalHeader()->mapToGlobal(pos));
    if (chosen == filter)
        Guard([&] { ShowFilterBuilder(f ? f->FieldName() : QString()); });
    else if (chosen == clear)
        Guard([&] { ClearFilter(); });
}

// ---------------------------------------------------------------- footer and style

QString TDBTableView::SummaryText(const TGridColumn& column) const {
    const TRemoteUdpDataSet* ds = DataSet();
    const TField* f = ds && ds->Active() ? ds->FindField(column.FieldName()) : nullptr;
    double value = 0;
    if (column.Summary() == TSummaryKind::Count) {
        value = ds && ds->Active() ? ds->RecordCount() : 0;
    } else if (column.Summary() == TSummaryKind::Sum && f) {
        const int n = ds->RecordCount();
        const int fi = f->Index();
        for (int r = 0; r < n; ++r) {
            const QVariant& v = ds->valueAt(r, fi);
            if (v.isNull()) continue;
            try {
                value += TField::floatOf(v);
            } catch (const EDatabaseError&) {
                // Text that is no number adds nothing.
            }
        }
    } else {
        return QString();
    }
    QString format = column.SummaryFormat();
    if (format.isEmpty())
        format =
            column.Summary() == TSummaryKind::Count ? QStringLiteral("0") : QStringLiteral("0.00");
    return TField::formatNumber(value, format);
}

void TDBTableView::SetStyle(const TGridStyle& style) {
    QPalette pal = horizontalHeader()->palette();
    if (style.Color.isValid()) pal.setColor(QPalette::Button, style.Color);
    if (style.TextColor.isValid()) pal.setColor(QPalette::ButtonText, style.TextColor);
    horizontalHeader()->setPalette(pal);
    if (QWidget* grid = parentWidget())
        for (QWidget* part : {static_cast<QWidget*>(grid->findChild<TGridFooter*>()),
                              static_cast<QWidget*>(grid->findChild<TBandHeader*>())})
            if (part) part->setPalette(pal);
}

// ---------------------------------------------------------------- clipboard

void TDBTableView::CopyToClipboard() {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.append(index.row());
    if (rows.isEmpty() && currentIndex().isValid()) rows.append(currentIndex().row());
    std::sort(rows.begin(), rows.end());
    const QList<int> sections = VisibleSections();
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (int section : sections) cells << m_model->cellText(m_model->index(row, section));
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TDBTableView::PasteFromClipboard() {
    TRemoteUdpDataSet* ds = DataSet();
    if (!ds || !ds->Active() || !InputAllowed()) return;
    QString text = QApplication::clipboard()->text();
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (text.isEmpty()) return;
    const QList<int> sections = VisibleSections();
    const QModelIndex start = currentIndex();
    const qsizetype firstColumn =
        start.isValid() ? qMax<qsizetype>(0, sections.indexOf(start.column())) : 0;
    int row = start.isValid() ? start.row() : 0;
    Guard([&] {
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (row >= m_model->rowCount()) {
                if (!m_options.Appending) break;
                ds->Append();
                row = m_model->viewRow(ds->RecNo() - 1);
            }
            const QStringList cells = line.split(QLatin1Char('\t'));
            for (qsizetype i = 0; i < cells.size() && firstColumn + i < sections.size(); ++i) {
                const QModelIndex at = m_model->index(row, sections.at(firstColumn + i));
                if (m_model->flags(at) & Qt::ItemIsEditable)
                    m_model->setData(at, cells.at(i).isEmpty() ? QVariant() : QVariant(cells.at(i)),
                                     Qt::EditRole);
            }
            ++row;
        }
    });
}

// ---------------------------------------------------------------- sections and report

QList<int> TDBTableView::VisibleSections() const {
    const QHeaderView* header = horizontalHeader();
    QList<int> out;
    for (int v = 0; v < header->count(); ++v) {
        const int s = header->logicalIndex(v);
        if (!header->isSectionHidden(s)) out.append(s);
    }
    return out;
}

TGridColumn* TDBTableView::ColumnOfSection(int section) const {
    return m_model->columnAt(section);
}

int TDBTableView::SectionOf(const QString& fieldName) const {
    return m_model->dataSetModel()->columnOf(fieldName);
}

bool TDBTableView::isNumericSection(int section) const {
    const TField* f = m_model->dataSetModel()->field(section);
    const TGridColumn* col = ColumnOfSection(section);
    if (!f || (col && (col->Kind() == TEditorKind::Lookup || col->Kind() == TEditorKind::CheckBox)))
        return false;
    return f->DataType() == ftInteger || f->DataType() == ftFloat || f->DataType() == ftCurrency;
}

int TDBTableView::reportColumnCount() const {
    m_reportSections = VisibleSections();  // a snapshot for the cell calls that follow
    return int(m_reportSections.size());
}

int TDBTableView::reportSection(int column) const {
    if (m_reportSections.isEmpty()) m_reportSections = VisibleSections();
    return m_reportSections.value(column, -1);
}

QString TDBTableView::reportCaption(int column) const {
    return m_model->headerData(reportSection(column), Qt::Horizontal).toString();
}

int TDBTableView::reportWidth(int column) const {
    return columnWidth(reportSection(column));
}

Qt::Alignment TDBTableView::reportAlignment(int column) const {
    const int section = reportSection(column);
    const TGridColumn* col = ColumnOfSection(section);
    if (col && col->Kind() == TEditorKind::CheckBox) return Qt::AlignHCenter;
    return isNumericSection(section) ? Qt::AlignRight : Qt::AlignLeft;
}

int TDBTableView::reportRowCount() const {
    return m_model->rowCount();
}

QString TDBTableView::reportText(int row, int column) const {
    return m_model->cellText(m_model->index(row, reportSection(column)));
}

QVariant TDBTableView::reportNumber(int row, int column) const {
    const int section = reportSection(column);
    if (!isNumericSection(section)) return QVariant();
    const QVariant v = m_model->index(row, section).data(Qt::EditRole);
    if (v.isNull()) return QVariant();
    try {
        return TField::floatOf(v);
    } catch (const EDatabaseError&) {
        return QVariant();
    }
}

QString TDBTableView::reportNumberFormat(int column) const {
    const TGridColumn* col = ColumnOfSection(reportSection(column));
    return col ? col->DisplayFormat() : QString();
}

QColor TDBTableView::reportSwatch(int row, int column) const {
    return m_model->index(row, reportSection(column)).data(Qt::DecorationRole).value<QColor>();
}

bool TDBTableView::reportHasFooter() const {
    return m_options.Footer;
}

QString TDBTableView::reportFooter(int column) const {
    const TGridColumn* col = ColumnOfSection(reportSection(column));
    return col && m_options.Footer ? SummaryText(*col) : QString();
}

// ---------------------------------------------------------------- TDBGrid

TDBGrid::TDBGrid(QWidget* parent, const QString& name, const QString& viewName) : QWidget(parent) {
    setObjectName(name);
    m_view = new TDBTableView(viewName.isEmpty() ? name + QStringLiteral("DBTableView1") : viewName,
                              this);
    m_bandHeader = new TBandHeader(m_view, this);
    m_footer = new TGridFooter(m_view, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bandHeader);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);
    connect(m_view, &TDBTableView::layoutApplied, this, &TDBGrid::updateParts);
    updateParts();
}

void TDBGrid::updateParts() {
    m_bandHeader->setVisible(!m_view->Bands().isEmpty());
    m_footer->setVisible(m_view->Options().Footer);
}
