// SQL text as the dataset reads it: its ":name" parameters and the first
// table of a select.
#include "remoteudpdataset.h"
#include "remoteudpdataset_p.h"

namespace {

bool isIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Skips a quoted literal, a bracketed or double-quoted name, or a comment
// starting at text[i]; returns the index after it, or i when there is none.
qsizetype skipQuotedOrComment(const QString& text, qsizetype i) {
    const qsizetype n = text.size();
    const QChar c = text[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
        const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        qsizetype j = i + 1;
        while (j < n) {
            if (text[j] == close) {
                if (close != QLatin1Char(']') && j + 1 < n && text[j + 1] == close) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return n;
    }
    if (c == QLatin1Char('-') && i + 1 < n && text[i + 1] == QLatin1Char('-')) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? n : end + 1;
    }
    if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
        const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? n : end + 2;
    }
    return i;
}

// The first table after the outermost "from" of a select; empty when the
// rows come from a function, a sub-select or nowhere, or are no table rows at
// all (grouped, distinct or combined selects).
QString firstTable(const QString& tsql) {
    static const QStringList notRows = {QStringLiteral("group"), QStringLiteral("distinct"),
                                        QStringLiteral("union"), QStringLiteral("intersect"),
                                        QStringLiteral("except")};
    const qsizetype n = tsql.size();
    int depth = 0;
    QString table;
    bool tableSeen = false;
    for (qsizetype i = 0; i < n;) {
        const qsizetype skipped = skipQuotedOrComment(tsql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        const QChar c = tsql[i];
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        if (!isIdentChar(c) || (i > 0 && isIdentChar(tsql[i - 1]))) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && isIdentChar(tsql[end])) ++end;
        const QString word = tsql.mid(i, end - i).toLower();
        i = end;
        if (depth != 0) continue;
        if (notRows.contains(word)) return QString();
        if (word != QLatin1String("from") || tableSeen) continue;
        tableSeen = true;
        qsizetype j = end;
        while (j < n && tsql[j].isSpace()) ++j;
        const qsizetype start = j;
        while (j < n) {
            if (tsql[j] == QLatin1Char('['))
                j = skipQuotedOrComment(tsql, j);
            else if (isIdentChar(tsql[j]) || tsql[j] == QLatin1Char('.') ||
                     tsql[j] == QLatin1Char('#'))
                ++j;
            else
                break;
        }
        table = tsql.mid(start, j - start);
        while (j < n && tsql[j].isSpace()) ++j;
        if (j < n && tsql[j] == QLatin1Char('(')) table.clear();  // a table function
        i = j;
    }
    return table;
}

}  // namespace

QString md::data::firstTableOf(const QString& tsql) {
    return firstTable(tsql);
}

// ---------------------------------------------------------------- parameters

QStringList TParameters::namesIn(const QString& sql) {
    QStringList names;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const qsizetype skipped = skipQuotedOrComment(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (sql[i] == QLatin1Char(':')) {
            if (i + 1 < n && sql[i + 1] == QLatin1Char(':')) {
                i += 2;
                continue;
            }
            qsizetype j = i + 1;
            while (j < n && isIdentChar(sql[j])) ++j;
            if (j > i + 1 && (i == 0 || !isIdentChar(sql[i - 1]))) {
                const QString name = sql.mid(i + 1, j - i - 1);
                bool seen = false;
                for (const QString& known : names)
                    seen = seen || known.compare(name, Qt::CaseInsensitive) == 0;
                if (!seen) names << name;
            }
            i = j;
            continue;
        }
        ++i;
    }
    return names;
}

void TParameters::ParseSQL(const QString& sql) {
    std::vector<std::unique_ptr<TParameter>> items;
    for (const QString& name : namesIn(sql)) {
        auto param = std::make_unique<TParameter>(name);
        if (TParameter* previous = FindParam(name)) param->SetValue(previous->Value());
        items.push_back(std::move(param));
    }
    m_items = std::move(items);
}

TParameter* TParameters::FindParam(QStringView name) const {
    for (const auto& item : m_items)
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0) return item.get();
    return nullptr;
}

TParameter& TParameters::ParamByName(QStringView name) const {
    if (TParameter* param = FindParam(name)) return *param;
    throw EDatabaseError(QStringLiteral("SQL 语句中没有参数 '%1'。").arg(name));
}

QVariant TParameters::paramValue(const md::sql::ParamRef& param) const {
    if (TParameter* p = FindParam(param.name)) return p->Value();
    throw EDatabaseError(QStringLiteral("没有为参数 :%1 提供值。").arg(param.name));
}
