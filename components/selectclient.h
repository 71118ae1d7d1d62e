#pragma once
// 客户/店铺选择: a modal multi-select list of clients (shops are clients too).
// A filter bar narrows the rows of fn_checkclient('') by nature, grade, price
// mode and parts of the code and short name; every list keeps to the user's
// client scope. Rows are chosen with the mark checkid ("选择", or "全选" for
// all); "确定" or a double-click on a row ends the dialog with OK. The windows
// that set client terms read the marked rows after OK:
//
//     Tfrm_selectClient* dialog = md::ui::CreateForm<Tfrm_selectClient>(this);
//     if (md::ui::ExecModal(*dialog) == QDialog::Accepted)
//         for (const TPickedClient& client : dialog->CheckedRows()) ...
//     delete dialog;
//
// or, in one call, md::ui::PickClients(this). The dialog does not free itself
// when it closes; CheckedRows keeps answering after OK closed it.
#include <QList>
#include <QString>

#include "baseform.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

// One chosen client, as the dialog's row holds it.
struct TPickedClient {
    QString fcode;
    QString fabbrev;
    QString fname;
    QString fmathod;
    QString fgrad;
    QString fprice_type;
    QString fareacode;
    QString fareaname;
};

class Tfrm_selectClient : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_selectClient(QWidget* owner = nullptr);

    // The filter bar; an empty box adds no condition.
    QComboBox* Combo_mathod;      // "客户性质"
    QComboBox* Combo_grad;        // "客户等级"
    QComboBox* Combo_price_type;  // "价格方式"
    QLineEdit* Edit_code;         // "客户编号"
    QLineEdit* Edit_abbrev;       // "客户简称"
    QPushButton* But_Find;        // "检索过滤"

    TRemoteUdpDataSet* DBmaster_table;
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QCheckBox* CheckBox_all;  // "全选"
    QPushButton* But_OK;      // "确定"
    QPushButton* But_Cancel;  // "取消"

    // "检索过滤": the rows of the filter bar's conditions in the client scope.
    void But_FindClick();
    // "全选": every row's mark takes the box's state.
    void CheckBox_allClick();
    // A double-click on a row ends the dialog with OK.
    void cxGrid1DBTableView1DblClick();

    // The rows whose checkid is 1, in the list's order.
    QList<TPickedClient> CheckedRows() const;

    // The query the dialog opens with, and the one of "检索过滤" for the
    // boxes' texts; both in the user's client scope.
    static QString OpeningSQL();
    static QString FilterSQL(const QString& mathod, const QString& grad, const QString& priceType,
                             const QString& code, const QString& abbrev);

    void done(int result) override;

  protected:
    void FormCreate() override;
    void FormClose() override;
    // Enter in the code or short-name box filters; elsewhere it moves on.
    bool FormKeyPress(QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void openRows(const QString& sql);

    QList<TPickedClient> m_checkedAtClose;  // what OK chose, once the rows are closed
    bool m_accepted = false;
    bool m_centred = false;
};

namespace md::ui {
// Runs the selection dialog modally; the chosen clients after OK, none after Cancel.
QList<TPickedClient> PickClients(QWidget* owner);
}  // namespace md::ui
