#pragma once
// 营业员资料: the salespersons of the user's shops (clients with shifts), each
// with its 启用 flag. The shop list on the left chooses the shop; the "..."
// of 员工编号 adds employees from the picker while a row is being edited or
// inserted, leaving out those the shop already has. Rows are written with the
// window's own statements, keyed by shop and employee.
#include "mdiform.h"

class TDBGrid;
class TDBTableView;
class TRemoteUpdateSql;
class TShopList;

class Tfrm_ShopEmp_Class : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_ShopEmp_Class(QWidget* owner = nullptr);

    TShopList* ShopList = nullptr;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    TRemoteUpdateSql* ShopEmpUpdateSql;

    // The shop list's query: shops only, within the user's client scope.
    static QString ShopsSQL();

    // The "..." of 员工编号: the picker's chosen employees not yet in the shop.
    void fempcodeButtonClick();

  protected:
    void FormCreate() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }
    // The record editor's rule; the shop stays put while its row is edited.
    void UpdateActionState() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void showSalespersons(const QString& shopCode);
};
