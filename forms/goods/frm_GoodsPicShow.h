#pragma once
// The goods picture viewer "显示图片": a window that stays on top beside the
// goods form and shows the picture record the goods form has loaded, not a copy,
// so moving in the goods form changes the picture. Its one context command saves
// the picture to a JPEG file. Opened without waiting (show()); closing frees it.
//
//     auto* viewer = md::ui::CreateForm<Tfrm_GoodsPicShow>(goodsForm);
//     viewer->SetPictureDataSet(pictureDataSet);  // the goods form's GoodsImage rows
//     viewer->show();
#include "baseform.h"
#include "datasource.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QFileDialog;
class QMenu;

// A data-aware picture: the image stored in a blob field of the current record
// of a data source (JPEG, or any format Qt reads), stretched over the whole
// control. It follows the source: another record, new data, a closed dataset.
class TDBImage : public QWidget {
    Q_OBJECT
public:
    explicit TDBImage(QWidget* parent = nullptr, const QString& name = QStringLiteral("cxDBImage1"));

    void SetDataSource(TDataSource* source, const QString& fieldName);
    TDataSource* DataSource() const { return m_source; }
    const QString& DataField() const { return m_fieldName; }

    // The stored bytes of the current record; empty when there is no picture.
    const QByteArray& PictureData() const { return m_data; }
    // The decoded picture; null when there is none or it cannot be read.
    const QImage& Picture() const { return m_image; }
    bool HasPicture() const { return !m_image.isNull(); }

Q_SIGNALS:
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void reload();

    QPointer<TDataSource> m_source;
    QString m_fieldName;
    QByteArray m_data;
    QImage m_image;
};

class Tfrm_GoodsPicShow : public Tbase_frmTop {
    Q_OBJECT
public:
    explicit Tfrm_GoodsPicShow(QWidget* owner = nullptr);

    // Shows the field of the current record of the goods form's picture dataset
    // from now on; null shows nothing.
    void SetPictureDataSet(TRemoteUdpDataSet* pictures, const QString& fieldName = QStringLiteral("fimage"));

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
