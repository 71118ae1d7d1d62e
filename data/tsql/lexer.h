#pragma once
// Tokens of T-SQL text as the windows write it: keywords in any case, unquoted
// Chinese names, [bracketed] names, '' inside strings, :name parameters and line
// breaks of every kind (a lone CR too).
#include <QString>
#include <QVector>

namespace md::sql {

enum class TokenKind : unsigned char {
    Identifier,        // plain word; keywords are identifiers too
    QuotedIdentifier,  // [name] or "name"; never a keyword
    String,            // 'text' or N'text'; text holds the value without quotes
    Number,            // 12, 12.5, .5, 1e3
    Param,             // :name; text holds the name without the colon
    Variable,          // @name; text holds the name with the '@'
    Symbol,            // ( ) , . ; * + - / % = < > <= >= <> != ! ~ & | ^
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;    // see TokenKind
    int offset = 0;  // in the source text
    int length = 0;  // characters in the source text
    int line = 1;    // 1-based
    int column = 1;  // 1-based, in characters

    bool is(TokenKind k) const { return kind == k; }
    bool isSymbol(QLatin1String symbol) const {
        return kind == TokenKind::Symbol && text == symbol;
    }
    bool isSymbol(char c) const {
        return kind == TokenKind::Symbol && text.size() == 1 && text[0] == QLatin1Char(c);
    }
    // A plain word equal to the keyword in any case (lower-case keyword expected).
    bool isKeyword(QLatin1String keyword) const {
        return kind == TokenKind::Identifier && text.compare(keyword, Qt::CaseInsensitive) == 0;
    }
    QString sourceText(const QString& source) const { return source.mid(offset, length); }
};

// Splits the whole text; throws ETranslateError on an unterminated string,
// bracket or comment and on characters that cannot start a token.
QVector<Token> tokenize(const QString& source);

}  // namespace md::sql
