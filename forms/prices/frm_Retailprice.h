#pragma once
// 店铺零售价: a shop's retail price of every goods colour it carries, with
// the goods item's shop cost, the margin per piece, the shop's stock and what
// it has sold. "检索" first adds the goods colours the shop carries that have
// no retail price yet (at the tag price) and gives their goods items a shop
// cost where they have none; then lists the shop. Saving writes each changed
// row through P_UpdateOneShopPlanprice; a shop cost belongs to the goods item,
// so the list is read again afterwards and every colour shows the one saved.
#include "dicteditor.h"

class QPushButton;
class TRemoteUpdateSql;

namespace md::ui {
class TLookupCombo;
}

class Tfrm_Retailprice : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_Retailprice(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBshop;          // the shops the user may choose
    md::ui::TLookupCombo* Lookup_Shop;  // "店铺选择:"
    QPushButton* But_Find;              // "检索"
    TRemoteUpdateSql* RetailUpdateSql;

    // The chooser's list: shops with shifts, within the user's client scope.
    static QString ShopListSQL();
    // The goods colours the shop carries that have no retail price yet, added.
    static QString AddMissingSQL(const QString& shop);
    // The shop's list.
    static QString SearchSQL(const QString& shop);
    // The shop "检索" listed last; empty before the first search.
    const QString& SearchedShop() const { return m_shop; }

    void But_FindClick();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void DBmaster_tableAfterOpen() override;
    void post_actionExecute() override;
    // Nothing to change or export before a shop is listed.
    void UpdateActionState() override;

  private:
    void openList(const QString& shop);

    QString m_shop;
};
