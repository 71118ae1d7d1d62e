#pragma once
// 版单款号: sample styles before production. The list of samples below, the
// editors of the current sample and its colours above. A sample and its
// colours are saved in one transaction. "转为货品档案" makes goods items of
// the samples that name a goods code not yet used ("对应成品货号"), with
// their colours, and links the sample documents to them; "批量导入" runs the
// goods import into the sample table. F7 shows the sample's picture.
#include "dicteditor.h"

class QLabel;
class TDBComboBox;
class TDBEdit;
class TDBLookupComboBox;
class TFieldPanel;
class TRemoteUpdateSql;

class Tfrm_MrGoods : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_MrGoods(QWidget* owner = nullptr);

    // The editors of the current sample.
    TFieldPanel* EditPanel;
    TDBEdit* Edit_goodsid;           // "款号:"
    TDBEdit* Edit_newgoodsid;        // "对应成品货号:"
    TDBLookupComboBox* Lookup_size;  // "尺码组:"

    // The colours of the current sample.
    TRemoteUdpDataSet* DBcolor;
    TDataSource* DScolor;
    TRemoteUpdateSql* ColorUpdateSql;
    TMasterDetailLink* ColorLink;
    TDBGrid* GridColor;
    TDBTableView* GridColorView;

    // Lists the editors offer.
    TRemoteUdpDataSet* DBsize;       // v_size
    TRemoteUdpDataSet* DBbacolor;    // ba_color
    TRemoteUdpDataSet* DBcolordesc;  // colour descriptions of samples

    QAction* convert_action;  // "转为货品档案"
    QAction* import_action;   // "批量导入"
    QAction* picture_action;  // F7: the sample picture

    // The editor of a sample column, and its label; null when there is none.
    QWidget* Editor(const QString& field) const;
    QLabel* EditorLabel(const QString& field) const;

    void FillValueLists();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void convert_actionExecute();
    void import_actionExecute();
    void picture_actionExecute();

    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void buildEditPanel(QWidget* parent);
    void buildColorGrid(QWidget* parent);
    void applyCaptions();
    void fillSizeLookup();
    void colorCodeChanged();
    void colorNameChanged();
    bool codeEditable() const;

    bool m_colorSync = false;  // a colour lookup is filling the other colour field
    int m_internal = 0;        // > 0 while the form itself writes colour rows
};
