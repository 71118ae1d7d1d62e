#pragma once
// Windows build many statements that differ only in a quoted text: "select top
// 1 fcardno from D_MoneyCard where fcardno='NEW000123'" once per coupon. Each
// would be translated and prepared anew. Like SQL Server's own simple
// parameterization, the statements to run are grouped by shape (the text with
// its quoted texts taken out); from the second of a shape on, its translation
// is reused with the quoted texts bound as parameters after the statement's own
// (Statement::literals), so the prepared statement is reused too.
//
// A shape qualifies only when taking the texts out cannot change the result: a
// translation with stand-in texts must print every stand-in as a plain quoted
// text (not converted, folded, split or used as a name), and putting the real
// texts back into it must give exactly the translation of the real statement.
// Anything else (a date literal folded into another form, a text used as a
// column alias, DDL, procedure calls) keeps translating the whole text.
//
// Only for SQLite: a PostgreSQL parameter has no type of its own where a quoted
// text would be "unknown" text (in a select list), and SQL Server passes the
// text through as written.
#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

#include "tsql/lexer.h"
#include "tsql/translator.h"

namespace md::sql {

class ShapeCache {
  public:
    using Translate = std::function<std::shared_ptr<const Batch>(const QString&)>;
    // translate: the full translation of a text (cached by text);
    // translateUncached: the same without keeping the result.
    ShapeCache(Translate translate, Translate translateUncached);

    // The batch to run for the text; throws what the full translation throws.
    std::shared_ptr<const Batch> batchToRun(const QString& tsql);

    // From which occurrence of a shape its translation is reused (2: the first
    // statement of a shape translates as written). Tests set 1 to run every
    // qualifying statement through the reuse.
    void setReuseFrom(int occurrence) { m_reuseFrom = qMax(1, occurrence); }

  private:
    struct Template;
    struct Entry {
        int seen = 0;
        bool unsuitable = false;
        std::shared_ptr<const Template> shape;
    };

    std::shared_ptr<const Template> makeTemplate(const QString& tsql,
                                                 const QVector<int>& literalTokens,
                                                 const QVector<Token>& tokens);

    Translate m_translate;
    Translate m_translateUncached;
    QHash<QString, Entry> m_shapes;
    QHash<QString, std::shared_ptr<const Batch>> m_recent;  // text → batch, last few
    int m_reuseFrom = 2;
};

}  // namespace md::sql
