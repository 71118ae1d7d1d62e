#pragma once
// The cached dataset every window programs against: T-SQL text in, rows by
// field name out, edits cached and sent in one batch.
//
// Life cycle: bind (setSetupUdpParent), Close, set SQL and parameters, Open or
// ExecSQL, read and edit, UpdateBatch or CancelUpdates, Close. A dataset with
// declared fields and no SQL is an in-memory table (AddField, CreateDataSet).
//
// Event order (each handler may Abort(); the operation then stops and the
// record keeps its state and values):
//   Open:    BeforeOpen, AfterOpen, AfterScroll (when not empty)
//   Close:   BeforeClose, AfterClose
//   Append/Insert: [post or cancel of the record being edited], BeforeInsert,
//            BeforeScroll, OnNewRecord, AfterInsert, AfterScroll
//   Edit:    BeforeEdit, AfterEdit
//   Post:    BeforePost, (required fields checked, change cached or applied), AfterPost
//   Cancel:  BeforeCancel, AfterCancel
//   Delete:  BeforeDelete, BeforeScroll, AfterDelete, AfterScroll
//   First/Last/Next/Prior/MoveBy/RecNo/Locate/GotoBookmark: [post or cancel],
//            BeforeScroll, AfterScroll (Next/Prior: AfterScroll only when the
//            move was attempted from inside the data, as Eof/Bof were false)
// Leaving a record in edit or insert state by navigation posts it when it was
// modified and cancels it otherwise (values set by OnNewRecord do not count).
//
// Values: text fields hold QString; integers qlonglong; floats and money double;
// bit fields qlonglong 1/0 (AsString "1"/"0", so it can go straight into SQL,
// DisplayText "是"/"否"); dates text 'yyyy-MM-dd' or 'yyyy-MM-dd HH:mm:ss'.
#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "errors.h"
#include "field.h"
#include "recordstore.h"
#include "remoteudpconnection.h"
#include "remoteupdatesql.h"

struct PreparedChangeBatch;
struct ParamBinding;
struct RowCheck;

namespace md::data {
class FilterExpression;
}

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsCalcFields, dsFilter };
enum TLockType { etOptimistic, etBatchOptimistic };
enum TSelectType { SelectAll, SelectPage };
enum TUpdateStatus { usUnmodified, usModified, usInserted, usDeleted };
enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

// An opaque handle of a record, valid while the dataset stays open; it survives
// filtering, editing and cached changes of other records.
struct TBookmark {
    qint64 id = -1;
    bool isNull() const { return id < 0; }
    friend bool operator==(const TBookmark& a, const TBookmark& b) { return a.id == b.id; }
};

// A ":name" parameter of the SQL text.
class TParameter {
  public:
    explicit TParameter(QString name) : m_name(std::move(name)) {}
    const QString& Name() const { return m_name; }
    const QVariant& Value() const { return m_value; }
    void SetValue(const QVariant& value) { m_value = value; }
    void setValue(const QVariant& value) { m_value = value; }
    void Clear() { m_value = QVariant(); }
    bool IsNull() const { return m_value.isNull(); }

    QString AsString() const { return TField::textOf(m_value, ftUnknown); }
    void SetAsString(const QString& value) { m_value = value; }
    int AsInteger() const { return int(TField::integerOf(m_value)); }
    void SetAsInteger(qint64 value) { m_value = qlonglong(value); }
    double AsFloat() const { return TField::floatOf(m_value); }
    void SetAsFloat(double value) { m_value = value; }
    bool AsBoolean() const { return TField::booleanOf(m_value); }
    void SetAsBoolean(bool value) { m_value = qlonglong(value ? 1 : 0); }
    QDateTime AsDateTime() const { return TField::dateTimeOf(m_value); }
    void SetAsDateTime(const QDateTime& value) {
        m_value = TField::dateTimeText(value, ftDateTime);
    }

    TParameter& operator=(const QVariant& value) {
        m_value = value;
        return *this;
    }
    TParameter& operator=(const QString& value) {
        m_value = value;
        return *this;
    }
    TParameter& operator=(const char* value) {
        m_value = QString::fromUtf8(value);
        return *this;
    }

  private:
    QString m_name;
    QVariant m_value;
};

class TParameters : public ParamSource {
  public:
    int Count() const { return int(m_items.size()); }
    TParameter& Items(int index) const { return *m_items.at(index); }
    TParameter& operator[](int index) const { return *m_items.at(index); }
    TParameter* FindParam(QStringView name) const;    // any case; null when absent
    TParameter& ParamByName(QStringView name) const;  // throws EDatabaseError when absent
    // Re-reads the names from SQL text; values of names that stay are kept.
    void ParseSQL(const QString& sql);
    static QStringList namesIn(const QString& sql);

    QVariant paramValue(const md::sql::ParamRef& param) const override;

  private:
    std::vector<std::unique_ptr<TParameter>> m_items;
};

class TRemoteUdpDataSet : public QObject, private RowSink {
    Q_OBJECT
  public:
    explicit TRemoteUdpDataSet(QObject* parent = nullptr);
    TRemoteUdpDataSet(const QString& name, QObject* parent);
    ~TRemoteUdpDataSet() override;

    using Event = std::function<void(TRemoteUdpDataSet&)>;

    // ------------------------------------------------------------ connection and SQL
    void setSetupUdpParent(TRemoteUdpConnection* connection);
    TRemoteUdpConnection* SetupUdpParent() const { return m_connection; }

    // The text is replaced whole; an open dataset is closed first.
    const QString& SQL() const { return m_sql; }
    void SetSQL(const QString& text);
    void AddSQL(const QString& line);  // appends a line
    void ClearSQL() { SetSQL(QString()); }
    const QString& RTSQL() const { return m_rtsql; }
    void SetRTSQL(const QString& text) { m_rtsql = text; }

    TParameters& Parameters() { return m_params; }
    TParameter& ParamByName(QStringView name) const { return m_params.ParamByName(name); }

    TLockType LockType() const { return m_lockType; }
    void SetLockType(TLockType type) { m_lockType = type; }
    TSelectType SelectType() const { return m_selectType; }
    void SetSelectType(TSelectType type) { m_selectType = type; }
    int PageSize() const { return m_pageSize; }
    void SetPageSize(int size) { m_pageSize = qMax(1, size); }
    int PageIndex() const { return m_pageIndex; }  // 0-based, SelectPage only
    // SelectAll: moves the cursor by PageSize records. SelectPage: fetches the
    // next (previous) PageSize rows of the query; a short page is the last one.
    void NextPage();
    void PriorPage();

    void SetupDataObject(TRemoteUpdateSql* updateSql) { m_updateSql = updateSql; }
    TRemoteUpdateSql* UpdateObject() const { return m_updateSql; }

    // ------------------------------------------------------------ activation
    void Open();
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    // Opens with RTSQL (when set) unless already open; false closes.
    void setrtactive(bool active);
    qint64 ExecSQL();  // runs SQL without opening; rows changed
    // Discards cached changes and reads the rows again, staying on the same
    // record (by key when the table has one, else by number) where possible.
    void Refresh();

    // ------------------------------------------------------------ cached updates
    // Sends every cached change in the order of first change, in one unit of
    // work. On failure nothing is applied, the cache is kept exactly as it was,
    // and the error propagates (EConcurrencyError when a row was changed or
    // deleted by someone else meanwhile). Sent inside a transaction of the
    // connection, the changes come back into the cache should that transaction
    // roll back, merged with any made since.
    void UpdateBatch();
    void CancelUpdates();
    // Takes every cached change as done without sending anything: rows keep
    // the values they have now, deleted rows go. For a window that changes rows
    // to show what its own statements have already written.
    void MergeChangeLog();
    bool UpdatesPending() const;
    TUpdateStatus UpdateStatus() const;  // of the current record

    // ------------------------------------------------------------ state and counts
    // dsCalcFields (dsFilter) while calculated fields (OnFilterRecord) are evaluated.
    TDataSetState State() const { return m_contextSlot >= 0 ? m_contextState : m_state; }
    bool Modified() const { return m_modified; }
    // The current record is being edited or inserted.
    bool InEditState() const { return State() == dsEdit || State() == dsInsert; }
    int GetRecordCount() const { return int(view().size()); }
    int RecordCount() const { return int(view().size()); }
    bool IsEmpty() const { return view().empty(); }

    // ------------------------------------------------------------ fields
    int FieldCount() const { return int(m_fields.size()); }
    TField& Fields(int index) const { return *m_fields.at(index); }
    TField& FieldByName(
        const QString& name) const;  // any case; throws EDatabaseError naming dataset and field
    TField* FindField(const QString& name) const;  // any case; null when absent
    QStringList FieldNames() const;

    // Declares a data field: the layout of an in-memory table, or a field whose
    // properties and events are set before a query opens (bound by name).
    TField& AddField(const QString& name, TFieldType type, int size = 0);
    TField& AddCalcField(const QString& name, TFieldType type, int size = 0);
    TField& AddLookupField(const QString& name, const QString& keyFields,
                           TRemoteUdpDataSet* lookupDataSet, const QString& lookupKeyFields,
                           const QString& lookupResultField, TFieldType type = ftString,
                           int size = 0);
    void ClearFields();  // inactive only: forgets declared, calculated and lookup fields

    // In-memory tables: opens on the declared fields with no rows.
    void CreateDataSet();
    // Removes every row without caching anything.
    void EmptyDataSet();

    // ------------------------------------------------------------ navigation
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);
    int RecNo() const { return m_pos + 1; }  // 1-based; 0 when empty
    void SetRecNo(int recNo);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }

    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark);
    bool BookmarkValid(const TBookmark& bookmark) const;
    void FreeBookmark(const TBookmark&) {}

    // ------------------------------------------------------------ editing
    void Append();
    void Insert();  // before the current record
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Posts a modified record in edit or insert state, cancels an unmodified one.
    void CheckBrowseMode();

    // ------------------------------------------------------------ filter and search
    const QString& Filter() const { return m_filterText; }
    void SetFilter(const QString& text);
    bool Filtered() const { return m_filterOn; }
    void SetFiltered(bool filtered);
    // Text comparisons of the filter ignore case unless this is turned off.
    bool FilterCaseInsensitive() const { return m_filterCaseInsensitive; }
    void SetFilterCaseInsensitive(bool on);
    // Re-applies the filter, e.g. after OnFilterRecord's criteria changed.
    void RefilterRecords();

    // keyFields "a;b", values a single value or a QVariantList (one per field).
    bool Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options = {});
    // The result field(s) of the first matching record, without moving; null when none.
    QVariant Lookup(const QString& keyFields, const QVariant& keyValues,
                    const QString& resultFields);

    // ------------------------------------------------------------ controls
    void DisableControls();
    void EnableControls();  // at the outermost level signals one reset
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // ------------------------------------------------------------ events
    Event BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    Event BeforeInsert, OnNewRecord, AfterInsert;
    Event BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel;
    Event BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    Event OnCalcFields;  // sets calculated fields of the record under calculation
    std::function<void(TRemoteUdpDataSet&, bool& accept)> OnFilterRecord;
    // While UpdateBatch sends: after every 1,024 changes, the count sent so far
    // and the total, so that a window can move a progress bar and process
    // events during a long send. It must not touch this dataset.
    std::function<void(int sent, int total)> OnUpdateProgress;

    // ------------------------------------------------------------ for grids and models
    // Value of a field in row `row` (0-based in the current view) without moving.
    const QVariant& valueAt(int row, int fieldIndex) const;
    QString displayTextAt(int row, int fieldIndex) const;
    // The bookmark of row `row`: a grid moving to a row while the current record
    // is being edited goes by bookmark, since posting or dropping that record
    // may shift the rows.
    TBookmark bookmarkAt(int row) const;
    // Counter that changes with every change of the rows (lookup indexes key on it).
    quint64 dataVersion() const { return m_dataVersion; }

  Q_SIGNALS:
    void stateChanged();
    void scrolled();                    // another record became current
    void fieldChanged(int fieldIndex);  // a field of the current record; -1: the whole record
    void rowChanged(int row);           // values of a row changed
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void dataSetChanged();  // reset: rows, fields or order changed in bulk

  private:
    friend class TField;
    // One cached change. kind is Inserted, Modified or Deleted; Dead marks an
    // inserted row that was deleted again (nothing to send).
    struct Change {
        int slot = -1;
        md::data::RecordStore::Status kind = md::data::RecordStore::Unmodified;
        // Data values as read, for rows edited since they were read. Empty for
        // inserts and for rows deleted without an edit (their cells are as read).
        std::vector<QVariant> old;
    };
    struct UpdateTarget;
    struct StatementCache;
    struct HeldChanges;
    struct LookupIndex;
    class RowParams;
    class CalcScope;

    using Store = md::data::RecordStore;

    // RowSink: the backend writes rows straight into the store.
    void setColumns(const QVector<ColumnMeta>& columns) override;
    QVariant* appendRow() override;

    // Field access for TField.
    // The current record's data field is the walk's fast path, inline.
    const QVariant& fieldValue(const TField& field) const {
        if (m_contextSlot < 0 && m_curSlot >= 0 &&
            unsigned(field.m_column) < unsigned(m_dataColumns))
            return m_store.row(m_curSlot)[field.m_column];
        return fieldValueSlow(field);
    }
    const QVariant& fieldValueSlow(const TField& field) const;
    QVariant fieldOldValue(const TField& field) const;
    void setFieldValue(TField& field, QVariant value);

    void call(const Event& event) {
        if (event) event(*this);
    }
    // Signals go out only while controls are enabled and someone listens: a
    // million appends with no grid attached pay nothing for them.
    bool notifying() const { return m_disableCount == 0 && m_listeners > 0; }
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;
    void signalReset();
    void onLookupSourceReset();
    void setStateSignal(TDataSetState state);

    void requireConnection() const;
    void requireActive() const {
        if (m_state == dsInactive) throwInactive();
    }
    [[noreturn]] void throwInactive() const;
    void runQuery(int pageIndex);
    void openWith(int pageIndex);
    void discardAll();
    void rebuildFieldIndex();
    void inferUnknownTypes();
    TField& addDeclared(const QString& name, TFieldType type, int size, TFieldKind kind);

    // The records in view: all records, or the filtered ones.
    const std::vector<int>& view() const { return m_filterOn ? m_filtered : m_order; }
    int slotAt(int pos) const { return view()[pos]; }
    void setPosition(int pos) {
        m_pos = pos;
        m_curSlot = pos >= 0 ? view()[std::size_t(pos)] : -1;
    }
    void moveTo(int pos, bool bof, bool eof);
    void insertRecord(bool append);
    void insertIntoView(int pos, int slot);
    void removeFromView(int pos, bool keepInOrder = false);
    int positionOf(int slot) const;

    // Calculated and lookup fields.
    void ensureCalc(int slot) const;
    void computeCalc(int slot);
    void invalidateAllCalc() { ++m_calcGen; }
    bool hasCalcFields() const { return m_dataColumns < int(m_fields.size()); }
    QVariant lookupValue(const TField& field, int slot) const;

    // Filter.
    bool recordMatches(int slot);
    void rebuildFilterView();
    void compileFilter();

    // Cached changes (remoteudpdatasetupdates.cpp).
    void noteChange(int slot, Store::Status kind, std::vector<QVariant>* oldValues);
    void applyNow(const Change& change);
    void applyChanges(const std::vector<const Change*>& changes,
                      std::vector<std::pair<int, qint64>>& identities);
    void applyOne(const Change& change, std::vector<std::pair<int, qint64>>& identities);
    bool insertsIntoOwnTable(const PreparedChangeBatch& custom);
    const UpdateTarget& updateTarget();
    void finishApplied(const std::vector<std::pair<int, qint64>>& identities);
    void dropChangeLog();
    void holdSentChanges(const std::vector<std::pair<int, qint64>>& identities);
    void transactionEnded(bool committed);
    void restoreHeldChanges();
    void releaseHeldChanges();
    bool isMemoryTable() const { return m_memoryTable; }
    bool canApply(md::data::RecordStore::Status kind);
    PreparedChangeBatch prepareBatch(const QString& text, bool checkRows);
    qint64 runPrepared(const PreparedChangeBatch& prepared, const QVariant* current,
                       const QVariant* old, bool unreadNulls = false);
    ParamBinding bindingFor(const QString& name, bool inWhere) const;

    // Lost updates and deletes (remoteudpdatasetchecks.cpp): each update and
    // delete of a written text re-reads its rows before it runs.
    void addRowChecks(PreparedChangeBatch& prepared);
    std::shared_ptr<const RowCheck> makeRowCheck(const QString& table, const QString& whereTsql,
                                                 const QStringList& columns,
                                                 const std::vector<int>& fields);
    std::shared_ptr<const RowCheck> keyRowCheck();  // generated deletes: by the key
    // unreadNulls: the row was inserted here, its empty values were never read.
    void runRowCheck(const RowCheck& check, const QVariant* old, bool unreadNulls);

    // Search helpers (remoteudpdatasetsearch.cpp).
    std::vector<TField*> fieldList(const QString& names) const;
    int findRecord(const std::vector<TField*>& fields, const QVariantList& values,
                   TLocateOptions options) const;
    const LookupIndex& lookupIndex(const std::vector<TField*>& keyFields) const;
    static QString keyText(const QVariant& value, TFieldType type);

    TRemoteUdpConnection* m_connection = nullptr;
    QString m_sql;
    QString m_rtsql;
    mutable TParameters m_params;
    TLockType m_lockType = etBatchOptimistic;
    TSelectType m_selectType = SelectAll;
    int m_pageSize = 10;
    int m_pageIndex = 0;
    bool m_lastPageShort = false;
    QPointer<TRemoteUpdateSql> m_updateSql;

    TDataSetState m_state = dsInactive;
    bool m_memoryTable = false;
    bool m_modified = false;
    int m_disableCount = 0;
    int m_listeners = 0;  // connections to this dataset's signals (never under-counted)

    // Fields: m_fields[i] reads column i of the store; data columns first, then
    // calculated and lookup fields. Fields dropped by a later query are kept
    // (detached) so that references held by windows never dangle.
    std::vector<std::unique_ptr<TField>> m_fields;
    std::vector<std::unique_ptr<TField>> m_detached;
    int m_dataColumns = 0;
    QHash<QString, int> m_fieldIndex;         // lower-case name -> index
    mutable QHash<QString, int> m_spellings;  // names as asked -> index, saves lower-casing

    // Rows.
    Store m_store;
    std::vector<int> m_order;     // every record in view order (deleted ones excluded)
    std::vector<int> m_filtered;  // the records passing the filter, in order
    int m_pos = -1;
    int m_curSlot = -1;
    bool m_bof = true;
    bool m_eof = true;
    quint64 m_openGeneration = 0;
    quint64 m_dataVersion = 0;

    // Editing.
    std::vector<QVariant> m_editBackup;  // data values of the record before Edit
    int m_insertReturnSlot = -1;         // record that was current before Insert/Append

    // Calculation context: while computing calculated fields or testing the filter,
    // fields read this record instead of the current one.
    mutable int m_contextSlot = -1;
    mutable std::uint32_t m_calcGen = 1;
    TDataSetState m_contextState = dsInactive;

    // Loading.
    QVector<md::sql::ResultColumn> m_columnHints;
    QString m_sourceTable;  // first table of the select
    int m_sinkSkip = 0;
    int m_sinkTake = -1;
    int m_sinkSeen = 0;
    std::vector<QVariant> m_scratchRow;

    // Filter.
    QString m_filterText;
    bool m_filterOn = false;
    bool m_filterCaseInsensitive = true;
    std::unique_ptr<md::data::FilterExpression> m_filterExpr;

    // Change log, in order of first change. m_baseOrder is the view order before
    // the first cached change, so that CancelUpdates puts deleted rows back in place.
    std::deque<Change> m_changes;  // a deque: a million inserts never move the log
    int m_deadChanges = 0;         // inserted rows deleted again: in the log, nothing to send
    std::vector<int> m_baseOrder;
    bool m_baseOrderTaken = false;
    std::unique_ptr<UpdateTarget> m_target;
    std::unique_ptr<StatementCache> m_statements;
    // Changes sent inside a transaction that has not ended yet.
    std::unique_ptr<HeldChanges> m_held;
    QMetaObject::Connection m_heldWatch;

    // Lookup indexes built on this dataset for other datasets' lookup fields and Lookup().
    mutable std::vector<std::unique_ptr<LookupIndex>> m_lookupIndexes;
    // Lookup sources of this dataset's lookup fields and their versions when last calculated.
    mutable std::vector<std::pair<QPointer<TRemoteUdpDataSet>, quint64>> m_lookupSources;
};
