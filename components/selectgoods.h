#pragma once
// 货号选择: the goods picker. Goods rows of fn_checkgoods('') in the user's
// brand scope, narrowed by the goods attribute filter and a code fragment,
// each with its selection mark. The windows that pick goods codes (supplier
// quotes, reference and shop cost prices) read the marked rows after OK:
//
//     for (const TPickedGoods& goods : md::ui::PickGoods(this)) ...
//
// or keep the dialog for a while:
//
//     Tfrm_selectgoods* dialog = md::ui::CreateForm<Tfrm_selectgoods>(this);
//     if (md::ui::ExecModal(*dialog) == QDialog::Accepted)
//         for (const TPickedGoods& goods : dialog->CheckedRows()) ...
//     delete dialog;
#include "goodspickdialog.h"

// One chosen goods item, as the dialog's row holds it.
struct TPickedGoods {
    QString goodsid;
    QString goodsname;
    QString brand;
    QString sort;
    QString ayear;
    QString season;
    QString unit;
    QString size_class;
    double unitprice = 0;
};

class Tfrm_selectgoods : public TGoodsPickDialog {
    Q_OBJECT
  public:
    explicit Tfrm_selectgoods(QWidget* owner = nullptr);

    // The rows whose checkid is 1, in the list's order.
    QList<TPickedGoods> CheckedRows() const;

    // The query of "检索过滤" for an attribute condition (no column prefix)
    // and the code box's text, in the user's brand scope.
    static QString FilterSQL(const QString& condition, const QString& codeText);

  protected:
    QString QuerySQL(const QString& condition, const QString& codeText) const override {
        return FilterSQL(condition, codeText);
    }
};

namespace md::ui {
// Runs the goods picker modally; the chosen goods after OK, none after Cancel.
QList<TPickedGoods> PickGoods(QWidget* owner);
}  // namespace md::ui
