// Statements that differ only in a quoted text share one translation and one
// prepared statement on SQLite, the texts bound as parameters; the rows stay
// those of the texts as written.
#include <gtest/gtest.h>

#include "remoteudpdataset.h"
#include "testdb.h"

using md::test::TestDb;

namespace {

class StatementShapes : public ::testing::Test {
  protected:
    void SetUp() override {
        if (db.conn().dialect() != md::sql::Dialect::SQLite)
            GTEST_SKIP() << "quoted texts are bound on SQLite only";
        db.exec(
            "insert into D_MoneyCard(fcardno,fpassword,fbegindate) values('A1','p1','2024-01-05')\n"
            "insert into D_MoneyCard(fcardno,fpassword,fbegindate) "
            "values('O''B','p2','2024-02-01')\n"
            "insert into D_MoneyCard(fcardno,fpassword,fbegindate) values('C3','p3',null)");
    }
    const md::sql::Statement& run(const QString& tsql) {
        m_batch = db.conn().TranslateToRun(tsql);
        return m_batch->statements.first();
    }
    TestDb db;

  private:
    std::shared_ptr<const md::sql::Batch> m_batch;
};

}  // namespace

TEST_F(StatementShapes, TheSecondStatementOfAShapeBindsItsTextsAndReadsTheSameRows) {
    const QString first = QStringLiteral("select fpassword from D_MoneyCard where fcardno='A1'");
    EXPECT_TRUE(run(first).literals.isEmpty());
    EXPECT_EQ(db.rows(first), QStringList{QStringLiteral("p1")});

    // A quote inside the text, as the quoting helper doubles it.
    const QString second = QStringLiteral("select fpassword from D_MoneyCard where fcardno='O''B'");
    const md::sql::Statement& bound = run(second);
    EXPECT_EQ(bound.literals, QVariantList{QStringLiteral("O'B")});
    EXPECT_TRUE(bound.sql.contains(QStringLiteral("?1")));
    EXPECT_FALSE(bound.sql.contains(QStringLiteral("O'")));
    EXPECT_EQ(bound.tsql, second);  // the log and the checks see the text as written
    EXPECT_EQ(db.rows(second), QStringList{QStringLiteral("p2")});
    // Text compares ignore case and trailing blanks, bound or not.
    EXPECT_EQ(db.rows(QStringLiteral("select fpassword from D_MoneyCard where fcardno='c3 '")),
              QStringList{QStringLiteral("p3")});
    EXPECT_TRUE(
        db.rows(QStringLiteral("select fpassword from D_MoneyCard where fcardno='Z9'")).isEmpty());
}

TEST_F(StatementShapes, TextsBindAfterTheStatementsOwnParametersInEveryStatementOfABatch) {
    TRemoteUdpDataSet query;
    query.setSetupUdpParent(&db.conn());
    for (const char* card : {"A1", "C3"}) {
        query.Close();
        query.SetSQL(
            QStringLiteral("update D_MoneyCard set fremark='seen' where fcardno=:card\n"
                           "select fcardno,fremark from D_MoneyCard where fremark='seen' "
                           "and fpassword<>:card order by fcardno"));
        query.ParamByName(QStringLiteral("card")).SetValue(QString::fromLatin1(card));
        query.Open();
    }
    EXPECT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(db.rows("select fcardno from D_MoneyCard where fremark='seen' order by fcardno"),
              (QStringList{QStringLiteral("A1"), QStringLiteral("C3")}));
    const md::sql::Statement& select =
        db.conn()
            .TranslateToRun(
                QStringLiteral("update D_MoneyCard set fremark='seen' where fcardno=:card\n"
                               "select fcardno,fremark from D_MoneyCard where fremark='seen' "
                               "and fpassword<>:card order by fcardno"))
            ->statements.last();
    EXPECT_EQ(select.params.size(), 1);
    EXPECT_EQ(select.literals, QVariantList{QStringLiteral("seen")});
    EXPECT_TRUE(select.sql.contains(QStringLiteral("?2")));
}

TEST_F(StatementShapes, TextsTheTranslationConvertsOrUsesAsNamesStayAsWritten) {
    // A date text is normalised when translated: each statement keeps its own.
    for (const char* day : {"2024-1-5", "2024-01-05", "2024/01/05"}) {
        const QString tsql =
            QStringLiteral("select fcardno from D_MoneyCard where fbegindate='%1'").arg(day);
        EXPECT_TRUE(run(tsql).literals.isEmpty()) << day;
        EXPECT_EQ(db.rows(tsql), QStringList{QStringLiteral("A1")}) << day;
    }
    // A text used as a column name.
    for (const char* name : {"x", "y"}) {
        const QString tsql = QStringLiteral(
                                 "select fcardno '%1' from D_MoneyCard where "
                                 "fcardno='A1'")
                                 .arg(name);
        EXPECT_TRUE(run(tsql).literals.isEmpty()) << name;
    }
    // Definitions.
    for (const char* value : {"a", "b"}) {
        const QString tsql =
            QStringLiteral("create table md_shape_t(f varchar(5) default '%1')").arg(value);
        EXPECT_TRUE(run(tsql).literals.isEmpty()) << value;
    }
}
