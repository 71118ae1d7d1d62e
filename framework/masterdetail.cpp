#include "masterdetail.h"

#include "scopes.h"

TMasterDetailLink::TMasterDetailLink(TRemoteUdpDataSet* master, TRemoteUdpDataSet* detail,
                                     QList<FieldPair> pairs, QObject* parent)
    : QObject(parent), m_master(master), m_detail(detail), m_pairs(std::move(pairs)) {
    // A move under disabled controls arrives as the reset that ends them.
    connect(master, &TRemoteUdpDataSet::scrolled, this, &TMasterDetailLink::masterChanged);
    connect(master, &TRemoteUdpDataSet::dataSetChanged, this, &TMasterDetailLink::masterChanged);
    connect(master, &TRemoteUdpDataSet::stateChanged, this, &TMasterDetailLink::masterChanged);
}

void TMasterDetailLink::masterChanged() {
    if (!m_master || !m_detail) return;
    if (!m_master->Active()) {
        if (m_opened && m_detail->Active()) m_detail->Close();
        m_opened = false;
        return;
    }
    if (follow != Follow::Always || m_master->ControlsDisabled()) return;
    const TBookmark at = m_master->GetBookmark();
    if (m_opened && at == m_openedAt) return;
    openFor(at);
}

bool TMasterDetailLink::IsCurrent() const {
    return m_opened && m_detail && m_detail->Active() && m_master && m_master->Active() &&
           m_master->GetBookmark() == m_openedAt;
}

void TMasterDetailLink::Open() {
    if (!m_master || !m_detail) return;
    openFor(m_master->Active() ? m_master->GetBookmark() : TBookmark());
}

void TMasterDetailLink::openFor(const TBookmark& at) {
    const bool newRecord = !m_master->Active() || m_master->State() == dsInsert || at.isNull();
    m_detail->Close();
    for (const FieldPair& pair : m_pairs) {
        TParameter* param = m_detail->Parameters().FindParam(pair.detail);
        if (!param) continue;
        if (newRecord)
            param->Clear();
        else
            param->SetValue(m_master->FieldByName(pair.master).Value());
    }
    m_openedAt = at;
    m_opened = true;
    m_detail->Open();
    // Rows whose key happens to match a record not yet saved are not its rows.
    if (newRecord && !m_detail->IsEmpty()) m_detail->EmptyDataSet();
}

void TMasterDetailLink::CarryMasterKey() {
    if (!m_master || !m_detail || !m_detail->Active() || m_detail->IsEmpty()) return;
    QList<QVariant> values;
    for (const FieldPair& pair : m_pairs) values << m_master->FieldByName(pair.master).Value();
    TControlsDisabled still(*m_detail);
    TBookmarkKept place(*m_detail);
    for (m_detail->First(); !m_detail->Eof(); m_detail->Next()) {
        bool differs = false;
        for (int i = 0; i < m_pairs.size() && !differs; ++i)
            differs = m_detail->FieldByName(m_pairs[i].detail).Value() != values[i];
        if (!differs) continue;
        m_detail->Edit();
        for (int i = 0; i < m_pairs.size(); ++i)
            m_detail->FieldByName(m_pairs[i].detail).SetValue(values[i]);
        m_detail->Post();
    }
}

void TMasterDetailLink::ApplyUpdates() {
    if (!m_detail || !m_detail->Active()) return;
    if (m_detail->InEditState()) m_detail->Post();
    if (SendWhen && !SendWhen(*m_detail)) return;
    CarryMasterKey();
    m_detail->UpdateBatch();
}

void TMasterDetailLink::CancelUpdates() {
    if (!m_detail || !m_detail->Active()) return;
    if (m_detail->InEditState()) m_detail->Cancel();
    m_detail->CancelUpdates();
}
