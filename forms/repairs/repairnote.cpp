#include "repairnote.h"

#include <QDialog>
#include <cmath>

#include "frm_GoodsReturnAnwar.h"
#include "frm_GoodsReturnEdit.h"
#include "messages.h"

namespace md::ui {

bool OpenRepairNote(QWidget* parent, const QString& billId, RepairNoteMode mode) {
    Tfrm_GoodsReturnEdit* editor = CreateForm<Tfrm_GoodsReturnEdit>(parent);
    if (!editor->isCreated()) {
        delete editor;
        return false;
    }
    if (!Guard([&] { editor->LoadNote(billId, mode); })) {
        delete editor;
        return false;
    }
    // The editor frees itself when it closes.
    return ExecModal(*editor) == QDialog::Accepted;
}

bool AddRepairFollowUp(QWidget* parent, const QString& billId, int lineAutoId) {
    Tfrm_GoodsReturnAnwar dialog(parent);
    if (ExecModal(dialog) != QDialog::Accepted) return false;
    return Guard([&] { md::repairs::StoreFollowUp(billId, lineAutoId, dialog.Remark()); });
}

}  // namespace md::ui

namespace md::repairs {

QString QuantityChainProblem(const QString& goodsId, const QString& colorId, const QString& size,
                             double qty, double supQty, double supReturnQty, double cliQty) {
    const QString line = QStringLiteral("货号%1 颜色%2 尺码%3：").arg(goodsId, colorId, size);
    const struct {
        const char* caption;
        double value;
    } quantities[] = {
        {"数量", qty}, {"发出数量", supQty}, {"收回数量", supReturnQty}, {"返回客户数量", cliQty}};
    for (const auto& q : quantities) {
        if (q.value < 0)
            return line + QString::fromUtf8(q.caption) + QStringLiteral("不能为负数！");
        if (q.value != std::floor(q.value))
            return line + QString::fromUtf8(q.caption) + QStringLiteral("必须是整数！");
    }
    if (supQty > qty) return line + QStringLiteral("发出数量不能大于数量！");
    if (supReturnQty > supQty) return line + QStringLiteral("收回数量不能大于发出数量！");
    if (cliQty > qty) return line + QStringLiteral("返回客户数量不能大于数量！");
    return {};
}

}  // namespace md::repairs
