#pragma once
// The goods attribute filter: a check tree of the visible goods description
// fields and their values, and the one rule that turns what is ticked into an
// SQL condition, which every goods-filtering window applies with its own
// column prefix.
#include <QString>

#include "checktree.h"

namespace md::ui {

// Rebuilds the tree from the visible goods description fields ("fid" order)
// and their values (in stored order).
void FillGoodsAttributeTree(TCheckTree& tree);

// The SQL condition of the goods attribute filter: for each partially checked
// field whose caption names a visible goods field,
// "(" + prefix + column + " in('a','b'))", joined by "and". Empty when
// nothing restricts.
QString GoodsAttributeCondition(const TCheckTree& tree, const QString& prefix = QString());

}  // namespace md::ui
