#pragma once
// The settings dialog "货品描述设置": the captions of the goods description
// fields and whether each takes part in the goods attribute filter. Changes
// stay in the dataset until "确定" sends them in one batch and copies the
// captions to the report field captions; "取消" drops them. The goods form
// opens it (after its own rights check) with Tfrm_GoodsField::Execute; the
// new captions and flags show in goods windows opened afterwards.
#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class Tfrm_GoodsField : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsField(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBmaster_table;  // batch-optimistic: edits kept until "确定"
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QPushButton* But_OK;
    QPushButton* But_Cancel;

    // Shows the dialog modally, made on first use and freed when it closes;
    // QDialog::Accepted after "确定".
    static int Execute(QWidget* owner = nullptr);
    // The open dialog, or null.
    static Tfrm_GoodsField* Instance();

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    void But_OKClick();
    void But_CancelClick();
};
