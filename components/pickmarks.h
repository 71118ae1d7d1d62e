#pragma once
// The marks of the pickers' lists (goods, goods colours, clients, employees):
// a check column "checkid" that only the picker's own grid changes and that
// is never sent to the server.
#include <QList>

class QKeyEvent;
class QWidget;
class TDBTableView;
class TRemoteUdpDataSet;

namespace md::ui {

// The pick grid's options: footer, no appending, inserting or deleting, and
// input allowed (every column but the mark is read-only, so a click ticks it).
void SetUpPickGrid(TDBTableView& view);

// Every row's "checkid" takes `marked`, under one reset, the current row kept;
// the marks leave no change log behind.
void SetAllMarks(TRemoteUdpDataSet& rows, bool marked);

// The rows whose "checkid" is set, in the list's order.
QList<int> MarkedRows(const TRemoteUdpDataSet& rows);

// Enter or the keypad's Enter with no other modifier: in a picker's search
// box it runs the search.
bool IsPlainEnter(const QKeyEvent& event);

// A picker opens over the middle of the host's main window.
void CentreOnHostWindow(QWidget& dialog);

}  // namespace md::ui
