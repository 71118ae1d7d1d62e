#include "goodsfilterpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "checktree.h"

TGoodsFilterPanel::TGoodsFilterPanel(QWidget* parent, const QString& findCaption)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FilterPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Tree = new TCheckTree(this, QStringLiteral("cxTreeView1"));
    layout->addWidget(Tree, 1);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("货号:"), this));
    CodeBox = new QLineEdit(this);
    CodeBox->setObjectName(QStringLiteral("Edit_goodsid"));
    codeRow->addWidget(CodeBox, 1);
    layout->addLayout(codeRow);
    FindButton = new QPushButton(findCaption, this);
    FindButton->setObjectName(QStringLiteral("But_Find"));
    // Enter belongs to the code box: the button is pressed, never defaulted.
    FindButton->setAutoDefault(false);
    layout->addWidget(FindButton);
}

void TGoodsFilterPanel::PlaceBeside(QWidget* grid, int panelWidth, int gridWidth) {
    QWidget* host = grid->parentWidget();
    auto* splitter = new QSplitter(Qt::Horizontal, host);
    splitter->setObjectName(QStringLiteral("FilterSplitter"));
    if (host && host->layout()) delete host->layout()->replaceWidget(grid, splitter);
    splitter->addWidget(this);
    splitter->addWidget(grid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({panelWidth, gridWidth});
    splitter->setChildrenCollapsible(false);
}
