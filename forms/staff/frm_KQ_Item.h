#pragma once
// 考勤项目设置: the attendance items that turn lateness, early leave, overtime
// and leave into money. Each saved or deleted row is written at once.
#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TRemoteUdpDataSet;

class Tfrm_KQ_Item : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_Item(QWidget* owner = nullptr);

    // The words the list shows for fmode and ftype.
    static QString ModeName(int mode);
    static QString KindName(int kind);

    TRemoteUdpDataSet* DBItem;
    TDataSource* DSItem;
    TDBGrid* cxGrid1;
    QPushButton* But_Add;
    QPushButton* But_Edit;
    QPushButton* But_Del;

    void But_AddClick();
    void But_EditClick();
    void But_DelClick();

  protected:
    void FormCreate() override;

  private:
    void runEditDialog();
};
