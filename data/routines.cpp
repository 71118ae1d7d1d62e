#include "routines.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "errors.h"
#include "inifile.h"
#include "remoteudpconnection.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "sqlquote.h"

namespace md {

void OpenQuery(TRemoteUdpDataSet& dataSet, const QString& sql) {
    dataSet.Close();
    dataSet.setSetupUdpParent(Session().Connection);
    dataSet.SetSQL(sql);
    dataSet.Open();
}

void ExecuteSQL(const QString& sql) {
    ExecuteSQL(sql, {});
}

namespace {

void bindAll(TRemoteUdpDataSet& dataSet, const QVariantHash& params) {
    for (auto it = params.begin(); it != params.end(); ++it)
        dataSet.ParamByName(it.key()).SetValue(it.value());
}

}  // namespace

void OpenQuery(TRemoteUdpDataSet& dataSet, const QString& sql, const QVariantHash& params) {
    dataSet.Close();
    dataSet.setSetupUdpParent(Session().Connection);
    dataSet.SetSQL(sql);
    bindAll(dataSet, params);
    dataSet.Open();
}

void ExecuteSQL(const QString& sql, const QVariantHash& params) {
    TRemoteUdpDataSet query;
    query.setSetupUdpParent(Session().Connection);
    query.SetSQL(sql);
    bindAll(query, params);
    query.ExecSQL();
    query.Close();
}

void WriteOperationLog(const QString& modeName, const QString& billId, const QString& state) {
    // One clock reading, so a write at midnight cannot pair a new date with an old time.
    const QDateTime now = QDateTime::currentDateTime();
    const QString sql =
        QStringLiteral(
            "insert into "
            "syslog(logindate,begintime,userno,clientname,modename,fbillid,fstate)values('") +
        now.date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("'") +
        QStringLiteral(",") + QStringLiteral("'") +
        now.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("'") +
        QStringLiteral(",") + QStringLiteral("'") + SqlText(Session().UserNo) +
        QStringLiteral("'") + QStringLiteral(",") + QChar(13) + QStringLiteral("'") + QString() +
        QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") + SqlText(modeName) +
        QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") + SqlText(billId) +
        QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") + SqlText(state) +
        QStringLiteral("'") + QStringLiteral(")");
    ExecuteSQL(sql);
}

QString RightsQuery(const QString& userNo, const QString& listName) {
    return QStringLiteral(
               "select top 1 a.* from dr_rightdetail a,dr_right b where a.autoid=b.autoid") +
           QChar(13) +
           QStringLiteral(
               "and(a.b_add=1 or a.b_edit=1 or a.b_del=1 or a.b_browse=1 or a.b_posted=1 or "
               "a.b_print=1 or a.b_excel=1 or a.b_unposted=1)") +
           QChar(13) +
           QStringLiteral("and(a.groupid in(select fgroupid from usermainde where userno='") +
           SqlText(userNo) + QStringLiteral("'") + QStringLiteral("))and(b.listname=") +
           QStringLiteral("'") + SqlText(listName) + QStringLiteral("'") + QStringLiteral(")");
}

RightFlags LoadRights(const QString& listName) {
    RightFlags flags;
    TRemoteUdpDataSet query;
    OpenQuery(query, RightsQuery(Session().UserNo, listName));
    if (!query.IsEmpty()) {
        flags.RightAdd = query.FieldByName(QStringLiteral("b_add")).AsBoolean();
        flags.RightEdit = query.FieldByName(QStringLiteral("b_edit")).AsBoolean();
        flags.RightDelete = query.FieldByName(QStringLiteral("b_del")).AsBoolean();
        flags.RightPrint = query.FieldByName(QStringLiteral("b_print")).AsBoolean();
        flags.RightPosted = query.FieldByName(QStringLiteral("b_posted")).AsBoolean();
        flags.RightUnposted = query.FieldByName(QStringLiteral("b_unposted")).AsBoolean();
        flags.RightExcel = query.FieldByName(QStringLiteral("b_excel")).AsBoolean();
    }
    query.Close();
    return flags;
}

bool HasRight(const QString& listName) {
    TRemoteUdpDataSet query;
    OpenQuery(query, RightsQuery(Session().UserNo, listName));
    const bool found = !query.IsEmpty();
    query.Close();
    return found;
}

QString FieldRemark(const QString& table, const QString& column) {
    TRemoteUdpConnection* connection = Session().Connection;
    if (!connection || !connection->Connected() || column.isEmpty()) return QString();
    const ParamMap params{{QStringLiteral("ftable"), table}, {QStringLiteral("fcolumn"), column}};
    for (const QString& sql :
         {QStringLiteral("select ffieldremark from ba_fieldremark where ftablename=:ftable "
                         "and fname=:fcolumn and ffieldremark<>''"),
          QStringLiteral("select fieldremark from repofield where fieldname=:fcolumn "
                         "and fieldremark<>''")}) {
        ResultTable rows;
        connection->OpenSQL(sql, rows, &params);
        if (rows.rowCount > 0) return rows.at(0, 0).toString().trimmed();
    }
    return QString();
}

QString CompleteEan13(const QString& code) {
    if (code.size() < 12) return QString();
    const QString digits = code.left(12);
    int odd = 0;   // d1, d3, ... d11
    int even = 0;  // d2, d4, ... d12
    for (int i = 0; i < 12; ++i) {
        const QChar c = digits.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw EDatabaseError(QStringLiteral("条码“%1”的第%2位“%3”不是数字，无法计算校验位")
                                     .arg(digits)
                                     .arg(i + 1)
                                     .arg(c));
        (i % 2 == 0 ? odd : even) += c.unicode() - '0';
    }
    const int check = (10 - (3 * even + odd) % 10) % 10;  // 10 is written as its last digit, 0
    return digits + QChar(u'0' + check);
}

QString NationalCodePrefixProblem(const QString& prefix) {
    bool digits = !prefix.isEmpty() && prefix.size() <= 11;
    for (QChar c : prefix)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) digits = false;
    if (digits) return QString();
    return QStringLiteral("国标码“%1”应为1到11位数字，才能留出流水号的位置。").arg(prefix);
}

namespace {

QString asFolder(const QString& path) {
    QString folder = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

void appendOnce(QStringList& folders, const QString& folder) {
    if (!folders.contains(folder)) folders.append(folder);
}

}  // namespace

ProgramPaths ResolveProgramPaths(const QString& executableFolder, const QString& home,
                                 const QString& userDataFolder, const QString& userConfigFolder) {
    // On Windows this folder name was lower-cased, harmless on a case-insensitive
    // file system; here names are case-sensitive, so the path is kept as it is.
    const QString exe = asFolder(executableFolder);
    const QString libraries = asFolder(exe + QStringLiteral("../lib/masterdata"));
    const QString reports = asFolder(exe + QStringLiteral("../share/masterdata/reports"));
    ProgramPaths paths;
    paths.defaultSettingsFolder = asFolder(exe + QStringLiteral("../../etc/masterdata"));
    const bool buildFolder = QFileInfo::exists(exe + QStringLiteral("softconfig.ini"));
    if (!home.isEmpty())
        paths.programFolder = paths.settingsFolder = asFolder(home);
    else if (buildFolder)
        paths.programFolder = paths.settingsFolder = exe;
    else {
        paths.programFolder = asFolder(userDataFolder);
        paths.settingsFolder = asFolder(userConfigFolder);
    }
    const bool installed = home.isEmpty() && !buildFolder;
    paths.moduleFolders = {exe};
    appendOnce(paths.moduleFolders, libraries);
    if (installed) {
        // A plug-in in the user's folder is not loaded behind the package's back.
        paths.pluginFolders = {libraries, exe};
    } else {
        paths.pluginFolders = {paths.programFolder};
        appendOnce(paths.pluginFolders, exe);
        appendOnce(paths.pluginFolders, libraries);
    }
    paths.reportFolders = {paths.programFolder};
    appendOnce(paths.reportFolders, exe);
    appendOnce(paths.reportFolders, reports);
    return paths;
}

ProgramPaths CurrentProgramPaths() {
    const QString exe =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    // The names the host's own folders have (its application name is "masterdata").
    const QString name = QStringLiteral("/masterdata");
    const QString data =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + name;
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + name;
    ProgramPaths paths =
        ResolveProgramPaths(exe, qEnvironmentVariable("MASTERDATA_HOME"), data, config);
    if (paths.programFolder == asFolder(data)) QDir().mkpath(data);
    return paths;
}

QString FindFileInFolders(const QStringList& folders, const QString& fileName) {
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder + fileName)) return folder + fileName;
        const QStringList entries = QDir(folder).entryList(QDir::Files);
        for (const QString& entry : entries)
            if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return folder + entry;
    }
    return QString();
}

QString HostProgramFolder() {
    return CurrentProgramPaths().programFolder;
}

QString ReadIniString(const QString& file, const QString& section, const QString& key,
                      const QString& fallback) {
    return IniFile::load(file).value(section, key, fallback);
}

}  // namespace md
