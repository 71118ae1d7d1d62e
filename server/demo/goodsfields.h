#pragma once
// The goods description fields of the demo: their captions, which of them
// filter, and their known values. The goods generator draws the goods'
// attributes from the same lists, so every value a goods item carries is one
// the attribute filter offers.
#include <QList>
#include <QString>
#include <QStringList>

namespace md::server::demo {

struct GoodsField {
    QString name;        // the goods column
    QString systemName;  // the system's own caption
    QString caption;     // the company's caption
    bool filters;        // takes part in the attribute filter
    QStringList values;  // known values; empty for free-text fields
};

// In display order (fid 1, 2, ...).
const QList<GoodsField>& goodsFields();
// The known values of one goods column; empty when it has none.
QStringList goodsFieldValues(const QString& name);

}  // namespace md::server::demo
