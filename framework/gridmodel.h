#pragma once
// The model a grid view shows: the dataset model seen through the grid's
// column descriptions (captions, display formats, lookups, check boxes,
// read-only columns) and the editing gate of the record editor. Sorting, when a
// view turns it on, only reorders what is shown; the dataset keeps its order.
#include <QSortFilterProxyModel>
#include <functional>
#include <vector>

#include "datasetmodel.h"
#include "gridcolumn.h"

class TGridModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit TGridModel(QObject* parent = nullptr);

    void setDataSet(TRemoteUdpDataSet* dataSet);
    TRemoteUdpDataSet* dataSet() const { return m_source->dataSet(); }
    TDataSetModel* dataSetModel() const { return m_source; }

    // The descriptor of a dataset column, or null when the column is not described.
    std::function<TGridColumn*(const QString& fieldName)> columnByField;
    TGridColumn* columnAt(int sourceColumn) const;
    void refreshColumns();  // after descriptors were added or changed

    // The record editor's gate: cells take input only while editing.
    void setInputAllowed(bool allowed) { m_inputAllowed = allowed; }
    bool inputAllowed() const { return m_inputAllowed; }

    // Rows of the view and of the dataset (0-based); -1 when out of range.
    int dataSetRow(int viewRow) const;
    int viewRow(int dataSetRow) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text a cell shows (check boxes as "是"/"否"), for print, export and copy.
    QString cellText(const QModelIndex& index) const;

  protected:
    bool filterAcceptsRow(int, const QModelIndex&) const override { return true; }

  private:
    TDataSetModel* m_source;
    std::vector<TGridColumn*> m_bySource;
    bool m_inputAllowed = true;
};
