#pragma once
// 班次设置: the shifts with their clock-in and clock-out windows. Each saved
// or deleted row is written at once.
#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TRemoteUdpDataSet;

class Tfrm_KQ_BanCi : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_BanCi(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBBanCi;
    TDataSource* DSBanCi;
    TRemoteUdpDataSet* DBKind;  // 正常班次 and the overtime types, for 属性
    TDBGrid* cxGrid1;
    QPushButton* But_Add;
    QPushButton* But_Edit;
    QPushButton* But_Del;

    void But_AddClick();
    void But_EditClick();
    void But_DelClick();

  protected:
    void FormCreate() override;
};
