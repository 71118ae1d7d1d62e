#include "repairnote.h"

// Placeholders until the note editor and the follow-up dialog land.
namespace md::ui {
bool OpenRepairNote(QWidget*, const QString&, RepairNoteMode) {
    return false;
}
bool AddRepairFollowUp(QWidget*, const QString&, int) {
    return false;
}
}  // namespace md::ui

namespace md::repairs {
QString QuantityChainProblem(const QString&, const QString&, const QString&, double, double, double,
                             double) {
    return {};
}
}  // namespace md::repairs
