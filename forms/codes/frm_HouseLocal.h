#pragma once
// 仓位维护: the storage location of every goods colour a warehouse holds in
// stock. "检索" lists the chosen warehouse's stock with its locations; only
// the location can be typed; "保存" replaces the warehouse's locations with
// those in the list, in one transaction.
#include "mdiform.h"

class QPushButton;
class TDBGrid;
class TDBTableView;

namespace md::ui {
class TLookupCombo;
}

class Tfrm_HouseLocal : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_HouseLocal(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBhouse;  // the warehouses the user may choose
    md::ui::TLookupCombo* Lookup_House;
    QPushButton* But_Find;   // "检索"
    QPushButton* But_Save;   // "保存"
    QPushButton* But_Close;  // "关闭"
    TDBGrid* cxGrid1;        // the stock of the warehouse, on DBmaster_table
    TDBTableView* cxGrid1DBTableView1;
    TRemoteUdpDataSet* DBlocal;  // the warehouse's rows of dt_HstockLocal

    // The stock and locations of one warehouse, as "检索" sends it.
    static QString SearchSQL(const QString& houseCode);
    // The warehouse "检索" listed last; empty before the first search.
    const QString& SearchedHouse() const { return m_house; }

    void But_FindClick();
    void But_SaveClick();

  protected:
    void FormCreate() override;
    // No record editor actions here: they stay disabled.
    void UpdateActionState() override;

  private:
    void fitColumns();

    QString m_house;
};
