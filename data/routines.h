#pragma once
// The small routines every form calls: open a query, execute a statement, write
// the operation log, load a form's rights, complete an EAN-13 code; and where the
// host program's folder and its settings files are.
#include <QString>
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

// The host program's folder (MASTERDATA_HOME when set), with a trailing separator.
QString HostProgramFolder();

// Reads a key of an ini file written by Chinese Windows tools (GBK) or by us (UTF-8).
QString ReadIniString(const QString& file, const QString& section, const QString& key,
                      const QString& fallback);

}  // namespace md
