#pragma once
// The 确定/取消 row of a plain dialog (one not built on the base forms).
#include <functional>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace md::ui {

struct TOkCancel {
    QPushButton* ok = nullptr;      // "But_OK"
    QPushButton* cancel = nullptr;  // "But_Cancel": rejects the dialog
};

// Adds the row at the right of `layout`. Neither button takes Enter (it belongs
// to the fields, a scanner's above all); 确定 runs onOk through the guard.
TOkCancel AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, std::function<void()> onOk);

}  // namespace md::ui
