// Lost updates and deletes of TRemoteUdpDataSet. Before an update or delete of
// a written text runs, the rows its where clause addresses are read again in
// the same transaction (FOR UPDATE on PostgreSQL, UPDLOCK on SQL Server; a
// SQLite writer holds the database already) and compared with the values the
// dataset read: an update with the columns it sets from fields, a delete of
// the dataset's own table with every column the dataset holds. A generated
// delete is checked the same way by the row's key. A difference refuses the
// whole batch with the concurrency message and the cache stays as it was.
#include "remoteudpdataset.h"
#include "remoteudpdataset_p.h"
#include "tsql/lexer.h"

using md::sql::Statement;
using md::sql::Token;

namespace md::data {

const QString& concurrencyMessage() {
    static const QString text = QStringLiteral("记录已被其他用户修改或删除，请刷新后重试。");
    return text;
}

}  // namespace md::data

namespace {

// What the check needs of an update or delete text: its where clause and, for
// an update, which column takes which parameter.
struct WrittenShape {
    bool oneTable = false;  // no FROM clause of its own: the where clause sees the target only
    QString where;          // the condition as written
    QVector<QPair<QString, QString>> sets;  // column, parameter (empty: no plain parameter)
};

// The column a SET item assigns and, when its value is a lone parameter, that
// parameter's name.
QPair<QString, QString> setItemOf(const QVector<Token>& tokens, int begin, int end) {
    int equals = -1;
    for (int i = begin; i < end && equals < 0; ++i)
        if (tokens[i].isSymbol('=')) equals = i;
    if (equals <= begin) return {};
    const Token& column = tokens[equals - 1];
    if (!column.is(md::sql::TokenKind::Identifier) &&
        !column.is(md::sql::TokenKind::QuotedIdentifier))
        return {};
    const bool loneParam = end - equals == 2 && tokens[equals + 1].is(md::sql::TokenKind::Param);
    return {column.text, loneParam ? tokens[equals + 1].text : QString()};
}

WrittenShape shapeOf(const Statement& statement) {
    WrittenShape shape;
    const QVector<Token> tokens = md::sql::tokenize(statement.tsql);
    const bool update = statement.kind == Statement::Kind::Update;
    int depth = 0, setAt = -1, whereAt = -1;
    bool ownFrom = false;
    for (int i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.isSymbol('(')) ++depth;
        if (t.isSymbol(')')) --depth;
        if (depth > 0 || t.is(md::sql::TokenKind::End)) continue;
        if (update && setAt < 0 && t.isKeyword(QLatin1String("set"))) setAt = i;
        // "delete from t" names its table after the first from; a second is a FROM clause
        if (t.isKeyword(QLatin1String("from")) && !(i == 1 && !update)) ownFrom = true;
        if (whereAt < 0 && t.isKeyword(QLatin1String("where"))) whereAt = i;
    }
    if (ownFrom || whereAt < 0 || whereAt + 1 >= tokens.size()) return shape;
    shape.where = statement.tsql.mid(tokens[whereAt + 1].offset).trimmed();
    while (shape.where.endsWith(QLatin1Char(';'))) shape.where.chop(1);
    if (shape.where.isEmpty()) return shape;
    shape.oneTable = true;
    if (update && setAt >= 0) {
        int itemStart = setAt + 1;
        depth = 0;
        for (int i = setAt + 1; i <= whereAt; ++i) {
            if (tokens[i].isSymbol('(')) ++depth;
            if (tokens[i].isSymbol(')')) --depth;
            if (depth > 0 || !(i == whereAt || tokens[i].isSymbol(','))) continue;
            shape.sets << setItemOf(tokens, itemStart, i);
            itemStart = i + 1;
        }
    }
    return shape;
}

QString bracketed(const QString& name) {
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QLatin1String("]]")) +
           QLatin1Char(']');
}

// The where clause's parameters, all of them values as read.
class CheckParams : public ParamSource {
  public:
    CheckParams(const RowCheck& check, const QVariant* old, const QString& dataSet)
        : m_check(check), m_old(old), m_dataSet(dataSet) {}

    QVariant paramValue(const md::sql::ParamRef& param) const override {
        for (int i = 0; i < m_check.read.params.size(); ++i) {
            if (&m_check.read.params[i] != &param) continue;
            const int field = m_check.bindings[std::size_t(i)].field;
            if (field >= 0) return m_old[field];
            break;
        }
        throw EDatabaseError(QStringLiteral("更新语句的参数 :%1 在数据集 '%2' 中没有对应的字段。")
                                 .arg(param.name, m_dataSet));
    }

  private:
    const RowCheck& m_check;
    const QVariant* m_old;
    const QString& m_dataSet;
};

// A field the select took straight from a table column; a computed one (an
// alias over an expression) holds no stored value to compare. Unknown when the
// translator could not name the result columns: then taken as a column.
bool readAsStored(const QVector<md::sql::ResultColumn>& hints, const QString& name) {
    if (hints.isEmpty()) return true;
    for (const md::sql::ResultColumn& hint : hints)
        if (hint.name.compare(name, Qt::CaseInsensitive) == 0) return hint.plain;
    return false;
}

}  // namespace

void TRemoteUdpDataSet::addRowChecks(PreparedChangeBatch& prepared) {
    const auto& statements = prepared.batch->statements;
    prepared.checks.assign(std::size_t(statements.size()), nullptr);
    prepared.setsKnown = !statements.isEmpty();
    prepared.setFields.clear();
    for (int s = 0; s < statements.size(); ++s) {
        const Statement& statement = statements[s];
        if (statement.kind != Statement::Kind::Update) prepared.setsKnown = false;
        if (statement.kind != Statement::Kind::Update && statement.kind != Statement::Kind::Delete)
            continue;
        const WrittenShape shape = shapeOf(statement);
        if (statement.kind == Statement::Kind::Update) {
            // The fields its SET items take, so a row where none changed is skipped;
            // a SET of anything but a field's current value leaves that unknown.
            if (shape.sets.isEmpty()) prepared.setsKnown = false;
            for (const auto& [column, param] : shape.sets) {
                const ParamBinding set =
                    param.isEmpty() ? ParamBinding() : bindingFor(param, false);
                if (set.field < 0 || set.old) prepared.setsKnown = false;
                prepared.setFields.push_back(set.field);
            }
        }
        const md::sql::TableInfo* table = m_connection->catalog().table(statement.targetTable);
        if (!shape.oneTable || !table || table->isView) continue;
        QStringList columns;
        std::vector<int> fields;
        if (statement.kind == Statement::Kind::Update) {
            for (const auto& [column, param] : shape.sets) {
                const md::sql::ColumnInfo* info = param.isEmpty() ? nullptr : table->column(column);
                const ParamBinding binding = bindingFor(param, false);
                if (!info || binding.field < 0 ||
                    !readAsStored(m_columnHints, m_fields[std::size_t(binding.field)]->FieldName()))
                    continue;
                columns << info->name;
                fields.push_back(binding.field);
            }
        } else if (table->name.compare(m_sourceTable, Qt::CaseInsensitive) == 0) {
            // A delete of the rows this dataset reads: every value shown must still be there.
            for (const md::sql::ColumnInfo& info : table->columns) {
                const TField* field = FindField(info.name);
                if (!field || field->m_column < 0 || field->m_column >= m_dataColumns ||
                    !readAsStored(m_columnHints, field->FieldName()))
                    continue;
                columns << info.name;
                fields.push_back(field->m_column);
            }
        }
        if (!columns.isEmpty())
            prepared.checks[std::size_t(s)] =
                makeRowCheck(table->name, shape.where, columns, fields);
    }
}

std::shared_ptr<const RowCheck> TRemoteUdpDataSet::makeRowCheck(const QString& table,
                                                                const QString& whereTsql,
                                                                const QStringList& columns,
                                                                const std::vector<int>& fields) {
    QStringList names;
    for (const QString& column : columns) names << bracketed(column);
    QString tsql = QStringLiteral("select ") + names.join(QLatin1Char(',')) +
                   QStringLiteral(" from ") + bracketed(table);
    const qsizetype source = tsql.size();
    tsql += QStringLiteral(" where ") + whereTsql;
    const auto batch = m_connection->Translate(tsql);
    if (batch->statements.size() != 1) return nullptr;
    auto check = std::make_shared<RowCheck>();
    check->read = batch->statements.first();
    check->fields = fields;
    for (const md::sql::ParamRef& param : check->read.params)
        check->bindings.push_back(bindingFor(param.name, true));
    // The rows stay locked until the transaction ends, so nobody changes them
    // between this read and the write.
    switch (m_connection->dialect()) {
        case md::sql::Dialect::PostgreSQL:
            check->read.sql += QStringLiteral(" FOR UPDATE");
            break;
        case md::sql::Dialect::SqlServer:  // the text passes through as written
            check->read.sql.insert(source, QStringLiteral(" WITH (UPDLOCK, ROWLOCK)"));
            break;
        case md::sql::Dialect::SQLite:
            break;
    }
    return check;
}

std::shared_ptr<const RowCheck> TRemoteUdpDataSet::keyRowCheck() {
    StatementCache& cache = *m_statements;
    if (cache.keyCheckMade) return cache.keyCheck;
    cache.keyCheckMade = true;
    const UpdateTarget& target = updateTarget();
    // Without a key the delete itself is addressed by every value read.
    if (!target.table || !target.keyed) return nullptr;
    QStringList where, columns;
    std::vector<int> fields;
    for (int i : target.address) {
        const UpdateTarget::Column& column = target.columns[std::size_t(i)];
        where << column.sqlName + QStringLiteral("=:") + column.paramName;
    }
    for (const UpdateTarget::Column& column : target.columns) {
        if (!readAsStored(m_columnHints, m_fields[std::size_t(column.field)]->FieldName()))
            continue;
        columns << column.info->name;
        fields.push_back(column.field);
    }
    auto made =
        makeRowCheck(target.table->name, where.join(QStringLiteral(" and ")), columns, fields);
    if (!made) return nullptr;
    // Bound by the generated names, as the delete itself is.
    auto check = std::make_shared<RowCheck>(*made);
    for (int p = 0; p < check->read.params.size(); ++p)
        for (const UpdateTarget::Column& column : target.columns)
            if (column.paramName.compare(check->read.params[p].name, Qt::CaseInsensitive) == 0)
                check->bindings[std::size_t(p)] = ParamBinding{column.field, true};
    cache.keyCheck = check;
    return cache.keyCheck;
}

void TRemoteUdpDataSet::runRowCheck(const RowCheck& check, const QVariant* old, bool unreadNulls) {
    const CheckParams params(check, old, objectName());
    ResultTable rows;
    m_connection->RunStatement(check.read, &params, &rows);
    for (int r = 0; r < rows.rowCount; ++r)
        for (std::size_t c = 0; c < check.fields.size(); ++c) {
            const QVariant& read = old[check.fields[c]];
            if (unreadNulls && read.isNull()) continue;
            if (!md::data::sameValue(rows.at(r, int(c)), read))
                throw EConcurrencyError(md::data::concurrencyMessage());
        }
}
