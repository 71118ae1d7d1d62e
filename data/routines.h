#pragma once
// The small routines every form calls: open a query, execute a statement, write
// the operation log, load a form's rights, complete an EAN-13 code; and where the
// host program's folder and its settings files are.
#include <QString>
#include <QStringList>
#include <QVariant>

class TRemoteUdpDataSet;

namespace md {

// Close; bind to the session's connection; set the SQL text; Open.
void OpenQuery(TRemoteUdpDataSet& dataSet, const QString& sql);
// A dataset made for the purpose runs the statement and is freed.
void ExecuteSQL(const QString& sql);
// The same for statements of our own: values travel as ":name" parameters,
// never inside the text. Every name given must be a parameter of the text.
void OpenQuery(TRemoteUdpDataSet& dataSet, const QString& sql, const QVariantHash& params);
void ExecuteSQL(const QString& sql, const QVariantHash& params);

// One row of syslog: mode name (the window caption), bill id, state word.
void WriteOperationLog(const QString& modeName, const QString& billId, const QString& state);

struct RightFlags {
    bool RightAdd = false;
    bool RightEdit = false;
    bool RightDelete = false;
    bool RightPrint = false;
    bool RightPosted = false;
    bool RightUnposted = false;
    bool RightExcel = false;
};
// The rights query for a list name; all false when the user has no rights row.
RightFlags LoadRights(const QString& listName);
// True when the rights query finds a row for the list name.
bool HasRight(const QString& listName);
// The rights query text, as sent (carriage returns included).
QString RightsQuery(const QString& userNo, const QString& listName);

// The caption the description tables give a column (ba_fieldremark for the
// table, else repofield); empty when neither describes it or the session has
// no open connection.
QString FieldRemark(const QString& table, const QString& column);

// The code's first twelve characters followed by the EAN-13 check digit; empty
// for fewer than twelve characters. A non-digit raises EDatabaseError.
QString CompleteEan13(const QString& code);

// Why a national-code prefix (dt_ltd.fcode) cannot lead national codes: it must
// be 1 to 11 digits, so a serial fits before the check digit. Empty when it can.
QString NationalCodePrefixProblem(const QString& prefix);

// Where the program's files are. Three layouts, told apart by the running
// program's folder:
// - MASTERDATA_HOME names the program folder (tests, portable copies);
// - a build folder holds softconfig.ini beside the program: everything is there;
// - an installed program (<prefix>/bin/masterdata, also merely unpacked) keeps
//   its module and plug-ins in <prefix>/lib/masterdata, its report files in
//   <prefix>/share/masterdata/reports and its default settings in
//   <prefix>/../etc/masterdata; the user's settings are in the user's config
//   folder and localData.db in the user's data folder, which is then the
//   program folder.
// Every folder ends with a separator.
struct ProgramPaths {
    QString programFolder;          // localData.db; the first place for plug-ins
    QString settingsFolder;         // softconfig.ini and colorConfig.ini as the user keeps them
    QString defaultSettingsFolder;  // the installed ones, read when the user has none
    QStringList moduleFolders;      // libmasterdata.so
    QStringList pluginFolders;      // the report plug-in and the label printing library
    QStringList reportFolders;      // report and label definition files, the user's first
};
// The layout for a program running from executableFolder; home is
// MASTERDATA_HOME (empty when unset).
ProgramPaths ResolveProgramPaths(const QString& executableFolder, const QString& home,
                                 const QString& userDataFolder, const QString& userConfigFolder);
// The layout of this process (the user's data folder is created when it is the
// program folder).
ProgramPaths CurrentProgramPaths();
// The first folder holding a file of the name (any case when the exact name is
// absent, as files copied from Windows may be); empty when none does.
QString FindFileInFolders(const QStringList& folders, const QString& fileName);

// The program folder of this process, with a trailing separator.
QString HostProgramFolder();

// Reads a key of an ini file written by Chinese Windows tools (GBK) or by us (UTF-8).
QString ReadIniString(const QString& file, const QString& section, const QString& key,
                      const QString& fallback);

}  // namespace md
