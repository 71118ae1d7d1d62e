#pragma once
// 打印数量: the print quantity list of the label windows (条形码批量打印 and
// 生成产品序列号). One row per goods item and colour over `barcodedetail`, the
// quantities in the size slots s1 ... sN captioned with the sizes of the
// current row's size group, read in cached mode: the window sends the rows
// with SendChanges before it asks the server to expand them (get_barcodetemp).
//
// The component checks what is typed: a goods code must exist (its name, unit,
// size group and tag price are copied into the row), a colour needs a goods
// code first (its name is looked up; an unknown colour is kept without one),
// quantities are whole numbers of at least 0, and a row is saved only with a
// goods code and a colour; its qty is then the sum of the slots in use.
//
// The window embeds it and hands it its keys:
//
//     Quantities = new TBarQuantityGrid(ClientPanel);    // in the constructor
//     Quantities->SetMaterialMode(TBarQuantityGrid::ReadMaterialMode());  // FormCreate
//     Quantities->OpenList();
//     bool FormKeyPress(QKeyEvent& e) override { return Quantities->HandleKey(e) || ...; }
//
// F2 appends a row, F3 deletes the current one after a question, F4 picks
// goods colours (as the "货号" cell's button "点击选择货号"), F5 runs the
// colour-size quantity entry for the current goods code, F6 recomputes the
// footer totals.
//
// The label menu of the windows is TLabelMenu, set from the [BarList] section
// of softconfig.ini (TBarListSettings); StartLabelProgram starts an external
// label program named there.
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QKeyEvent;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TField;
class TGridColumn;
class TRemoteUdpDataSet;

class TBarQuantityGrid : public QWidget {
    Q_OBJECT
  public:
    // The tag price column: the goods' own price, read-only (serial numbers),
    // or the row's own editable fretailprice with the remark fremark (batch
    // printing; goods code validation starts it at the goods' price).
    enum class PriceColumn { UnitPrice, RetailPrice };

    explicit TBarQuantityGrid(QWidget* parent = nullptr,
                              PriceColumn price = PriceColumn::UnitPrice);

    // The quantity list: barcodedetail joined with vgoodscolor for the names
    // (goodsname, colorname_ch, unit, size_class, unitprice), cached.
    TRemoteUdpDataSet* DBdetail_table;
    TDataSource* DbDetail_Source;
    // The colour drop-down: the colours of the goods code loaded last.
    TRemoteUdpDataSet* DBcolor_list;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;

    // "select a.*,b.goodsname,..." + line break + "from barcodedetail a join vgoodscolor b ..."
    static QString ListSQL();

    // Material mode: config row [id] 50018 with mode 1. "货品名称" is captioned
    // "材质" and holds the colour's material text (color1 of vgoodscolor1),
    // "颜色说明" its description (color2); the drop-down also lists color1.
    static bool ReadMaterialMode();
    void SetMaterialMode(bool on);
    bool MaterialMode() const { return m_materialMode; }

    // (Re)opens the list as the server holds it and captions the size columns
    // after its first row. Only the slots in use (SizeSlotCount) are shown.
    void OpenList();
    void CloseList();

    // F2 ... F6 while the window has the focus; true when the key was used.
    bool HandleKey(QKeyEvent& event);
    void AppendRow();       // F2: an empty row, the cursor in "货号"
    void DeleteRow();       // F3: "是否确认删除一行？"; Yes deletes the current row
    void PickGoods();       // F4 and "点击选择货号": rows for the picked goods colours
    void EnterColorSize();  // F5: the colour-size entry for the current goods code
    void RefreshTotals();   // F6

    // The size columns captioned with the sizes of the current row's group.
    void ShowSizeCaptions();
    // The captions of the shown size columns, in slot order.
    QStringList SizeCaptions() const;

    // Writes the open cell editor and posts the row being edited (its checks
    // may refuse it).
    void PostEdits();
    // PostEdits, then every cached change of the list in one batch.
    void SendChanges();
    // The total of qty over the list's rows (0 when it is closed).
    int TotalQty() const;

  Q_SIGNALS:
    // The footer totals were asked to be recomputed (F6).
    void totalsRefreshed();

  private:
    void bindFields();
    void goodsValidate(TField& field);
    void colourValidate(TField& field);
    void beforePost();
    void loadColours(const QString& goodsCode);
    void focusColumn(const QString& fieldName);
    void captionSizes(const QString& sizeClass);

    PriceColumn m_price;
    bool m_materialMode = false;
    int m_filling = 0;
    QString m_colourListGoods;  // the goods code DBcolor_list holds the colours of
    QString m_captionedClass;   // the size group the size columns are captioned after
    bool m_captionsSet = false;
};

// [BarList] of softconfig.ini in the program folder: the shell verb and the
// external label programs (empty when not set).
struct TBarListSettings {
    QString opentype = QStringLiteral("Print");
    QString bar1;
    QString bar2;
    QString bar3;

    static TBarListSettings Read();
    // Bar1 ... Bar3 by number (1-based).
    QString Bar(int number) const;
};

// The label menu, shown at the mouse position: Menu_bar "打印条形码" prints
// with the report, Menu_ShoeBar1 ... Menu_ShoeBar3 start the programs of Bar1 ...
// Bar3. A program item shows only when its setting is filled, captioned with
// it; Menu_bar only while Bar1 is empty.
class TLabelMenu : public QMenu {
    Q_OBJECT
  public:
    explicit TLabelMenu(QWidget* parent = nullptr);

    QAction* Menu_bar;       // "打印条形码"
    QAction* Menu_ShoeBar1;  // "打印条形码"
    QAction* Menu_ShoeBar2;  // "打印价格标"
    QAction* Menu_ShoeBar3;  // "打印大底标"

    void Apply(const TBarListSettings& settings);
    const TBarListSettings& Settings() const { return m_settings; }
    // Menu_ShoeBar1 ... Menu_ShoeBar3 by number (1-based).
    QAction* ShoeBar(int number) const;

  private:
    TBarListSettings m_settings;
};

namespace md::ui {
// Starts the program folder (lower case) + `program` without waiting: with the
// verb "open" through the desktop's file association, otherwise as a process.
// An empty program starts nothing.
void StartLabelProgram(const QString& verb, const QString& program);
// Tests replace the start (verb, full path); null restores it.
void SetLabelProgramStarter(std::function<void(const QString&, const QString&)> starter);
}  // namespace md::ui
