#pragma once
// 条形码批量打印: hang tags for many pieces at once. The user types how many
// tags each goods item, colour and size needs in the print quantity list
// (TBarQuantityGrid over barcodedetail, kept on the server until cleared);
// "批量打印" sends the list, has the server expand it into one row per piece
// (get_barcodetemp, which fills barcode_temp), copies the pieces into the
// local table vbarcodetemp for the external label programs, and prints
// "吊牌.frf" for every piece or starts the label program chosen in the menu.
// Opened from 条形码资料's "批量打印".
#include "mdiform.h"

class QPushButton;
class TBarQuantityGrid;
class TLabelMenu;

class Tfrm_bardetail : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_bardetail(QWidget* owner = nullptr);

    TBarQuantityGrid* Quantities;
    // The piece list: the rows "exec get_barcodetemp" returns.
    TRemoteUdpDataSet* DBpiece_table;
    TLabelMenu* PopupMenu1;
    QPushButton* But_Clear;  // "清 空"
    QPushButton* But_Count;  // "统计" (hidden: the print actions run it)
    QPushButton* But_Print;  // "批量打印"
    QPushButton* But_Close;  // "关 闭"

    // The rows 吊牌.frf prints: the barcode rows of the pieces in barcode_temp.
    static QString PrintSQL();

    // 统计: sends the list, has the server expand it into pieces and copies
    // them into the local table. Refuses an empty list.
    void But_CountClick();
    void But_ClearClick();
    // The label menu at the mouse position.
    void But_PrintClick();
    void Menu_barClick();
    void Menu_ShoeBarClick(int number);

  protected:
    void FormCreate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;

  private:
    void copyPiecesToLocalTable();
};
