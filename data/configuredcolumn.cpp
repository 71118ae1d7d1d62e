#include "configuredcolumn.h"

#include "errors.h"
#include "remoteudpconnection.h"
#include "session.h"

QString ConfiguredColumn(const QString& table, const QString& configuredName) {
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection || !connection->Connected())
        throw EDatabaseError(QStringLiteral("没有数据库连接"));
    const QString name = configuredName.trimmed();
    const md::sql::TableInfo* info = connection->catalog().table(table);
    const md::sql::ColumnInfo* column = info && !info->isView ? info->column(name) : nullptr;
    if (!column)
        throw EDatabaseError(
            QStringLiteral("字段设置中的“%1”不是表 %2 的字段，没有做任何修改。").arg(name, table));
    return column->name;
}
