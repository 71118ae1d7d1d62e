#include "gridmodel.h"

#include "dictdm.h"

TGridModel::TGridModel(QObject* parent)
    : QSortFilterProxyModel(parent), m_source(new TDataSetModel(nullptr, this)) {
    // Connected before the proxy's own handlers so that the column map is
    // current when the view asks for the new columns.
    connect(m_source, &QAbstractItemModel::modelReset, this, &TGridModel::refreshColumns);
    setSourceModel(m_source);
    setSortRole(Qt::EditRole);
    setDynamicSortFilter(false);
}

void TGridModel::setDataSet(TRemoteUdpDataSet* dataSet) {
    m_source->setDataSet(dataSet);
    refreshColumns();
}

void TGridModel::refreshColumns() {
    const int n = m_source->columnCount();
    m_bySource.assign(size_t(n), nullptr);
    if (!columnByField) return;
    for (int c = 0; c < n; ++c)
        if (const TField* f = m_source->field(c))
            m_bySource[size_t(c)] = columnByField(f->FieldName());
}

TGridColumn* TGridModel::columnAt(int sourceColumn) const {
    return sourceColumn >= 0 && size_t(sourceColumn) < m_bySource.size()
               ? m_bySource[size_t(sourceColumn)]
               : nullptr;
}

int TGridModel::dataSetRow(int viewRow) const {
    if (viewRow < 0 || viewRow >= rowCount()) return -1;
    return mapToSource(index(viewRow, 0)).row();
}

int TGridModel::viewRow(int dataSetRow) const {
    if (dataSetRow < 0 || dataSetRow >= m_source->rowCount() || m_source->columnCount() == 0)
        return -1;
    return mapFromSource(m_source->index(dataSetRow, 0)).row();
}

namespace {

bool isNumeric(TFieldType type) {
    return type == ftInteger || type == ftFloat || type == ftCurrency;
}

}  // namespace

QVariant TGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const QModelIndex src = mapToSource(index);
    const TGridColumn* col = columnAt(src.column());
    if (!col) return m_source->data(src, role);
    try {
        switch (role) {
            case Qt::DisplayRole: {
                switch (col->Kind()) {
                    case TEditorKind::CheckBox:
                        return QVariant();
                    case TEditorKind::Lookup:
                        if (!col->LookupDisplayField().isEmpty())
                            return col->lookupText(m_source->data(src, Qt::EditRole));
                        break;
                    case TEditorKind::Date:
                    case TEditorKind::Time: {
                        if (!col->DisplayFormat().isEmpty()) break;
                        // A date column shows the date of a date-time, a time column its time.
                        const QString text = m_source->data(src, Qt::DisplayRole).toString();
                        if (text.size() < 19 || text.at(10) != QLatin1Char(' ')) return text;
                        return col->Kind() == TEditorKind::Date ? text.left(10) : text.mid(11, 8);
                    }
                    case TEditorKind::Memo: {
                        const QString text = m_source->data(src, Qt::DisplayRole).toString();
                        const qsizetype eol = text.indexOf(QLatin1Char('\n'));
                        return eol < 0 ? text
                                       : QString(text.left(eol).remove(QLatin1Char('\r')) +
                                                 QStringLiteral(" …"));
                    }
                    default:
                        break;
                }
                if (!col->DisplayFormat().isEmpty()) {
                    const QVariant value = m_source->data(src, Qt::EditRole);
                    const TField* f = m_source->field(src.column());
                    if (value.isNull() || !f) return QString();
                    if (isNumeric(f->DataType()))
                        return TField::formatNumber(TField::floatOf(value), col->DisplayFormat());
                    if (f->DataType() == ftDate || f->DataType() == ftDateTime ||
                        f->DataType() == ftTime)
                        return TField::formatDateTime(TField::dateTimeOf(value),
                                                      col->DisplayFormat());
                }
                return m_source->data(src, role);
            }
            case Qt::CheckStateRole:
                if (col->Kind() != TEditorKind::CheckBox) return m_source->data(src, role);
                return TField::booleanOf(m_source->data(src, Qt::EditRole)) ? Qt::Checked
                                                                            : Qt::Unchecked;
            case Qt::DecorationRole:
                if (col->Kind() == TEditorKind::Color) {
                    const QColor c =
                        md::ui::colorFromText(m_source->data(src, Qt::EditRole).toString());
                    return c.isValid() ? QVariant(c) : QVariant();
                }
                return QVariant();
            case Qt::TextAlignmentRole:
                if (col->Kind() == TEditorKind::CheckBox)
                    return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
                return m_source->data(src, role);
            default:
                return m_source->data(src, role);
        }
    } catch (const std::exception&) {
        // A value that does not fit its column shows as stored.
        return role == Qt::DisplayRole ? m_source->data(src, role) : QVariant();
    }
}

bool TGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const QModelIndex src = mapToSource(index);
    const TGridColumn* col = columnAt(src.column());
    const TField* f = m_source->field(src.column());
    if (role == Qt::CheckStateRole && col && col->Kind() == TEditorKind::CheckBox && f &&
        f->DataType() != ftBoolean) {
        const bool on = value.toInt() == Qt::Checked;
        return m_source->setData(src,
                                 f->DataType() == ftString
                                     ? QVariant(on ? QStringLiteral("1") : QStringLiteral("0"))
                                     : QVariant(qlonglong(on ? 1 : 0)),
                                 Qt::EditRole);
    }
    if (col && col->UpperCase() && value.typeId() == QMetaType::QString)
        return m_source->setData(src, md::ui::UpperAscii(value.toString()), role);
    return m_source->setData(src, value, role);
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const QModelIndex src = mapToSource(index);
    Qt::ItemFlags f = m_source->flags(src);
    const TGridColumn* col = columnAt(src.column());
    if (col && col->Kind() == TEditorKind::CheckBox && (f & Qt::ItemIsEditable))
        f |= Qt::ItemIsUserCheckable;
    if (!m_inputAllowed || (col && col->ReadOnly()))
        f &= ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    return f;
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        if (role == Qt::DisplayRole)
            if (const TGridColumn* col = columnAt(section)) return col->Caption();
        // Sorting does not move columns: sections are the dataset's columns.
        return m_source->headerData(section, orientation, role);
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

QString TGridModel::cellText(const QModelIndex& index) const {
    const QVariant check = data(index, Qt::CheckStateRole);
    if (check.isValid())
        return check.toInt() == Qt::Checked ? QStringLiteral("是") : QStringLiteral("否");
    return data(index, Qt::DisplayRole).toString();
}
