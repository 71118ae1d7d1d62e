#pragma once
// 货品类别折扣: discount rates of a client for a goods category (brand, year,
// season, category). Rows are numbered by the window: the highest fid read
// when the table opened, plus one for each new row. Client and brand are
// required; year, season and category may stay empty (every one of them).
#include "clientterms.h"

class Tfrm_Lbdiscount : public Tbase_frmClientTerms {
    Q_OBJECT
  public:
    explicit Tfrm_Lbdiscount(QWidget* owner = nullptr);

    static QString CaptionSQL();
    // The known values of a goods field ("brand", "Ayear", "season", "sort").
    static QString FieldValuesSQL(const QString& field);

    // The highest row number given so far.
    int RowCounter() const { return m_counter; }

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void fillValueLists();

    int m_counter = 0;
};
