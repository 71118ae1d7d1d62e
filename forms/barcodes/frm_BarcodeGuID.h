#pragma once
// 生成产品序列号: quantities per goods item, colour and size (the print
// quantity list, page "打印数量") become one serial number per piece with a
// random verification code ("统计"); page "明细表" lists the serials of the
// run. Record numbers continue after the highest stored one of each variant;
// a serial is barcode 1 followed by the last four digits of its record number.
// "批量打印" prints the run's labels through the label report or an external
// label program, which reads the local copy BarcodeGuID.
#include "mdiform.h"

class QProgressBar;
class QPushButton;
class QTabWidget;
class TBarQuantityGrid;
class TDBGrid;
class TDBTableView;
class TLabelMenu;

class Tfrm_BarcodeGuID : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_BarcodeGuID(QWidget* owner = nullptr);

    QTabWidget* PageControl1;      // "打印数量", "明细表"
    TBarQuantityGrid* Quantities;  // the print quantity list
    TDBGrid* cxGrid2;              // the serials of the run (DBmaster_table)
    TDBTableView* cxGrid2DBTableView1;
    TRemoteUdpDataSet* DBguid;     // new rows of barcodeguid
    TRemoteUdpDataSet* DBsummary;  // pieces per variant, open once a run has been made
    QPushButton* But_Clear;        // "清 空"
    QPushButton* But_Count;        // "统计"
    QPushButton* But_Print;        // "批量打印"
    QPushButton* But_Close;        // "关 闭"
    QProgressBar* ProgressBar1;
    TLabelMenu* LabelMenu;

    // Barcode 1 followed by the last four digits of the record number.
    static QString SerialNumber(const QString& barcode1, qint64 recordNumber);
    // Six characters of 0-9 and A-Z: each drawn uniformly from 0-9, A-Z and
    // a-z, then upper-cased, so a letter is twice as likely as a digit.
    static QString NewVerificationCode();
    // The statement of the pieces per variant, each with the highest stored
    // record number (1 when there is none) and the variant's barcode 1.
    static QString SummarySQL();
    // Empties the local table BarcodeGuID and copies into it the rows of `sql`
    // (none when empty): the n-th column of a row goes to the (n+1)-th local
    // column, the first local column is the local table's own number.
    static void CopyLabelRows(const QString& sql);

    void But_ClearClick();
    void But_CountClick();
    void But_PrintClick();
    void Menu_barClick();
    void StartLabelProgram(int number);

    bool Counted() const;  // a run of this window has made serials

  protected:
    void FormCreate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent& event) override;
    TDBTableView* MasterView() const override { return cxGrid2DBTableView1; }

  private:
    void refuseBadQuantities();
    void sendQuantities();
    int makeSerials();
};
