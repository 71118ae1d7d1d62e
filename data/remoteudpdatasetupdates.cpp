// Cached updates of TRemoteUdpDataSet: the change log, the statements sent for
// it (the update object's texts or generated ones) and Refresh.
#include <QSet>
#include <algorithm>

#include "remoteudpdataset.h"
#include "remoteudpdataset_p.h"
#include "remoteupdatesql.h"
#include "tsql/parser.h"

using md::data::RecordStore;
using md::sql::Statement;

namespace {

bool isPlainName(const QString& name) {
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_'))) return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_'))) return false;
    return true;
}

bool isAsciiName(const QString& name) {
    for (QChar c : name)
        if (c.unicode() > 127) return false;
    return isPlainName(name);
}

}  // namespace

namespace md::data {

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    if (a.typeId() == b.typeId()) return a == b;
    if (isNumericVariant(a) && isNumericVariant(b)) return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

}  // namespace md::data

// The values a statement's parameters take for one row: where-clause
// parameters the row as read, the others its current values.
class TRemoteUdpDataSet::RowParams : public ParamSource {
  public:
    RowParams(const TRemoteUdpDataSet& owner, const Statement& statement,
              const std::vector<ParamBinding>& bindings, const QVariant* current,
              const QVariant* old)
        : m_owner(owner),
          m_statement(statement),
          m_bindings(bindings),
          m_current(current),
          m_old(old) {}

    QVariant paramValue(const md::sql::ParamRef& param) const override {
        // The connection asks with the statement's own ParamRef: its position
        // gives the binding without a name lookup.
        const md::sql::ParamRef* first = m_statement.params.constData();
        const md::sql::ParamRef* end = first + m_statement.params.size();
        ParamBinding binding;
        if (std::less_equal<const md::sql::ParamRef*>()(first, &param) &&
            std::less<const md::sql::ParamRef*>()(&param, end))
            binding = m_bindings[std::size_t(&param - first)];
        else
            binding = m_owner.bindingFor(param.name, param.inWhere);
        if (binding.field < 0)
            throw EDatabaseError(
                QStringLiteral("更新语句的参数 :%1 在数据集 '%2' 中没有对应的字段。")
                    .arg(param.name, m_owner.objectName()));
        return (binding.old ? m_old : m_current)[binding.field];
    }

  private:
    const TRemoteUdpDataSet& m_owner;
    const Statement& m_statement;
    const std::vector<ParamBinding>& m_bindings;
    const QVariant* m_current;
    const QVariant* m_old;
};

ParamBinding TRemoteUdpDataSet::bindingFor(const QString& name, bool inWhere) const {
    ParamBinding binding;
    binding.old = inWhere;
    const TField* field = FindField(name);
    if (!field && name.startsWith(QLatin1String("old_"), Qt::CaseInsensitive)) {
        field = FindField(name.mid(4));
        binding.old = true;
    }
    if (field && field->m_column >= 0 && field->m_column < m_dataColumns)
        binding.field = field->m_column;
    return binding;
}

PreparedChangeBatch TRemoteUdpDataSet::prepareBatch(const QString& text, bool checkRows) {
    PreparedChangeBatch prepared;
    prepared.batch = m_connection->Translate(text);
    bool writes = false, calls = false;
    for (const Statement& statement : prepared.batch->statements) {
        std::vector<ParamBinding> bindings;
        for (const md::sql::ParamRef& param : statement.params)
            bindings.push_back(bindingFor(param.name, param.inWhere));
        prepared.bindings.push_back(std::move(bindings));
        writes = writes || statement.kind == Statement::Kind::Update ||
                 statement.kind == Statement::Kind::Delete;
        calls = calls || statement.kind == Statement::Kind::Exec;
    }
    // A procedure call reports no row count, so only plain statements are checked.
    prepared.checkRows = checkRows && writes && !calls;
    return prepared;
}

qint64 TRemoteUdpDataSet::runPrepared(const PreparedChangeBatch& prepared, const QVariant* current,
                                      const QVariant* old, bool unreadNulls) {
    qint64 changed = 0;
    const auto& statements = prepared.batch->statements;
    for (int i = 0; i < statements.size(); ++i) {
        if (std::size_t(i) < prepared.checks.size() && prepared.checks[std::size_t(i)])
            runRowCheck(*prepared.checks[std::size_t(i)], old, unreadNulls);
        RowParams params(*this, statements[i], prepared.bindings[std::size_t(i)], current, old);
        changed += m_connection->RunStatement(statements[i], &params, nullptr);
    }
    if (prepared.checkRows && changed == 0) throw EConcurrencyError(md::data::concurrencyMessage());
    return changed;
}

// ---------------------------------------------------------------- change log

bool TRemoteUdpDataSet::UpdatesPending() const {
    return int(m_changes.size()) > m_deadChanges;
}

TUpdateStatus TRemoteUdpDataSet::UpdateStatus() const {
    if (m_curSlot < 0) return usUnmodified;
    switch (m_store.info(m_curSlot).status) {
        case RecordStore::Modified:
            return usModified;
        case RecordStore::Inserted:
            return usInserted;
        case RecordStore::Deleted:
            return usDeleted;
        default:
            return usUnmodified;
    }
}

void TRemoteUdpDataSet::noteChange(int slot, RecordStore::Status kind,
                                   std::vector<QVariant>* oldValues) {
    if (!m_baseOrderTaken) {
        m_baseOrder = m_order;
        m_baseOrderTaken = true;
    }
    RecordStore::SlotInfo& info = m_store.info(slot);
    if (info.change >= 0) {
        Change& change = m_changes[std::size_t(info.change)];
        if (kind == RecordStore::Deleted) {
            if (change.kind == RecordStore::Inserted) {
                change.kind = RecordStore::Dead;
                ++m_deadChanges;
            } else {
                change.kind = RecordStore::Deleted;
            }
        }
        // An insert edited later stays one insert; a second edit keeps the values first read.
        info.status = change.kind;
        return;
    }
    Change change;
    change.slot = slot;
    change.kind = kind;
    if (kind == RecordStore::Modified && oldValues) change.old = std::move(*oldValues);
    info.change = int(m_changes.size());
    info.status = kind;
    m_changes.push_back(std::move(change));
}

void TRemoteUdpDataSet::dropChangeLog() {
    for (const Change& change : m_changes) {
        switch (change.kind) {
            case RecordStore::Deleted:
            case RecordStore::Dead:
                m_store.kill(change.slot);
                break;
            default: {
                RecordStore::SlotInfo& info = m_store.info(change.slot);
                info.status = RecordStore::Unmodified;
                info.change = -1;
            }
        }
    }
    m_changes.clear();
    m_deadChanges = 0;
    m_baseOrder.clear();
    m_baseOrderTaken = false;
}

void TRemoteUdpDataSet::MergeChangeLog() {
    if (!Active()) return;
    CheckBrowseMode();
    if (m_changes.empty()) return;
    dropChangeLog();
    ++m_dataVersion;
}

void TRemoteUdpDataSet::UpdateBatch() {
    requireActive();
    CheckBrowseMode();
    if (m_memoryTable || m_changes.empty()) return;
    if (!UpdatesPending()) {
        dropChangeLog();
        return;
    }
    requireConnection();
    std::vector<const Change*> pending;
    pending.reserve(m_changes.size() - std::size_t(m_deadChanges));
    for (const Change& change : m_changes)
        if (change.kind != RecordStore::Dead) pending.push_back(&change);
    std::vector<std::pair<int, qint64>> identities;
    const bool insideTransaction = m_connection->InTransaction();
    applyChanges(pending, identities);  // throws with the cache untouched
    if (insideTransaction) holdSentChanges(identities);
    finishApplied(identities);
    dropChangeLog();
    ++m_dataVersion;
    signalReset();
}

// ---------------------------------------------------------------- changes held until the
// transaction ends

void TRemoteUdpDataSet::holdSentChanges(const std::vector<std::pair<int, qint64>>& identities) {
    auto sent = std::make_unique<HeldChanges>();
    for (const Change& change : m_changes) {
        if (change.kind == RecordStore::Dead) continue;
        sent->changes.push_back(change);
        std::vector<QVariant> cells;
        if (change.kind == RecordStore::Deleted) {
            const QVariant* row = m_store.row(change.slot);
            cells.assign(row, row + m_store.width());
        }
        sent->deletedCells.push_back(std::move(cells));
    }
    if (!identities.empty()) {
        const int column = updateTarget().identityField;
        for (const auto& [slot, id] : identities)
            sent->identityCells.emplace_back(slot, m_store.row(slot)[column]);
    }
    sent->baseOrder = m_baseOrder;
    sent->baseOrderTaken = m_baseOrderTaken;

    if (!m_held) {
        m_held = std::move(sent);
        m_heldWatch = connect(m_connection, &TRemoteUdpConnection::TransactionEnded, this,
                              &TRemoteUdpDataSet::transactionEnded);
        return;
    }
    // A second send in the same transaction: what it sent comes after the first.
    HeldChanges& held = *m_held;
    held.changes.insert(held.changes.end(), sent->changes.begin(), sent->changes.end());
    held.deletedCells.insert(held.deletedCells.end(),
                             std::make_move_iterator(sent->deletedCells.begin()),
                             std::make_move_iterator(sent->deletedCells.end()));
    held.identityCells.insert(held.identityCells.end(), sent->identityCells.begin(),
                              sent->identityCells.end());
}

void TRemoteUdpDataSet::transactionEnded(bool committed) {
    if (committed || !Active())
        releaseHeldChanges();
    else
        restoreHeldChanges();
}

void TRemoteUdpDataSet::releaseHeldChanges() {
    if (m_heldWatch) disconnect(m_heldWatch);
    m_heldWatch = {};
    m_held.reset();
}

// The transaction rolled back: every change it carried is cached again, merged
// with the ones made since, as if none had been sent.
void TRemoteUdpDataSet::restoreHeldChanges() {
    const std::unique_ptr<HeldChanges> held = std::move(m_held);
    releaseHeldChanges();
    if (!held) return;
    if (m_state == dsEdit || m_state == dsInsert) Cancel();

    std::vector<Change> merged;
    QHash<int, std::size_t> at;  // slot -> index in merged
    auto mergeIn = [&](const Change& change) {
        const auto found = at.constFind(change.slot);
        if (found == at.constEnd()) {
            at.insert(change.slot, merged.size());
            merged.push_back(change);
            return;
        }
        // A row sent, then changed again: an insert stays an insert (or goes,
        // when deleted); an edit keeps the values first read.
        Change& first = merged[*found];
        if (change.kind == RecordStore::Deleted)
            first.kind =
                first.kind == RecordStore::Inserted ? RecordStore::Dead : RecordStore::Deleted;
    };
    for (std::size_t i = 0; i < held->changes.size(); ++i) {
        const Change& change = held->changes[i];
        if (change.kind == RecordStore::Deleted) {
            QVariant* row = m_store.row(change.slot);
            const std::vector<QVariant>& cells = held->deletedCells[i];
            std::copy(cells.begin(), cells.end(), row);
        }
        mergeIn(change);
    }
    for (const Change& change : m_changes) mergeIn(change);

    const int identityColumn = held->identityCells.empty() ? -1 : updateTarget().identityField;
    for (const auto& [slot, cell] : held->identityCells)
        if (m_store.alive(slot) && merged[at.value(slot)].kind == RecordStore::Inserted)
            m_store.row(slot)[identityColumn] = cell;

    m_changes.assign(merged.begin(), merged.end());
    m_deadChanges = 0;
    for (std::size_t i = 0; i < m_changes.size(); ++i) {
        const Change& change = m_changes[i];
        if (change.kind == RecordStore::Dead) {
            ++m_deadChanges;
            m_store.kill(change.slot);
        } else {
            RecordStore::SlotInfo& info = m_store.info(change.slot);
            info.status = change.kind;
            info.change = int(i);
            info.calcGen = 0;
        }
    }
    if (held->baseOrderTaken) {
        m_baseOrder = held->baseOrder;
        m_baseOrderTaken = true;
    }
    ++m_dataVersion;
    signalReset();
}

void TRemoteUdpDataSet::applyNow(const Change& change) {
    requireConnection();
    std::vector<std::pair<int, qint64>> identities;
    applyChanges({&change}, identities);
    finishApplied(identities);
}

void TRemoteUdpDataSet::applyChanges(const std::vector<const Change*>& changes,
                                     std::vector<std::pair<int, qint64>>& identities) {
    if (!m_statements) m_statements = std::make_unique<StatementCache>();
    StatementCache& cache = *m_statements;
    // The update object's texts are translated once per text, not per row.
    const QString insertText = m_updateSql ? m_updateSql->InsertSQL : QString();
    const QString modifyText = m_updateSql ? m_updateSql->ModifySQL : QString();
    const QString deleteText = m_updateSql ? m_updateSql->DeleteSQL : QString();
    if (cache.insertText != insertText || (!insertText.isEmpty() && !cache.insertSql.batch)) {
        cache.insertSql = insertText.trimmed().isEmpty() ? PreparedChangeBatch()
                                                         : prepareBatch(insertText, false);
        cache.insertText = insertText;
    }
    if (cache.modifyText != modifyText || (!modifyText.isEmpty() && !cache.modifySql.batch)) {
        cache.modifySql =
            modifyText.trimmed().isEmpty() ? PreparedChangeBatch() : prepareBatch(modifyText, true);
        if (cache.modifySql.batch) addRowChecks(cache.modifySql);
        cache.modifyText = modifyText;
    }
    if (cache.deleteText != deleteText || (!deleteText.isEmpty() && !cache.deleteSql.batch)) {
        cache.deleteSql =
            deleteText.trimmed().isEmpty() ? PreparedChangeBatch() : prepareBatch(deleteText, true);
        if (cache.deleteSql.batch) addRowChecks(cache.deleteSql);
        cache.deleteText = deleteText;
    }

    TRemoteUdpConnection::Unit unit(*m_connection);
    const int total = int(changes.size());
    int sent = 0;
    for (const Change* change : changes) {
        applyOne(*change, identities);
        if ((++sent & 1023) == 0 && OnUpdateProgress) OnUpdateProgress(sent, total);
    }
    unit.commit();
}

void TRemoteUdpDataSet::finishApplied(const std::vector<std::pair<int, qint64>>& identities) {
    if (identities.empty()) return;
    const int column = updateTarget().identityField;
    for (const auto& [slot, id] : identities) {
        m_store.row(slot)[column] = QVariant(qlonglong(id));
        m_store.info(slot).calcGen = 0;
    }
}

bool TRemoteUdpDataSet::canApply(RecordStore::Status kind) {
    if (m_updateSql) {
        const QString& text = kind == RecordStore::Inserted   ? m_updateSql->InsertSQL
                              : kind == RecordStore::Modified ? m_updateSql->ModifySQL
                                                              : m_updateSql->DeleteSQL;
        if (!text.trimmed().isEmpty()) return true;
    }
    return m_connection && m_connection->Connected() && updateTarget().table != nullptr;
}

// ---------------------------------------------------------------- generated statements

const TRemoteUdpDataSet::UpdateTarget& TRemoteUdpDataSet::updateTarget() {
    if (m_target) return *m_target;
    auto target = std::make_unique<UpdateTarget>();
    const md::sql::TableInfo* table =
        m_sourceTable.isEmpty() || !m_connection || !m_connection->Connected()
            ? nullptr
            : m_connection->catalog().table(m_sourceTable);
    if (m_sourceTable.isEmpty()) {
        target->problem = QStringLiteral("无法从 SQL 语句确定要更新的表");
    } else if (!table) {
        target->problem = QStringLiteral("找不到表 '%1'").arg(m_sourceTable);
    } else if (table->isView) {
        target->problem = QStringLiteral("'%1' 是视图，不能直接更新").arg(table->name);
    } else {
        for (const md::sql::ColumnInfo& info : table->columns) {
            const TField* field = FindField(info.name);
            if (!field || field->m_column < 0 || field->m_column >= m_dataColumns) continue;
            UpdateTarget::Column column;
            column.field = field->m_column;
            column.info = &info;
            column.sqlName = isPlainName(info.name) && !md::sql::isReservedWord(info.name)
                                 ? info.name
                                 : QString(QLatin1Char('[') + info.name + QLatin1Char(']'));
            column.paramName = isAsciiName(info.name) && !md::sql::isReservedWord(info.name)
                                   ? info.name
                                   : QStringLiteral("p%1").arg(target->columns.size() + 1);
            column.identity = info.identity;
            column.comparable = info.type != md::sql::SqlType::Blob;
            if (info.identity) target->identityField = field->m_column;
            target->columns.push_back(column);
        }
        if (target->columns.empty()) {
            target->problem = QStringLiteral("数据集中没有表 '%1' 的列").arg(table->name);
        } else {
            target->table = table;
            for (const QString& keyColumn : table->key) {
                int found = -1;
                for (int i = 0; i < int(target->columns.size()); ++i)
                    if (target->columns[i].info->name.compare(keyColumn, Qt::CaseInsensitive) == 0)
                        found = i;
                if (found < 0) {
                    target->address.clear();
                    break;
                }
                target->address.push_back(found);
            }
            target->keyed = !target->address.empty();
            // Without a usable key the row is addressed by every value read.
            if (!target->keyed)
                for (int i = 0; i < int(target->columns.size()); ++i)
                    if (target->columns[i].comparable) target->address.push_back(i);
        }
    }
    m_target = std::move(target);
    return *m_target;
}

// Whether the written insert's last insert writes the table the dataset reads,
// and that table has an identity column to read back.
bool TRemoteUdpDataSet::insertsIntoOwnTable(const PreparedChangeBatch& custom) {
    const UpdateTarget& target = updateTarget();
    if (!target.table || target.identityField < 0) return false;
    const auto& statements = custom.batch->statements;
    for (auto it = statements.rbegin(); it != statements.rend(); ++it)
        if (it->kind == md::sql::Statement::Kind::Insert)
            return md::sql::Catalog::normalizedName(it->targetTable) ==
                   md::sql::Catalog::normalizedName(target.table->name);
    return false;
}

void TRemoteUdpDataSet::applyOne(const Change& change,
                                 std::vector<std::pair<int, qint64>>& identities) {
    StatementCache& cache = *m_statements;
    const QVariant* current = m_store.row(change.slot);
    const QVariant* old = change.old.empty() ? current : change.old.data();

    if (change.kind == RecordStore::Inserted) m_store.info(change.slot).inserted = true;
    const bool unreadNulls = m_store.info(change.slot).inserted;
    if (change.kind == RecordStore::Modified) {
        bool changed = false;
        for (int c = 0; c < m_dataColumns && !changed; ++c)
            changed = !md::data::sameValue(current[c], old[c]);
        if (!changed) return;  // edited back to the values read
    }
    const PreparedChangeBatch& custom = change.kind == RecordStore::Inserted   ? cache.insertSql
                                        : change.kind == RecordStore::Modified ? cache.modifySql
                                                                               : cache.deleteSql;
    // A written update sends only what its SET items take: when none of those
    // changed, the row's other changes are not its business, and sending the
    // values read would overwrite what was saved meanwhile.
    if (change.kind == RecordStore::Modified && custom.batch && custom.setsKnown &&
        std::none_of(custom.setFields.begin(), custom.setFields.end(),
                     [&](int field) { return !md::data::sameValue(current[field], old[field]); }))
        return;
    if (custom.batch) {
        runPrepared(custom, current, old, unreadNulls);
        // A row added through a written insert gets its identity value like a
        // generated one, so the next save in the same visit can address it.
        if (change.kind == RecordStore::Inserted && insertsIntoOwnTable(custom))
            identities.emplace_back(change.slot, m_connection->lastInsertId());
        return;
    }

    const UpdateTarget& target = updateTarget();
    if (!target.table)
        throw EDatabaseError(
            QStringLiteral("数据集 '%1' 不能保存修改：%2。").arg(objectName(), target.problem));

    // The statement text depends on which columns are written and which old
    // values are null; each such pattern is translated once.
    QByteArray& pattern = cache.pattern;
    pattern.resize(qsizetype(target.columns.size()) + 1);
    char* bits = pattern.data();
    bits[0] = change.kind == RecordStore::Inserted   ? 'I'
              : change.kind == RecordStore::Modified ? 'U'
                                                     : 'D';
    enum : char { Set = 1, Where = 2, OldNull = 4 };
    for (std::size_t i = 0; i < target.columns.size(); ++i) {
        const UpdateTarget::Column& column = target.columns[i];
        char b = 0;
        if (change.kind == RecordStore::Inserted) {
            if (!column.identity && !current[column.field].isNull()) b |= Set;
        } else if (change.kind == RecordStore::Modified && !column.identity &&
                   !md::data::sameValue(current[column.field], old[column.field])) {
            b |= Set;
            if (column.comparable) b |= Where;
        }
        bits[i + 1] = char(b | 0x40);
    }
    if (change.kind != RecordStore::Inserted) {
        for (int i : target.address) bits[i + 1] |= Where;
        for (std::size_t i = 0; i < target.columns.size(); ++i)
            if ((bits[i + 1] & Where) && old[target.columns[i].field].isNull())
                bits[i + 1] |= OldNull;
    }

    auto it = cache.generated.find(pattern);
    if (it == cache.generated.end()) {
        const QString& table = target.table->name;
        QString text;
        QStringList names, values, sets, where;
        for (std::size_t i = 0; i < target.columns.size(); ++i) {
            const UpdateTarget::Column& column = target.columns[i];
            const char b = bits[i + 1];
            if (b & Set) {
                names << column.sqlName;
                values << QLatin1Char(':') + column.paramName;
                sets << column.sqlName + QStringLiteral("=:") + column.paramName;
            }
        }
        // The address first, then the changed columns as read.
        std::vector<std::size_t> whereOrder(target.address.begin(), target.address.end());
        for (std::size_t i = 0; i < target.columns.size(); ++i)
            if ((bits[i + 1] & Where) &&
                std::find(whereOrder.begin(), whereOrder.end(), i) == whereOrder.end())
                whereOrder.push_back(i);
        for (std::size_t i : whereOrder) {
            const UpdateTarget::Column& column = target.columns[i];
            where << ((bits[i + 1] & OldNull)
                          ? QString(column.sqlName + QStringLiteral(" is null"))
                          : QString(column.sqlName + QStringLiteral("=:") + column.paramName));
        }
        switch (change.kind) {
            case RecordStore::Inserted:
                text = names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(table)
                                       : QStringLiteral("insert into %1(%2) values(%3)")
                                             .arg(table, names.join(QLatin1Char(',')),
                                                  values.join(QLatin1Char(',')));
                break;
            case RecordStore::Modified:
                text = QStringLiteral("update %1 set %2 where %3")
                           .arg(table, sets.join(QLatin1Char(',')),
                                where.join(QStringLiteral(" and ")));
                break;
            default:
                text = QStringLiteral("delete from %1 where %2")
                           .arg(table, where.join(QStringLiteral(" and ")));
        }
        PreparedChangeBatch prepared = prepareBatch(text, change.kind != RecordStore::Inserted);
        // Generated texts bind by their own column names, never by chance matches.
        for (std::size_t s = 0; s < prepared.bindings.size(); ++s) {
            const Statement& statement = prepared.batch->statements[int(s)];
            for (int p = 0; p < statement.params.size(); ++p) {
                for (const UpdateTarget::Column& column : target.columns) {
                    if (column.paramName.compare(statement.params[p].name, Qt::CaseInsensitive) ==
                        0) {
                        prepared.bindings[s][std::size_t(p)] =
                            ParamBinding{column.field, statement.params[p].inWhere};
                        break;
                    }
                }
            }
        }
        prepared.checkRows = change.kind != RecordStore::Inserted;
        it = cache.generated.insert(pattern, std::move(prepared));
    }
    if (change.kind == RecordStore::Deleted)
        if (const auto check = keyRowCheck()) runRowCheck(*check, old, unreadNulls);
    runPrepared(*it, current, old);
    if (change.kind == RecordStore::Inserted && target.identityField >= 0)
        identities.emplace_back(change.slot, m_connection->lastInsertId());
}

// ---------------------------------------------------------------- cancel and refresh

void TRemoteUdpDataSet::CancelUpdates() {
    if (!Active()) return;
    if (m_state == dsEdit || m_state == dsInsert) Cancel();
    if (!m_changes.empty()) {
        for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
            const Change& change = *it;
            RecordStore::SlotInfo& info = m_store.info(change.slot);
            if (change.kind == RecordStore::Inserted || change.kind == RecordStore::Dead) {
                m_store.kill(change.slot);
                continue;
            }
            if (!change.old.empty()) {
                QVariant* row = m_store.row(change.slot);
                for (int c = 0; c < m_dataColumns; ++c) row[c] = change.old[std::size_t(c)];
            }
            info.status = RecordStore::Unmodified;
            info.change = -1;
        }
        m_changes.clear();
        m_deadChanges = 0;
        std::vector<int> order;
        order.reserve(m_baseOrder.size());
        for (int slot : m_baseOrder)
            if (m_store.alive(slot)) order.push_back(slot);
        m_order = std::move(order);
        m_baseOrder.clear();
        m_baseOrderTaken = false;
        if (m_filterOn) {
            m_filtered.clear();
            for (int slot : m_order)
                if (recordMatches(slot)) m_filtered.push_back(slot);
        }
        const int keep = m_curSlot >= 0 && m_store.alive(m_curSlot) ? positionOf(m_curSlot) : -1;
        setPosition(keep >= 0 ? keep : std::min(std::max(m_pos, 0), RecordCount() - 1));
        m_bof = m_eof = IsEmpty();
        ++m_dataVersion;
    }
    signalReset();
    if (notifying()) Q_EMIT scrolled();
}

void TRemoteUdpDataSet::Refresh() {
    requireActive();
    if (m_memoryTable) return;
    if (m_state == dsEdit || m_state == dsInsert) Cancel();
    // Stay on the same record: by its key when the table has one, else by number.
    QVariantList keyValues;
    std::vector<TField*> keyFields;
    const int recNo = RecNo();
    if (m_curSlot >= 0 && m_connection && m_connection->Connected()) {
        const UpdateTarget& target = updateTarget();
        if (target.keyed) {
            for (int i : target.address) {
                keyFields.push_back(
                    m_fields[std::size_t(target.columns[std::size_t(i)].field)].get());
                keyValues << m_store.row(m_curSlot)[target.columns[std::size_t(i)].field];
            }
        }
    }
    openWith(m_pageIndex);
    int pos = keyFields.empty() ? -1 : findRecord(keyFields, keyValues, {});
    if (pos < 0) pos = std::min(recNo, RecordCount()) - 1;
    if (pos >= 0) {
        setPosition(pos);
        m_bof = m_eof = false;
    }
    if (notifying()) Q_EMIT scrolled();
}
