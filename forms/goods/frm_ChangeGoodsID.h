#pragma once
// 整理合并货号: the goods code merge. When one goods item was entered under two
// codes, every use of the code to be replaced becomes the code that stays
// (the server procedure P_replaceGoods) and the replaced goods record is
// deleted, both in one transaction. The dialog stays open for the next pair.
#include "baseform.h"

class QLineEdit;
class QPushButton;

class Tfrm_ChangeGoodsID : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_ChangeGoodsID(QWidget* owner = nullptr);

    QLineEdit* Edit_OldGoodsId;  // "被替换的货号:"
    QLineEdit* Edit_NewGoodsId;  // "替换后的货号:"
    QPushButton* But_OK;         // "确定"
    QPushButton* But_Cancel;     // "取消"

    // The checks in order, then the merge; "替换成功!" empties both boxes.
    void But_OKClick();

  private:
    // Runs the merge; false when it failed (nothing of it stays).
    bool merge(const QString& oldCode, const QString& newCode);
};
