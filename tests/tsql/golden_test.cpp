// Golden files: tests/golden/<family>.tsql holds T-SQL batches separated by
// lines "GO"; <family>.sqlite and <family>.pg hold what each batch translates to
// for SQLite and PostgreSQL. "{CR}" in a batch stands for a lone carriage
// return. MD_UPDATE_GOLDEN=1 rewrites the .sqlite and .pg files from the current
// translation.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "tsqltestutil.h"

using namespace md::sql;

namespace {

QStringList splitBatches(const QString& text) {
    QStringList batches;
    QString current;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0) {
            if (!current.trimmed().isEmpty()) batches << current.trimmed();
            current.clear();
            continue;
        }
        current += line + QLatin1Char('\n');
    }
    if (!current.trimmed().isEmpty()) batches << current.trimmed();
    return batches;
}

QString describeArg(const ExecArg& a) {
    switch (a.kind) {
        case ExecArg::Kind::Param:
            return QLatin1Char(':') + a.paramName;
        case ExecArg::Kind::Expression:
            return QStringLiteral("expr(") + a.expression + QLatin1Char(')');
        case ExecArg::Kind::Literal:
            if (!a.value.isValid()) return QStringLiteral("NULL");
            if (a.value.typeId() == QMetaType::QString)
                return QLatin1Char('\'') + a.value.toString() + QLatin1Char('\'');
            return a.value.toString();
    }
    return {};
}

// The translation of one batch as the golden files show it.
QString describe(const Translator& translator, const QString& batch) {
    QString out;
    try {
        for (const Statement& s : translator.translate(batch)->statements) {
            if (s.kind == Statement::Kind::Exec) {
                QStringList args;
                for (const ExecArg& a : s.args) args << describeArg(a);
                out += QStringLiteral("EXEC %1(%2)\n")
                           .arg(s.procedure, args.join(QStringLiteral(", ")));
            } else {
                out += (s.sql.isEmpty() ? QStringLiteral("(nothing)") : s.sql) + QLatin1Char('\n');
            }
            if (!s.params.isEmpty()) {
                QStringList params;
                for (const ParamRef& p : s.params)
                    params << p.name + (p.inWhere ? QStringLiteral("(where)") : QString());
                out += QStringLiteral("-- params: ") + params.join(QStringLiteral(", ")) +
                       QLatin1Char('\n');
            }
        }
    } catch (const ETranslateError& e) {
        out += QStringLiteral("ERROR: ") + e.message() + QLatin1Char('\n');
    }
    return out;
}

class Golden : public ::testing::TestWithParam<std::string> {};

void compareWithGolden(const QString& family, Dialect dialect, const QString& extension) {
    const QString base = QStringLiteral(MD_TEST_DATA_DIR "/golden/") + family;
    QFile in(base + QStringLiteral(".tsql"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QStringList batches = splitBatches(QString::fromUtf8(in.readAll()));
    Translator translator(dialect, md::test::fixtureCatalog());

    QString actual;
    for (const QString& batch : batches) {
        const QString text = QString(batch).replace(QLatin1String("{CR}"), QLatin1String("\r"));
        actual += describe(translator, text) + QStringLiteral("GO\n");
    }
    QFile expectedFile(base + extension);
    if (qEnvironmentVariableIntValue("MD_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(expectedFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        expectedFile.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly))
        << "missing " << qPrintable(expectedFile.fileName());
    const QStringList expected =
        QString::fromUtf8(expectedFile.readAll()).split(QStringLiteral("GO\n"));
    const QStringList got = actual.split(QStringLiteral("GO\n"));
    ASSERT_EQ(expected.size(), got.size())
        << "batch count differs in " << qPrintable(family + extension);
    for (int i = 0; i < got.size(); ++i)
        EXPECT_EQ(expected[i].toStdString(), got[i].toStdString())
            << "batch " << i + 1 << " of " << qPrintable(family + extension) << ":\n"
            << qPrintable(batches.value(i));
}

TEST_P(Golden, TranslationMatches) {
    const QString family = QString::fromStdString(GetParam());
    compareWithGolden(family, Dialect::SQLite, QStringLiteral(".sqlite"));
    compareWithGolden(family, Dialect::PostgreSQL, QStringLiteral(".pg"));
}

std::vector<std::string> goldenFamilies() {
    std::vector<std::string> names;
    for (const QString& f :
         QDir(QStringLiteral(MD_TEST_DATA_DIR "/golden")).entryList({QStringLiteral("*.tsql")}))
        names.push_back(f.chopped(5).toStdString());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Families, Golden, ::testing::ValuesIn(goldenFamilies()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
