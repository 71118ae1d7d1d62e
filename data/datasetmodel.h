#pragma once
// A table model over a dataset for the grids: one column per field, one row
// per record in view. Bulk changes of the dataset arrive as one reset, single
// appends and deletes as row insertions and removals. data() is O(1): the row
// maps to a record slot and the column to a storage column.
//
// Roles: DisplayRole the field's DisplayText (booleans show as a check box
// instead), EditRole the raw value (booleans as bool), CheckStateRole for
// boolean fields, TextAlignmentRole right for numbers. setData writes through
// the dataset: the row becomes current and is put into the edit state by
// BeforeEditRow (the framework's rule: rights, AutoEdit) or, when that is not
// set, by Edit().
#include <QAbstractTableModel>
#include <QPointer>
#include <functional>

#include "remoteudpdataset.h"

class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TDataSetModel(TRemoteUdpDataSet* dataSet = nullptr, QObject* parent = nullptr);

    void setDataSet(TRemoteUdpDataSet* dataSet);
    TRemoteUdpDataSet* dataSet() const { return m_dataSet; }
    TField* field(int column) const;
    int columnOf(const QString& fieldName) const;  // -1 when absent

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Puts the dataset into the edit state on `row` (already current); returns
    // false to refuse the edit. Exceptions are passed to OnError.
    std::function<bool(int row)> BeforeEditRow;
    // Errors raised while writing a value (the grid cannot throw through Qt).
    std::function<void(const std::exception&)> OnError;

  private:
    void resetFromDataSet();

    QPointer<TRemoteUdpDataSet> m_dataSet;
    int m_rows = 0;
    int m_columns = 0;
};
