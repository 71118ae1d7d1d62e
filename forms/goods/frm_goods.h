#pragma once
// 货品档案: the goods form. Two pages: "货品列表", the list of goods narrowed
// by the attribute tree and a code fragment, with the online flag "上架"
// editable and the batch changes of goods type and of one attribute; and
// "货品明细", the record of one goods item in a vertical attribute grid with
// its colours, picture, prices and online-shop attributes.
//
// The record editor acts on the goods record (DBmaster_table, one row read by
// code); the list drives it: navigation, a double-click and entering the
// detail page load the goods item of the current list row. Colours, item
// prices and the picture follow the goods record and are written only by
// "保存", goods, colours and item prices in one transaction.
//
// Sources: frm_goods.cpp (description, creation, captions and value lists),
// frm_goods_detail.cpp (record actions, colours, item prices, picture),
// frm_goods_list.cpp (list, filter, batch changes, navigation).
#include <QPointer>

#include "dicteditor.h"
#include "frm_GoodsPicShow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class TCheckTree;
class TDBCheckBox;
class TDBDateEdit;
class TDBEdit;
class TDBImage;
class TDBTreeLookupCombo;
class TDBMemo;
class TDBVerticalGrid;
class TDataSource;
class TRemoteUpdateSql;
class TTreeLookupCombo;

class Tfrm_goods : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_goods(QWidget* owner = nullptr);
    ~Tfrm_goods() override;

    // ------------------------------------------------------------ pages
    QTabWidget* PageControl1;  // "货品列表", "货品明细"
    QWidget* TabList;
    QWidget* TabDetail;
    QTabWidget* PageControl2;  // "颜色及图片", "价格设置", "网上订货信息"
    QWidget* TabColorPicture;
    QWidget* TabPrice;
    QWidget* TabShop;

    // ------------------------------------------------------------ the goods record
    TRemoteUpdateSql* GoodsUpdateSql;
    TDBVerticalGrid* cxDBVerticalGrid1;  // the attribute grid
    QMenu* AttributeMenu;

    // Colours of the goods item.
    TRemoteUdpDataSet* DBcolor;
    TDataSource* DScolor;
    TRemoteUpdateSql* ColorUpdateSql;
    TDBGrid* GridColor;
    TDBTableView* GridColorView;
    QMenu* ColorMenu;

    // Finishing and packing unit prices, and the sales prices.
    TRemoteUdpDataSet* DBitemprice;
    TDataSource* DSitemprice;
    TRemoteUpdateSql* ItemPriceUpdateSql;
    TDBGrid* GridItemPrice;
    TDBTableView* GridItemPriceView;
    TDBGrid* GridPrice;
    TDBTableView* GridPriceView;

    // The links that make colours, item prices and the picture follow the goods record.
    TMasterDetailLink* ColorLink;
    TMasterDetailLink* ItemPriceLink;
    TMasterDetailLink* PictureLink;

    // The picture.
    TRemoteUdpDataSet* DBimage;
    TDataSource* DSimage;
    TDBImage* cxDBImage1;
    QLabel* Label_Picture;
    QMenu* PictureMenu;

    // The online-shop page.
    TDBTreeLookupCombo* Lookup_ShopType;
    TDBCheckBox* Check_ShopIsEnd;
    TDBDateEdit* Date_ShopEnd;
    TDBDateEdit* Date_Top;
    TDBEdit* Edit_Caption;
    TDBCheckBox* Check_Scrush;
    TDBCheckBox* Check_Sale;
    TDBCheckBox* Check_Master;
    TDBCheckBox* Check_New;
    TDBCheckBox* Check_Top;
    TDBMemo* Memo_Remark;

    // Lists the editors offer.
    TRemoteUdpDataSet* DBsize;       // v_size
    TRemoteUdpDataSet* DBbacolor;    // ba_color
    TRemoteUdpDataSet* DBitemname;   // item names
    TRemoteUdpDataSet* DBgoodstype;  // the online goods type tree
    TRemoteUdpDataSet* DBcolordesc;  // colour descriptions
    TRemoteUdpDataSet* DBsupplier;
    TRemoteUdpDataSet* DBemployee;
    TRemoteUdpDataSet* DBtmp;  // scratch: checks and single reads

    // ------------------------------------------------------------ the list
    TRemoteUdpDataSet* DBgoodslist;
    TDataSource* DSgoodslist;
    TRemoteUpdateSql* ListUpdateSql;
    TDBGrid* GridList;
    TDBTableView* GridListView;
    TCheckTree* CheckTree1;         // the attribute filter
    QLineEdit* Edit_GoodsId;        // "货号:"
    QPushButton* But_Filter;        // "检索过滤"
    TTreeLookupCombo* Lookup_Type;  // "将所选择商品类别改为:"
    QPushButton* But_TypeOK;
    QCheckBox* Check_All;    // "全选"
    QComboBox* Combo_Field;  // the attribute of the batch change
    QLineEdit* Edit_Value;   // its new value
    QPushButton* But_FieldOK;

    // ------------------------------------------------------------ actions
    QAction* copy_action;        // "复制" F6
    QAction* showpic_action;     // F8
    QAction* addcolor_action;    // F9
    QAction* delcolor_action;    // F10
    QAction* import_action;      // "批量导入"
    QAction* ean13_action;       // "国际码"
    QAction* newcolor_action;    // "新增颜色"
    QAction* merge_action;       // "整理合并货号"
    QAction* goodsfield_action;  // "设置货品字段"
    QAction* loadpic_action;     // "加载图片..."
    QAction* clearpic_action;    // "清除图片"

    // ------------------------------------------------------------ switches read at creation
    bool PackingMode = false;  // config 40005
    bool AutoBarcode = false;  // config 70009

    // ------------------------------------------------------------ entry points
    // The list statement before the filter's " where 1=1 ".
    static QString ListBaseSQL();
    // The list statement the filter opens for the attribute condition C and a code fragment.
    static QString FilterSQL(const QString& condition, const QString& codeText);
    // "检索过滤".
    void But_FilterClick();
    void Check_AllClick();
    void But_TypeOKClick();
    void But_FieldOKClick();
    // Reads the goods item with this code into the detail page (colours,
    // item prices; the picture follows the rule of the picture control).
    void OpenGoods(const QString& code);
    // Loads the picture record of the current goods code (in edit state while editing).
    void LoadPicture();
    // Assigns a picture (any format Qt reads; stored as JPEG) to the record being edited.
    void AssignPicture(const QByteArray& bytes);
    void ShowListPage();
    void ShowDetailPage();
    // The open picture viewer, or null.
    Tfrm_GoodsPicShow* PictureViewer() const { return m_viewer; }

  protected:
    void FormCreate() override;
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
    void UpdateActionState() override;
    void PostPendingEdits() override;

    void first_actionExecute() override;
    void prio_actionExecute() override;
    void next_actionExecute() override;
    void last_actionExecute() override;
    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void excel_actionExecute() override;
    void copy_actionExecute();
    void showpic_actionExecute();
    void addcolor_actionExecute();
    void delcolor_actionExecute();
    void import_actionExecute();
    void ean13_actionExecute();
    void newcolor_actionExecute();
    void merge_actionExecute();
    void goodsfield_actionExecute();
    void loadpic_actionExecute();
    void clearpic_actionExecute();

    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    // Construction (frm_goods.cpp).
    void buildListPage();
    void buildDetailPage();
    void buildAttributeGrid(QWidget* parent);
    void buildColorPicturePage();
    void buildPricePage();
    void buildShopPage();
    void bindDataSetEvents();
    // Creation steps.
    void applyPriceFormats();
    bool readConfigSwitch(int id, bool nonZero);
    void FillValueLists();
    void applyCaptions();
    void fillFieldCaptions();
    void setupSpecialEditors();
    void reloadColorDescriptions();
    void updatePictureCaption();

    // The record (frm_goods_detail.cpp).
    QString goodsCode() const;
    QString freshKey();
    bool saveTransaction();
    void AfterDetailsCommitted() override;
    bool hasPicture() const;
    void saveColorDescriptions();
    void updateListRow(const QString& readCode);
    void colorCodeChanged();
    void colorNameChanged();
    // Child rows change only while the goods record is edited (or the form itself changes them).
    void refuseUnlessEditing();

    // The list (frm_goods_list.cpp).
    void openList(const QString& sql);
    void sendListChanges();
    void followListRow();
    // Actions that change goods follow the add and edit rights: without the
    // right they say so and change nothing.
    static void RequireRight(bool right);
    QString listCode() const;
    QStringList tickedCodes() const;

    QPointer<Tfrm_GoodsPicShow> m_viewer;
    int m_internal = 0;        // > 0 while the form itself writes child rows
    bool m_colorSync = false;  // a colour lookup is filling the other colour fields
};
