#pragma once
// Inner parts of TRemoteUdpDataSet shared by its source files.
#include <QHash>

#include "remoteudpdataset.h"

// The table generated statements write: the first table of the select, with
// the dataset's fields that are its columns.
struct TRemoteUdpDataSet::UpdateTarget {
    struct Column {
        int field = -1;
        const md::sql::ColumnInfo* info = nullptr;
        QString sqlName;    // as it goes into the statement
        QString paramName;  // without the colon
        bool identity = false;
        bool comparable = true;  // may appear in a where clause (not a blob)
    };
    const md::sql::TableInfo* table = nullptr;
    QString problem;  // why there is no table, when table is null
    std::vector<Column> columns;
    std::vector<int> address;  // indexes into columns: the key, or every comparable column
    bool keyed = false;
    int identityField = -1;
};

// Where a statement's parameter takes its value from.
struct ParamBinding {
    int field = -1;
    bool old = false;
};

// The rows an update or delete is about to change, read again inside its
// transaction (locked where the backend can) and compared with the values the
// dataset read: columns[i] of the result against the field fields[i] as read.
struct RowCheck {
    md::sql::Statement read;
    std::vector<ParamBinding> bindings;  // per parameter of read
    std::vector<int> fields;
};

struct PreparedChangeBatch {
    std::shared_ptr<const md::sql::Batch> batch;
    std::vector<std::vector<ParamBinding>> bindings;  // per statement, per parameter
    bool checkRows = false;  // a lost update or delete is detected by rows changed
    // Per statement: the check run before it, or null.
    std::vector<std::shared_ptr<const RowCheck>> checks;
    // A written update whose every SET takes a field: the fields it sets. A row
    // where none of them changed has nothing to send (other columns, such as a
    // tick the list keeps for itself, are not written by it).
    bool setsKnown = false;
    std::vector<int> setFields;
};

// What one UpdateBatch inside a transaction sent, so that a rollback can put it
// back: the log entries, the cells of the deleted rows (freed once sent) and the
// identity cells the server filled in.
struct TRemoteUdpDataSet::HeldChanges {
    std::vector<Change> changes;
    std::vector<std::vector<QVariant>> deletedCells;  // by index in changes; empty for the rest
    std::vector<std::pair<int, QVariant>> identityCells;
    std::vector<int> baseOrder;
    bool baseOrderTaken = false;
};

struct TRemoteUdpDataSet::StatementCache {
    QHash<QByteArray, PreparedChangeBatch> generated;  // by kind and column pattern
    QByteArray pattern;                                // reused key buffer
    QString insertText, modifyText, deleteText;        // texts the custom batches below came from
    PreparedChangeBatch insertSql, modifySql, deleteSql;
    std::shared_ptr<const RowCheck> keyCheck;  // generated deletes
    bool keyCheckMade = false;
};

struct TRemoteUdpDataSet::LookupIndex {
    QString keyNames;  // lower-case key field names joined by ';'
    quint64 version = 0;
    QHash<QString, int> slotByKey;
};

// While calculated fields are computed or the filter is tested, fields read
// (and calculated fields write) the record under evaluation.
class TRemoteUdpDataSet::CalcScope {
  public:
    CalcScope(const TRemoteUdpDataSet& ds, int slot, TDataSetState state)
        : m_ds(const_cast<TRemoteUdpDataSet&>(ds)),
          m_slot(ds.m_contextSlot),
          m_state(ds.m_contextState) {
        m_ds.m_contextSlot = slot;
        m_ds.m_contextState = state;
    }
    ~CalcScope() {
        m_ds.m_contextSlot = m_slot;
        m_ds.m_contextState = m_state;
    }

  private:
    TRemoteUdpDataSet& m_ds;
    int m_slot;
    TDataSetState m_state;
};

namespace md::data {
// Two field values are the same (change detection); defined in
// remoteudpdatasetupdates.cpp.
bool sameValue(const QVariant& a, const QVariant& b);
// What a lost update or delete is refused with (remoteudpdatasetchecks.cpp).
const QString& concurrencyMessage();
// The first table after the outermost "from" of a select; empty when the rows
// are no table's rows (a function, a sub-select, grouped, distinct or combined
// selects). Defined in remoteudpdatasetsql.cpp.
QString firstTableOf(const QString& tsql);
}  // namespace md::data
