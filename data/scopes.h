#pragma once
// Objects that restore what they change when they leave their scope, also when
// an exception (a refused check, a database error) leaves it early. Windows use
// them instead of pairing the calls by hand, so no path can leave a dataset's
// grids frozen or a transaction open.
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"

// The dataset's controls stay still while alive: moves and edits inside reach
// the grids as one reset when it ends. Nests like the dataset's own counter.
class TControlsDisabled {
  public:
    explicit TControlsDisabled(TRemoteUdpDataSet& dataSet) : m_dataSet(dataSet) {
        m_dataSet.DisableControls();
    }
    ~TControlsDisabled() { m_dataSet.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

  private:
    TRemoteUdpDataSet& m_dataSet;
};

// The dataset's current record is the same one again when it ends (when that
// record still exists), whatever the loop inside visited.
class TBookmarkKept {
  public:
    explicit TBookmarkKept(TRemoteUdpDataSet& dataSet)
        : m_dataSet(dataSet), m_at(dataSet.Active() ? dataSet.GetBookmark() : TBookmark()) {}
    ~TBookmarkKept() {
        if (m_dataSet.Active() && !m_at.isNull() && m_dataSet.BookmarkValid(m_at))
            m_dataSet.GotoBookmark(m_at);
    }
    TBookmarkKept(const TBookmarkKept&) = delete;
    TBookmarkKept& operator=(const TBookmarkKept&) = delete;

  private:
    TRemoteUdpDataSet& m_dataSet;
    TBookmark m_at;
};

// A transaction of the connection (BeginTrans): commit() commits it; leaving
// the scope without commit() rolls it back, and the datasets that sent changes
// inside it take them back into their caches.
// Whole: nothing inside the transaction is to be recovered from on its own (a
// failure ends it all), so the batches sent inside it take no savepoint each;
// for long batches (BeginWholeTrans).
class TTransactionScope {
  public:
    enum Kind { Recoverable, Whole };
    explicit TTransactionScope(TRemoteUdpConnection& connection, Kind kind = Recoverable)
        : m_connection(connection) {
        if (kind == Whole)
            m_connection.BeginWholeTrans();
        else
            m_connection.BeginTrans();
    }
    ~TTransactionScope() {
        if (m_open && m_connection.InTransaction()) {
            try {
                m_connection.RollbackTrans();
            } catch (...) {
                // Already failing: the error that left the scope is the one to show.
            }
        }
    }
    void commit() {
        m_connection.CommitTrans();
        m_open = false;
    }
    TTransactionScope(const TTransactionScope&) = delete;
    TTransactionScope& operator=(const TTransactionScope&) = delete;

  private:
    TRemoteUdpConnection& m_connection;
    bool m_open = true;
};
