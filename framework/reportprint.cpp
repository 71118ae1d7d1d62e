#include "reportprint.h"

#include <QApplication>
#include <QLibrary>
#include <QStringEncoder>

#include "routines.h"
#include "session.h"
#include "waitcursor.h"

class TRemoteUdpConnection;

namespace md::ui {

namespace {

using PrintOneTableFunction = int (*)(const char* reportFile, const char* sql, const char*,
                                      const char*, const char*, TRemoteUdpConnection* connection);

QString& libraryName() {
    static QString name = QStringLiteral("lumtab");
    return name;
}

// The first library of the name that loads answers, with its export or
// without. QLibrary's destructor does not unload, so the library stays.
PrintOneTableFunction loadPrintOneTable() {
    QStringList candidates;
    for (const QString& folder : CurrentProgramPaths().pluginFolders)
        candidates << folder + libraryName();
    candidates << libraryName();  // the library path
    for (const QString& candidate : candidates) {
        QLibrary library(candidate);
        if (library.load())
            return reinterpret_cast<PrintOneTableFunction>(library.resolve("Print_OneTable"));
    }
    return nullptr;
}

}  // namespace

QByteArray ReportLibraryText(const QString& text) {
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid()) return text.toLocal8Bit();
    return encoder.encode(text);
}

void SetReportLibraryName(const QString& name) {
    libraryName() = name;
}

void PrintOneTable(const QString& reportFile, const QString& sql) {
    const PrintOneTableFunction print = loadPrintOneTable();
    if (!print) return;
    TWaitCursor wait;
    const QByteArray file = ReportLibraryText(reportFile);
    const QByteArray statement = ReportLibraryText(sql);
    print(file.constData(), statement.constData(), "", "", "", Session().Connection);
}

}  // namespace md::ui
