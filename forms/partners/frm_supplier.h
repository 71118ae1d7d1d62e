#pragma once
// 供应商资料: the supplier file dt_supplier on the grid editor, in two pages:
// "列表", every supplier read-only with the row count, and "详细说明", the
// editors of one supplier. A supplier whose code changed is saved together
// with P_replaceSupplier, which carries the new code into every table holding
// supplier codes; a supplier named by a document cannot be deleted, and a
// deleted supplier's quotes go with it. "导出" opens the supplier report of
// the report plug-in.
#include "dicteditor.h"

class QComboBox;
class QTabWidget;
class QToolButton;
class TDBEdit;
class TDBLookupComboBox;
class TDBNumberEdit;
class TRemoteUpdateSql;
class TTypedConfirmation;

class Tfrm_supplier : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_supplier(QWidget* owner = nullptr);

    // The supplier's statements and the documents that name a supplier.
    static QString InsertSQL();
    static QString ModifySQL();
    static QString DeleteSQL();
    static QString DocumentsSQL(const QString& code);

    QTabWidget* PageControl1;  // "列表", "详细说明"
    QWidget* TabList;
    QWidget* TabDetail;

    TDBEdit* Edit_Code;
    TDBEdit* Edit_Abbrev;
    TDBEdit* Edit_Name;
    QComboBox* Combo_Sort;  // the category by name; the record keeps its code
    QToolButton* But_Sort;  // the category table 供应商类别
    TDBLookupComboBox* Lookup_Client;
    TDBNumberEdit* Edit_RegMoney;
    TDBNumberEdit* Edit_EmpQty;
    TDBNumberEdit* Edit_YearMoney;

    TRemoteUpdateSql* SupplierUpdateSql;
    TRemoteUdpDataSet* DBptype;   // select * from ba_ptype
    TRemoteUdpDataSet* DBarea;    // select * from ba_area
    TRemoteUdpDataSet* DBclient;  // select fcode,fabbrev from dt_client

    void ShowListPage();
    void ShowDetailPage();
    // The code and the short name as the user confirms them.
    void CodeConfirmed();
    void AbbrevConfirmed();
    // "..." beside the category: the category table, then its list again.
    void But_SortClick();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void PostPendingEdits() override;
    void UpdateActionState() override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void excel_actionExecute() override;

    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void buildListPage();
    void buildDetailPage();
    void loadCategories();
    void checkNumbers();
    [[noreturn]] void refuseAt(QWidget* editor, const QString& text);
    // The code the current record is saved under; empty for a new one.
    QString savedCode() const;

    TTypedConfirmation* m_codeCheck = nullptr;
    TTypedConfirmation* m_abbrevCheck = nullptr;
};
