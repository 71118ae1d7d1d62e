#include "functioncatalog.h"

#include "modulelibrary.h"
#include "remoteudpconnection.h"

namespace md::host {

namespace {

// Functions that change what everybody's data depends on: shown only to users
// who may edit them.
const QStringList kEditRightFunctions = {QStringLiteral("frm_ltd")};

struct ListRights {
    bool browse = false;
    bool edit = false;
};

// The browse and edit rights of every right list the user's groups name.
QHash<QString, ListRights> rightsOf(TRemoteUdpConnection& connection, const QString& userNo) {
    ResultTable rows;
    const ParamMap user{{QStringLiteral("userno"), userNo}};
    connection.OpenSQL(
        QStringLiteral("select b.listname,"
                       " max(case when a.b_browse=1 then 1 else 0 end) as fbrowse,"
                       " max(case when a.b_edit=1 then 1 else 0 end) as fedit"
                       " from dr_rightdetail a join dr_right b on a.autoid=b.autoid"
                       " where a.groupid in (select fgroupid from usermainde where userno=:userno)"
                       " group by b.listname"),
        rows, &user);
    QHash<QString, ListRights> rights;
    for (int row = 0; row < rows.rowCount; ++row) {
        ListRights& list = rights[rows.at(row, 0).toString().trimmed().toLower()];
        list.browse = list.browse || rows.at(row, 1).toInt() == 1;
        list.edit = list.edit || rows.at(row, 2).toInt() == 1;
    }
    return rights;
}

}  // namespace

FunctionCatalog::FunctionCatalog(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                                 const QString& userNo) {
    const QHash<QString, ListRights> rights = rightsOf(connection, userNo);
    for (const md::entry::FormEntry* entry : module.functions()) {
        HostFunction function;
        function.name = QString::fromUtf8(entry->name);
        function.caption = QString::fromUtf8(entry->caption);
        function.menu = int(entry->menu);
        function.modal = entry->modal;
        function.hasWindow = entry->factory != nullptr;
        const ListRights list = rights.value(function.name.toLower());
        function.allowed = kEditRightFunctions.contains(function.name) ? list.edit : list.browse;
        m_functions << function;
    }
}

const HostFunction* FunctionCatalog::find(const QString& name) const {
    for (const HostFunction& function : m_functions)
        if (function.name.compare(name, Qt::CaseInsensitive) == 0) return &function;
    return nullptr;
}

QString FunctionCatalog::whyNot(const QString& name) const {
    const HostFunction* function = find(name);
    if (!function) return QStringLiteral("没有名为“%1”的功能").arg(name);
    if (!function->allowed) return QStringLiteral("您没有使用“%1”的权限").arg(function->caption);
    if (!function->hasWindow)
        return QStringLiteral("“%1”：%2").arg(function->caption, notBuiltText());
    return QString();
}

}  // namespace md::host
