#pragma once
// 销售目标设置: the monthly sales targets of each shop for a year, with their
// total. A user restricted to some clients sees and picks only those shops.
// Picking shops adds a saved row of the current calendar year for each shop
// that has none yet, its months empty.
#include <QDate>
#include <functional>

#include "dicteditor.h"

class TField;
class TRemoteUpdateSql;

class Tfrm_salesoure : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_salesoure(QWidget* owner = nullptr);

    TRemoteUpdateSql* SaleSoureUpdateSql;
    // Today's date; the current year is read from it on every scroll.
    std::function<QDate()> Today = [] { return QDate::currentDate(); };

    // The master's query in the user's client scope.
    static QString MasterSQL();
    const QString& CurrentYear() const { return m_currentYear; }

    // The selection button of the shop code, while the list is being edited.
    void fclientcodeButtonClick();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableAfterScroll() override;
    void DBmaster_tableBeforePost() override;

  private:
    void shopChanged(TField& field);
    bool listedTwice(const QString& shop, const QString& year) const;

    QString m_currentYear;
    TField* m_sumto = nullptr;
};
