#pragma once
// The report plug-in bridge: the "导出" action of the client, goods, supplier
// and VIP member forms opens a report window of the sibling plug-in "vosklin"
// through the same entry contract as this module's.
#include <QString>

class QObject;

namespace md {

// Loads the plug-in from the host program's folder (once; it is never
// unloaded) and asks it for the report window `reportName` ("frm_re_client",
// "frm_re_goods", "frm_re_supplier", "frm_re_vipcard") with the session's
// context. Does nothing, without a message, when the plug-in is missing.
void OpenReportForm(const QString& reportName);

// The window the plug-in returned last (kept; nothing else reads it).
QObject* lastReportWindow();

}  // namespace md
