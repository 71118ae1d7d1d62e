#pragma once
// 参考成本价重算: the reference costs recomputed from the head warehouse's
// stock and receipts over a period (FN_HousePlanprice), shown, and adopted
// into planprice with "更新当前成本". The head warehouse is the first one
// marked as such; it is read once, when the window opens.
#include <QPointer>

#include "costrecalc.h"

class Tfrm_PlanCac : public TCostRecalcForm {
    Q_OBJECT
  public:
    explicit Tfrm_PlanCac(QWidget* owner = nullptr);

    TRemoteUpdateSql* PlanUpdateSql;  // the adoption's statements on planprice

    // The head warehouse's code; empty when no warehouse is marked as head.
    const QString& HouseCode() const { return m_house; }

    // The one window, made on first use and shown without waiting.
    static Tfrm_PlanCac* ShowFor(QWidget* owner);

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    QString RecalcOwner() override;
    QString OpeningExistsSQL(const QString& h, const QString& d) const override;
    QString SnapshotTableSQL(const QString& h, const QString& d) const override;
    QString InsertOpeningSQL(const QString& h, const QString& t, const QString& d) const override;
    QString PreviousDateSQL(const QString& h, const QString& d) const override;
    QString UpdateOpeningSQL(const QString& h, const QString& p, const QString& d) const override;
    QString ResultSQL(const QString& h, const QString& d, const QString& e) const override;
    TCostAdoption Adoption(const QString& h) override;

  private:
    QString m_house;
};
