#include "treelookup.h"

#include <QHash>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

#include "dbcontrols.h"
#include "remoteudpdataset.h"
#include "scopes.h"

namespace {
constexpr int KeyRole = Qt::UserRole + 1;
}

TTreeLookupCombo::TTreeLookupCombo(QWidget* parent) : QComboBox(parent) {
    m_model = new QStandardItemModel(this);
    m_tree = new QTreeView(this);
    m_tree->header()->hide();
    m_tree->setUniformRowHeights(true);
    setModel(m_model);
    setView(m_tree);
    setMinimumContentsLength(10);
}

void TTreeLookupCombo::setList(TRemoteUdpDataSet* list, const QString& keyField,
                               const QString& textField, const QString& parentField) {
    m_model->clear();
    if (list && list->Active()) {
        TField& key = list->FieldByName(keyField);
        TField& text = list->FieldByName(textField);
        TField& parent = list->FieldByName(parentField);
        struct Node {
            QString key, parent;
            QStandardItem* item;
        };
        std::vector<Node> nodes;
        QHash<QString, QStandardItem*> byKey;
        {
            TControlsDisabled still(*list);
            TBookmarkKept place(*list);
            for (list->First(); !list->Eof(); list->Next()) {
                auto* item = new QStandardItem(text.AsString());
                item->setData(key.AsString(), KeyRole);
                item->setEditable(false);
                nodes.push_back({key.AsString(), parent.AsString(), item});
                byKey.insert(key.AsString(), item);
            }
        }
        // A node whose parent is no record (the root marker, empty, itself) is a root.
        for (const Node& node : nodes) {
            QStandardItem* parentItem =
                node.parent == node.key ? nullptr : byKey.value(node.parent);
            for (QStandardItem* up = parentItem; up; up = up->parent())
                if (up == node.item) parentItem = nullptr;  // a cycle is broken here
            if (parentItem)
                parentItem->appendRow(node.item);
            else
                m_model->invisibleRootItem()->appendRow(node.item);
        }
    }
    showKey();
}

void TTreeLookupCombo::setKeyValue(const QString& key) {
    m_key = key;
    showKey();
}

void TTreeLookupCombo::showKey() {
    const QModelIndexList found = m_key.isEmpty()
                                      ? QModelIndexList()
                                      : m_model->match(m_model->index(0, 0), KeyRole, m_key, 1,
                                                       Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) {
        setRootModelIndex(QModelIndex());
        setCurrentIndex(-1);
        setPlaceholderText(m_key);
        return;
    }
    setRootModelIndex(found.first().parent());
    setCurrentIndex(found.first().row());
    setRootModelIndex(QModelIndex());
}

void TTreeLookupCombo::showPopup() {
    setRootModelIndex(QModelIndex());
    m_tree->expandAll();
    QComboBox::showPopup();
    m_picking = true;
}

void TTreeLookupCombo::hidePopup() {
    const QModelIndex chosen = m_tree->currentIndex();
    QComboBox::hidePopup();
    if (!m_picking) return;
    m_picking = false;
    if (!chosen.isValid()) return;
    const QString key = chosen.data(KeyRole).toString();
    if (key == m_key) return showKey();
    m_key = key;
    showKey();
    Q_EMIT keyChosen(key);
}

TDBTreeLookupCombo::TDBTreeLookupCombo(TDataSource* source, const QString& fieldName,
                                       QWidget* parent)
    : TTreeLookupCombo(parent), m_link(new TFieldDataLink(source, fieldName, this, [this] {
          const TField* field = m_link->Field();
          const TRemoteUdpDataSet* ds =
              m_link->DataSource() ? m_link->DataSource()->DataSet() : nullptr;
          setKeyValue(field && ds && (!ds->IsEmpty() || ds->State() == dsInsert) ? field->AsString()
                                                                                 : QString());
          setEnabled(m_link->CanModify());
      })) {
    setObjectName(QStringLiteral("DBTreeLookupCombo_") + fieldName);
    connect(this, &TTreeLookupCombo::keyChosen, this, [this](const QString& key) {
        if (!m_link->Write([&](TField& f) { f.SetAsString(key); })) m_link->Show();
    });
    m_link->Show();
}
