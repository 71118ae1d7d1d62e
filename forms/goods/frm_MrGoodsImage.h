#pragma once
// 样板图片: the picture of a sample style, modal. It shows the goodsimage row
// of the sample code, stretched; a picture can be assigned or cleared from
// its context menu. "确定" stores what was changed under the sample code and
// closes; "关闭" closes without storing.
//
//     Tfrm_MrGoodsImage::Execute(sampleCode, this);
#include "baseform.h"

class QAction;
class QMenu;
class QPushButton;
class TDataSource;
class TDBImage;
class TRemoteUdpDataSet;

class Tfrm_MrGoodsImage : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_MrGoodsImage(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBImage_table;
    TDataSource* DataSource1;
    TDBImage* cxDBImage1;
    QMenu* PictureMenu;
    QAction* loadpic_action;   // "加载图片..."
    QAction* clearpic_action;  // "清除图片"
    QPushButton* But_OK;       // "确定"
    QPushButton* But_Close;    // "关闭"

    // Reads the picture of the sample code.
    void OpenSample(const QString& sampleCode);
    const QString& SampleCode() const { return m_code; }
    // Puts a picture (any format Qt reads; kept as JPEG) into the record.
    void AssignPicture(const QByteArray& bytes);
    void ClearPicture();
    void But_OKClick();

    // Creates the dialog for the sample code and runs it to its end.
    static void Execute(const QString& sampleCode, QWidget* owner = nullptr);

  private:
    void editRecord();
    void loadpic_actionExecute();

    QString m_code;
};
