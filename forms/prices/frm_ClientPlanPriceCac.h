#pragma once
// 店铺成本价重算: a shop's costs recomputed from its stock snapshot and the
// goods sold to it over a period (FN_ClientPlanprice), shown, and adopted
// into dt_clientplanprice with "更新当前成本". Only shops in use that keep
// shifts are offered, within the user's client scope.
#include <QPointer>

#include "costrecalc.h"

namespace md::ui {
class TLookupCombo;
}

class Tfrm_ClientPlanPriceCac : public TCostRecalcForm {
    Q_OBJECT
  public:
    explicit Tfrm_ClientPlanPriceCac(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBshop;          // the shops offered
    md::ui::TLookupCombo* Lookup_shop;  // "店铺选择:"
    TRemoteUpdateSql* CostUpdateSql;    // the adoption's statements on dt_clientplanprice

    // A shop was chosen: its snapshot dates fill the opening date chooser.
    void Lookup_shopChange();

    static QString ShopListSQL();

    // The one window, made on first use and shown without waiting.
    static Tfrm_ClientPlanPriceCac* ShowFor(QWidget* owner);

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    QString RecalcOwner() override;
    QString OpeningExistsSQL(const QString& s, const QString& d) const override;
    QString SnapshotTableSQL(const QString& s, const QString& d) const override;
    QString InsertOpeningSQL(const QString& s, const QString& t, const QString& d) const override;
    QString PreviousDateSQL(const QString& s, const QString& d) const override;
    QString UpdateOpeningSQL(const QString& s, const QString& p, const QString& d) const override;
    QString ResultSQL(const QString& s, const QString& d, const QString& e) const override;
    TCostAdoption Adoption(const QString& s) override;

  private:
    QString chosenShop() const;

    QString m_datesOf;  // the shop whose dates the chooser lists
};
