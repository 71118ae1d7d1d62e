#pragma once
// A drop-down that offers the records of a tree table (key, caption, parent
// key) as a tree: the box shows the chosen node's caption and holds its key.
// Every node can be chosen, parents too. The data-aware variant stores the key
// in a field of a data source.
//
//     auto* type = new TTreeLookupCombo(panel);
//     type->setList(goodsTypes, "fcode", "fName", "fParentCode");
//     type->setKeyValue("T11");               // shows "T恤"
//
// Several captions separated by ";" ("fcode;fabbrev;fmathod") are columns of
// the drop-down; the box shows the first. The nodes are the list's rows, built
// by key in one pass and following the list when it is read again, so a list
// of many thousand records costs no item objects and finding a key is a hash
// look-up.
#include <QComboBox>
#include <QList>
#include <QPointer>

#include "datasource.h"

class QTreeView;
class TFieldDataLink;
class TGridColumn;
class TTreeDataModel;

class TTreeLookupCombo : public QComboBox {
    Q_OBJECT
  public:
    explicit TTreeLookupCombo(QWidget* parent = nullptr);

    // Shows the list's rows as a tree (from then on following the list).
    void setList(TRemoteUdpDataSet* list, const QString& keyField, const QString& textField,
                 const QString& parentField);
    QString keyValue() const { return m_key; }
    // Selects the node with this key; an unknown key shows as typed, an empty one clears the box.
    void setKeyValue(const QString& key);

    void showPopup() override;
    void hidePopup() override;

  Q_SIGNALS:
    void keyChosen(const QString& key);  // the user picked a node

  private:
    void showKey();

    TTreeDataModel* m_model;
    QList<TGridColumn*> m_columns;
    QTreeView* m_tree;
    QString m_key;
    bool m_picking = false;
};

class TDBTreeLookupCombo : public TTreeLookupCombo {
    Q_OBJECT
  public:
    TDBTreeLookupCombo(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    TFieldDataLink* m_link;
};
