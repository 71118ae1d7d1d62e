#pragma once
// 货品颜色选择: a modal multi-select list of goods x colour rows. Left, the
// goods attribute filter with the goods code box and "检索过滤"; right, the
// rows of fn_checkgoodscolor('') in the user's brand scope with the selection
// mark checkid, "全选", "确定" and "取消". A double-click toggles the current
// row's mark. The windows that pick goods colours (stock limits, goods colour
// descriptions, serial numbers, client terms, repairs) read the rows marked
// checkid=1 after OK:
//
//     Tfrm_segoodscolor* dialog = md::ui::CreateForm<Tfrm_segoodscolor>(this);
//     if (md::ui::ExecModal(*dialog) == QDialog::Accepted)
//         for (const TPickedGoodsColor& row : dialog->CheckedRows()) ...
//
// or, in one call, md::ui::PickGoodsColors(this). The dialog does not free
// itself when it closes: the caller deletes it after reading (its owner would
// otherwise free it), and CheckedRows keeps answering after OK closed it.
#include <QList>
#include <QString>

#include "goodspickdialog.h"

// One chosen goods colour, as the dialog's row holds it.
struct TPickedGoodsColor {
    QString goodsid;
    QString goodsname;
    QString colorid;
    QString colorname_ch;
    double unitprice = 0;
};

class Tfrm_segoodscolor : public TGoodsPickDialog {
    Q_OBJECT
  public:
    explicit Tfrm_segoodscolor(QWidget* owner = nullptr);

    // The rows whose checkid is 1, in the list's order.
    QList<TPickedGoodsColor> CheckedRows() const;

    // The query of "检索过滤" for an attribute condition (no column prefix)
    // and the code box's text, in the user's brand scope.
    static QString FilterSQL(const QString& condition, const QString& codeText);

  protected:
    QString QuerySQL(const QString& condition, const QString& codeText) const override {
        return FilterSQL(condition, codeText);
    }
};

namespace md::ui {
// Runs the selection dialog modally; the chosen rows after OK, none after Cancel.
QList<TPickedGoodsColor> PickGoodsColors(QWidget* owner);
}  // namespace md::ui
