#pragma once
// VIP类别设定: the card categories, edited in one banded grid: the category's
// own discount and points (类别折扣), and how spending earns points back
// (积分计算方式). A new category is numbered "100" followed by the row count
// plus one (1004 after three, 10010 after nine).
#include "dicteditor.h"

class Tfrm_vipLB : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_vipLB(QWidget* owner = nullptr);

    // The id of a category added to a list of `rowCount` rows.
    static QString CategoryId(int rowCount);

  protected:
    void FormCreate() override;
    void DBmaster_tableBeforeInsert() override;
    void DBmaster_tableNewRecord() override;

  private:
    int m_rowsBeforeInsert = 0;
};
