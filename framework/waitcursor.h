#pragma once
// The hourglass while a long statement or print runs: shown for the object's
// lifetime, restored on every way out (return, refusal, error).
//
//     TWaitCursor wait;
//     DBmaster_table->Open();
#include <QApplication>

namespace md::ui {

class TWaitCursor {
  public:
    explicit TWaitCursor(Qt::CursorShape shape = Qt::WaitCursor) {
        QApplication::setOverrideCursor(shape);
    }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace md::ui
