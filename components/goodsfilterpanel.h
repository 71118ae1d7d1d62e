#pragma once
// The goods filter a goods window shows on the left of its grid: the goods
// attribute tree, the box "货号:" and the search button under them. The
// window wires the button and Enter in the box to its own search (through
// its guard) and keeps the three parts under its own names:
//
//     auto* panel = new TGoodsFilterPanel(ClientPanel, QStringLiteral("检索过滤"));
//     panel->PlaceBeside(cxGrid1, 200, 640);
//     cxTreeView1 = panel->Tree;
//     OnClick(panel->FindButton, [this] { But_FindClick(); });
#include <QWidget>

class QLineEdit;
class QPushButton;
class TCheckTree;

class TGoodsFilterPanel : public QWidget {
    Q_OBJECT
  public:
    TGoodsFilterPanel(QWidget* parent, const QString& findCaption);

    TCheckTree* Tree;         // "cxTreeView1"
    QLineEdit* CodeBox;       // "Edit_goodsid"
    QPushButton* FindButton;  // "But_Find"

    // Takes `grid`'s place in its parent's layout: the panel on the left, the
    // grid on the right, a splitter between them at the given widths.
    void PlaceBeside(QWidget* grid, int panelWidth, int gridWidth);
};
