#include "remoteudpdataset.h"

#include <QSet>
#include <numeric>

#include "filterexpression.h"
#include "remoteudpdataset_p.h"
#include "remoteupdatesql.h"

using md::data::firstTableOf;
using md::data::RecordStore;

namespace {

const QVariant& nullVariant() {
    static const QVariant null;
    return null;
}

int sizeFromDeclaredType(const QString& declared) {
    const qsizetype open = declared.indexOf(QLatin1Char('('));
    if (open < 0) return 0;
    const qsizetype close = declared.indexOf(QLatin1Char(')'), open);
    bool ok = false;
    const int size = declared.mid(open + 1, close - open - 1)
                         .section(QLatin1Char(','), 0, 0)
                         .trimmed()
                         .toInt(&ok);
    return ok ? size : 0;
}

}  // namespace

// ---------------------------------------------------------------- construction

TRemoteUdpDataSet::TRemoteUdpDataSet(QObject* parent) : QObject(parent) {}

TRemoteUdpDataSet::TRemoteUdpDataSet(const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
}

TRemoteUdpDataSet::~TRemoteUdpDataSet() = default;

void TRemoteUdpDataSet::setSetupUdpParent(TRemoteUdpConnection* connection) {
    m_connection = connection;
    m_target.reset();
    m_statements.reset();
}

void TRemoteUdpDataSet::SetSQL(const QString& text) {
    if (Active()) Close();
    m_sql = text;
    m_params.ParseSQL(text);
    m_pageIndex = 0;
}

void TRemoteUdpDataSet::AddSQL(const QString& line) {
    SetSQL(m_sql.isEmpty() ? line : m_sql + QLatin1Char('\n') + line);
}

void TRemoteUdpDataSet::requireConnection() const {
    if (!m_connection || !m_connection->Connected())
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有连接到数据库。").arg(objectName()));
}

void TRemoteUdpDataSet::throwInactive() const {
    throw EDatabaseError(QStringLiteral("数据集 '%1' 没有打开。").arg(objectName()));
}

// ---------------------------------------------------------------- activation

void TRemoteUdpDataSet::Open() {
    if (Active()) return;
    if (m_sql.trimmed().isEmpty()) {
        if (m_dataColumns > 0) {
            CreateDataSet();
            return;
        }
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有 SQL 语句。").arg(objectName()));
    }
    requireConnection();
    call(BeforeOpen);
    openWith(0);
    call(AfterOpen);
    if (!IsEmpty()) call(AfterScroll);
}

void TRemoteUdpDataSet::openWith(int pageIndex) {
    discardAll();
    try {
        runQuery(pageIndex);
    } catch (...) {
        discardAll();
        setStateSignal(dsInactive);
        throw;
    }
    m_memoryTable = false;
    ++m_openGeneration;
    ++m_dataVersion;
    if (m_filterOn) {
        try {
            compileFilter();
        } catch (...) {
            m_filterOn = false;
            discardAll();
            setStateSignal(dsInactive);
            throw;
        }
        m_filtered.clear();
        for (int slot : m_order)
            if (recordMatches(slot)) m_filtered.push_back(slot);
    }
    setPosition(IsEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = IsEmpty();
    m_state = dsBrowse;
    signalReset();
    if (notifying()) Q_EMIT stateChanged();
}

void TRemoteUdpDataSet::runQuery(int pageIndex) {
    m_columnHints.clear();
    m_sourceTable.clear();
    m_target.reset();
    m_statements.reset();
    const auto batch = m_connection->TranslateToRun(m_sql);
    for (const md::sql::Statement& statement : batch->statements) {
        if (statement.kind == md::sql::Statement::Kind::Select && statement.returnsRows) {
            m_columnHints = statement.columns;
            // The translator names the first table; grouped, distinct and combined
            // selects still have one but their rows are not its rows.
            if (!firstTableOf(statement.tsql).isEmpty()) m_sourceTable = statement.sourceTable;
            break;
        }
        if (statement.kind == md::sql::Statement::Kind::Exec) break;
    }
    const bool paged = m_selectType == SelectPage;
    m_sinkSkip = paged ? pageIndex * m_pageSize : 0;
    m_sinkTake = paged ? m_pageSize : -1;
    m_sinkSeen = 0;
    if (!m_connection->OpenSQL(m_sql, *this, &m_params))
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 的 SQL 语句没有返回结果集。").arg(objectName()));
    m_pageIndex = pageIndex;
    m_lastPageShort = paged && m_store.slotCount() < m_pageSize;
    m_order.resize(std::size_t(m_store.slotCount()));
    std::iota(m_order.begin(), m_order.end(), 0);
    inferUnknownTypes();
}

void TRemoteUdpDataSet::setColumns(const QVector<ColumnMeta>& columns) {
    std::vector<std::unique_ptr<TField>> previous;
    std::vector<std::unique_ptr<TField>> computed;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        (int(i) < m_dataColumns ? previous : computed).push_back(std::move(m_fields[i]));
    m_fields.clear();

    auto takeExisting = [](std::vector<std::unique_ptr<TField>>& pool, const QString& name) {
        for (auto it = pool.begin(); it != pool.end(); ++it) {
            if (*it && (*it)->FieldKind() == fkData &&
                (*it)->FieldName().compare(name, Qt::CaseInsensitive) == 0) {
                std::unique_ptr<TField> field = std::move(*it);
                pool.erase(it);
                return field;
            }
        }
        return std::unique_ptr<TField>();
    };

    QSet<QString> used;
    for (int i = 0; i < columns.size(); ++i) {
        const ColumnMeta& column = columns[i];
        QString name = column.name;
        if (name.isEmpty()) name = QStringLiteral("Column%1").arg(i + 1);
        for (int k = 1; used.contains(name.toLower()); ++k)
            name = column.name + QStringLiteral("_%1").arg(k);
        used.insert(name.toLower());

        TFieldType type = fieldTypeFromSql(column.type);
        if (type == ftUnknown) {
            for (const md::sql::ResultColumn& hint : m_columnHints) {
                if (hint.name.compare(column.name, Qt::CaseInsensitive) == 0) {
                    type = fieldTypeFromSql(hint.type);
                    break;
                }
            }
            if (type == ftUnknown && i < m_columnHints.size() && m_columnHints[i].name.isEmpty())
                type = fieldTypeFromSql(m_columnHints[i].type);
        }
        const int size = sizeFromDeclaredType(column.declaredType);

        std::unique_ptr<TField> field = takeExisting(previous, name);
        if (!field) field = takeExisting(m_detached, name);
        if (field) {
            if (!field->m_declared) {
                field->m_type = type;
                field->m_size = size;
                field->m_name = name;
            }
        } else {
            field = std::make_unique<TField>(this, name, type, size, fkData);
        }
        m_fields.push_back(std::move(field));
    }
    for (auto& field : previous) {
        field->m_column = -1;
        m_detached.push_back(std::move(field));
    }
    m_dataColumns = int(m_fields.size());
    for (auto& field : computed) m_fields.push_back(std::move(field));
    rebuildFieldIndex();
    m_store.reset(int(m_fields.size()));
    m_scratchRow.assign(std::max<std::size_t>(m_fields.size(), 1), QVariant());
}

QVariant* TRemoteUdpDataSet::appendRow() {
    const int seen = m_sinkSeen++;
    if (seen < m_sinkSkip || (m_sinkTake >= 0 && seen >= m_sinkSkip + m_sinkTake))
        return m_scratchRow.data();
    return m_store.row(m_store.allocate());
}

void TRemoteUdpDataSet::inferUnknownTypes() {
    for (int c = 0; c < m_dataColumns; ++c) {
        TField& field = *m_fields[c];
        if (field.m_type != ftUnknown || field.m_declared) continue;
        field.m_type = ftString;
        for (int slot = 0; slot < m_store.slotCount(); ++slot) {
            const QVariant& v = m_store.row(slot)[c];
            if (v.isNull()) continue;
            switch (v.typeId()) {
                case QMetaType::LongLong:
                case QMetaType::Int:
                    field.m_type = ftInteger;
                    break;
                case QMetaType::Double:
                    field.m_type = ftFloat;
                    break;
                case QMetaType::QByteArray:
                    field.m_type = ftBlob;
                    break;
                case QMetaType::Bool:
                    field.m_type = ftBoolean;
                    break;
                default:
                    break;
            }
            break;
        }
    }
}

void TRemoteUdpDataSet::discardAll() {
    m_store.reset(int(m_fields.size()));
    m_order.clear();
    m_filtered.clear();
    m_changes.clear();
    m_deadChanges = 0;
    m_baseOrder.clear();
    m_baseOrderTaken = false;
    releaseHeldChanges();
    m_editBackup.clear();
    m_insertReturnSlot = -1;
    m_modified = false;
    m_pos = -1;
    m_curSlot = -1;
    m_bof = m_eof = true;
    ++m_dataVersion;
}

void TRemoteUdpDataSet::Close() {
    if (!Active()) return;
    call(BeforeClose);
    discardAll();
    m_state = dsInactive;
    signalReset();
    if (notifying()) Q_EMIT stateChanged();
    call(AfterClose);
}

void TRemoteUdpDataSet::setrtactive(bool active) {
    if (!active) {
        Close();
        return;
    }
    if (Active()) return;
    if (!m_rtsql.isEmpty() && m_rtsql != m_sql) SetSQL(m_rtsql);
    Open();
}

qint64 TRemoteUdpDataSet::ExecSQL() {
    requireConnection();
    if (m_sql.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有 SQL 语句。").arg(objectName()));
    return m_connection->ExecSQL(m_sql, &m_params);
}

void TRemoteUdpDataSet::NextPage() {
    requireActive();
    if (m_selectType == SelectAll) {
        MoveBy(m_pageSize);
        return;
    }
    if (m_lastPageShort || m_memoryTable) return;
    CheckBrowseMode();
    if (UpdatesPending())
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 有未保存的修改，请先保存再翻页。").arg(objectName()));
    openWith(m_pageIndex + 1);
    if (IsEmpty() && m_pageIndex > 0) {
        openWith(m_pageIndex - 1);
        m_lastPageShort = true;
    }
}

void TRemoteUdpDataSet::PriorPage() {
    requireActive();
    if (m_selectType == SelectAll) {
        MoveBy(-m_pageSize);
        return;
    }
    if (m_pageIndex == 0 || m_memoryTable) return;
    CheckBrowseMode();
    if (UpdatesPending())
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 有未保存的修改，请先保存再翻页。").arg(objectName()));
    openWith(m_pageIndex - 1);
}

// ---------------------------------------------------------------- fields

void TRemoteUdpDataSet::rebuildFieldIndex() {
    m_fieldIndex.clear();
    m_spellings.clear();
    m_lookupSources.clear();
    for (int i = 0; i < int(m_fields.size()); ++i) {
        TField& field = *m_fields[i];
        field.m_column = i;
        field.m_keyColumns.clear();
        m_fieldIndex.insert(field.m_name.toLower(), i);
        if (field.m_kind == fkLookup && field.m_lookupDataSet) {
            bool known = false;
            for (const auto& source : m_lookupSources)
                known = known || source.first == field.m_lookupDataSet;
            if (!known)
                m_lookupSources.emplace_back(field.m_lookupDataSet,
                                             field.m_lookupDataSet->dataVersion());
        }
    }
}

TField* TRemoteUdpDataSet::FindField(const QString& name) const {
    auto it = m_spellings.constFind(name);
    if (it != m_spellings.constEnd()) return m_fields[*it].get();
    const int index = m_fieldIndex.value(name.toLower(), -1);
    if (index < 0) return nullptr;
    m_spellings.insert(name, index);
    return m_fields[index].get();
}

TField& TRemoteUdpDataSet::FieldByName(const QString& name) const {
    if (TField* field = FindField(name)) return *field;
    throw EDatabaseError(QStringLiteral("数据集 '%1' 中没有字段 '%2'。").arg(objectName(), name));
}

QStringList TRemoteUdpDataSet::FieldNames() const {
    QStringList names;
    for (const auto& field : m_fields) names << field->FieldName();
    return names;
}

TField& TRemoteUdpDataSet::addDeclared(const QString& name, TFieldType type, int size,
                                       TFieldKind kind) {
    if (Active())
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 已打开，不能添加字段 '%2'。").arg(objectName(), name));
    if (FindField(name))
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 中已有字段 '%2'。").arg(objectName(), name));
    auto field = std::make_unique<TField>(this, name, type, size, kind);
    field->m_declared = true;
    TField& ref = *field;
    if (kind == fkData) {
        m_fields.insert(m_fields.begin() + m_dataColumns, std::move(field));
        ++m_dataColumns;
    } else {
        m_fields.push_back(std::move(field));
    }
    rebuildFieldIndex();
    return ref;
}

TField& TRemoteUdpDataSet::AddField(const QString& name, TFieldType type, int size) {
    return addDeclared(name, type, size, fkData);
}

TField& TRemoteUdpDataSet::AddCalcField(const QString& name, TFieldType type, int size) {
    return addDeclared(name, type, size, fkCalculated);
}

TField& TRemoteUdpDataSet::AddLookupField(const QString& name, const QString& keyFields,
                                          TRemoteUdpDataSet* lookupDataSet,
                                          const QString& lookupKeyFields,
                                          const QString& lookupResultField, TFieldType type,
                                          int size) {
    if (!lookupDataSet)
        throw EDatabaseError(QStringLiteral("查找字段 '%1' 没有指定查找数据集。").arg(name));
    TField& field = addDeclared(name, type, size, fkLookup);
    field.m_keyFields = keyFields;
    field.m_lookupDataSet = lookupDataSet;
    field.m_lookupKeyFields = lookupKeyFields;
    field.m_lookupResultField = lookupResultField;
    field.m_readOnly = true;
    rebuildFieldIndex();
    // A grid over this dataset shows new lookup values when the source changes in bulk.
    connect(lookupDataSet, &TRemoteUdpDataSet::dataSetChanged, this,
            &TRemoteUdpDataSet::onLookupSourceReset, Qt::UniqueConnection);
    TField* fieldPtr = &field;
    connect(lookupDataSet, &QObject::destroyed, this, [this, fieldPtr] {
        fieldPtr->m_lookupDataSet = nullptr;
        fieldPtr->m_keyColumns.clear();
        fieldPtr->m_sourceKeys.clear();
        fieldPtr->m_sourceResult = nullptr;
        invalidateAllCalc();
    });
    return field;
}

void TRemoteUdpDataSet::onLookupSourceReset() {
    invalidateAllCalc();
    if (notifying() && Active()) Q_EMIT dataSetChanged();
}

void TRemoteUdpDataSet::ClearFields() {
    if (Active())
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 已打开，不能清除字段。").arg(objectName()));
    for (auto& field : m_fields) {
        field->m_column = -1;
        m_detached.push_back(std::move(field));
    }
    m_fields.clear();
    m_dataColumns = 0;
    rebuildFieldIndex();
}

void TRemoteUdpDataSet::CreateDataSet() {
    if (Active()) Close();
    if (m_dataColumns == 0)
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有定义字段。").arg(objectName()));
    call(BeforeOpen);
    discardAll();
    m_memoryTable = true;
    m_sourceTable.clear();
    ++m_openGeneration;
    m_state = dsBrowse;
    signalReset();
    if (notifying()) Q_EMIT stateChanged();
    call(AfterOpen);
}

void TRemoteUdpDataSet::EmptyDataSet() {
    requireActive();
    if (m_state == dsEdit || m_state == dsInsert) Cancel();
    discardAll();
    signalReset();
}

// ---------------------------------------------------------------- field values

const QVariant& TRemoteUdpDataSet::fieldValueSlow(const TField& field) const {
    const int slot = m_contextSlot >= 0 ? m_contextSlot : m_curSlot;
    if (slot < 0 || field.m_column < 0) return nullVariant();
    if (field.m_column >= m_dataColumns) ensureCalc(slot);
    return m_store.row(slot)[field.m_column];
}

QVariant TRemoteUdpDataSet::fieldOldValue(const TField& field) const {
    const int slot = m_contextSlot >= 0 ? m_contextSlot : m_curSlot;
    if (slot < 0 || field.m_column < 0 || field.m_column >= m_dataColumns) return fieldValue(field);
    const RecordStore::SlotInfo& info = m_store.info(slot);
    if (info.status == RecordStore::Inserted) return QVariant();
    if (info.change >= 0 && !m_changes[info.change].old.empty())
        return m_changes[info.change].old[field.m_column];
    if (m_state == dsEdit && slot == m_curSlot && !m_editBackup.empty())
        return m_editBackup[field.m_column];
    return m_store.row(slot)[field.m_column];
}

void TRemoteUdpDataSet::setFieldValue(TField& field, QVariant value) {
    if (m_contextSlot >= 0 && m_contextState == dsCalcFields) {
        if (field.m_kind == fkData)
            throw EDatabaseError(
                QStringLiteral("计算字段时不能修改数据字段 '%1'。").arg(field.m_name));
        m_store.row(m_contextSlot)[field.m_column] = std::move(value);
        return;
    }
    if (field.m_column < 0 || m_state == dsInactive)
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有打开，不能修改字段 '%2'。")
                                 .arg(objectName(), field.m_name));
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDatabaseError(QStringLiteral("数据集 '%1' 不在编辑或新增状态，不能修改字段 '%2'。")
                                 .arg(objectName(), field.m_name));
    if (field.m_kind == fkCalculated && field.OnWrite && !field.m_readOnly) {
        field.OnWrite(field, value);
        return;
    }
    if (field.m_kind != fkData || field.m_readOnly)
        throw EDatabaseError(QStringLiteral("字段 '%1' 不能修改。").arg(field.m_name));

    const int slot = m_curSlot;
    const int column = field.m_column;
    if (field.OnValidate) {
        QVariant previous = std::exchange(m_store.row(slot)[column], std::move(value));
        try {
            field.OnValidate(field);
        } catch (...) {
            m_store.row(slot)[column] = std::move(previous);
            throw;
        }
    } else {
        m_store.row(slot)[column] = std::move(value);
    }
    m_modified = true;
    m_store.info(slot).calcGen = 0;
    ++m_dataVersion;
    if (notifying()) {
        Q_EMIT fieldChanged(column);
        Q_EMIT rowChanged(m_pos);
    }
    if (field.OnChange) field.OnChange(field);
}

// ---------------------------------------------------------------- calculated and lookup fields

void TRemoteUdpDataSet::ensureCalc(int slot) const {
    for (auto& source : m_lookupSources) {
        if (source.first && source.first->dataVersion() != source.second) {
            source.second = source.first->dataVersion();
            ++m_calcGen;
        }
    }
    if (m_store.info(slot).calcGen == m_calcGen) return;
    const_cast<TRemoteUdpDataSet*>(this)->computeCalc(slot);
}

void TRemoteUdpDataSet::computeCalc(int slot) {
    m_store.info(slot).calcGen =
        m_calcGen;  // set first: handlers read calculated fields of this row
    QVariant* row = m_store.row(slot);
    for (int c = m_dataColumns; c < int(m_fields.size()); ++c) row[c] = QVariant();
    CalcScope scope(*this, slot, dsCalcFields);
    for (int c = m_dataColumns; c < int(m_fields.size()); ++c)
        if (m_fields[c]->m_kind == fkLookup) m_store.row(slot)[c] = lookupValue(*m_fields[c], slot);
    if (OnCalcFields) OnCalcFields(*this);
}

// ---------------------------------------------------------------- navigation

void TRemoteUdpDataSet::moveTo(int pos, bool bof, bool eof) {
    setPosition(pos);
    m_bof = bof;
    m_eof = eof;
    if (notifying()) Q_EMIT scrolled();
    call(AfterScroll);
}

void TRemoteUdpDataSet::First() {
    requireActive();
    CheckBrowseMode();
    call(BeforeScroll);
    moveTo(IsEmpty() ? -1 : 0, true, IsEmpty());
}

void TRemoteUdpDataSet::Last() {
    requireActive();
    CheckBrowseMode();
    call(BeforeScroll);
    moveTo(RecordCount() - 1, IsEmpty(), true);
}

int TRemoteUdpDataSet::MoveBy(int distance) {
    requireActive();
    if (m_state != dsBrowse) CheckBrowseMode();
    call(BeforeScroll);
    if (!((distance > 0 && !m_eof) || (distance < 0 && !m_bof))) return 0;
    const int count = RecordCount();
    bool bof = false, eof = false;
    int target = m_pos + distance;
    if (target >= count) {
        target = count - 1;
        eof = true;
    }
    if (target < 0) {
        target = count > 0 ? 0 : -1;
        bof = true;
    }
    if (count == 0) bof = eof = true;
    const int moved = target - m_pos;
    moveTo(target, bof, eof);
    return moved;
}

void TRemoteUdpDataSet::SetRecNo(int recNo) {
    requireActive();
    if (IsEmpty()) return;
    CheckBrowseMode();
    const int pos = std::clamp(recNo, 1, RecordCount()) - 1;
    if (pos == m_pos) return;
    call(BeforeScroll);
    moveTo(pos, false, false);
}

int TRemoteUdpDataSet::positionOf(int slot) const {
    const std::vector<int>& rows = view();
    if (m_pos >= 0 && m_pos < int(rows.size()) && rows[m_pos] == slot) return m_pos;
    const auto it = std::find(rows.begin(), rows.end(), slot);
    return it == rows.end() ? -1 : int(it - rows.begin());
}

void TRemoteUdpDataSet::insertIntoView(int pos, int slot) {
    if (notifying()) Q_EMIT rowAboutToBeInserted(pos);
    if (m_filterOn) {
        if (pos < int(m_filtered.size())) {
            const auto before = std::find(m_order.begin(), m_order.end(), m_filtered[pos]);
            m_order.insert(before, slot);
        } else {
            m_order.push_back(slot);
        }
        m_filtered.insert(m_filtered.begin() + pos, slot);
    } else {
        m_order.insert(m_order.begin() + pos, slot);
    }
    if (notifying()) Q_EMIT rowInserted(pos);
}

void TRemoteUdpDataSet::removeFromView(int pos, bool keepInOrder) {
    if (notifying()) Q_EMIT rowAboutToBeRemoved(pos);
    if (m_filterOn) {
        const int slot = m_filtered[pos];
        m_filtered.erase(m_filtered.begin() + pos);
        const auto it =
            keepInOrder ? m_order.rend() : std::find(m_order.rbegin(), m_order.rend(), slot);
        if (it != m_order.rend()) m_order.erase(std::next(it).base());
    } else {
        m_order.erase(m_order.begin() + pos);
    }
    if (notifying()) Q_EMIT rowRemoved(pos);
}

// ---------------------------------------------------------------- editing

void TRemoteUdpDataSet::CheckBrowseMode() {
    if (m_state != dsEdit && m_state != dsInsert) return;
    if (m_modified)
        Post();
    else
        Cancel();
}

void TRemoteUdpDataSet::Append() {
    insertRecord(true);
}
void TRemoteUdpDataSet::Insert() {
    insertRecord(false);
}

void TRemoteUdpDataSet::insertRecord(bool append) {
    requireActive();
    CheckBrowseMode();
    call(BeforeInsert);
    call(BeforeScroll);
    const int pos = append || m_pos < 0 ? RecordCount() : m_pos;
    m_insertReturnSlot = m_curSlot;
    const int slot = m_store.allocate();
    m_store.info(slot).status = RecordStore::Inserted;
    insertIntoView(pos, slot);
    setPosition(pos);
    m_bof = m_eof = false;
    m_state = dsInsert;
    m_modified = false;
    try {
        call(OnNewRecord);
    } catch (...) {
        m_state = dsBrowse;
        removeFromView(pos);
        m_store.kill(slot);
        const int back = m_insertReturnSlot >= 0 ? positionOf(m_insertReturnSlot) : -1;
        setPosition(back >= 0 ? back : std::min(pos, RecordCount() - 1));
        m_bof = m_eof = IsEmpty();
        throw;
    }
    m_modified = false;
    ++m_dataVersion;
    if (notifying()) {
        Q_EMIT stateChanged();
        Q_EMIT scrolled();
    }
    call(AfterInsert);
    call(AfterScroll);
}

void TRemoteUdpDataSet::Edit() {
    requireActive();
    if (m_state == dsEdit || m_state == dsInsert) return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    call(BeforeEdit);
    const QVariant* row = m_store.row(m_curSlot);
    m_editBackup.assign(row, row + m_dataColumns);
    m_modified = false;
    m_state = dsEdit;
    if (notifying()) Q_EMIT stateChanged();
    call(AfterEdit);
}

void TRemoteUdpDataSet::Post() {
    if (m_state != dsEdit && m_state != dsInsert) return;
    call(BeforePost);
    const int slot = m_curSlot;
    const QVariant* row = m_store.row(slot);
    for (int c = 0; c < m_dataColumns; ++c) {
        const TField& field = *m_fields[c];
        if (field.m_required && row[c].isNull())
            throw EDatabaseError(QStringLiteral("字段 '%1' 必须有值。").arg(field.DisplayLabel()));
    }

    if (m_state == dsInsert) {
        if (m_memoryTable) {
            m_store.info(slot).status = RecordStore::Unmodified;
        } else if (m_lockType == etOptimistic) {
            if (canApply(RecordStore::Inserted)) applyNow(Change{slot, RecordStore::Inserted, {}});
            m_store.info(slot).status = RecordStore::Unmodified;
        } else {
            noteChange(slot, RecordStore::Inserted, nullptr);
        }
    } else {
        bool changed = false;
        for (int c = 0; c < m_dataColumns && !changed; ++c)
            changed = !md::data::sameValue(row[c], m_editBackup[c]);
        if (changed && !m_memoryTable) {
            if (m_lockType == etOptimistic) {
                if (canApply(RecordStore::Modified))
                    applyNow(Change{slot, RecordStore::Modified, m_editBackup});
            } else {
                noteChange(slot, RecordStore::Modified, &m_editBackup);
            }
        }
    }

    m_state = dsBrowse;
    m_editBackup.clear();
    m_modified = false;
    ++m_dataVersion;
    int pos = m_pos;
    if (m_filterOn && !recordMatches(slot)) {
        removeFromView(pos, /*keepInOrder=*/true);  // filtered out, not gone
        pos = std::min(pos, RecordCount() - 1);
        setPosition(pos);
        if (pos < 0) m_bof = m_eof = true;
    }
    if (notifying()) {
        Q_EMIT stateChanged();
        if (pos >= 0 && m_curSlot == slot)
            Q_EMIT rowChanged(pos);
        else
            Q_EMIT scrolled();
    }
    call(AfterPost);
}

void TRemoteUdpDataSet::Cancel() {
    if (m_state != dsEdit && m_state != dsInsert) return;
    call(BeforeCancel);
    const int slot = m_curSlot;
    if (m_state == dsEdit) {
        QVariant* row = m_store.row(slot);
        for (int c = 0; c < m_dataColumns; ++c) row[c] = std::move(m_editBackup[c]);
        m_store.info(slot).calcGen = 0;
        m_editBackup.clear();
        m_state = dsBrowse;
        m_modified = false;
        if (notifying()) {
            Q_EMIT stateChanged();
            Q_EMIT fieldChanged(-1);
            Q_EMIT rowChanged(m_pos);
        }
    } else {
        const int pos = m_pos;
        m_state = dsBrowse;
        m_modified = false;
        removeFromView(pos);
        m_store.kill(slot);
        int back = m_insertReturnSlot >= 0 ? positionOf(m_insertReturnSlot) : -1;
        if (back < 0) back = std::min(pos, RecordCount() - 1);
        setPosition(back);
        m_bof = m_eof = IsEmpty();
        if (notifying()) {
            Q_EMIT stateChanged();
            Q_EMIT scrolled();
        }
    }
    ++m_dataVersion;
    call(AfterCancel);
}

void TRemoteUdpDataSet::Delete() {
    requireActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        throw EDatabaseError(QStringLiteral("数据集 '%1' 没有记录，不能删除。").arg(objectName()));
    call(BeforeDelete);
    call(BeforeScroll);
    const int slot = m_curSlot;
    const int pos = m_pos;
    const bool wasEditing = m_state == dsEdit;
    const bool batch = !m_memoryTable && m_lockType == etBatchOptimistic;
    if (!m_memoryTable && !batch && canApply(RecordStore::Deleted))
        applyNow(Change{slot, RecordStore::Deleted,
                        wasEditing ? m_editBackup : std::vector<QVariant>()});

    if (wasEditing) {
        QVariant* row = m_store.row(slot);
        for (int c = 0; c < m_dataColumns; ++c) row[c] = std::move(m_editBackup[c]);
        m_editBackup.clear();
        m_state = dsBrowse;
        m_modified = false;
    }
    if (batch) noteChange(slot, RecordStore::Deleted, nullptr);  // before it leaves the order
    removeFromView(pos);
    if (!batch || m_store.info(slot).status == RecordStore::Dead) m_store.kill(slot);
    const int count = RecordCount();
    setPosition(std::min(pos, count - 1));
    m_bof = m_eof = count == 0;
    ++m_dataVersion;
    if (notifying()) {
        if (wasEditing) Q_EMIT stateChanged();
        Q_EMIT scrolled();
    }
    call(AfterDelete);
    call(AfterScroll);
}

// ---------------------------------------------------------------- controls and models

void TRemoteUdpDataSet::signalReset() {
    invalidateAllCalc();
    if (notifying()) Q_EMIT dataSetChanged();
}

void TRemoteUdpDataSet::setStateSignal(TDataSetState state) {
    const bool changed = m_state != state;
    m_state = state;
    if (changed && notifying()) Q_EMIT stateChanged();
}

void TRemoteUdpDataSet::connectNotify(const QMetaMethod&) {
    ++m_listeners;
}

void TRemoteUdpDataSet::disconnectNotify(const QMetaMethod&) {
    if (m_listeners > 0) --m_listeners;
}

void TRemoteUdpDataSet::DisableControls() {
    ++m_disableCount;
}

void TRemoteUdpDataSet::EnableControls() {
    if (m_disableCount == 0) return;
    if (--m_disableCount > 0) return;
    Q_EMIT stateChanged();
    signalReset();
    Q_EMIT scrolled();
}

const QVariant& TRemoteUdpDataSet::valueAt(int row, int fieldIndex) const {
    if (row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= FieldCount())
        return nullVariant();
    const int slot = view()[row];
    if (fieldIndex >= m_dataColumns) ensureCalc(slot);
    return m_store.row(slot)[fieldIndex];
}

QString TRemoteUdpDataSet::displayTextAt(int row, int fieldIndex) const {
    if (fieldIndex < 0 || fieldIndex >= FieldCount()) return QString();
    return m_fields[fieldIndex]->displayTextOf(valueAt(row, fieldIndex));
}
