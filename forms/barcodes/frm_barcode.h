#pragma once
// 条形码资料: the barcodes of goods variants (goods code, colour, size), found
// by the goods attribute filter, a code fragment and a size. The grid is the
// record editor's dataset: edits stay cached until "保存". Under the grid the
// selection marks and the batch change of the printed size or colour of the
// marked rows; in the grid's pop-up menu "清空条形码2" and "生成国标码", which
// write to the server at once. "生成向导" opens the wizard that makes the
// missing rows, "批量打印" the batch label printing.
#include <QPointer>

#include "mdiform.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class TCheckTree;
class TDBGrid;
class TDBTableView;

class Tfrm_barcode : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_barcode(QWidget* owner = nullptr);

    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QMenu* PopupMenu1;

    // The search, left of the grid.
    TCheckTree* CheckTree1;   // the goods attribute filter
    QLineEdit* Edit_GoodsId;  // "货号:"
    QLineEdit* Edit_Size;     // "尺码:"
    QPushButton* But_Filter;  // "检索过滤"

    // The selection marks and the batch change, under the grid.
    QCheckBox* Check_All;    // "全选"
    QComboBox* Combo_Field;  // "打印尺码", "打印颜色编号"
    QLineEdit* Edit_Value;
    QPushButton* But_FieldOK;  // "确定"
    QProgressBar* ProgressBar1;

    QAction* wizard_action;        // "生成向导"
    QAction* batchprint_action;    // "批量打印"
    QAction* clearcode2_action;    // "清空条形码2"
    QAction* nationalcode_action;  // "生成国标码"

    // The grid's statement for the attribute condition and the code and size boxes.
    static QString SearchSQL(const QString& condition, const QString& codeText,
                             const QString& sizeText);
    // The serial after the highest stored barcode 2: what is left once every
    // occurrence of the prefix is removed, plus one (1 when that is no number).
    static qint64 NextNationalSerial(const QString& storedMax, const QString& prefix);

    void But_FilterClick();
    void Check_AllClick();
    void But_FieldOKClick();
    void clearcode2_actionExecute();
    void nationalcode_actionExecute();
    void wizard_actionExecute();
    void batchprint_actionExecute();

  protected:
    void FormCreate() override;
    void UpdateActionState() override;
    void append_actionExecute() override;
    void post_actionExecute() override;
    void del_actionExecute() override;
    void print_actionExecute() override;
    void DBmaster_tableBeforePost() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    void buildFilterPanel(QWidget* parent);
    void buildGrid(QWidget* parent);
    void buildBatchBar(QWidget* parent);
    // Opens the grid on the statement; the grid takes the rows in one go.
    void openGrid(const QString& sql);
    // The cached changes go to the server after the duplicate barcode check.
    void sendChanges();
    void refuseDuplicateBarcodes();
    // What the grid holds unsaved goes first: searches reread the rows, and the
    // writes to barcode 2 must not meet older cached values of their rows.
    void sendPendingChanges();

    QPointer<QDialog> m_wizard;
    QPointer<QDialog> m_batchPrint;
    bool m_writingCodes = false;  // 生成国标码 is posting codes the server gets as well
};
