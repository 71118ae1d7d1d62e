#include "demodata.h"

#include <algorithm>
#include <vector>

namespace md::server {

namespace {

struct GeneratorEntry {
    int order;
    QString name;
    DemoGenerator generator;
};

std::vector<GeneratorEntry>& generators() {
    static std::vector<GeneratorEntry> entries;
    return entries;
}

std::vector<GeneratorEntry> sortedGenerators() {
    std::vector<GeneratorEntry> entries = generators();
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const GeneratorEntry& a, const GeneratorEntry& b) { return a.order < b.order; });
    return entries;
}

}  // namespace

RegisterDemoGenerator::RegisterDemoGenerator(int order, const char* name, DemoGenerator generator) {
    generators().push_back({order, QString::fromUtf8(name), generator});
}

QStringList demoGeneratorNames() {
    QStringList names;
    for (const GeneratorEntry& entry : sortedGenerators()) names << entry.name;
    return names;
}

DemoContext::DemoContext(TRemoteUdpConnection& connection, int sizeFactor,
                         QList<DemoRightList> functionLists)
    : m_connection(connection),
      m_sizeFactor(sizeFactor > 0 ? sizeFactor : kDemoGoodsCount),
      m_functionLists(std::move(functionLists)),
      m_random(20240601u) {}

int DemoContext::scaled(int demoCount) const {
    const qint64 n = qint64(demoCount) * m_sizeFactor / kDemoGoodsCount;
    return int(std::max<qint64>(1, n));
}

QString DemoContext::freshKey() {
    static const char digits[] = "0123456789ABCDEF";
    QString key;
    for (int i = 0; i < 12; ++i) key += QLatin1Char(digits[m_random.bounded(16)]);
    return key;
}

qint64 DemoContext::exec(const QString& tsql) {
    return m_connection.ExecSQL(tsql);
}

void DemoContext::insert(const QString& table, const QStringList& columns,
                         const QVariantList& values) {
    QString sql = QStringLiteral("insert into ") + table + QLatin1Char('(') +
                  columns.join(QLatin1Char(',')) + QStringLiteral(")values(");
    ParamMap params;
    for (int i = 0; i < columns.size(); ++i) {
        if (i) sql += QLatin1Char(',');
        sql += QLatin1Char(':') + columns[i];
        params.set(columns[i], i < values.size() ? values[i] : QVariant());
    }
    sql += QLatin1Char(')');
    m_connection.ExecSQL(sql, &params);
}

void createDemoData(TRemoteUdpConnection& connection, int sizeFactor,
                    const QList<DemoRightList>& functionLists) {
    DemoContext context(connection, sizeFactor, functionLists);
    TRemoteUdpConnection::Unit unit(connection);
    for (const GeneratorEntry& entry : sortedGenerators()) entry.generator(context);
    unit.commit();
}

}  // namespace md::server
