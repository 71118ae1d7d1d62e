#include "datasource.h"

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

TDataSource::TDataSource(const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
}

void TDataSource::setDataSet(TRemoteUdpDataSet* dataSet) {
    if (m_dataSet == dataSet) return;
    if (m_dataSet) disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (dataSet) {
        connect(dataSet, &TRemoteUdpDataSet::stateChanged, this, [this] {
            if (m_enabled) Q_EMIT stateChanged();
        });
        connect(dataSet, &TRemoteUdpDataSet::fieldChanged, this, [this](int field) {
            if (m_enabled) Q_EMIT dataChanged(field);
        });
        auto whole = [this] {
            if (m_enabled) Q_EMIT dataChanged(-1);
        };
        connect(dataSet, &TRemoteUdpDataSet::scrolled, this, whole);
        connect(dataSet, &TRemoteUdpDataSet::dataSetChanged, this, whole);
        connect(dataSet, &QObject::destroyed, this, [this] {
            if (m_enabled) Q_EMIT stateChanged();
        });
    }
    if (m_enabled) {
        Q_EMIT stateChanged();
        Q_EMIT dataChanged(-1);
    }
}

void TDataSource::SetEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (enabled) {
        Q_EMIT stateChanged();
        Q_EMIT dataChanged(-1);
    }
}

bool TDataSource::Edit() {
    if (!m_dataSet || !m_dataSet->Active()) return false;
    const TDataSetState state = m_dataSet->State();
    if (state == dsEdit || state == dsInsert) return true;
    if (!m_autoEdit) return false;
    m_dataSet->Edit();
    return m_dataSet->InEditState();
}
