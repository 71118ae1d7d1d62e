#pragma once
// The goods picture dialog "显示货品图片": modal and read-only, it shows the
// picture of the goods code it is handed, stretched. The goods price form opens
// it with F7 for its current goods item:
//
//     Tfrm_ShowGoodImage::Execute(code, this);
#include "baseform.h"

class TDataSource;
class TDBImage;
class TRemoteUdpDataSet;

class Tfrm_ShowGoodImage : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_ShowGoodImage(QWidget* owner = nullptr);

    // Reads the picture of the goods code (none: an empty picture).
    void ShowGoods(const QString& goodsId);
    // Creates the dialog, reads the code's picture and runs the dialog to its end.
    static void Execute(const QString& goodsId, QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBImage_table = nullptr;
    TDataSource* DataSource1 = nullptr;
    TDBImage* cxDBImage1 = nullptr;
};
