#pragma once
// 货品颜色: the goods-specific descriptions of colours (ba_goodscolor), kept
// in bulk. Left, the goods attribute filter with the goods code box and
// "检索过滤"; the grid's "货号" button picks goods colours in the selection
// dialog, and "自动取数" appends every described colour pair of the goods
// that has no description yet. New rows go with the next "保存".
#include "dicteditor.h"

class QLineEdit;
class QPushButton;
class TCheckTree;
class TRemoteUdpDataSet;

class Tfrm_goodscolor : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_goodscolor(QWidget* owner = nullptr);

    TCheckTree* cxTreeView1;  // the goods attribute filter
    QLineEdit* Edit_goodsid;  // "货号:"
    QPushButton* But_Find;    // "检索过滤"

    // Reopens the list on the attribute filter and the code box.
    void But_FindClick();
    // The "货号" button: picks goods colours; pairs the list holds stay as they are.
    void fGoodsIdButtonClick();

    // The list's statement for an attribute condition (no column prefix) and a code.
    static QString FilterSQL(const QString& condition, const QString& codeText);
    // The goods colour pairs that have no description yet.
    static QString MissingPairsSQL();

  protected:
    void FormCreate() override;
    bool FormCloseQuery() override;
    // "自动取数".
    void find_actionExecute() override;
    void DBmaster_tableBeforePost() override;

  private:
    void appendFetched(const TRemoteUdpDataSet& pairs);

    // Rows "自动取数" appends come from a query that leaves out the described
    // pairs: their posts skip the check for a duplicate.
    bool m_appendingFetched = false;
};
