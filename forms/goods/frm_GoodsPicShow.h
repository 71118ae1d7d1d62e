#pragma once
// The goods picture viewer "显示图片": a window that stays on top beside the
// goods form and shows the picture record the goods form has loaded, not a copy,
// so moving in the goods form changes the picture. Its one context command saves
// the picture to a JPEG file. Opened without waiting (show()); closing frees it.
//
//     auto* viewer = md::ui::CreateForm<Tfrm_GoodsPicShow>(goodsForm);
//     viewer->SetPictureDataSet(pictureDataSet);  // the goods form's GoodsImage rows
//     viewer->show();
#include <QPointer>

#include "baseform.h"
#include "datasource.h"
#include "dbimage.h"

class QFileDialog;
class QMenu;

class Tfrm_GoodsPicShow : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsPicShow(QWidget* owner = nullptr);

    // Shows the field of the current record of the goods form's picture dataset
    // from now on; null shows nothing.
    void SetPictureDataSet(TRemoteUdpDataSet* pictures,
                           const QString& fieldName = QStringLiteral("fimage"));

    TDataSource* DataSource1 = nullptr;
    TDBImage* cxDBImage1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* savepic_action = nullptr;  // "保存图片..."

    // The save dialog of the context command, made on first use.
    QFileDialog* SaveDialog1();

  protected:
    void savepic_actionExecute();

  private:
    QFileDialog* m_saveDialog = nullptr;
};
