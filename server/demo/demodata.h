#pragma once
// Demo data: a database a newcomer recognises on first start, and large data
// sets for the benchmarks. Each area of the system adds a generator for its own
// tables with a static registrar; generators run in order of their number, all
// inside one transaction:
//
//   static const md::server::RegisterDemoGenerator reg(30, "colours", &generateColours);
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "remoteudpconnection.h"

namespace md::server {

// The number of goods items of the everyday demo; benchmarks ask for more.
inline constexpr int kDemoGoodsCount = 300;

// A right list the host offers as a function: its name and caption.
struct DemoRightList {
    QString name;
    QString caption;
};

// Codes the generators of different areas agree on.
namespace demo {
inline const QString kAdminUser = QStringLiteral("admin");
inline const QString kAdminPassword = QStringLiteral("admin");
inline const QString kShopUser = QStringLiteral("lixiao");
inline const QString kShopPassword = QStringLiteral("123456");
inline const QString kAdminGroup = QStringLiteral("G01");
inline const QString kShopGroup = QStringLiteral("G02");
// The shop user's scope: two shops, one brand, one warehouse.
inline const QStringList kShopUserShops = {QStringLiteral("S0101"), QStringLiteral("S0102")};
inline const QString kShopUserBrand = QStringLiteral("雅韵");
inline const QString kShopUserWarehouse = QStringLiteral("CK01");
// Seven digits leave five for serials: room for every demo barcode.
inline const QString kNationalCodePrefix = QStringLiteral("6901234");
}  // namespace demo

class DemoContext {
  public:
    DemoContext(TRemoteUdpConnection& connection, int sizeFactor,
                QList<DemoRightList> functionLists);

    TRemoteUdpConnection& connection() const { return m_connection; }
    // The goods count the data is sized for; kDemoGoodsCount for the everyday demo.
    int sizeFactor() const { return m_sizeFactor; }
    // A count given for the everyday demo, scaled to the size factor (at least 1).
    int scaled(int demoCount) const;
    // The host's functions, whose right lists the demo users get rights on.
    const QList<DemoRightList>& functionLists() const { return m_functionLists; }
    // Fixed seed: the same demo every time.
    QRandomGenerator& random() { return m_random; }
    // A 12-character key as the server's key view hands them out.
    QString freshKey();

    qint64 exec(const QString& tsql);
    // One row; the statement text depends only on table and columns, so its
    // translation is made once and reused for every further row.
    void insert(const QString& table, const QStringList& columns, const QVariantList& values);

  private:
    TRemoteUdpConnection& m_connection;
    int m_sizeFactor;
    QList<DemoRightList> m_functionLists;
    QRandomGenerator m_random;
};

using DemoGenerator = void (*)(DemoContext&);

struct RegisterDemoGenerator {
    RegisterDemoGenerator(int order, const char* name, DemoGenerator generator);
};

// The registered generators' names in the order they run.
QStringList demoGeneratorNames();

// Fills an empty database (schema in place) with demo data. sizeFactor 0 means
// kDemoGoodsCount. functionLists are the host's functions (registry name and
// caption); the administrator gets every right on each of them.
void createDemoData(TRemoteUdpConnection& connection, int sizeFactor = kDemoGoodsCount,
                    const QList<DemoRightList>& functionLists = {});

}  // namespace md::server
