#pragma once
#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "datasource.h"

// A data-aware picture: the image stored in a blob field of the current record
// of a data source (JPEG, or any format Qt reads), stretched over the whole
// control. It follows the source: another record, new data, a closed dataset.
class TDBImage : public QWidget {
    Q_OBJECT
  public:
    explicit TDBImage(QWidget* parent = nullptr,
                      const QString& name = QStringLiteral("cxDBImage1"));

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
