#pragma once
// A tree list over a dataset: records linked by a key field and a parent
// field, shown fully expanded when the dataset opens. The current node follows
// the dataset's current record and the other way round. The tree never edits
// or deletes records; it only shows and selects them.
//
//     auto* tree = new TDBTreeList(panel);              // "dxDBTreeList1"
//     tree->setDataSource(DbMaster_Source);
//     tree->SetKeyField("fcode");              // the defaults
//     tree->SetParentField("fparentcode");
//     tree->AddColumn("fName", "名称");
//
// A record whose parent key matches no record (the root marker "0", an empty
// value, an orphan) is a top-level node; a cycle is broken at its first record.
#include <QAbstractItemModel>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTreeView>
#include <vector>

#include "datasource.h"
#include "gridcolumn.h"
#include "reportsource.h"

class TRemoteUdpDataSet;

class TTreeDataModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit TTreeDataModel(QObject* parent = nullptr);

    void setDataSet(TRemoteUdpDataSet* dataSet);
    TRemoteUdpDataSet* dataSet() const { return m_dataSet; }
    void setFields(const QString& keyField, const QString& parentField);
    const QString& keyField() const { return m_keyField; }
    const QString& parentField() const { return m_parentField; }
    void setColumns(const QList<TGridColumn*>* columns) { m_columns = columns; }
    void rebuild();

    // Nodes are the dataset's rows (0-based, in view).
    QModelIndex indexOfRow(int row) const;
    int rowOf(const QModelIndex& index) const;
    QString keyOf(int row) const;
    // The row of the first record with this key; -1 when none has it.
    int rowOfKey(const QString& key) const { return m_byKey.value(key, -1); }

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  Q_SIGNALS:
    void rebuilt();

  private:
    struct Node {
        int parent = -1;   // node (= dataset row) of the parent, -1 for top level
        int position = 0;  // among its siblings
        std::vector<int> children;
    };
    int fieldIndex(const QString& name) const;
    void onRowChanged(int row);

    QPointer<TRemoteUdpDataSet> m_dataSet;
    QString m_keyField = QStringLiteral("fcode");
    QString m_parentField = QStringLiteral("fparentcode");
    const QList<TGridColumn*>* m_columns = nullptr;
    std::vector<Node> m_nodes;
    std::vector<int> m_roots;
    std::vector<QString> m_keys;  // per row, to see whether a change moves the node
    std::vector<QString> m_parents;
    QHash<QString, int> m_byKey;  // key -> first row with it
};

class TDBTreeList : public QTreeView, public IReportSource {
    Q_OBJECT
  public:
    explicit TDBTreeList(QWidget* parent = nullptr,
                         const QString& name = QStringLiteral("dxDBTreeList1"));

    void setDataSource(TDataSource* source);
    TDataSource* DataSource() const { return m_source; }
    TRemoteUdpDataSet* DataSet() const;
    TTreeDataModel* treeModel() const { return m_model; }

    void SetKeyField(const QString& field);
    void SetParentField(const QString& field);
    QString KeyField() const;
    QString ParentField() const;
    TGridColumn& AddColumn(const QString& fieldName, const QString& caption);
    const QList<TGridColumn*>& Columns() const { return m_columns; }

    void Refresh();  // rebuilds the nodes
    void FullExpand();

    // IReportSource: the nodes in tree order, indented by level.
    int reportColumnCount() const override;
    QString reportCaption(int column) const override;
    int reportWidth(int column) const override;
    Qt::Alignment reportAlignment(int column) const override;
    int reportRowCount() const override;
    QString reportText(int row, int column) const override;
    QVariant reportNumber(int, int) const override { return QVariant(); }
    QString reportNumberFormat(int) const override { return QString(); }

  private:
    void syncFromDataSet();
    void onCurrentChanged(const QModelIndex& current);
    void restoreExpansion();

    TTreeDataModel* m_model;
    QPointer<TDataSource> m_source;
    QList<TGridColumn*> m_columns;
    QSet<QString> m_collapsed;  // keys the user collapsed; everything else is expanded
    bool m_syncing = false;
    mutable std::vector<QModelIndex> m_reportRows;
};
