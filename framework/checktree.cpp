#include "checktree.h"

#include <QHeaderView>
#include <memory>

#include "configuredcolumn.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "sqlquote.h"

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

namespace md::ui {

void FillGoodsAttributeTree(TCheckTree& tree) {
    tree.Clear();
    auto fields = std::make_unique<TRemoteUdpDataSet>();
    auto values = std::make_unique<TRemoteUdpDataSet>();
    md::OpenQuery(*fields, QStringLiteral("select * from dbo.ba_fieldremark where "
                                          "ftablename='goods' and visiblebit=1 order by fid"));
    md::OpenQuery(*values,
                  QStringLiteral("select * from dbo.ba_fieldvalues where ftablename='goods'") +
                      QChar(13) +
                      QStringLiteral(" and ffieldname in(select fname from ba_fieldremark where "
                                     "ftablename='goods' and visiblebit=1)"));
    // Walking backwards while inserting at the front keeps the server's order.
    for (int f = fields->RecordCount(); f >= 1; --f) {
        fields->SetRecNo(f);
        QTreeWidgetItem* node = tree.AddTopNode(
            fields->FieldByName(QStringLiteral("fFieldremark")).AsString().trimmed(), true);
        values->SetFilter(
            QStringLiteral("fFieldname='") +
            SqlText(fields->FieldByName(QStringLiteral("fname")).AsString().trimmed()) +
            QStringLiteral("'"));
        values->SetFiltered(true);
        for (int v = values->RecordCount(); v >= 1; --v) {
            values->SetRecNo(v);
            tree.AddChild(node,
                          values->FieldByName(QStringLiteral("fFieldValues")).AsString().trimmed(),
                          true);
        }
    }
    fields->Close();
    values->Close();
}

QString GoodsAttributeCondition(const TCheckTree& tree, const QString& prefix) {
    QString condition;
    auto query = std::make_unique<TRemoteUdpDataSet>();
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* node = tree.topLevelItem(i);
        if (node->checkState(0) != Qt::PartiallyChecked) continue;
        md::OpenQuery(*query,
                      QStringLiteral("select fname from ba_fieldremark where ftablename='goods' "
                                     "and visiblebit=1 and fFieldremark='") +
                          SqlText(node->text(0)) + QStringLiteral("'") +
                          QStringLiteral(" order by ftablename,fid"));
        if (query->IsEmpty()) continue;
        query->First();
        QStringList list;
        for (const QString& value : TCheckTree::CheckedChildren(node)) list << QuotedStr(value);
        condition += QStringLiteral("(") + prefix +
                     ConfiguredColumn(QStringLiteral("goods"), query->Fields(0).AsString()) +
                     QStringLiteral(" in(") + list.join(QLatin1Char(',')) + QStringLiteral("))and");
    }
    query->Close();
    condition.chop(3);
    return condition;
}

}  // namespace md::ui
