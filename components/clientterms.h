#pragma once
// The client terms windows: the shared client columns and checks, and the
// base of the three built on the tree editor (contract discounts,
// category discounts, return ratios): the clients as a tree on the left (by
// fid and fparentid, "编号" and "简称"), the edited table as a grid on the
// right. The tree shows the client list DBclient, or the edited rows
// themselves when those are the clients. Choosing a client in the tree moves
// the grid to that client's first row.
//
// Only the grid edits: "新增" appends a row; the tree editor's hierarchy rules
// (parent codes, the code editor, the position kept by record number) do not
// apply to these tables. "导出" writes the tree editor's log word, then asks
// for a file and exports the grid.
#include <QStringList>
#include <functional>

#include "treeeditor.h"

class TDBGrid;
class TDBTableView;
class TDataSource;
class TField;
class TGridColumn;

namespace md::ui {
// A code set in any case is kept as `list` spells it in `keyField` (the
// field's OnChange); a code the list does not hold stays as it is.
void KeepListSpelling(TField& field, TRemoteUdpDataSet* list,
                      const QString& keyField = QStringLiteral("fcode"));
// The read-only look-ups "客户简称", "客户性质", "客户等级" of the client
// code in `codeField`: lookup fields of `rows` over `clients` (fcode,
// fabbrev, fmathod, fgrad) and their grid columns. Before `rows` opens.
void AddClientLookupColumns(TDBTableView& view, TRemoteUdpDataSet& rows, const QString& codeField,
                            TRemoteUdpDataSet* clients);
// The input check of a code column: a typed code that `list` does not hold
// (any case) is refused with `message`; an empty one is taken.
std::function<QString(const QString&)> ListedCodeCheck(TRemoteUdpDataSet* list,
                                                       const QString& message);
}  // namespace md::ui

class Tbase_frmClientTerms : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tbase_frmClientTerms(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBclient;  // the client list: tree and look-ups
    TDataSource* DsClient;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;

    // The client list with each client's area name.
    static QString ClientListSQL();
    // The message of a typed client code the client list does not hold.
    static QString UnknownClientMessage();

    // Captions and visibility of the six discount columns from the rows of
    // `sql` (ba_fieldremark of dt_client): row i, counted from 0 over every row
    // returned, configures grid column firstColumn + i when its fname is
    // "discount" + (i + 1); a row out of that order configures nothing.
    static void ApplyDiscountCaptions(TDBTableView& view, int firstColumn, const QString& sql);

  protected:
    // The tree shows the rows of `source` (DsClient unless the form says).
    void ShowClientsInTree(TDataSource* source);
    // The grid's client code column, a list over DBclient showing `listFields`
    // that takes only listed codes, then the read-only look-ups "客户简称",
    // "客户性质", "客户等级" of that code. Before the master opens.
    TGridColumn& AddClientColumns(const QString& codeField, const QStringList& listFields,
                                  const QStringList& listCaptions);
    // The tree's current client changed: the grid goes to that client's first
    // row unless it is on one already.
    virtual void ClientChosen(const QString& code);

    void append_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void excel_actionExecute() override;
    void UpdateActionState() override;
    // A client code set in any case is kept as the client list spells it.
    void DBmaster_tableAfterOpen() override;
    TDBTableView* MasterView() const override;
    IReportSource* ReportSource() const override;

    // The new or changed row that is not saved yet is a new row of the table.
    bool IsNewRow() const;

  private:
    QString m_clientField;
};
