#include "treelist.h"

#include <QHash>
#include <QHeaderView>

#include "datasource.h"
#include "messages.h"
#include "remoteudpdataset.h"

// ---------------------------------------------------------------- TTreeDataModel

TTreeDataModel::TTreeDataModel(QObject* parent) : QAbstractItemModel(parent) {}

void TTreeDataModel::setDataSet(TRemoteUdpDataSet* dataSet) {
    if (m_dataSet) disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (dataSet) {
        connect(dataSet, &TRemoteUdpDataSet::dataSetChanged, this, &TTreeDataModel::rebuild);
        connect(dataSet, &TRemoteUdpDataSet::rowInserted, this, &TTreeDataModel::rebuild);
        connect(dataSet, &TRemoteUdpDataSet::rowRemoved, this, &TTreeDataModel::rebuild);
        connect(dataSet, &TRemoteUdpDataSet::rowChanged, this, &TTreeDataModel::onRowChanged);
        connect(dataSet, &TRemoteUdpDataSet::stateChanged, this, [this] {
            if (m_dataSet && !m_dataSet->Active() && !m_nodes.empty()) rebuild();
        });
        connect(dataSet, &QObject::destroyed, this, &TTreeDataModel::rebuild);
    }
    rebuild();
}

void TTreeDataModel::setFields(const QString& keyField, const QString& parentField) {
    m_keyField = keyField;
    m_parentField = parentField;
}

int TTreeDataModel::fieldIndex(const QString& name) const {
    const TField* f = m_dataSet && m_dataSet->Active() ? m_dataSet->FindField(name) : nullptr;
    return f ? f->Index() : -1;
}

void TTreeDataModel::rebuild() {
    beginResetModel();
    m_nodes.clear();
    m_roots.clear();
    m_keys.clear();
    m_parents.clear();
    m_byKey.clear();
    const int keyIndex = fieldIndex(m_keyField);
    const int parentIndex = fieldIndex(m_parentField);
    const int n = keyIndex >= 0 && parentIndex >= 0 ? m_dataSet->RecordCount() : 0;
    m_nodes.resize(size_t(n));
    m_keys.resize(size_t(n));
    m_parents.resize(size_t(n));
    m_byKey.reserve(n);
    for (int r = 0; r < n; ++r) {
        m_keys[size_t(r)] = TField::textOf(m_dataSet->valueAt(r, keyIndex), ftUnknown);
        m_parents[size_t(r)] = TField::textOf(m_dataSet->valueAt(r, parentIndex), ftUnknown);
        if (!m_byKey.contains(m_keys[size_t(r)])) m_byKey.insert(m_keys[size_t(r)], r);
    }
    for (int r = 0; r < n; ++r) {
        const int p = m_byKey.value(m_parents[size_t(r)], -1);
        m_nodes[size_t(r)].parent = p == r ? -1 : p;
    }
    // Break cycles: follow each chain of parents; a chain that returns to a
    // record still on it makes that record a top-level node.
    std::vector<char> state(size_t(n), 0);  // 0 new, 1 on the current chain, 2 done
    std::vector<int> chain;
    for (int r = 0; r < n; ++r) {
        chain.clear();
        int at = r;
        while (at >= 0 && state[size_t(at)] == 0) {
            state[size_t(at)] = 1;
            chain.push_back(at);
            at = m_nodes[size_t(at)].parent;
        }
        if (at >= 0 && state[size_t(at)] == 1) m_nodes[size_t(at)].parent = -1;
        for (int c : chain) state[size_t(c)] = 2;
    }
    for (int r = 0; r < n; ++r) {
        Node& node = m_nodes[size_t(r)];
        std::vector<int>& siblings =
            node.parent < 0 ? m_roots : m_nodes[size_t(node.parent)].children;
        node.position = int(siblings.size());
        siblings.push_back(r);
    }
    endResetModel();
    Q_EMIT rebuilt();
}

void TTreeDataModel::onRowChanged(int row) {
    if (row < 0 || size_t(row) >= m_nodes.size()) return rebuild();
    const int keyIndex = fieldIndex(m_keyField);
    const int parentIndex = fieldIndex(m_parentField);
    if (keyIndex < 0 || parentIndex < 0 ||
        TField::textOf(m_dataSet->valueAt(row, keyIndex), ftUnknown) != m_keys[size_t(row)] ||
        TField::textOf(m_dataSet->valueAt(row, parentIndex), ftUnknown) != m_parents[size_t(row)])
        return rebuild();
    const QModelIndex first = indexOfRow(row);
    Q_EMIT dataChanged(first, first.siblingAtColumn(columnCount() - 1));
}

QModelIndex TTreeDataModel::indexOfRow(int row) const {
    if (row < 0 || size_t(row) >= m_nodes.size()) return QModelIndex();
    return createIndex(m_nodes[size_t(row)].position, 0, quintptr(row));
}

int TTreeDataModel::rowOf(const QModelIndex& index) const {
    return index.isValid() && index.model() == this ? int(index.internalId()) : -1;
}

QString TTreeDataModel::keyOf(int row) const {
    return row >= 0 && size_t(row) < m_keys.size() ? m_keys[size_t(row)] : QString();
}

QModelIndex TTreeDataModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= columnCount()) return QModelIndex();
    const std::vector<int>& siblings =
        parent.isValid() ? m_nodes[size_t(parent.internalId())].children : m_roots;
    if (parent.isValid() && parent.column() != 0) return QModelIndex();
    if (size_t(row) >= siblings.size()) return QModelIndex();
    return createIndex(row, column, quintptr(siblings[size_t(row)]));
}

QModelIndex TTreeDataModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return QModelIndex();
    const int p = m_nodes[size_t(child.internalId())].parent;
    return p < 0 ? QModelIndex() : createIndex(m_nodes[size_t(p)].position, 0, quintptr(p));
}

int TTreeDataModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return int(m_roots.size());
    if (parent.column() != 0) return 0;
    return int(m_nodes[size_t(parent.internalId())].children.size());
}

int TTreeDataModel::columnCount(const QModelIndex&) const {
    return m_columns && !m_columns->isEmpty() ? int(m_columns->size()) : 1;
}

QVariant TTreeDataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || !m_dataSet) return QVariant();
    const QString field = m_columns && !m_columns->isEmpty()
                              ? m_columns->at(index.column())->FieldName()
                              : m_keyField;
    const int fi = fieldIndex(field);
    return fi < 0 ? QVariant() : QVariant(m_dataSet->displayTextAt(int(index.internalId()), fi));
}

QVariant TTreeDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    if (m_columns && section >= 0 && section < m_columns->size())
        return m_columns->at(section)->Caption();
    return m_keyField;
}

// ---------------------------------------------------------------- TDBTreeList

TDBTreeList::TDBTreeList(QWidget* parent, const QString& name)
    : QTreeView(parent), m_model(new TTreeDataModel(this)) {
    setObjectName(name);
    m_model->setColumns(&m_columns);
    setModel(m_model);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_model, &TTreeDataModel::rebuilt, this, [this] {
        restoreExpansion();
        syncFromDataSet();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!m_syncing) m_collapsed.insert(m_model->keyOf(m_model->rowOf(index)));
    });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (!m_syncing) m_collapsed.remove(m_model->keyOf(m_model->rowOf(index)));
    });
}

void TDBTreeList::setDataSource(TDataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_model->setDataSet(source ? source->DataSet() : nullptr);
    if (!source) return;
    connect(source, &TDataSource::stateChanged, this, [this] {
        if (!m_source) return;
        if (m_model->dataSet() != m_source->DataSet()) m_model->setDataSet(m_source->DataSet());
        // A dataset opened again starts fully expanded.
        if (!m_source->DataSet() || !m_source->DataSet()->Active()) m_collapsed.clear();
    });
    connect(source, &TDataSource::dataChanged, this, [this](int field) {
        if (field < 0) syncFromDataSet();
    });
}

TRemoteUdpDataSet* TDBTreeList::DataSet() const {
    return m_model->dataSet();
}

void TDBTreeList::SetKeyField(const QString& field) {
    m_model->setFields(field, m_model->parentField());
    Refresh();
}

void TDBTreeList::SetParentField(const QString& field) {
    m_model->setFields(m_model->keyField(), field);
    Refresh();
}

QString TDBTreeList::KeyField() const {
    return m_model->keyField();
}
QString TDBTreeList::ParentField() const {
    return m_model->parentField();
}

TGridColumn& TDBTreeList::AddColumn(const QString& fieldName, const QString& caption) {
    auto* col = new TGridColumn(fieldName, caption, this);
    col->setObjectName(objectName() + fieldName);
    col->onChanged = [this] { Refresh(); };
    m_columns.append(col);
    Refresh();
    return *col;
}

void TDBTreeList::Refresh() {
    m_model->rebuild();
}

void TDBTreeList::FullExpand() {
    m_collapsed.clear();
    expandAll();
}

void TDBTreeList::restoreExpansion() {
    m_syncing = true;
    expandAll();
    for (const QString& key : std::as_const(m_collapsed))
        if (const int row = m_model->rowOfKey(key); row >= 0) collapse(m_model->indexOfRow(row));
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns.at(c)->Width() > 0) setColumnWidth(c, m_columns.at(c)->Width());
    m_syncing = false;
}

void TDBTreeList::syncFromDataSet() {
    TRemoteUdpDataSet* ds = DataSet();
    if (m_syncing || !ds || !ds->Active() || ds->IsEmpty()) return;
    const QModelIndex at = m_model->indexOfRow(ds->RecNo() - 1);
    if (!at.isValid() || currentIndex() == at) return;
    m_syncing = true;
    selectionModel()->setCurrentIndex(
        at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
    scrollTo(at);
}

void TDBTreeList::onCurrentChanged(const QModelIndex& current) {
    TRemoteUdpDataSet* ds = DataSet();
    if (m_syncing || !ds || !ds->Active()) return;
    const int row = m_model->rowOf(current);
    if (row < 0 || ds->RecNo() == row + 1) return;
    m_syncing = true;
    const bool moved = md::ui::Guard([&] { ds->SetRecNo(row + 1); });
    m_syncing = false;
    if (!moved || ds->RecNo() != row + 1)
        QMetaObject::invokeMethod(
            this, [this] { syncFromDataSet(); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- report

int TDBTreeList::reportColumnCount() const {
    // Snapshot of the nodes in tree order for the cell calls that follow.
    m_reportRows.clear();
    std::vector<QModelIndex> stack;
    for (int r = m_model->rowCount() - 1; r >= 0; --r) stack.push_back(m_model->index(r, 0));
    while (!stack.empty()) {
        const QModelIndex at = stack.back();
        stack.pop_back();
        m_reportRows.push_back(at);
        for (int r = m_model->rowCount(at) - 1; r >= 0; --r)
            stack.push_back(m_model->index(r, 0, at));
    }
    return m_model->columnCount();
}

QString TDBTreeList::reportCaption(int column) const {
    return m_model->headerData(column, Qt::Horizontal).toString();
}
int TDBTreeList::reportWidth(int column) const {
    return columnWidth(column);
}
Qt::Alignment TDBTreeList::reportAlignment(int) const {
    return Qt::AlignLeft;
}
int TDBTreeList::reportRowCount() const {
    return int(m_reportRows.size());
}

QString TDBTreeList::reportText(int row, int column) const {
    const QModelIndex at = m_reportRows.at(size_t(row));
    QString text = at.siblingAtColumn(column).data().toString();
    if (column == 0) {
        int level = 0;
        for (QModelIndex p = at.parent(); p.isValid(); p = p.parent()) ++level;
        text.prepend(QString(level * 2, QLatin1Char(' ')));
    }
    return text;
}
