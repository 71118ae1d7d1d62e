#include "dbimage.h"

#include <QPainter>

#include "remoteudpdataset.h"

TDBImage::TDBImage(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setMinimumSize(80, 80);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TDBImage::SetDataSource(TDataSource* source, const QString& fieldName) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_fieldName = fieldName;
    if (source) {
        connect(source, &TDataSource::dataChanged, this, [this](int) { reload(); });
        connect(source, &TDataSource::stateChanged, this, &TDBImage::reload);
    }
    reload();
}

void TDBImage::reload() {
    QByteArray data;
    TRemoteUdpDataSet* dataSet = m_source ? m_source->DataSet() : nullptr;
    if (dataSet && dataSet->Active() && !dataSet->IsEmpty()) {
        if (TField* field = dataSet->FindField(m_fieldName)) data = field->Value().toByteArray();
    }
    // Same bytes, same picture: scrolling among records without pictures or
    // repainting after an unrelated field changed decodes nothing.
    if (data == m_data && (data.isEmpty() || !m_image.isNull())) return;
    m_data = data;
    m_image = data.isEmpty() ? QImage() : QImage::fromData(data);
    update();
    Q_EMIT pictureChanged();
}

void TDBImage::paintEvent(QPaintEvent*) {
    if (m_image.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_image);  // stretched: the whole control, whatever the proportions
}
