#pragma once
// The messages of translation errors. They reach the user's error box, so they
// are Chinese and name the offending text and where it stands.
#include <QString>

#include "errors.h"

namespace md::sql {

[[noreturn]] inline void throwSyntaxError(const QString& near, int line, int column) {
    throw ETranslateError(QStringLiteral("SQL 语法错误：'%1' 附近（第 %2 行，第 %3 列）")
                              .arg(near)
                              .arg(line)
                              .arg(column),
                          line, column);
}

// The text ended in the middle of a statement.
[[noreturn]] inline void throwUnexpectedEnd(const QString& hint, int line, int column) {
    throw ETranslateError(QStringLiteral("SQL 语法错误：语句不完整%1（第 %2 行，第 %3 列）")
                              .arg(hint.isEmpty() ? hint : QStringLiteral("，") + hint)
                              .arg(line)
                              .arg(column),
                          line, column);
}

// A syntax error with a hint of what was expected ("缺少 ')'").
[[noreturn]] inline void throwSyntaxError(const QString& near, const QString& hint, int line,
                                          int column) {
    throw ETranslateError(QStringLiteral("SQL 语法错误：'%1' 附近，%2（第 %3 行，第 %4 列）")
                              .arg(near, hint)
                              .arg(line)
                              .arg(column),
                          line, column);
}

// A statement outside the supported subset (WHILE, DECLARE, BEGIN TRAN ...).
[[noreturn]] inline void throwUnsupportedStatement(const QString& construct, int line, int column) {
    throw ETranslateError(QStringLiteral("不支持的 SQL 语句 '%1'（第 %2 行，第 %3 列）")
                              .arg(construct)
                              .arg(line)
                              .arg(column),
                          line, column);
}

// A construct inside a statement outside the supported subset (PERCENT, OVER ...).
[[noreturn]] inline void throwUnsupportedSyntax(const QString& construct, int line, int column) {
    throw ETranslateError(QStringLiteral("不支持的 SQL 语法 '%1'（第 %2 行，第 %3 列）")
                              .arg(construct)
                              .arg(line)
                              .arg(column),
                          line, column);
}

// Anything else the translator refuses, with its own wording.
[[noreturn]] inline void throwTranslateError(const QString& what, int line, int column) {
    throw ETranslateError(
        QStringLiteral("%1（第 %2 行，第 %3 列）").arg(what).arg(line).arg(column), line, column);
}

}  // namespace md::sql
