#pragma once
// The shop list beside a shop form's grid: code "店铺编号", short name
// "店铺简称" and nature "店铺性质" of the shops the form offers. The form gives
// the list's query and is told which shop is current: after the list opens
// (also when it is empty) and whenever another shop becomes current, by click
// or by key.
//
//     ShopList = new TShopList(this);
//     ShopList->PlaceBeside(cxGrid1);
//     ShopList->OnShopChanged = [this](const QString& code) { reload(code); };
//     ShopList->DBshop_table->SetSQL("select fcode,fabbrev,fmathod from dt_client where
//     stratbit=1"); ShopList->Open();
#include <QWidget>
#include <functional>

class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class TShopList : public QWidget {
    Q_OBJECT
  public:
    explicit TShopList(QWidget* parent = nullptr);

    TRemoteUdpDataSet* DBshop_table;  // the shops: fcode, fabbrev, fmathod
    TDataSource* DbShop_Source;
    TDBGrid* cxGrid2;
    TDBTableView* cxGrid2DBTableView1;

    // Opens the list on DBshop_table's SQL, bound to the session's connection.
    void Open();
    // The current shop's code; empty while the list is closed or empty.
    QString CurrentCode() const;

    std::function<void(const QString& code)> OnShopChanged;

    // Puts the list on the left of `grid`, in the grid's place in its layout,
    // with a splitter between them.
    void PlaceBeside(QWidget* grid);

    // Wide enough for its columns; the form's grid takes the rest.
    QSize sizeHint() const override;

  private:
    void report(bool always);

    QString m_reported;
};
