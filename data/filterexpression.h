#pragma once
// The Filter text of a dataset: parsed once into a small tree whose field
// references are already resolved to row columns, then evaluated per row.
//
// Grammar: comparisons (=, <>, !=, <, >, <=, >=) between fields and literals,
// "is [not] null", "[not] like" with % and _, "[not] in (a, b)", combined with
// and, or, not and parentheses. Literals: 'text' ('' inside for a quote),
// numbers, true, false, null. Field names in any case, [bracketed] when they
// hold odd characters. A field alone is a truth test ("checkid" means checkid<>0).
//
// Semantics, chosen for the windows' filters ("checkid=1", "fFieldname='brand'"):
// - text compares ignore case unless told otherwise;
// - a number compared with text compares numerically when the text is a number;
// - bit fields compare as 1/0, so checkid=1 and checkid=true both work;
// - a null value equals '' when compared with text; any other comparison with
//   null is false (use "is null");
// - 'abc*' compared with = matches values that start with abc.
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <vector>

#include "field.h"

namespace md::data {

class FilterExpression {
  public:
    struct FieldRef {
        int column = -1;  // -1: no such field
        TFieldType type = ftUnknown;
    };
    using Resolver = std::function<FieldRef(QStringView name)>;

    // Throws EDatabaseError naming the filter and what is wrong with it.
    FilterExpression(const QString& text, const Resolver& resolve, bool caseInsensitive = true);
    ~FilterExpression();
    FilterExpression(const FilterExpression&) = delete;
    FilterExpression& operator=(const FilterExpression&) = delete;

    bool matches(const QVariant* row) const;
    int highestColumn() const { return m_highestColumn; }  // -1 when no field is used
    const QString& text() const { return m_text; }

    struct Node;
    struct Operand;

  private:
    class Parser;
    bool eval(int node, const QVariant* row) const;

    QString m_text;
    bool m_caseInsensitive;
    std::vector<Node> m_nodes;
    int m_root = -1;
    int m_highestColumn = -1;
};

// Case-folding wildcard match: % any run, _ one character.
bool likeMatch(QStringView text, QStringView pattern, bool caseInsensitive);

}  // namespace md::data
