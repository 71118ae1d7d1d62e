#pragma once
// 价位段设置: named price bands, each from a lower to an upper price. A name
// is given once: a new band may not take the name of a stored one. The list's
// own row statements are the dataset's, keyed by the name.
#include "dicteditor.h"

class Tfrm_GoodsPriceRange : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsPriceRange(QWidget* owner = nullptr);

  protected:
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    bool isNewRow() const;
    bool listedElsewhere(const QString& name) const;
};
