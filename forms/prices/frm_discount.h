#pragma once
// 客户合同折扣设置: the six contract discount rates of every client, edited
// in a grid beside the client tree. Only the rates change: clients are
// neither added nor deleted here, and the rows write back the six rates alone.
// The rates' names and whether each is shown are the company's
// (ba_fieldremark of dt_client).
#include "clientterms.h"

class TRemoteUpdateSql;

class Tfrm_discount : public Tbase_frmClientTerms {
    Q_OBJECT
  public:
    explicit Tfrm_discount(QWidget* owner = nullptr);

    TRemoteUpdateSql* DiscountUpdateSql;

    static QString CaptionSQL();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    // Rows are only edited: adding and deleting stay off whatever the rights.
    void UpdateActionState() override;
};
