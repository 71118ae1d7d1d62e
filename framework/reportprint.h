#pragma once
// The report printing call: tags and labels are printed by the label printing
// library "lumtab" (liblumtab.so beside the program), which runs a statement on
// the session's connection and prints a report file over its rows.
#include <QByteArray>
#include <QString>

namespace md::ui {

// Prints reportFile ("吊牌.frf"; a bare name is looked for in the program's
// folder) over the rows of sql. The library is loaded at each call: from the
// plug-in folders (md::ProgramPaths), then the library path; it stays
// loaded. The wait cursor shows from the loading until the library returns.
// A missing library or export prints nothing and says nothing; the library
// itself tells about a missing report file, an empty result and database errors.
void PrintOneTable(const QString& reportFile, const QString& sql);

// The texts as the library receives them: GBK, or GB18030 (GBK's superset,
// byte for byte the same for every GBK text) where GBK has no character.
QByteArray ReportLibraryText(const QString& text);

// The name the library is loaded by, "lumtab"; tests name one that is missing.
void SetReportLibraryName(const QString& name);

}  // namespace md::ui
