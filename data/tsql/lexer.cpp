#include "tsql/lexer.h"

#include "tsql/tsqlerror.h"

namespace md::sql {

namespace {

bool isIdentifierStart(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x80) return !c.isSpace();  // Chinese names are written without brackets
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == '#';
}

bool isIdentifierPart(QChar c) {
    const char16_t u = c.unicode();
    return isIdentifierStart(c) || (u >= '0' && u <= '9') || u == '$' || u == '@';
}

bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

class Lexer {
  public:
    explicit Lexer(const QString& source) : m_src(source), m_size(int(source.size())) {}

    QVector<Token> run() {
        QVector<Token> tokens;
        tokens.reserve(m_size / 4 + 2);
        for (;;) {
            skipBlanksAndComments();
            Token token;
            token.offset = m_pos;
            token.line = m_line;
            token.column = m_pos - m_lineStart + 1;
            if (m_pos >= m_size) {
                token.kind = TokenKind::End;
                tokens.push_back(token);
                return tokens;
            }
            readToken(token);
            token.length = m_pos - token.offset;
            tokens.push_back(std::move(token));
        }
    }

  private:
    QChar at(int i) const { return i < m_size ? m_src[i] : QChar(); }

    void newLineAt(int nextLineStart) {
        ++m_line;
        m_lineStart = nextLineStart;
    }

    // Consumes one line break (CR, LF or CRLF) at m_pos, if there is one.
    bool consumeLineBreak() {
        const QChar c = at(m_pos);
        if (c == QLatin1Char('\r')) {
            m_pos += at(m_pos + 1) == QLatin1Char('\n') ? 2 : 1;
            newLineAt(m_pos);
            return true;
        }
        if (c == QLatin1Char('\n')) {
            ++m_pos;
            newLineAt(m_pos);
            return true;
        }
        return false;
    }

    void skipBlanksAndComments() {
        while (m_pos < m_size) {
            if (consumeLineBreak()) continue;
            const QChar c = m_src[m_pos];
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == QLatin1Char('-') && at(m_pos + 1) == QLatin1Char('-')) {
                while (m_pos < m_size && m_src[m_pos] != QLatin1Char('\r') &&
                       m_src[m_pos] != QLatin1Char('\n'))
                    ++m_pos;
            } else if (c == QLatin1Char('/') && at(m_pos + 1) == QLatin1Char('*')) {
                skipBlockComment();
            } else {
                return;
            }
        }
    }

    void skipBlockComment() {
        const int line = m_line, column = m_pos - m_lineStart + 1;
        int depth = 0;  // block comments nest in T-SQL
        while (m_pos < m_size) {
            if (consumeLineBreak()) continue;
            if (m_src[m_pos] == QLatin1Char('/') && at(m_pos + 1) == QLatin1Char('*')) {
                ++depth;
                m_pos += 2;
            } else if (m_src[m_pos] == QLatin1Char('*') && at(m_pos + 1) == QLatin1Char('/')) {
                m_pos += 2;
                if (--depth == 0) return;
            } else {
                ++m_pos;
            }
        }
        throwSyntaxError(QStringLiteral("/*"), QStringLiteral("注释没有结束"), line, column);
    }

    // Text between the quote at m_pos and its closing partner; a doubled quote
    // stands for one.
    QString readQuoted(QChar close, const Token& token, const QString& what) {
        QString value;
        ++m_pos;
        while (m_pos < m_size) {
            const QChar c = m_src[m_pos];
            if (c == close) {
                if (at(m_pos + 1) == close) {
                    value += close;
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                return value;
            }
            if (const int start = m_pos; consumeLineBreak()) {
                value +=
                    m_src.mid(start, m_pos - start);  // line breaks stay in the value as written
                continue;
            }
            value += c;
            ++m_pos;
        }
        throwSyntaxError(m_src.mid(token.offset, 20), what, token.line, token.column);
    }

    void readToken(Token& token) {
        const QChar c = m_src[m_pos];
        const char16_t u = c.unicode();
        if ((u == 'N' || u == 'n') && at(m_pos + 1) == QLatin1Char('\'')) {
            ++m_pos;
            token.kind = TokenKind::String;
            token.text = readQuoted(QLatin1Char('\''), token, QStringLiteral("字符串没有结束"));
        } else if (isIdentifierStart(c)) {
            const int start = m_pos;
            while (m_pos < m_size && isIdentifierPart(m_src[m_pos])) ++m_pos;
            token.kind = TokenKind::Identifier;
            token.text = m_src.mid(start, m_pos - start);
        } else if (isDigit(c) || (u == '.' && isDigit(at(m_pos + 1)))) {
            readNumber(token);
        } else if (u == '\'') {
            token.kind = TokenKind::String;
            token.text = readQuoted(QLatin1Char('\''), token, QStringLiteral("字符串没有结束"));
        } else if (u == '[') {
            token.kind = TokenKind::QuotedIdentifier;
            token.text = readQuoted(QLatin1Char(']'), token, QStringLiteral("缺少 ']'"));
        } else if (u == '"') {
            token.kind = TokenKind::QuotedIdentifier;
            token.text = readQuoted(QLatin1Char('"'), token, QStringLiteral("缺少 '\"'"));
        } else if ((u == ':' || u == '@') && isIdentifierPart(at(m_pos + 1))) {
            const int start = m_pos;
            ++m_pos;
            while (m_pos < m_size && isIdentifierPart(m_src[m_pos])) ++m_pos;
            token.kind = u == ':' ? TokenKind::Param : TokenKind::Variable;
            token.text =
                m_src.mid(u == ':' ? start + 1 : start, m_pos - start - (u == ':' ? 1 : 0));
        } else {
            readSymbol(token);
        }
    }

    void readNumber(Token& token) {
        const int start = m_pos;
        while (isDigit(at(m_pos))) ++m_pos;
        if (at(m_pos) == QLatin1Char('.')) {
            ++m_pos;
            while (isDigit(at(m_pos))) ++m_pos;
        }
        const QChar e = at(m_pos);
        if ((e == QLatin1Char('e') || e == QLatin1Char('E')) &&
            (isDigit(at(m_pos + 1)) ||
             ((at(m_pos + 1) == QLatin1Char('+') || at(m_pos + 1) == QLatin1Char('-')) &&
              isDigit(at(m_pos + 2))))) {
            m_pos += 2;
            while (isDigit(at(m_pos))) ++m_pos;
        }
        token.kind = TokenKind::Number;
        token.text = m_src.mid(start, m_pos - start);
    }

    void readSymbol(Token& token) {
        const QChar c = m_src[m_pos];
        const QChar n = at(m_pos + 1);
        static const char* const kPairs[] = {"<=", ">=", "<>", "!=", "!<", "!>"};
        for (const char* pair : kPairs) {
            if (c == QLatin1Char(pair[0]) && n == QLatin1Char(pair[1])) {
                token.kind = TokenKind::Symbol;
                token.text = QLatin1String(pair, 2);
                m_pos += 2;
                return;
            }
        }
        static const QLatin1String kSingles("(),.;*+-/%=<>~&|^!");
        if (c.unicode() < 0x80 && kSingles.contains(c)) {
            token.kind = TokenKind::Symbol;
            token.text = QString(c);
            ++m_pos;
            return;
        }
        throwSyntaxError(QString(c), token.line, token.column);
    }

    const QString& m_src;
    const int m_size;
    int m_pos = 0;
    int m_line = 1;
    int m_lineStart = 0;
};

}  // namespace

QVector<Token> tokenize(const QString& source) {
    // A NUL character ends the text for the database's own parser: refused
    // wherever it stands, even inside a string.
    if (const qsizetype nul = source.indexOf(QChar(0)); nul >= 0) {
        const QStringView before = QStringView(source).left(nul);
        int line = 1;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i < before.size(); ++i) {
            const bool crAlone = before[i] == QLatin1Char('\r') &&
                                 (i + 1 >= before.size() || before[i + 1] != QLatin1Char('\n'));
            if (before[i] == QLatin1Char('\n') || crAlone) {
                ++line;
                lineStart = i + 1;
            }
        }
        throwSyntaxError(QStringLiteral("\\0"), QStringLiteral("无效的字符"), line,
                         int(nul - lineStart + 1));
    }
    return Lexer(source).run();
}

}  // namespace md::sql
