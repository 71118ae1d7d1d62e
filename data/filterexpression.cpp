#include "filterexpression.h"

#include <cmath>

#include "errors.h"

namespace md::data {

namespace {

bool isNumericType(TFieldType type) {
    return type == ftInteger || type == ftFloat || type == ftCurrency || type == ftBoolean;
}

bool isDateType(TFieldType type) {
    return type == ftDate || type == ftTime || type == ftDateTime;
}

bool parseNumber(QStringView text, double& out) {
    bool ok = false;
    out = text.trimmed().toDouble(&ok);
    return ok;
}

int compareNumbers(double a, double b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

// An operand: a field of the row or a literal, with the literal's number and
// text worked out once.
struct FilterExpression::Operand {
    int column = -1;
    TFieldType type = ftUnknown;
    QVariant literal;  // when column < 0; null for NULL
    bool literalIsText = false;
    bool literalIsNumber = false;
    double number = 0;  // literal as a number, when it is one
    QString text;       // literal as text
};

struct FilterExpression::Node {
    enum Kind { Or, And, Not, Compare, IsNull, Like, In, Truth };
    enum Op { Eq, Ne, Lt, Gt, Le, Ge };
    Kind kind = Truth;
    Op op = Eq;
    bool negate = false;
    int left = -1;  // Or/And/Not: child nodes
    int right = -1;
    Operand a;  // Compare/IsNull/Like/In/Truth
    Operand b;
    std::vector<Operand> list;  // In
    bool prefix = false;        // 'abc*' with =
};

// ---------------------------------------------------------------- parser

class FilterExpression::Parser {
  public:
    Parser(FilterExpression& owner, const Resolver& resolve)
        : m_owner(owner), m_text(owner.m_text), m_resolve(resolve) {}

    int parse() {
        next();
        if (m_tok.kind == Tok::End) fail(QStringLiteral("条件为空"));
        const int root = parseOr();
        if (m_tok.kind != Tok::End)
            fail(QStringLiteral("第 %1 个字符处有多余的内容 '%2'")
                     .arg(m_tok.pos + 1)
                     .arg(m_tok.text));
        return root;
    }

  private:
    struct Tok {
        enum Kind { End, Ident, Quoted, String, Number, Op, LParen, RParen, Comma };
        Kind kind = End;
        QString text;
        int pos = 0;
    };

    [[noreturn]] void fail(const QString& detail) const {
        throw EDatabaseError(QStringLiteral("过滤条件 \"%1\" 有误：%2").arg(m_text, detail));
    }

    bool keyword(const char* word) const {
        return m_tok.kind == Tok::Ident &&
               m_tok.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    static bool identStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool identPart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

    void next() {
        const int n = m_text.size();
        while (m_at < n && m_text[m_at].isSpace()) ++m_at;
        m_tok = Tok{};
        m_tok.pos = m_at;
        if (m_at >= n) return;
        const QChar c = m_text[m_at];
        if (identStart(c)) {
            int end = m_at + 1;
            while (end < n && identPart(m_text[end])) ++end;
            m_tok.kind = Tok::Ident;
            m_tok.text = m_text.mid(m_at, end - m_at);
            m_at = end;
        } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const int end = m_text.indexOf(close, m_at + 1);
            if (end < 0) fail(QStringLiteral("第 %1 个字符处的名称没有结束").arg(m_at + 1));
            m_tok.kind = Tok::Quoted;
            m_tok.text = m_text.mid(m_at + 1, end - m_at - 1);
            m_at = end + 1;
        } else if (c == QLatin1Char('\'')) {
            QString value;
            int i = m_at + 1;
            for (;;) {
                if (i >= n) fail(QStringLiteral("第 %1 个字符处的字符串没有结束").arg(m_at + 1));
                if (m_text[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && m_text[i + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    break;
                }
                value += m_text[i++];
            }
            m_tok.kind = Tok::String;
            m_tok.text = value;
            m_at = i + 1;
        } else if (c.isDigit() ||
                   (c == QLatin1Char('.') && m_at + 1 < n && m_text[m_at + 1].isDigit())) {
            int end = m_at;
            while (end < n && (m_text[end].isDigit() || m_text[end] == QLatin1Char('.'))) ++end;
            if (end < n && (m_text[end] == QLatin1Char('e') || m_text[end] == QLatin1Char('E'))) {
                int e = end + 1;
                if (e < n && (m_text[e] == QLatin1Char('+') || m_text[e] == QLatin1Char('-'))) ++e;
                if (e < n && m_text[e].isDigit()) {
                    end = e;
                    while (end < n && m_text[end].isDigit()) ++end;
                }
            }
            m_tok.kind = Tok::Number;
            m_tok.text = m_text.mid(m_at, end - m_at);
            m_at = end;
        } else if (c == QLatin1Char('(')) {
            m_tok.kind = Tok::LParen;
            m_tok.text = c;
            ++m_at;
        } else if (c == QLatin1Char(')')) {
            m_tok.kind = Tok::RParen;
            m_tok.text = c;
            ++m_at;
        } else if (c == QLatin1Char(',')) {
            m_tok.kind = Tok::Comma;
            m_tok.text = c;
            ++m_at;
        } else if (QStringLiteral("=<>!-").contains(c)) {
            int len = 1;
            if (m_at + 1 < n) {
                const QString two = m_text.mid(m_at, 2);
                if (two == QLatin1String("<>") || two == QLatin1String("!=") ||
                    two == QLatin1String("<=") || two == QLatin1String(">="))
                    len = 2;
            }
            m_tok.kind = Tok::Op;
            m_tok.text = m_text.mid(m_at, len);
            m_at += len;
        } else {
            fail(QStringLiteral("第 %1 个字符处无法识别的符号 '%2'").arg(m_at + 1).arg(c));
        }
    }

    int add(Node node) {
        m_owner.m_nodes.push_back(std::move(node));
        return int(m_owner.m_nodes.size()) - 1;
    }

    int parseOr() {
        int left = parseAnd();
        while (keyword("or")) {
            next();
            Node node;
            node.kind = Node::Or;
            node.left = left;
            node.right = parseAnd();
            left = add(std::move(node));
        }
        return left;
    }

    int parseAnd() {
        int left = parseNot();
        while (keyword("and")) {
            next();
            Node node;
            node.kind = Node::And;
            node.left = left;
            node.right = parseNot();
            left = add(std::move(node));
        }
        return left;
    }

    int parseNot() {
        if (keyword("not")) {
            next();
            Node node;
            node.kind = Node::Not;
            node.left = parseNot();
            return add(std::move(node));
        }
        if (m_tok.kind == Tok::LParen) {
            next();
            const int inner = parseOr();
            if (m_tok.kind != Tok::RParen)
                fail(QStringLiteral("第 %1 个字符处缺少右括号").arg(m_tok.pos + 1));
            next();
            return inner;
        }
        return parseComparison();
    }

    int parseComparison() {
        Node node;
        node.a = parseOperand();
        if (m_tok.kind == Tok::Op) {
            static const QStringList ops = {QStringLiteral("="),  QStringLiteral("<>"),
                                            QStringLiteral("<"),  QStringLiteral(">"),
                                            QStringLiteral("<="), QStringLiteral(">="),
                                            QStringLiteral("!=")};
            const int index = ops.indexOf(m_tok.text);
            if (index < 0)
                fail(QStringLiteral("第 %1 个字符处无法识别的运算符 '%2'")
                         .arg(m_tok.pos + 1)
                         .arg(m_tok.text));
            node.kind = Node::Compare;
            node.op = index == 6 ? Node::Ne : Node::Op(index);
            next();
            node.b = parseOperand();
            if (node.op == Node::Eq && node.b.column < 0 && node.b.literalIsText &&
                node.b.text.endsWith(QLatin1Char('*'))) {
                node.prefix = true;
                node.b.text.chop(1);
            }
            return add(std::move(node));
        }
        if (keyword("is")) {
            next();
            node.kind = Node::IsNull;
            if (keyword("not")) {
                node.negate = true;
                next();
            }
            if (!keyword("null"))
                fail(QStringLiteral("第 %1 个字符处 is 之后应为 null").arg(m_tok.pos + 1));
            next();
            return add(std::move(node));
        }
        bool negate = false;
        if (keyword("not")) {
            negate = true;
            next();
            if (!keyword("like") && !keyword("in"))
                fail(QStringLiteral("第 %1 个字符处 not 之后应为 like 或 in").arg(m_tok.pos + 1));
        }
        if (keyword("like")) {
            next();
            node.kind = Node::Like;
            node.negate = negate;
            node.b = parseOperand();
            return add(std::move(node));
        }
        if (keyword("in")) {
            next();
            node.kind = Node::In;
            node.negate = negate;
            if (m_tok.kind != Tok::LParen)
                fail(QStringLiteral("第 %1 个字符处 in 之后应为左括号").arg(m_tok.pos + 1));
            next();
            for (;;) {
                node.list.push_back(parseOperand());
                if (m_tok.kind == Tok::Comma) {
                    next();
                    continue;
                }
                if (m_tok.kind != Tok::RParen)
                    fail(QStringLiteral("第 %1 个字符处缺少右括号").arg(m_tok.pos + 1));
                next();
                break;
            }
            return add(std::move(node));
        }
        node.kind = Node::Truth;
        return add(std::move(node));
    }

    Operand parseOperand() {
        Operand operand;
        switch (m_tok.kind) {
            case Tok::String:
                operand.literal = m_tok.text;
                operand.literalIsText = true;
                operand.text = m_tok.text;
                operand.literalIsNumber = parseNumber(operand.text, operand.number);
                next();
                return operand;
            case Tok::Number:
                return numberOperand(m_tok.text, false);
            case Tok::Op:
                if (m_tok.text == QLatin1String("-")) {
                    next();
                    if (m_tok.kind != Tok::Number)
                        fail(QStringLiteral("第 %1 个字符处负号之后应为数字").arg(m_tok.pos + 1));
                    return numberOperand(m_tok.text, true);
                }
                break;
            case Tok::Ident:
                if (keyword("null")) {
                    next();
                    return operand;
                }
                if (keyword("true") || keyword("false")) {
                    const bool value = keyword("true");
                    operand.literal = qlonglong(value ? 1 : 0);
                    operand.literalIsNumber = true;
                    operand.number = value ? 1 : 0;
                    operand.text = value ? QStringLiteral("1") : QStringLiteral("0");
                    next();
                    return operand;
                }
                [[fallthrough]];
            case Tok::Quoted: {
                const FieldRef ref = m_resolve(m_tok.text);
                if (ref.column < 0) fail(QStringLiteral("找不到字段 '%1'").arg(m_tok.text));
                operand.column = ref.column;
                operand.type = ref.type;
                m_owner.m_highestColumn = std::max(m_owner.m_highestColumn, ref.column);
                next();
                return operand;
            }
            default:
                break;
        }
        if (m_tok.kind == Tok::End) fail(QStringLiteral("条件不完整"));
        fail(QStringLiteral("第 %1 个字符处应为字段或值，而不是 '%2'")
                 .arg(m_tok.pos + 1)
                 .arg(m_tok.text));
    }

    Operand numberOperand(const QString& text, bool negative) {
        Operand operand;
        bool ok = false;
        operand.number = text.toDouble(&ok);
        if (!ok) fail(QStringLiteral("'%1' 不是有效的数字").arg(text));
        if (negative) operand.number = -operand.number;
        operand.literalIsNumber = true;
        operand.literal = operand.number;
        operand.text = (negative ? QStringLiteral("-") : QString()) + text;
        next();
        return operand;
    }

    FilterExpression& m_owner;
    const QString& m_text;
    const Resolver& m_resolve;
    int m_at = 0;
    Tok m_tok;
};

// ---------------------------------------------------------------- evaluation

FilterExpression::FilterExpression(const QString& text, const Resolver& resolve,
                                   bool caseInsensitive)
    : m_text(text), m_caseInsensitive(caseInsensitive) {
    Parser parser(*this, resolve);
    m_root = parser.parse();
    // Date literals compared with date fields are put in the fields' canonical form once.
    for (Node& node : m_nodes) {
        if (node.kind != Node::Compare) continue;
        Operand* field = node.a.column >= 0 ? &node.a : (node.b.column >= 0 ? &node.b : nullptr);
        Operand* literal = node.a.column < 0 ? &node.a : (node.b.column < 0 ? &node.b : nullptr);
        if (!field || !literal || !literal->literalIsText || !isDateType(field->type)) continue;
        try {
            literal->text = TField::normalized(literal->text, field->type).toString();
        } catch (const EDatabaseError&) {
            // Not a date: compared as text.
        }
    }
}

FilterExpression::~FilterExpression() = default;

bool FilterExpression::matches(const QVariant* row) const {
    return eval(m_root, row);
}

// Compares two operands; returns false in `comparable` when the comparison is
// with null (other than null against text, which compares as '').
static int compareOperands(const FilterExpression::Operand& a, const FilterExpression::Operand& b,
                           const QVariant* row, bool ci, bool& comparable) {
    const QVariant& va = a.column >= 0 ? row[a.column] : a.literal;
    const QVariant& vb = b.column >= 0 ? row[b.column] : b.literal;
    const bool aText = a.column >= 0 ? (a.type == ftString ||
                                        (a.type == ftUnknown && va.typeId() == QMetaType::QString))
                                     : a.literalIsText;
    const bool bText = b.column >= 0 ? (b.type == ftString ||
                                        (b.type == ftUnknown && vb.typeId() == QMetaType::QString))
                                     : b.literalIsText;
    comparable = true;

    if (va.isNull() || vb.isNull()) {
        // Null against text reads as ''; against anything else it is no match.
        const bool otherIsText = va.isNull() ? bText : aText;
        if ((va.isNull() && vb.isNull()) || !otherIsText) {
            comparable = false;
            return 0;
        }
        const QString ta =
            va.isNull() ? QString() : (a.column >= 0 ? TField::textOf(va, a.type) : a.text);
        const QString tb =
            vb.isNull() ? QString() : (b.column >= 0 ? TField::textOf(vb, b.type) : b.text);
        return ta.compare(tb, ci ? Qt::CaseInsensitive : Qt::CaseSensitive);
    }

    // Numbers: numeric fields, number literals, and text that reads as a number
    // when the other side is numeric.
    const bool aNum = a.column >= 0
                          ? (isNumericType(a.type) || (a.type == ftUnknown && isNumericVariant(va)))
                          : (a.literalIsNumber && !a.literalIsText);
    const bool bNum = b.column >= 0
                          ? (isNumericType(b.type) || (b.type == ftUnknown && isNumericVariant(vb)))
                          : (b.literalIsNumber && !b.literalIsText);
    if (aNum || bNum) {
        double x = 0, y = 0;
        bool okA = true, okB = true;
        if (a.column < 0 && a.literalIsNumber)
            x = a.number;
        else if (isNumericVariant(va))
            x = va.toDouble();
        else
            okA = parseNumber(va.toString(), x);
        if (b.column < 0 && b.literalIsNumber)
            y = b.number;
        else if (isNumericVariant(vb))
            y = vb.toDouble();
        else
            okB = parseNumber(vb.toString(), y);
        if (okA && okB) return compareNumbers(x, y);
    }

    const QString ta = a.column >= 0 ? TField::textOf(va, a.type) : a.text;
    const QString tb = b.column >= 0 ? TField::textOf(vb, b.type) : b.text;
    return ta.compare(tb, ci ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool FilterExpression::eval(int index, const QVariant* row) const {
    const Node& node = m_nodes[index];
    switch (node.kind) {
        case Node::Or:
            return eval(node.left, row) || eval(node.right, row);
        case Node::And:
            return eval(node.left, row) && eval(node.right, row);
        case Node::Not:
            return !eval(node.left, row);
        case Node::IsNull: {
            const bool isNull =
                node.a.column >= 0 ? row[node.a.column].isNull() : node.a.literal.isNull();
            return isNull != node.negate;
        }
        case Node::Truth: {
            const QVariant& v = node.a.column >= 0 ? row[node.a.column] : node.a.literal;
            if (v.isNull()) return false;
            try {
                return TField::booleanOf(v);
            } catch (const EDatabaseError&) {
                return !v.toString().isEmpty();
            }
        }
        case Node::Like: {
            const QVariant& v = node.a.column >= 0 ? row[node.a.column] : node.a.literal;
            const QVariant& p = node.b.column >= 0 ? row[node.b.column] : node.b.literal;
            if (v.isNull() || p.isNull()) return false;
            const QString text = node.a.column >= 0 ? TField::textOf(v, node.a.type) : node.a.text;
            const QString pattern =
                node.b.column >= 0 ? TField::textOf(p, node.b.type) : node.b.text;
            return likeMatch(text, pattern, m_caseInsensitive) != node.negate;
        }
        case Node::In: {
            bool found = false;
            for (const Operand& item : node.list) {
                bool comparable = false;
                if (compareOperands(node.a, item, row, m_caseInsensitive, comparable) == 0 &&
                    comparable) {
                    found = true;
                    break;
                }
            }
            return found != node.negate;
        }
        case Node::Compare: {
            if (node.prefix) {
                const QVariant& v = node.a.column >= 0 ? row[node.a.column] : node.a.literal;
                const QString text =
                    node.a.column >= 0 ? TField::textOf(v, node.a.type) : node.a.text;
                return text.startsWith(node.b.text,
                                       m_caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
            }
            bool comparable = false;
            const int c = compareOperands(node.a, node.b, row, m_caseInsensitive, comparable);
            if (!comparable) return false;
            switch (node.op) {
                case Node::Eq:
                    return c == 0;
                case Node::Ne:
                    return c != 0;
                case Node::Lt:
                    return c < 0;
                case Node::Gt:
                    return c > 0;
                case Node::Le:
                    return c <= 0;
                case Node::Ge:
                    return c >= 0;
            }
            return false;
        }
    }
    return false;
}

bool likeMatch(QStringView text, QStringView pattern, bool caseInsensitive) {
    auto same = [caseInsensitive](QChar a, QChar b) {
        return caseInsensitive ? a.toCaseFolded() == b.toCaseFolded() : a == b;
    };
    // Greedy match with one back-track point per '%', linear in practice.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('_') ||
                                   (pattern[p] != QLatin1Char('%') && same(pattern[p], text[t])))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('%')) {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%')) ++p;
    return p == pattern.size();
}

}  // namespace md::data
