#include "checktree.h"

#include <QHeaderView>

TCheckTree::TCheckTree(QWidget* parent, const QString& name) : QTreeWidget(parent) {
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
}

QTreeWidgetItem* TCheckTree::AddTopNode(const QString& text, bool asFirst) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                   Qt::ItemIsAutoTristate);
    item->setCheckState(0, Qt::Unchecked);
    if (asFirst)
        insertTopLevelItem(0, item);
    else
        addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* TCheckTree::AddChild(QTreeWidgetItem* node, const QString& text, bool asFirst) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                   Qt::ItemNeverHasChildren);
    item->setCheckState(0, Qt::Unchecked);
    if (asFirst)
        node->insertChild(0, item);
    else
        node->addChild(item);
    return item;
}

QTreeWidgetItem* TCheckTree::TopNode(const QString& text) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->text(0) == text) return topLevelItem(i);
    return nullptr;
}

QStringList TCheckTree::CheckedChildren(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i)
        if (node->child(i)->checkState(0) == Qt::Checked) out << node->child(i)->text(0);
    return out;
}

QStringList TCheckTree::Children(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i) out << node->child(i)->text(0);
    return out;
}

void TCheckTree::SetChecked(const QString& node, const QString& child, bool checked) {
    QTreeWidgetItem* top = TopNode(node);
    for (int i = 0; top && i < top->childCount(); ++i)
        if (top->child(i)->text(0) == child)
            top->child(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}
