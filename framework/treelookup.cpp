#include "treelookup.h"

#include <QHeaderView>
#include <QTreeView>

#include "dbcontrols.h"
#include "gridcolumn.h"
#include "remoteudpdataset.h"
#include "treelist.h"

TTreeLookupCombo::TTreeLookupCombo(QWidget* parent) : QComboBox(parent) {
    m_model = new TTreeDataModel(this);
    m_model->setColumns(&m_columns);
    m_tree = new QTreeView(this);
    m_tree->header()->hide();
    m_tree->setUniformRowHeights(true);
    setModel(m_model);
    setView(m_tree);
    setMinimumContentsLength(10);
    // The list read again: the same key shows on its new node.
    connect(m_model, &TTreeDataModel::rebuilt, this, &TTreeLookupCombo::showKey);
}

void TTreeLookupCombo::setList(TRemoteUdpDataSet* list, const QString& keyField,
                               const QString& textField, const QString& parentField) {
    qDeleteAll(m_columns);
    m_columns.clear();
    for (const QString& field : textField.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        m_columns << new TGridColumn(field.trimmed(), field.trimmed(), this);
    m_model->setFields(keyField, parentField);
    // A node whose parent is no record (the root marker, empty, itself) is a
    // root; a cycle is broken at its first record.
    m_model->setDataSet(list);
    int width = 0;
    for (int c = 0; c < m_columns.size(); ++c) {
        const int w = c == 0 ? 160 : 90;
        m_tree->setColumnWidth(c, w);
        width += w;
    }
    m_tree->setMinimumWidth(m_columns.size() > 1 ? width + 24 : 0);
}

void TTreeLookupCombo::setKeyValue(const QString& key) {
    m_key = key;
    showKey();
}

void TTreeLookupCombo::showKey() {
    const int row = m_key.isEmpty() ? -1 : m_model->rowOfKey(m_key);
    if (row < 0) {
        // The placeholder first: emptying it while nothing is chosen would choose the first node.
        setPlaceholderText(m_key);
        setRootModelIndex(QModelIndex());
        setCurrentIndex(-1);
        return;
    }
    const QModelIndex found = m_model->indexOfRow(row);
    setRootModelIndex(found.parent());
    setCurrentIndex(found.row());
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
    const QString key = m_model->keyOf(m_model->rowOf(chosen));
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
