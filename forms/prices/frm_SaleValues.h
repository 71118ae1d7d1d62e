#pragma once
// 销售提成方案: the sales and design commission per piece by business type
// and monthly sales quantity range, with their total. Types come from a list
// of those in use, and a type typed that is not in it joins it. The ranges of
// one type do not overlap; two may meet at an end.
#include "dicteditor.h"

class TRemoteUpdateSql;

class Tfrm_SaleValues : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_SaleValues(QWidget* owner = nullptr);

    TRemoteUpdateSql* SaleUpdateSql;

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;
    void DBmaster_tableAfterPost() override;

  private:
    // The other row of the same type whose range overlaps the current row's,
    // as "“零售”的100-300件"; empty when none does.
    QString overlappedRange() const;
};
