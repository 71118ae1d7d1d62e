#pragma once
// The link between a dataset and the data-aware controls of a window: the
// controls watch the source, not the dataset, so a window can switch datasets
// behind a set of controls.
#include <QObject>
#include <QPointer>

#include "remoteudpdataset.h"

class TDataSource : public QObject {
    Q_OBJECT
  public:
    explicit TDataSource(QObject* parent = nullptr);
    TDataSource(const QString& name, QObject* parent);

    TRemoteUdpDataSet* DataSet() const { return m_dataSet; }
    void setDataSet(TRemoteUdpDataSet* dataSet);
    TDataSetState State() const { return m_dataSet ? m_dataSet->State() : dsInactive; }

    // When set, a control's edit puts a browsing dataset into the edit state.
    bool AutoEdit() const { return m_autoEdit; }
    void SetAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    // Called by a control before it writes a value: true when the dataset is
    // (now) in the edit or insert state.
    bool Edit();

  Q_SIGNALS:
    void stateChanged();  // the dataset's state, or the dataset itself, changed
    void dataChanged(
        int fieldIndex);  // current record's data or position changed; -1: the whole record

  private:
    QPointer<TRemoteUdpDataSet> m_dataSet;
    bool m_autoEdit = true;
    bool m_enabled = true;
};
