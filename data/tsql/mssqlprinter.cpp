#include "tsql/mssqlprinter.h"

#include "tsql/dialect.h"
#include "tsql/lexer.h"

namespace md::sql {

using namespace ast;

QString passThroughText(const QString& tsql, const QVector<ParamRef>& params,
                        QVector<int>* placeholderOrder) {
    const QVector<Token> tokens = tokenize(tsql);
    QString out;
    out.reserve(tsql.size());
    int copied = 0;
    bool afterWhere = false;
    for (const Token& token : tokens) {
        if (token.isKeyword(QLatin1String("where"))) afterWhere = true;
        if (token.kind != TokenKind::Param) continue;
        int index = -1;
        for (int i = 0; i < params.size(); ++i) {
            if (params[i].name.compare(token.text, Qt::CaseInsensitive) != 0) continue;
            if (index < 0 || params[i].inWhere == afterWhere) index = i;
        }
        out += QStringView(tsql).mid(copied, token.offset - copied);
        out += QLatin1Char('?');
        copied = token.offset + token.length;
        if (placeholderOrder) placeholderOrder->push_back(index);
    }
    out += QStringView(tsql).mid(copied);
    return out.trimmed();
}

namespace {

class SqlServerWriter : public DialectWriter {
  public:
    void rewrite(Stmt&) override {}

    QString printStatement(const Stmt& statement, const QString& tsql,
                           QVector<int>* placeholderOrder) override {
        return passThroughText(tsql, statement.params, placeholderOrder);
    }

    // Only the translator's own statements reach this: one dropped object of a
    // drop naming several.
    QString print(const Stmt& statement, QVector<int>*) override {
        if (statement.kind != Stmt::Kind::Drop) return {};
        const auto& drop = static_cast<const DropStmt&>(statement);
        static const char* const kWhat[] = {"drop table ", "drop view ", "drop function ",
                                            "drop index "};
        QString text = QLatin1String(kWhat[int(drop.what)]);
        if (drop.ifExists) text += QLatin1String("if exists ");
        return text + drop.names.value(0);
    }

    QString printExpression(const Expr& expr) override {
        // Exec arguments that are expressions: evaluated by "select <expr>".
        switch (expr.kind) {
            case ExprKind::Call:
                if (expr.args.empty()) return expr.text + QStringLiteral("()");
                break;
            default:
                break;
        }
        return expr.text;
    }
};

}  // namespace

std::unique_ptr<DialectWriter> makeSqlServerWriter() {
    return std::make_unique<SqlServerWriter>();
}

}  // namespace md::sql
