#pragma once
// What the repair list asks of the note editor and of the follow-up dialog.
#include <QString>

class QWidget;

namespace md::ui {

// How the note editor opens a note: what it shows and what may change.
enum class RepairNoteMode {
    View = 0,            // double-click: nothing changes
    New = 1,             // 新增
    Edit = 2,            // 修改
    SendToFactory = 3,   // 退厂维修
    FactoryReturn = 4,   // 工厂返回
    ReturnToClient = 5,  // 维修出仓
};

// Opens "商品返修登记" modally on the note (ignored for a new note); true when
// it closed with OK (saved, approved or deleted), so the list reloads.
bool OpenRepairNote(QWidget* parent, const QString& billId, RepairNoteMode mode);

// Opens "维修跟进" for one line; true when a remark was added (the line's
// 回复 count went up by one in the database).
bool AddRepairFollowUp(QWidget* parent, const QString& billId, int lineAutoId);

}  // namespace md::ui

namespace md::repairs {

// The quantity chain of a line: sent to the factory ≤ returned by the client,
// received back ≤ sent, returned to the client ≤ returned by the client, none
// negative. Empty when the line holds; otherwise the refusal, naming the line.
QString QuantityChainProblem(const QString& goodsId, const QString& colorId, const QString& size,
                             double qty, double supQty, double supReturnQty, double cliQty);

}  // namespace md::repairs
