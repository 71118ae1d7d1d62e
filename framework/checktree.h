#pragma once
// A tree of check boxes with tri-state top-level nodes: a node is checked when
// all its children are, unchecked when none is and partially checked
// otherwise; checking a node checks all its children. The goods attribute
// filter (components/goodsattributefilter.h) fills one with description fields
// and their values.
#include <QTreeWidget>

class TCheckTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit TCheckTree(QWidget* parent = nullptr,
                        const QString& name = QStringLiteral("CheckTree1"));

    QTreeWidgetItem* AddTopNode(const QString& text, bool asFirst = false);
    QTreeWidgetItem* AddChild(QTreeWidgetItem* node, const QString& text, bool asFirst = false);
    void Clear() { clear(); }

    QTreeWidgetItem* TopNode(const QString& text) const;  // first with that text, or null
    static QStringList CheckedChildren(const QTreeWidgetItem* node);
    static QStringList Children(const QTreeWidgetItem* node);
    void SetChecked(const QString& node, const QString& child, bool checked);
};
