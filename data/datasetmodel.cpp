#include "datasetmodel.h"

#include <QDebug>

TDataSetModel::TDataSetModel(TRemoteUdpDataSet* dataSet, QObject* parent)
    : QAbstractTableModel(parent) {
    setDataSet(dataSet);
}

void TDataSetModel::setDataSet(TRemoteUdpDataSet* dataSet) {
    if (m_dataSet) disconnect(m_dataSet, nullptr, this, nullptr);
    beginResetModel();
    m_dataSet = dataSet;
    m_rows = dataSet ? dataSet->RecordCount() : 0;
    m_columns = dataSet ? dataSet->FieldCount() : 0;
    endResetModel();
    if (!dataSet) return;

    // The model keeps its own row count: between a dataset's "about to" and
    // "done" signals, and while the dataset's controls are disabled, it reports
    // the count the view was last told about.
    connect(dataSet, &TRemoteUdpDataSet::dataSetChanged, this, &TDataSetModel::resetFromDataSet);
    connect(dataSet, &TRemoteUdpDataSet::stateChanged, this, [this] {
        if (m_dataSet && !m_dataSet->Active() && (m_rows || m_columns)) resetFromDataSet();
    });
    connect(dataSet, &TRemoteUdpDataSet::rowAboutToBeInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        ++m_rows;
    });
    connect(dataSet, &TRemoteUdpDataSet::rowInserted, this, [this](int) { endInsertRows(); });
    connect(dataSet, &TRemoteUdpDataSet::rowAboutToBeRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        --m_rows;
    });
    connect(dataSet, &TRemoteUdpDataSet::rowRemoved, this, [this](int) { endRemoveRows(); });
    connect(dataSet, &TRemoteUdpDataSet::rowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows && m_columns > 0)
            Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1));
    });
    connect(dataSet, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_rows = m_columns = 0;
        endResetModel();
    });
}

void TDataSetModel::resetFromDataSet() {
    beginResetModel();
    m_rows = m_dataSet ? m_dataSet->RecordCount() : 0;
    m_columns = m_dataSet ? m_dataSet->FieldCount() : 0;
    endResetModel();
}

TField* TDataSetModel::field(int column) const {
    if (!m_dataSet || column < 0 || column >= m_columns || column >= m_dataSet->FieldCount())
        return nullptr;
    return &m_dataSet->Fields(column);
}

int TDataSetModel::columnOf(const QString& fieldName) const {
    const TField* f = m_dataSet ? m_dataSet->FindField(fieldName) : nullptr;
    return f && f->Index() < m_columns ? f->Index() : -1;
}

int TDataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}
int TDataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const {
    if (!m_dataSet || !index.isValid()) return QVariant();
    const TField* f = field(index.column());
    if (!f) return QVariant();
    const TFieldType type = f->DataType();
    try {
        switch (role) {
            case Qt::DisplayRole: {
                if (type == ftBoolean) return QVariant();
                const QVariant& value = m_dataSet->valueAt(index.row(), index.column());
                // Plain text needs no formatting: hand the stored string over.
                if (type == ftString && value.typeId() == QMetaType::QString) return value;
                return f->displayTextOf(value);
            }
            case Qt::EditRole: {
                const QVariant& value = m_dataSet->valueAt(index.row(), index.column());
                if (type == ftBoolean && !value.isNull()) return TField::booleanOf(value);
                return value;
            }
            case Qt::CheckStateRole:
                if (type != ftBoolean) return QVariant();
                return TField::booleanOf(m_dataSet->valueAt(index.row(), index.column()))
                           ? Qt::Checked
                           : Qt::Unchecked;
            case Qt::TextAlignmentRole:
                if (type == ftInteger || type == ftFloat || type == ftCurrency)
                    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
                return QVariant();
            default:
                return QVariant();
        }
    } catch (const std::exception&) {
        // A calculated field whose handler failed shows nothing rather than
        // throwing into the view.
        return QVariant();
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return section + 1;
    const TField* f = field(section);
    return f ? QVariant(f->DisplayLabel()) : QVariant();
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const {
    const TField* f = index.isValid() ? field(index.column()) : nullptr;
    if (!f) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    const bool takesInput = f->FieldKind() == fkData || (f->Calculated() && f->OnWrite);
    if (takesInput && !f->ReadOnly()) {
        flags |= Qt::ItemIsEditable;
        if (f->DataType() == ftBoolean) flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TField* f = index.isValid() ? field(index.column()) : nullptr;
    if (!f || !(flags(index) & Qt::ItemIsEditable)) return false;
    if (role != Qt::EditRole && !(role == Qt::CheckStateRole && f->DataType() == ftBoolean))
        return false;
    try {
        TRemoteUdpDataSet& ds = *m_dataSet;
        const TBookmark target = ds.bookmarkAt(index.row());
        if (target.isNull()) return false;
        // Moving posts (or drops) the record being edited, which may shift rows:
        // the target is held by bookmark, not by row number.
        if (!(ds.GetBookmark() == target)) ds.GotoBookmark(target);
        if (ds.State() != dsEdit && ds.State() != dsInsert) {
            if (BeforeEditRow) {
                if (!BeforeEditRow(ds.RecNo() - 1)) return false;
            } else {
                ds.Edit();
            }
        }
        if ((ds.State() != dsEdit && ds.State() != dsInsert) || !(ds.GetBookmark() == target))
            return false;
        if (role == Qt::CheckStateRole)
            f->SetAsBoolean(value.toInt() == Qt::Checked);
        else
            f->SetValue(value);
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        if (OnError)
            OnError(e);
        else
            qWarning() << "TDataSetModel::setData:" << e.what();
        return false;
    }
}
