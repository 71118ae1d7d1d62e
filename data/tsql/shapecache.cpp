#include "tsql/shapecache.h"

#include <exception>

namespace md::sql {

namespace {

// Stand-ins for the quoted texts: characters no window writes.
constexpr char16_t kStandIn = 0xFFFE;
constexpr char16_t kShapeMark = 0xFFFF;
// Long texts and long value lists are rare and gain little.
constexpr int kMaxLiterals = 64;
constexpr int kMaxText = 16384;
constexpr int kMaxShapes = 4096;
constexpr int kMaxRecent = 64;

QString standIn(int index) {
    return QLatin1Char('\'') + QChar(kStandIn) + QString::number(index) + QChar(kStandIn) +
           QLatin1Char('\'');
}

QString quoted(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (QChar c : value) {
        if (c == QLatin1Char('\'')) out += c;
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

struct Piece {
    QString text;
    int literal = -1;  // the quoted text's index in place of text
};

// Splits text at the stand-ins; false when a stand-in character appears in any
// other form (inside a longer text, as a name).
bool splitAtStandIns(const QString& text, int literals, QVector<Piece>& pieces) {
    pieces.clear();
    qsizetype at = 0;
    for (;;) {
        const qsizetype mark = text.indexOf(QChar(kStandIn), at);
        if (mark < 0) break;
        if (mark == 0 || text[mark - 1] != QLatin1Char('\'')) return false;
        qsizetype end = mark + 1;
        while (end < text.size() && text[end].isDigit()) ++end;
        if (end == mark + 1 || end + 1 >= text.size() || text[end] != QChar(kStandIn) ||
            text[end + 1] != QLatin1Char('\''))
            return false;
        const int index = text.mid(mark + 1, end - mark - 1).toInt();
        if (index < 0 || index >= literals) return false;
        pieces.push_back({text.mid(at, mark - 1 - at), -1});
        pieces.push_back({{}, index});
        at = end + 2;
    }
    pieces.push_back({text.mid(at), -1});
    return true;
}

bool sameColumns(const QVector<ResultColumn>& a, const QVector<ResultColumn>& b) {
    if (a.size() != b.size()) return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].plain != b[i].plain)
            return false;
    return true;
}

bool sameParams(const QVector<ParamRef>& a, const QVector<ParamRef>& b) {
    if (a.size() != b.size()) return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].inWhere != b[i].inWhere) return false;
    return true;
}

}  // namespace

struct ShapeCache::Template {
    struct Part {
        Statement base;          // sql with a placeholder per quoted text
        QVector<int> bindOrder;  // the quoted text of each placeholder, in order
        QVector<Piece> source;   // the statement's T-SQL around its quoted texts
    };
    QVector<Part> parts;
};

ShapeCache::ShapeCache(Translate translate, Translate translateUncached)
    : m_translate(std::move(translate)), m_translateUncached(std::move(translateUncached)) {}

std::shared_ptr<const ShapeCache::Template> ShapeCache::makeTemplate(
    const QString& tsql, const QVector<int>& literalTokens, const QVector<Token>& tokens) {
    const std::shared_ptr<const Batch> real = m_translate(tsql);  // throws for a bad text
    QString probeText;
    probeText.reserve(tsql.size() + literalTokens.size() * 8);
    int at = 0;
    for (int i = 0; i < literalTokens.size(); ++i) {
        const Token& token = tokens[literalTokens[i]];
        probeText += QStringView(tsql).mid(at, token.offset - at);
        probeText += standIn(i);
        at = token.offset + token.length;
    }
    probeText += QStringView(tsql).mid(at);
    std::shared_ptr<const Batch> probe;
    try {
        probe = m_translateUncached(probeText);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (probe->statements.size() != real->statements.size()) return nullptr;

    auto shape = std::make_shared<Template>();
    QVector<bool> used(literalTokens.size(), false);
    for (int s = 0; s < probe->statements.size(); ++s) {
        const Statement& p = probe->statements[s];
        const Statement& r = real->statements[s];
        switch (p.kind) {
            case Statement::Kind::Select:
            case Statement::Kind::Insert:
            case Statement::Kind::Update:
            case Statement::Kind::Delete:
                break;
            default:
                return nullptr;
        }
        if (p.kind != r.kind || p.returnsRows != r.returnsRows || !sameParams(p.params, r.params) ||
            !sameColumns(p.columns, r.columns) || p.targetTable != r.targetTable ||
            p.sourceTable != r.sourceTable || p.placeholderOrder != r.placeholderOrder)
            return nullptr;
        QVector<Piece> pieces;
        if (!splitAtStandIns(p.sql, literalTokens.size(), pieces)) return nullptr;
        Template::Part part;
        part.base = p;
        part.base.tsql.clear();
        QString sql, check;
        for (const Piece& piece : pieces) {
            if (piece.literal < 0) {
                sql += piece.text;
                check += piece.text;
                continue;
            }
            used[piece.literal] = true;
            part.bindOrder.push_back(piece.literal);
            sql += QLatin1Char('?') + QString::number(p.params.size() + part.bindOrder.size());
            check += quoted(tokens[literalTokens[piece.literal]].text);
        }
        // The real texts in place of the stand-ins must give the real translation.
        if (check != r.sql) return nullptr;
        part.base.sql = sql;
        if (!splitAtStandIns(p.tsql, literalTokens.size(), part.source)) return nullptr;
        shape->parts.push_back(std::move(part));
    }
    for (bool u : used)
        if (!u) return nullptr;
    return shape;
}

std::shared_ptr<const Batch> ShapeCache::batchToRun(const QString& tsql) {
    if (auto it = m_recent.constFind(tsql); it != m_recent.constEnd()) return it.value();
    if (tsql.size() > kMaxText) return m_translate(tsql);
    QVector<Token> tokens;
    try {
        tokens = tokenize(tsql);
    } catch (const std::exception&) {
        return m_translate(tsql);  // says what is wrong with the text
    }
    QVector<int> literals;
    for (int i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind == TokenKind::String) literals.push_back(i);
    if (literals.isEmpty() || literals.size() > kMaxLiterals) return m_translate(tsql);

    QString key;
    key.reserve(tsql.size());
    int at = 0;
    for (int index : literals) {
        key += QStringView(tsql).mid(at, tokens[index].offset - at);
        key += QChar(kShapeMark);
        at = tokens[index].offset + tokens[index].length;
    }
    key += QStringView(tsql).mid(at);

    if (m_shapes.size() >= kMaxShapes && !m_shapes.contains(key)) m_shapes.clear();
    Entry& entry = m_shapes[key];
    if (entry.unsuitable) return m_translate(tsql);
    if (!entry.shape) {
        if (++entry.seen < m_reuseFrom) return m_translate(tsql);
        entry.shape = makeTemplate(tsql, literals, tokens);
        if (!entry.shape) {
            entry.unsuitable = true;
            return m_translate(tsql);
        }
    }

    auto batch = std::make_shared<Batch>();
    batch->statements.reserve(entry.shape->parts.size());
    for (const Template::Part& part : entry.shape->parts) {
        Statement s = part.base;
        for (const Piece& piece : part.source)
            s.tsql +=
                piece.literal < 0 ? piece.text : tokens[literals[piece.literal]].sourceText(tsql);
        s.literals.reserve(part.bindOrder.size());
        for (int bound : part.bindOrder) s.literals.push_back(tokens[literals[bound]].text);
        batch->statements.push_back(std::move(s));
    }
    if (m_recent.size() >= kMaxRecent) m_recent.clear();
    m_recent.insert(tsql, batch);
    return batch;
}

}  // namespace md::sql
