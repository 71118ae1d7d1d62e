// Filtering, searching, lookups and bookmarks of TRemoteUdpDataSet.
#include <cmath>

#include "filterexpression.h"
#include "remoteudpdataset.h"
#include "remoteudpdataset_p.h"

using md::data::RecordStore;

namespace {

const QString& stringRef(const QVariant& value) {
    return *static_cast<const QString*>(value.constData());
}

bool isNumericType(TFieldType type) {
    return type == ftInteger || type == ftFloat || type == ftCurrency || type == ftBoolean;
}

bool isDateType(TFieldType type) {
    return type == ftDate || type == ftTime || type == ftDateTime;
}

// A search value prepared once for comparing with many rows.
struct SearchKey {
    int column = -1;
    TFieldType type = ftUnknown;
    bool isNull = false;
    bool numeric = false;  // compare as numbers
    double number = 0;
    QString text;
};

SearchKey prepareKey(const TField& field, const QVariant& value, TLocateOptions options) {
    SearchKey key;
    key.column = field.Index();
    key.type = field.DataType();
    key.isNull = value.isNull();
    if (key.isNull) return key;
    key.text = TField::textOf(value, ftUnknown);
    if (options & loPartialKey) return key;
    if (isNumericType(key.type)) {
        try {
            key.number =
                key.type == ftBoolean ? (TField::booleanOf(value) ? 1 : 0) : TField::floatOf(value);
            key.numeric = true;
        } catch (const EDatabaseError&) {
            // Text that is no number matches only text.
        }
    } else if (isDateType(key.type)) {
        try {
            key.text = TField::normalized(value, key.type).toString();
        } catch (const EDatabaseError&) {
        }
    }
    return key;
}

bool keyMatches(const QVariant& cell, const SearchKey& key, TLocateOptions options) {
    const Qt::CaseSensitivity cs =
        (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (key.isNull) return cell.isNull();
    if (cell.isNull()) return key.text.isEmpty() && !key.numeric;
    if (key.numeric) {
        try {
            return TField::floatOf(cell) == key.number;
        } catch (const EDatabaseError&) {
            return false;
        }
    }
    if (cell.typeId() == QMetaType::QString && !isDateType(key.type) && key.type != ftBoolean) {
        const QString& text = stringRef(cell);
        return (options & loPartialKey) ? text.startsWith(key.text, cs)
                                        : text.compare(key.text, cs) == 0;
    }
    const QString text = TField::textOf(cell, key.type);
    return (options & loPartialKey) ? text.startsWith(key.text, cs)
                                    : text.compare(key.text, cs) == 0;
}

}  // namespace

// ---------------------------------------------------------------- filter

void TRemoteUdpDataSet::compileFilter() {
    m_filterExpr.reset();
    if (m_filterText.trimmed().isEmpty()) return;
    auto resolve = [this](QStringView name) {
        md::data::FilterExpression::FieldRef ref;
        if (const TField* field = FindField(name.toString())) {
            ref.column = field->m_column;
            ref.type = field->m_type;
        }
        return ref;
    };
    m_filterExpr = std::make_unique<md::data::FilterExpression>(m_filterText, resolve,
                                                                m_filterCaseInsensitive);
}

bool TRemoteUdpDataSet::recordMatches(int slot) {
    if (m_filterExpr) {
        if (m_filterExpr->highestColumn() >= m_dataColumns) ensureCalc(slot);
        if (!m_filterExpr->matches(m_store.row(slot))) return false;
    }
    if (OnFilterRecord) {
        CalcScope scope(*this, slot, dsFilter);
        bool accept = true;
        OnFilterRecord(*this, accept);
        return accept;
    }
    return true;
}

void TRemoteUdpDataSet::rebuildFilterView() {
    const int keepSlot = m_curSlot;
    if (m_filterOn) {
        m_filtered.clear();
        for (int slot : m_order)
            if (recordMatches(slot)) m_filtered.push_back(slot);
    }
    // Stay on the record that was current when it is still in view.
    const int pos = keepSlot >= 0 ? positionOf(keepSlot) : -1;
    setPosition(pos >= 0 ? pos : (IsEmpty() ? -1 : 0));
    m_bof = pos <= 0;
    m_eof = IsEmpty();
    ++m_dataVersion;
    signalReset();
    if (notifying()) Q_EMIT scrolled();
}

void TRemoteUdpDataSet::SetFilter(const QString& text) {
    if (text == m_filterText && (m_filterExpr || text.trimmed().isEmpty())) return;
    if (!Active() || !m_filterOn) {
        m_filterText = text;
        m_filterExpr.reset();
        return;
    }
    CheckBrowseMode();
    const QString previous = m_filterText;
    m_filterText = text;
    try {
        compileFilter();
    } catch (...) {
        m_filterText = previous;
        compileFilter();
        throw;
    }
    rebuildFilterView();
}

void TRemoteUdpDataSet::SetFiltered(bool filtered) {
    if (filtered == m_filterOn) return;
    if (!Active()) {
        m_filterOn = filtered;
        return;
    }
    CheckBrowseMode();
    if (filtered) compileFilter();  // a bad filter raises before anything changes
    m_filterOn = filtered;
    if (!filtered) m_filtered.clear();
    rebuildFilterView();
}

void TRemoteUdpDataSet::SetFilterCaseInsensitive(bool on) {
    if (on == m_filterCaseInsensitive) return;
    m_filterCaseInsensitive = on;
    m_filterExpr.reset();
    if (Active() && m_filterOn) RefilterRecords();
}

void TRemoteUdpDataSet::RefilterRecords() {
    if (!Active() || !m_filterOn) return;
    CheckBrowseMode();
    compileFilter();
    rebuildFilterView();
}

// ---------------------------------------------------------------- Locate and Lookup

std::vector<TField*> TRemoteUdpDataSet::fieldList(const QString& names) const {
    std::vector<TField*> fields;
    for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        fields.push_back(&FieldByName(name.trimmed()));
    if (fields.empty())
        throw EDatabaseError(QStringLiteral("数据集 '%1' 的查找没有指定字段。").arg(objectName()));
    return fields;
}

static QVariantList valuesFor(const std::vector<TField*>& fields, const QVariant& values) {
    QVariantList list;
    if (fields.size() == 1) {
        const bool isList = values.typeId() == QMetaType::QVariantList;
        list << (isList && values.toList().size() == 1 ? values.toList().first() : values);
    } else {
        list = values.toList();
    }
    if (list.size() != int(fields.size()))
        throw EDatabaseError(QStringLiteral("查找的值个数（%1）与字段个数（%2）不一致。")
                                 .arg(list.size())
                                 .arg(fields.size()));
    return list;
}

int TRemoteUdpDataSet::findRecord(const std::vector<TField*>& fields, const QVariantList& values,
                                  TLocateOptions options) const {
    std::vector<SearchKey> keys;
    for (std::size_t i = 0; i < fields.size(); ++i)
        keys.push_back(prepareKey(*fields[i], values[int(i)], options));
    const std::vector<int>& rows = view();
    const bool calc = std::any_of(keys.begin(), keys.end(),
                                  [this](const SearchKey& k) { return k.column >= m_dataColumns; });
    for (int pos = 0; pos < int(rows.size()); ++pos) {
        if (calc) ensureCalc(rows[pos]);
        const QVariant* row = m_store.row(rows[pos]);
        bool all = true;
        for (const SearchKey& key : keys) {
            if (!keyMatches(row[key.column], key, options)) {
                all = false;
                break;
            }
        }
        if (all) return pos;
    }
    return -1;
}

bool TRemoteUdpDataSet::Locate(const QString& keyFields, const QVariant& keyValues,
                               TLocateOptions options) {
    requireActive();
    CheckBrowseMode();
    const std::vector<TField*> fields = fieldList(keyFields);
    const int pos = findRecord(fields, valuesFor(fields, keyValues), options);
    if (pos < 0) return false;
    call(BeforeScroll);
    moveTo(pos, false, false);
    return true;
}

QString TRemoteUdpDataSet::keyText(const QVariant& value, TFieldType type) {
    if (value.isNull()) return QStringLiteral("\x01");
    switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QString::number(value.toLongLong());
        case QMetaType::Double: {
            const double d = value.toDouble();
            if (d == std::floor(d) && std::fabs(d) < 1e15) return QString::number(qint64(d));
            return QString::number(d, 'g', 15);
        }
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        default:
            // Text keys match ignoring case, as the database's collation does.
            return TField::textOf(value, type).toCaseFolded();
    }
}

const TRemoteUdpDataSet::LookupIndex& TRemoteUdpDataSet::lookupIndex(
    const std::vector<TField*>& keyFields) const {
    QString keyNames;
    for (const TField* field : keyFields)
        keyNames += field->FieldName().toLower() + QLatin1Char(';');
    LookupIndex* index = nullptr;
    for (const auto& candidate : m_lookupIndexes)
        if (candidate->keyNames == keyNames) index = candidate.get();
    if (index && index->version == m_dataVersion) return *index;
    if (!index) {
        m_lookupIndexes.push_back(std::make_unique<LookupIndex>());
        index = m_lookupIndexes.back().get();
        index->keyNames = keyNames;
    }
    index->version = m_dataVersion;
    index->slotByKey.clear();
    const std::vector<int>& rows = view();
    index->slotByKey.reserve(qsizetype(rows.size()));
    QString key;
    for (int slot : rows) {
        const QVariant* row = m_store.row(slot);
        key.clear();
        for (const TField* field : keyFields) {
            if (field->m_column >= m_dataColumns) ensureCalc(slot);
            key += keyText(row[field->m_column], field->m_type) + QLatin1Char('\x1f');
        }
        if (!index->slotByKey.contains(key)) index->slotByKey.insert(key, slot);
    }
    return *index;
}

QVariant TRemoteUdpDataSet::Lookup(const QString& keyFields, const QVariant& keyValues,
                                   const QString& resultFields) {
    requireActive();
    const std::vector<TField*> fields = fieldList(keyFields);
    const QVariantList values = valuesFor(fields, keyValues);
    const std::vector<TField*> results = fieldList(resultFields);
    QString key;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        QVariant value = values[int(i)];
        try {
            value = TField::normalized(value, fields[i]->m_type);
        } catch (const EDatabaseError&) {
            return QVariant();  // a value of the wrong kind matches nothing
        }
        key += keyText(value, fields[i]->m_type) + QLatin1Char('\x1f');
    }
    const LookupIndex& index = lookupIndex(fields);
    const auto it = index.slotByKey.constFind(key);
    if (it == index.slotByKey.constEnd()) return QVariant();
    QVariantList out;
    for (const TField* field : results) {
        if (field->m_column >= m_dataColumns) ensureCalc(*it);
        out << m_store.row(*it)[field->m_column];
    }
    return out.size() == 1 ? out.first() : QVariant(out);
}

QVariant TRemoteUdpDataSet::lookupValue(const TField& field, int slot) const {
    TRemoteUdpDataSet* source = field.m_lookupDataSet;
    if (!source || !source->Active()) return QVariant();
    TField& mutableField = const_cast<TField&>(field);
    if (mutableField.m_keyColumns.empty()) {
        for (const TField* key : fieldList(field.m_keyFields))
            mutableField.m_keyColumns.push_back(key->m_column);
        mutableField.m_sourceKeys = source->fieldList(field.m_lookupKeyFields);
        mutableField.m_sourceResult = &source->FieldByName(field.m_lookupResultField);
        if (field.m_sourceKeys.size() != field.m_keyColumns.size()) {
            mutableField.m_keyColumns.clear();
            throw EDatabaseError(
                QStringLiteral("查找字段 '%1' 的关键字段个数不一致。").arg(field.m_name));
        }
    }
    const std::vector<TField*>& sourceKeys = field.m_sourceKeys;
    const TField& result = *field.m_sourceResult;
    for (const TField* key : sourceKeys)
        if (key->m_column < 0) return QVariant();
    if (result.m_column < 0) return QVariant();
    const QVariant* row = m_store.row(slot);
    QString key;
    for (std::size_t i = 0; i < sourceKeys.size(); ++i) {
        QVariant value = row[field.m_keyColumns[i]];
        try {
            value = TField::normalized(value, sourceKeys[i]->m_type);
        } catch (const EDatabaseError&) {
            return QVariant();
        }
        key += keyText(value, sourceKeys[i]->m_type) + QLatin1Char('\x1f');
    }
    const LookupIndex& index = source->lookupIndex(sourceKeys);
    const auto it = index.slotByKey.constFind(key);
    if (it == index.slotByKey.constEnd()) return QVariant();
    if (result.m_column >= source->m_dataColumns) source->ensureCalc(*it);
    return source->m_store.row(*it)[result.m_column];
}

// ---------------------------------------------------------------- bookmarks

TBookmark TRemoteUdpDataSet::GetBookmark() const {
    if (m_curSlot < 0) return {};
    return TBookmark{qint64((m_openGeneration << 32) | quint64(quint32(m_curSlot)))};
}

TBookmark TRemoteUdpDataSet::bookmarkAt(int row) const {
    if (row < 0 || row >= RecordCount()) return {};
    return TBookmark{qint64((m_openGeneration << 32) | quint64(quint32(view()[std::size_t(row)])))};
}

bool TRemoteUdpDataSet::BookmarkValid(const TBookmark& bookmark) const {
    if (bookmark.isNull() || !Active() || (quint64(bookmark.id) >> 32) != m_openGeneration)
        return false;
    const int slot = int(quint32(bookmark.id & 0xffffffff));
    return m_store.alive(slot) && m_store.info(slot).status != RecordStore::Deleted;
}

void TRemoteUdpDataSet::GotoBookmark(const TBookmark& bookmark) {
    requireActive();
    if (!BookmarkValid(bookmark))
        throw EDatabaseError(QStringLiteral("数据集 '%1' 中找不到该记录。").arg(objectName()));
    CheckBrowseMode();
    const int pos = positionOf(int(quint32(bookmark.id & 0xffffffff)));
    if (pos < 0)
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 中找不到该记录（已被过滤）。").arg(objectName()));
    call(BeforeScroll);
    moveTo(pos, false, false);
}
