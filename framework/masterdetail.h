#pragma once
// A detail dataset that follows a master dataset, declared once instead of
// written by hand in every window:
//
//     TMasterDetailLink* colours = LinkDetail(DBcolor, {{"goodsid", "fgoodsid"},
//                                                       {"goodsno", "GoodsNo"}});
//
// Reading. When another master record becomes current (the master opens,
// moves, is reopened or reset, a record is appended or an append cancelled),
// the detail is read again for it: its SQL parameters named like the detail
// field of a pair take the master field's value. A new master record gets an
// empty detail, whatever its typed key may match. Editing the master record
// (typing a new key) does not reread anything. A master that closes closes the
// detail. A link with Follow::OnDemand reads only when Open() is called (a
// picture read when it is shown).
//
// Saving. ApplyUpdates() first writes the master's values of the pairs into
// every detail row that holds others, so a changed master key carries its rows
// with it, then sends the detail's cached changes with its own statements
// (UpdateBatch). The window decides when: Tbase_frmMdi::SaveRecordAndDetails
// sends the master and the WithMaster links in one transaction, then the
// AfterCommit links.
//
// Event order on a master move: the master's own events, then the detail's
// Close and Open events (BeforeClose, AfterClose, BeforeOpen, AfterOpen).
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "remoteudpdataset.h"

class TMasterDetailLink : public QObject {
    Q_OBJECT
  public:
    struct FieldPair {
        QString master;
        QString detail;
    };
    enum class Follow { Always, OnDemand };
    enum class SavePhase { WithMaster, AfterCommit };

    TMasterDetailLink(TRemoteUdpDataSet* master, TRemoteUdpDataSet* detail, QList<FieldPair> pairs,
                      QObject* parent = nullptr);

    TRemoteUdpDataSet* Master() const { return m_master; }
    TRemoteUdpDataSet* Detail() const { return m_detail; }
    const QList<FieldPair>& Pairs() const { return m_pairs; }

    Follow follow = Follow::Always;
    SavePhase phase = SavePhase::WithMaster;
    // AfterCommit links: whether the detail has anything worth sending (say, a
    // picture that is not empty). Unset: always.
    std::function<bool(TRemoteUdpDataSet&)> SendWhen;

    // Reads the detail rows of the master's current record now.
    void Open();
    // Whether the detail is open for the master's current record.
    bool IsCurrent() const;
    // Writes the master's values of the pairs into every detail row that differs.
    void CarryMasterKey();
    // Posts a record being edited, carries the key, sends the cached changes.
    void ApplyUpdates();
    // Drops a record being edited and every cached change.
    void CancelUpdates();

  private:
    void masterChanged();
    void openFor(const TBookmark& at);

    QPointer<TRemoteUdpDataSet> m_master;
    QPointer<TRemoteUdpDataSet> m_detail;
    QList<FieldPair> m_pairs;
    TBookmark m_openedAt;  // the master record the detail was read for
    bool m_opened = false;
};
