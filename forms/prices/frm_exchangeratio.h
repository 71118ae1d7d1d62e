#pragma once
// 客户退换货率设置: the return and exchange terms of each client, one row per
// client: the kind of limit (quantity or amount), the period in days and the
// ratios for futures, replenishment, distribution and two more. The six
// ratio columns carry the names the company gave its six discount rates,
// matched by the fid of their ba_fieldremark rows (1001 .. 1006).
#include "clientterms.h"

class Tfrm_exchangeratio : public Tbase_frmClientTerms {
    Q_OBJECT
  public:
    explicit Tfrm_exchangeratio(QWidget* owner = nullptr);

    static QString CaptionSQL();
    // The ratio column that the ba_fieldremark row of this fid names; empty for other fids.
    static QString RatioFieldOf(const QString& fid);

  protected:
    void FormCreate() override;
    void FormShow() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void applyRatioCaptions();
    bool listedTwice(const QString& code) const;
};
