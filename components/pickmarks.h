#pragma once
// The marks of the pickers' lists (goods, goods colours, clients, employees):
// a check column "checkid" that only the picker's own grid changes and that
// is never sent to the server.
class TDBTableView;
class TRemoteUdpDataSet;

namespace md::ui {

// The pick grid's options: footer, no appending, inserting or deleting, and
// input allowed (every column but the mark is read-only, so a click ticks it).
void SetUpPickGrid(TDBTableView& view);

// Every row's "checkid" takes `marked`, under one reset, the current row kept;
// the marks leave no change log behind.
void SetAllMarks(TRemoteUdpDataSet& rows, bool marked);

}  // namespace md::ui
