#pragma once
// Export of a grid or tree list to a spreadsheet file (.xlsx): the visible
// columns in screen order under their captions, then every row in view (not
// only the rows on screen), numbers as numbers.
#include <QString>
#include <functional>

class IReportSource;
class QFileDialog;
class QWidget;

namespace md::ui {

// Throws std::runtime_error naming the file when it cannot be written.
void ExportToXlsx(const IReportSource& source, const QString& fileName,
                  const QString& sheetName = QStringLiteral("Sheet1"));

// The save dialog of an export: default suffix "xlsx", filter "excel (*.xlsx)".
QFileDialog* MakeExportDialog(QWidget* parent, const QString& name = QStringLiteral("SaveDialog1"));

// Opens a file with the desktop's program for it, without waiting.
void OpenWithDesktop(const QString& fileName);
// Tests replace the desktop; an empty function restores it.
void SetDesktopOpener(std::function<void(const QString&)> opener);

}  // namespace md::ui
