#include "testdb.h"

#include "serverdb.h"

namespace md::test {

TestDb::TestDb()
{
    m_path = m_dir.filePath(QStringLiteral("test.db"));
    m_connection = std::make_unique<TRemoteUdpConnection>();
    md::server::openDatabase(*m_connection, ConnectionSettings::sqlite(m_path), /*create=*/true);
}

TestDb::~TestDb() = default;

qint64 TestDb::exec(const QString& tsql) { return m_connection->ExecSQL(tsql); }

QVariant TestDb::scalar(const QString& tsql)
{
    ResultTable rows;
    m_connection->OpenSQL(tsql, rows);
    return rows.rowCount > 0 && !rows.columns.isEmpty() ? rows.at(0, 0) : QVariant();
}

int TestDb::count(const QString& tableAndWhere)
{
    return scalar(QStringLiteral("select count(*) from ") + tableAndWhere).toInt();
}

QString testDataPath(const QString& relative)
{
    return QStringLiteral(MD_TEST_DATA_DIR "/") + relative;
}

}  // namespace md::test
