#pragma once
// 店铺营业员资料: the salespersons of every client. The client list on the
// left chooses whose salespersons the grid shows; the "..." of 员工编号 adds
// employees from the picker while a row is being edited or inserted. The
// database decides about an employee listed twice.
#include "dicteditor.h"

class TShopList;

class Tfrm_ShopEmp : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_ShopEmp(QWidget* owner = nullptr);

    TShopList* ShopList;

    // The "..." of 员工编号: the picker's chosen employees as new rows.
    void fempcodeButtonClick();

  protected:
    void FormCreate() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableBeforeInsert() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforeEdit() override;
    void DBmaster_tableBeforePost() override;

  private:
    void showSalespersons(const QString& shopCode);
};
