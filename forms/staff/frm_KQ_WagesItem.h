#pragma once
// 工资项目设置: the wage items, each an addition or a deduction with a fixed
// amount. Items that come with the system can be neither changed nor deleted.
// The edit dialog saves and sends each item on its own.
#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TRemoteUdpDataSet;

class Tfrm_KQ_WagesItem : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_WagesItem(QWidget* owner = nullptr);

    // The word the list shows for fmode: "增项" for 1, "减项" otherwise.
    static QString ModeName(int mode);

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
    void refuseSystemItem();
    void runEditDialog(const QString& heading);
};
