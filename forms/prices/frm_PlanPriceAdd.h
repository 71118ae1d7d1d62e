#pragma once
// 参考成本价导入: a list of goods codes and reference costs, usually pasted
// from a spreadsheet (Ctrl+V; a caption row "货号 ..." is passed over), then
// typed over. "确定" hands the rows with a code to the caller's Import and
// closes; rows it cannot take stay listed with their reason in "说明": a cost
// that is no number or is negative, a code that is no goods item. Rows
// without a code are passed over. "取消" closes without changes.
#include <QList>
#include <QString>
#include <functional>

#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

// A row to import: its number in the list (0-based), goods code and cost.
struct TPastedCost {
    int row = 0;
    QString goodsid;
    double cost = 0;
};

// A row that was not imported, and why, in the user's words.
struct TRefusedCost {
    int row = 0;
    QString reason;
};

class Tfrm_PlanPriceAdd : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_PlanPriceAdd(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBlist;  // fgoodsid, fplanprice, fremark (in memory)
    TDataSource* DbList_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QPushButton* But_OK;      // "确定"
    QPushButton* But_Cancel;  // "取消"

    // Takes the rows of the list that are fit to import; answers the ones it refused.
    std::function<QList<TRefusedCost>(const QList<TPastedCost>&)> Import;

    // Appends the rows of a spreadsheet block: goods code, cost.
    void PasteText(const QString& text);
    void But_OKClick();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    // Why the row cannot be imported as it stands; empty when it can.
    QString rowProblem(int row) const;
};
